#include "reminders/pages/ReminderForm.h"

#include "platform/Clock.h"
#include "reminders/pages/PageParts.h"
#include "reminders/pages/SwitchButton.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/PlainTextEditor.h"
#include "widgets/SecondaryText.h"
#include "widgets/Spacing.h"
#include "widgets/TextStyle.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QUuid>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int maxHours = 23;

/// A new reminder of `type` as the add form starts it.
Reminder newReminder(ReminderType type)
{
    Reminder reminder;
    reminder.type = type;
    reminder.title = displayName(type);
    reminder.message = defaultMessage(type);
    reminder.interval = defaultInterval(type);
    reminder.isEnabled = true;
    return reminder;
}

QSpinBox* stepper(const QString& prefix, int maximum, const QString& name, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setPrefix(prefix);
    box->setRange(0, maximum);
    box->setSingleStep(1);
    box->setButtonSymbols(QAbstractSpinBox::PlusMinus);
    return box;
}

} // namespace

ReminderForm::Steps ReminderForm::stepsOf(double intervalSeconds)
{
    // A stored interval may be anything; only a positive, finite one has steps to show.
    if (!std::isfinite(intervalSeconds) || intervalSeconds <= 0)
        return {};
    // Longer than the steppers reach: the longest they can show.
    if (intervalSeconds >= (maxHours + 1) * 3600.0)
        return { maxHours, 59 };
    const auto seconds = static_cast<int>(intervalSeconds);
    return { seconds / 3600, seconds % 3600 / 60 };
}

ReminderForm::ReminderForm(Mode mode, const Reminder& reminder, Clock& clock, QWidget* parent)
    : QDialog(parent)
    , m_mode(mode)
    , m_clock(clock)
    , m_reminder(reminder)
{
    const QString heading = mode == Mode::add ? u"添加"_s + displayName(reminder.type) : u"编辑提醒"_s;
    setWindowTitle(heading);
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    buildLayout(heading);
    // The stated size at the default font; a larger font grows it so that no field is cut.
    PageParts::fitForm(this, formSize);

    connect(m_titleField, &QLineEdit::textChanged, this, &ReminderForm::updateSaveButton);
    connect(m_hoursField, &QSpinBox::valueChanged, this, &ReminderForm::updateSaveButton);
    connect(m_minutesField, &QSpinBox::valueChanged, this, &ReminderForm::updateSaveButton);
    updateSaveButton();
}

ReminderForm::~ReminderForm() = default;

void ReminderForm::loadReminderData(const Reminder& reminder)
{
    m_titleField->setText(reminder.title);
    m_messageField->setPlainText(reminder.message);
    const Steps steps = stepsOf(reminder.interval);
    m_hoursField->setValue(steps.hours);
    m_minutesField->setValue(steps.minutes);
    m_enabledSwitch->setChecked(reminder.isEnabled);
    updateSaveButton();
}

void ReminderForm::buildLayout(const QString& heading)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(
        Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding);
    column->setSpacing(20);
    PlainLabel* title = PageParts::heading(heading, this);
    title->setAlignment(Qt::AlignCenter);
    column->addWidget(title);
    column->addWidget(PageParts::divider(this));

    QFormLayout* basics = nullptr;
    column->addWidget(PageParts::section(u"基本信息"_s, this, &basics));
    m_titleField = new PlainLineEdit(this);
    m_titleField->setObjectName(u"reminderTitleField"_s);
    m_titleField->setPlaceholderText(u"提醒标题"_s);
    SecondaryText::apply(m_titleField, SecondaryText::Part::placeholder);
    basics->addRow(m_titleField);
    m_messageField = new PlainTextEditor(this);
    m_messageField->setObjectName(u"reminderMessageField"_s);
    m_messageField->setPlaceholderText(u"提醒内容"_s);
    SecondaryText::apply(m_messageField, SecondaryText::Part::placeholder);
    m_messageField->setTabChangesFocus(true);
    PageParts::growWithText(m_messageField, 3, 5);
    basics->addRow(m_messageField);

    QFormLayout* interval = nullptr;
    column->addWidget(PageParts::section(u"提醒间隔"_s, this, &interval));
    m_hoursField = stepper(u"小时: "_s, maxHours, u"intervalHours"_s, this);
    m_minutesField = stepper(u"分钟: "_s, 59, u"intervalMinutes"_s, this);
    auto* steppers = new QHBoxLayout;
    steppers->setSpacing(12);
    steppers->addWidget(m_hoursField, 1);
    steppers->addWidget(m_minutesField, 1);
    interval->addRow(steppers);

    QFormLayout* switches = nullptr;
    column->addWidget(PageParts::section(QString(), this, &switches));
    m_enabledSwitch = new SwitchButton(u"启用提醒"_s, this);
    m_enabledSwitch->setObjectName(u"reminderEnabledSwitch"_s);
    switches->addRow(u"启用提醒"_s, m_enabledSwitch);

    column->addStretch(1);
    m_saveButton = PageParts::addFormButtons(this, column);
    connect(m_saveButton, &QPushButton::clicked, this, &ReminderForm::saveReminder);
}

void ReminderForm::updateSaveButton()
{
    m_saveButton->setEnabled(canSave());
}

bool ReminderForm::canSave() const
{
    return !m_titleField->text().isEmpty() && (m_hoursField->value() > 0 || m_minutesField->value() >= 1);
}

Reminder ReminderForm::buildReminder() const
{
    Reminder reminder = m_reminder;
    if (m_mode == Mode::add) {
        reminder.id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
        reminder.lastTriggered.reset();
        reminder.createdAt = m_clock.now();
    }
    reminder.title = title();
    reminder.message = message();
    reminder.interval = static_cast<double>(intervalHours() * 3600 + intervalMinutes() * 60);
    reminder.isEnabled = m_enabledSwitch->isChecked();
    return reminder;
}

QString ReminderForm::title() const
{
    return m_titleField->text();
}

QString ReminderForm::message() const
{
    return m_messageField->text();
}

int ReminderForm::intervalHours() const
{
    return m_hoursField->value();
}

int ReminderForm::intervalMinutes() const
{
    return m_minutesField->value();
}

void ReminderForm::saveReminder()
{
    if (!canSave())
        return;
    Q_EMIT onSave(buildReminder());
    accept();
}

AddReminderView::AddReminderView(ReminderType reminderType, Clock& clock, QWidget* parent)
    : ReminderForm(Mode::add, newReminder(reminderType), clock, parent)
{
    loadDefaults();
}

AddReminderView::~AddReminderView() = default;

void AddReminderView::loadDefaults()
{
    loadReminderData(newReminder(reminderType()));
}

EditReminderView::EditReminderView(const Reminder& reminder, Clock& clock, QWidget* parent)
    : ReminderForm(Mode::edit, reminder, clock, parent)
{
    loadReminderData(reminder);
}

EditReminderView::~EditReminderView() = default;
