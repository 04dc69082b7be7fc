#include "reminders/pages/AlarmForm.h"

#include "platform/Clock.h"
#include "reminders/pages/ManagementRow.h"
#include "reminders/pages/PageParts.h"
#include "reminders/pages/SwitchButton.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/PlainTextEditor.h"
#include "widgets/ReadableColour.h"
#include "widgets/SecondaryText.h"
#include "widgets/Spacing.h"
#include "widgets/TextStyle.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

/// The fields of a new alarm before the add form fills in its title.
Alarm blankAlarm(Clock& clock)
{
    Alarm alarm;
    alarm.type = AlarmType::custom;
    alarm.time = clock.now();
    alarm.repeatType = AlarmRepeatType::daily;
    alarm.isEnabled = true;
    return alarm;
}

const std::array<QString, 7>& weekdayNames()
{
    static const std::array<QString, 7> names { u"日"_s, u"一"_s, u"二"_s, u"三"_s, u"四"_s, u"五"_s, u"六"_s };
    return names;
}

} // namespace

AlarmForm::AlarmForm(Mode mode, const Alarm& alarm, Clock& clock, QWidget* parent)
    : QDialog(parent)
    , m_mode(mode)
    , m_clock(clock)
    , m_alarm(alarm)
{
    setWindowTitle(mode == Mode::add ? u"添加闹钟"_s : u"编辑闹钟"_s);
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    buildLayout();
    loadAlarmData(alarm);
    if (m_mode == Mode::add) {
        // A new alarm is named after its type until the user names it.
        m_titleField->setText(displayName(alarm.type));
        m_messageField->clear();
    }
    connect(m_typePicker, &QComboBox::currentIndexChanged, this, &AlarmForm::onTypePicked);
    connect(m_timeField, &QTimeEdit::timeChanged, this, &AlarmForm::onTimePicked);
    connect(m_repeatPicker, &QComboBox::currentIndexChanged, this, &AlarmForm::updateWeekdaySelector);
    connect(m_titleField, &QLineEdit::textChanged, this, &AlarmForm::updateSaveButton);
    connect(m_messageField, &QPlainTextEdit::textChanged, this, &AlarmForm::updateSaveButton);
    updateWeekdaySelector();
    updateSaveButton();
}

AlarmForm::~AlarmForm() = default;

void AlarmForm::buildLayout()
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(
        Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding);
    column->setSpacing(20);
    PlainLabel* heading = PageParts::heading(m_mode == Mode::add ? u"添加闹钟"_s : u"编辑闹钟"_s, this);
    heading->setAlignment(Qt::AlignCenter);
    column->addWidget(heading);
    column->addWidget(PageParts::divider(this));

    QFormLayout* basics = nullptr;
    column->addWidget(PageParts::section(u"基本信息"_s, this, &basics));
    m_typePicker = new QComboBox(this);
    m_typePicker->setObjectName(u"alarmTypePicker"_s);
    for (const AlarmType type : allAlarmTypes)
        m_typePicker->addItem(emoji(type) + u' ' + displayName(type), QVariant::fromValue(static_cast<int>(type)));
    basics->addRow(u"类型"_s, m_typePicker);
    m_titleField = new PlainLineEdit(this);
    m_titleField->setObjectName(u"alarmTitleField"_s);
    m_titleField->setPlaceholderText(u"标题"_s);
    SecondaryText::apply(m_titleField, SecondaryText::Part::placeholder);
    basics->addRow(u"标题"_s, m_titleField);
    const QString messageTitle = m_mode == Mode::add ? u"消息（必填）"_s : u"消息"_s;
    m_messageField = new PlainTextEditor(this);
    m_messageField->setObjectName(u"alarmMessageField"_s);
    m_messageField->setPlaceholderText(messageTitle);
    SecondaryText::apply(m_messageField, SecondaryText::Part::placeholder);
    m_messageField->setTabChangesFocus(true);
    PageParts::growWithText(m_messageField, 2, 4);
    basics->addRow(messageTitle, m_messageField);

    QFormLayout* timing = nullptr;
    column->addWidget(PageParts::section(u"时间设置"_s, this, &timing));
    m_timeField = new QTimeEdit(this);
    m_timeField->setObjectName(u"alarmTimeField"_s);
    // Always the 24-hour clock, whatever the locale prefers.
    m_timeField->setDisplayFormat(u"HH:mm"_s);
    timing->addRow(u"闹钟时间"_s, m_timeField);
    m_repeatPicker = new QComboBox(this);
    m_repeatPicker->setObjectName(u"alarmRepeatPicker"_s);
    for (const AlarmRepeatType repeat : allAlarmRepeatTypes)
        m_repeatPicker->addItem(displayName(repeat), QVariant::fromValue(static_cast<int>(repeat)));
    timing->addRow(u"重复"_s, m_repeatPicker);

    m_weekdaySelector = new QWidget(this);
    m_weekdaySelector->setObjectName(u"customWeekdaySelector"_s);
    auto* selector = new QVBoxLayout(m_weekdaySelector);
    selector->setContentsMargins(0, 0, 0, 0);
    selector->setSpacing(8);
    auto* caption = new PlainLabel(u"选择星期"_s, m_weekdaySelector);
    caption->setObjectName(u"weekdayCaption"_s);
    const QFont captionFont = TextStyle::font(TextStyle::Style::caption);
    caption->setFont(captionFont);
    SecondaryText::apply(caption);
    selector->addWidget(caption);
    auto* days = new QHBoxLayout;
    days->setSpacing(8);
    for (int day = 1; day <= 7; ++day) {
        auto* button = new QPushButton(weekdayNames()[static_cast<size_t>(day - 1)], m_weekdaySelector);
        button->setObjectName(u"weekday"_s + QString::number(day));
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setFixedSize(30, 30);
        button->setFont(captionFont);
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &QPushButton::clicked, this, [this, day] { toggleWeekday(day); });
        m_dayButtons.append(button);
        days->addWidget(button);
    }
    days->addStretch(1);
    selector->addLayout(days);
    styleWeekdays();
    timing->addRow(m_weekdaySelector);

    QFormLayout* switches = nullptr;
    column->addWidget(PageParts::section(QString(), this, &switches));
    m_enabledSwitch = new SwitchButton(u"启用闹钟"_s, this);
    m_enabledSwitch->setObjectName(u"alarmEnabledSwitch"_s);
    switches->addRow(u"启用闹钟"_s, m_enabledSwitch);

    column->addStretch(1);
    m_saveButton = PageParts::addFormButtons(this, column);
    connect(m_saveButton, &QPushButton::clicked, this, &AlarmForm::saveAlarm);
}

void AlarmForm::loadAlarmData(const Alarm& alarm)
{
    m_titleField->setText(alarm.title);
    m_messageField->setPlainText(alarm.message);
    setTypeIndex(alarm.type);
    m_selectedTime = alarm.time.toLocalTime();
    m_timeField->setTime(m_selectedTime.time());
    m_repeatPicker->setCurrentIndex(
        static_cast<int>(std::find(allAlarmRepeatTypes.begin(), allAlarmRepeatTypes.end(), alarm.repeatType)
            - allAlarmRepeatTypes.begin()));
    m_weekdays = std::set<int>(alarm.customWeekdays.cbegin(), alarm.customWeekdays.cend());
    for (int day = 1; day <= 7; ++day)
        m_dayButtons[day - 1]->setChecked(m_weekdays.contains(day));
    m_enabledSwitch->setChecked(alarm.isEnabled);
}

void AlarmForm::setTypeIndex(AlarmType type)
{
    m_typePicker->setCurrentIndex(
        static_cast<int>(std::find(allAlarmTypes.begin(), allAlarmTypes.end(), type) - allAlarmTypes.begin()));
}

void AlarmForm::onTypePicked(int index)
{
    // Only a new alarm follows its type's name; an edited one keeps its title.
    if (m_mode == Mode::add && index >= 0 && index < static_cast<int>(allAlarmTypes.size()))
        m_titleField->setText(displayName(allAlarmTypes[static_cast<size_t>(index)]));
}

void AlarmForm::onTimePicked(QTime time)
{
    // Picking a time moves the hour and minute only; the date (shown for a once alarm)
    // stays.
    const QDateTime moved(m_selectedTime.date(), QTime(time.hour(), time.minute()));
    if (moved.isValid())
        m_selectedTime = moved;
}

void AlarmForm::toggleWeekday(int day)
{
    if (!m_weekdays.erase(day))
        m_weekdays.insert(day);
    m_dayButtons[day - 1]->setChecked(m_weekdays.contains(day));
}

void AlarmForm::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !m_dayButtons.isEmpty())
        styleWeekdays();
}

void AlarmForm::styleWeekdays()
{
    // A sheet keeps the colours it was given: the text colour is written into it, and
    // written again when the palette changes, or an open form keeps the old palette's ink.
    const QColor text = palette().color(QPalette::WindowText);
    // A chosen day is white on blue: the blue deepened, hue kept, until the white reads.
    const QColor chosen = ReadableColour::on(RowColours::blue, Qt::white, 4.5);
    const QString sheet
        = u"QPushButton { border: none; border-radius: 15px; background: rgba(142, 142, 147, 51); color: %1; }"
          "QPushButton:checked { background: %2; color: white; }"_s.arg(text.name(), chosen.name());
    for (QAbstractButton* button : std::as_const(m_dayButtons)) {
        if (button->styleSheet() != sheet)
            button->setStyleSheet(sheet);
    }
}

void AlarmForm::updateWeekdaySelector()
{
    const bool custom
        = m_repeatPicker->currentIndex() == static_cast<int>(allAlarmRepeatTypes.size()) - 1; // custom is the last rule
    m_weekdaySelector->setVisible(custom);
    // The stated size at the default font; a larger font grows it so that no field is cut.
    PageParts::fitForm(this, formSize);
}

void AlarmForm::updateSaveButton()
{
    m_saveButton->setEnabled(canSave());
}

AlarmType AlarmForm::selectedType() const
{
    return allAlarmTypes[static_cast<size_t>(std::max(0, m_typePicker->currentIndex()))];
}

bool AlarmForm::canSave() const
{
    return !m_titleField->text().isEmpty() && !m_messageField->text().isEmpty();
}

Alarm AlarmForm::buildAlarm() const
{
    Alarm alarm;
    if (m_mode == Mode::add) {
        alarm.id = Alarm::newId();
        alarm.createdAt = m_clock.now();
    } else {
        alarm.id = m_alarm.id;
        alarm.createdAt = m_alarm.createdAt;
    }
    alarm.title = title();
    alarm.message = message();
    alarm.type = selectedType();
    alarm.time = selectedTime();
    alarm.repeatType = repeatType();
    alarm.customWeekdays = QList<int>(m_weekdays.cbegin(), m_weekdays.cend());
    alarm.isEnabled = m_enabledSwitch->isChecked();
    return alarm;
}

QString AlarmForm::title() const
{
    return m_titleField->text();
}

QString AlarmForm::message() const
{
    return m_messageField->text();
}

AlarmRepeatType AlarmForm::repeatType() const
{
    return allAlarmRepeatTypes[static_cast<size_t>(std::max(0, m_repeatPicker->currentIndex()))];
}

void AlarmForm::saveAlarm()
{
    if (!canSave())
        return;
    Q_EMIT onSave(buildAlarm());
    accept();
}

AddAlarmView::AddAlarmView(Clock& clock, QWidget* parent)
    : AlarmForm(Mode::add, blankAlarm(clock), clock, parent)
{
}

AddAlarmView::~AddAlarmView() = default;

EditAlarmView::EditAlarmView(const Alarm& alarm, Clock& clock, QWidget* parent)
    : AlarmForm(Mode::edit, alarm, clock, parent)
{
}

EditAlarmView::~EditAlarmView() = default;
