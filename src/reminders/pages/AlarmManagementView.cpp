#include "reminders/pages/AlarmManagementView.h"

#include "reminders/AlarmManager.h"
#include "reminders/LocalTime.h"
#include "reminders/pages/AlarmForm.h"
#include "reminders/pages/AlarmRowView.h"
#include "reminders/pages/ManagementListModel.h"
#include "reminders/pages/ManagementListView.h"
#include "reminders/pages/ManagementRowDelegate.h"
#include "reminders/pages/PageParts.h"
#include "widgets/PlainLabel.h"
#include "widgets/SecondaryText.h"
#include "widgets/Spacing.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

AlarmManagementView::AlarmManagementView(AlarmManager& alarmManager, Clock& clock, QWidget* parent)
    : QWidget(parent)
    , m_alarmManager(alarmManager)
    , m_clock(clock)
    , m_model(new ManagementListModel(
          [&alarmManager] {
              // One zone lookup for the whole list, read afresh each time.
              const LocalTime local;
              QList<ManagementRow> rows;
              rows.reserve(alarmManager.alarms().size());
              for (const Alarm& alarm : alarmManager.alarms())
                  rows.append(AlarmRowView::row(alarm, local));
              return rows;
          },
          this))
    , m_list(new ManagementListView(m_model, new AlarmRowView, false, this))
    , m_stack(new QStackedWidget(this))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    headerView(column);

    m_list->setObjectName(u"alarmList"_s);
    m_list->setRowMargins(QMargins(Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, 0));
    m_stack->addWidget(m_list);
    m_stack->addWidget(emptyStateView(this));
    column->addWidget(m_stack, 1);

    ManagementRowDelegate* rows = m_list->rowDelegate();
    connect(
        rows, &ManagementRowDelegate::onToggle, this, [this](const QString& id) { m_alarmManager.toggleAlarm(id); });
    connect(rows, &ManagementRowDelegate::onEdit, this, &AlarmManagementView::showEditAlarm);
    // The delete button asks nothing: the row goes at once. The Delete key asks first, as a
    // key pressed by mistake must not take an alarm with it.
    connect(
        rows, &ManagementRowDelegate::onDelete, this, [this](const QString& id) { m_alarmManager.removeAlarm(id); });
    m_list->setDeleteQuestion(
        [this](const ManagementRow& row) { return PageParts::askToDelete(u"闹钟"_s, row.title, this); });
    connect(&m_alarmManager, &AlarmManager::alarmsChanged, m_model, &ManagementListModel::refresh);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &AlarmManagementView::updateEmptyState);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &AlarmManagementView::updateEmptyState);
    updateEmptyState();
}

AlarmManagementView::~AlarmManagementView() = default;

void AlarmManagementView::headerView(QVBoxLayout* column)
{
    QPushButton* add = PageParts::addPageHeader(
        u"⏰ 闹钟管理"_s, u"添加闹钟"_s, u"闹钟会在屏幕右上角弹出显示，必须手动关闭"_s, this, column);
    add->setObjectName(u"addAlarmButton"_s);
    connect(add, &QPushButton::clicked, this, &AlarmManagementView::showAddAlarm);
    // The list was made first, but Tab goes down the page: the button above it comes first.
    setTabOrder(add, m_list);
    m_list->setFocusWhenEmpty(add);
}

QWidget* AlarmManagementView::emptyStateView(QWidget* parent)
{
    auto* box = new QWidget(parent);
    box->setObjectName(u"alarmEmptyState"_s);
    auto* column = new QVBoxLayout(box);
    column->setSpacing(16);
    column->addStretch(1);
    auto* icon = new SymbolView(Symbols::Symbol::alarm, TextStyle::scaled(60), Symbols::Tint::gray, box);
    icon->setObjectName(u"alarmEmptySymbol"_s);
    column->addWidget(icon, 0, Qt::AlignHCenter);
    auto* title = new PlainLabel(u"还没有设置闹钟"_s, box);
    title->setObjectName(u"alarmEmptyTitle"_s);
    TextStyle::apply(title, TextStyle::Style::title3, QFont::DemiBold);
    title->setAlignment(Qt::AlignCenter);
    SecondaryText::apply(title);
    column->addWidget(title);
    auto* hint = new PlainLabel(u"点击「添加闹钟」按钮创建您的第一个闹钟"_s, box);
    hint->setObjectName(u"alarmEmptyHint"_s);
    TextStyle::apply(hint, TextStyle::Style::body);
    hint->setAlignment(Qt::AlignCenter);
    hint->setWordWrap(true);
    SecondaryText::apply(hint);
    column->addWidget(hint);
    column->addStretch(1);
    return box;
}

AlarmForm* AlarmManagementView::openForm() const
{
    return m_form;
}

bool AlarmManagementView::showingAddAlarm() const
{
    return qobject_cast<AddAlarmView*>(m_form) && m_form->isVisible();
}

std::optional<Alarm> AlarmManagementView::editingAlarm() const
{
    if (auto* form = qobject_cast<EditAlarmView*>(m_form); form && form->isVisible())
        return form->alarm();
    return std::nullopt;
}

void AlarmManagementView::updateEmptyState()
{
    m_stack->setCurrentIndex(m_model->rowCount() > 0 ? 0 : 1);
}

void AlarmManagementView::showAddAlarm()
{
    auto* form = new AddAlarmView(m_clock, this);
    connect(form, &AlarmForm::onSave, this, [this](const Alarm& alarm) { m_alarmManager.addAlarm(alarm); });
    present(form);
}

void AlarmManagementView::showEditAlarm(const QString& id)
{
    const QList<Alarm>& alarms = m_alarmManager.alarms();
    const auto it = std::find_if(alarms.cbegin(), alarms.cend(), [&](const Alarm& a) { return a.id == id; });
    if (it == alarms.cend())
        return;
    auto* form = new EditAlarmView(*it, m_clock, this);
    connect(form, &AlarmForm::onSave, this, [this](const Alarm& alarm) { m_alarmManager.updateAlarm(alarm); });
    present(form);
}

void AlarmManagementView::present(AlarmForm* form)
{
    // One form at a time.
    if (m_form)
        m_form->reject();
    m_form = form;
    form->open();
}
