#include "reminders/pages/ReminderManagementView.h"

#include "reminders/LocalTime.h"
#include "reminders/ReminderManager.h"
#include "reminders/ReminderSchedule.h"
#include "reminders/pages/ManagementListModel.h"
#include "reminders/pages/ManagementListView.h"
#include "reminders/pages/ManagementRowDelegate.h"
#include "reminders/pages/PageParts.h"
#include "reminders/pages/ReminderForm.h"
#include "reminders/pages/ReminderRowView.h"
#include "widgets/PlainLabel.h"
#include "widgets/SecondaryText.h"
#include "widgets/Spacing.h"
#include "widgets/TextStyle.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

/// The grey box a section shows in place of rows.
class Placeholder final : public QWidget
{
public:
    Placeholder(const QString& message, QWidget* parent)
        : QWidget(parent)
    {
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(
            Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding);
        auto* label = new PlainLabel(message, this);
        TextStyle::apply(label, TextStyle::Style::caption);
        label->setWordWrap(true);
        // Read against the box's grey, not just the page under it.
        SecondaryText::apply(label, SecondaryText::Part::text, fill());
        layout->addWidget(label);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill());
        painter.drawRoundedRect(QRectF(rect()), 8, 8);
    }

private:
    static QColor fill()
    {
        QColor grey = RowColours::gray;
        grey.setAlphaF(0.1);
        return grey;
    }
};

} // namespace

ReminderManagementView::ReminderManagementView(ReminderManager& reminderManager, Clock& clock, QWidget* parent)
    : QWidget(parent)
    , m_reminderManager(reminderManager)
    , m_clock(clock)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    QPushButton* add
        = PageParts::addPageHeader(u"⏰ 提醒管理"_s, u"添加提醒"_s, u"提醒内容在几秒后会自动消失"_s, this, column);
    add->setObjectName(u"addReminderButton"_s);
    connect(add, &QPushButton::clicked, this, &ReminderManagementView::showAddReminder);

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(u"reminderScroll"_s);
    // Not a stop of its own for Tab, where it would show no mark: the rows take the keyboard,
    // and the page scrolls to the row in focus.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget(scroll);
    content->setAutoFillBackground(false);
    scroll->viewport()->setAutoFillBackground(false);
    auto* sections = new QVBoxLayout(content);
    sections->setContentsMargins(
        Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding);
    sections->setSpacing(12);
    m_defaultList = addSection(u"默认提醒"_s, u"暂无默认提醒"_s, false, u"defaultReminder"_s, sections);
    auto* divider = PageParts::divider(content);
    divider->setObjectName(u"sectionDivider"_s);
    sections->addSpacing(8);
    sections->addWidget(divider);
    sections->addSpacing(8);
    m_customList = addSection(
        u"自定义提醒"_s, u"暂无自定义提醒，点击上方「添加提醒」按钮创建"_s, true, u"customReminder"_s, sections);
    m_customList->setFocusWhenEmpty(add);
    sections->addStretch(1);
    scroll->setWidget(content);
    column->addWidget(scroll, 1);
}

ReminderManagementView::~ReminderManagementView() = default;

QWidget* ReminderManagementView::emptyStateView(const QString& message, QWidget* parent)
{
    return new Placeholder(message, parent);
}

ReminderForm* ReminderManagementView::openForm() const
{
    return m_form;
}

bool ReminderManagementView::showingAddReminder() const
{
    return qobject_cast<AddReminderView*>(m_form) && m_form->isVisible();
}

std::optional<Reminder> ReminderManagementView::editingReminder() const
{
    if (auto* form = qobject_cast<EditReminderView*>(m_form); form && form->isVisible())
        return form->reminder();
    return std::nullopt;
}

ManagementListView* ReminderManagementView::addSection(
    const QString& heading, const QString& placeholder, bool custom, const QString& name, QVBoxLayout* sections)
{
    QWidget* content = sections->parentWidget();
    // The section: its heading with its rows or its placeholder under it.
    auto* layout = new QVBoxLayout;
    layout->setSpacing(8);
    sections->addLayout(layout);
    auto* title = new PlainLabel(heading, content);
    title->setObjectName(name + u"Heading"_s);
    TextStyle::apply(title, TextStyle::Style::headline);
    SecondaryText::apply(title);
    layout->addWidget(title);

    ReminderManager& manager = m_reminderManager;
    auto* model = new ManagementListModel(
        [&manager, custom] {
            const LocalTime local;
            QList<ManagementRow> rows;
            for (const Reminder& reminder : manager.reminders()) {
                if ((reminder.type == ReminderType::custom) == custom)
                    rows.append(ReminderRowView::row(reminder, custom, local));
            }
            return rows;
        },
        this);
    connect(&m_reminderManager, &ReminderManager::remindersChanged, model, &ManagementListModel::refresh);

    auto* list = new ManagementListView(model, new ReminderRowView, true, content);
    list->setObjectName(name + u"List"_s);
    layout->addWidget(list);
    QWidget* empty = emptyStateView(placeholder, content);
    empty->setObjectName(name + u"Placeholder"_s);
    layout->addWidget(empty);
    const auto showOne = [list, empty, model] {
        const bool none = model->rowCount() == 0;
        list->setVisible(!none);
        empty->setVisible(none);
    };
    connect(model, &QAbstractItemModel::rowsInserted, this, showOne);
    connect(model, &QAbstractItemModel::rowsRemoved, this, showOne);
    showOne();

    ManagementRowDelegate* rows = list->rowDelegate();
    connect(rows, &ManagementRowDelegate::onToggle, this,
        [this](const QString& id) { m_reminderManager.toggleReminder(id); });
    connect(rows, &ManagementRowDelegate::onEdit, this, &ReminderManagementView::showEditReminder);
    if (custom) {
        // The delete button asks nothing: the row goes at once; the Delete key asks first.
        // Built-in reminders cannot be deleted.
        connect(rows, &ManagementRowDelegate::onDelete, this,
            [this](const QString& id) { m_reminderManager.removeReminder(id); });
        list->setDeleteQuestion(
            [this](const ManagementRow& row) { return PageParts::askToDelete(u"提醒"_s, row.title, this); });
    }
    return list;
}

void ReminderManagementView::showAddReminder()
{
    // The page adds only custom reminders: the built-in ones are seeded by the manager.
    m_selectedReminderType = ReminderType::custom;
    auto* form = new AddReminderView(m_selectedReminderType, m_clock, this);
    connect(form, &ReminderForm::onSave, this,
        [this](const Reminder& reminder) { m_reminderManager.addReminder(reminder); });
    present(form);
}

void ReminderManagementView::showEditReminder(const QString& id)
{
    const QList<Reminder>& reminders = m_reminderManager.reminders();
    const auto it = std::find_if(reminders.cbegin(), reminders.cend(), [&](const Reminder& r) { return r.id == id; });
    if (it == reminders.cend())
        return;
    auto* form = new EditReminderView(*it, m_clock, this);
    connect(form, &ReminderForm::onSave, this, [this](Reminder reminder) {
        // The reminder may have fired while the form was open; its count runs from that
        // firing, not from the one the form was filled with, or it would fire again at once.
        const QList<Reminder>& current = m_reminderManager.reminders();
        const auto stored
            = std::find_if(current.cbegin(), current.cend(), [&](const Reminder& r) { return r.id == reminder.id; });
        if (stored != current.cend())
            reminder.lastTriggered = stored->lastTriggered;
        m_reminderManager.updateReminder(reminder);
    });
    present(form);
}

void ReminderManagementView::present(ReminderForm* form)
{
    // One form at a time.
    if (m_form)
        m_form->reject();
    m_form = form;
    form->open();
}
