#include "reminders/pages/ReminderAndAlarmPreferencesView.h"

#include "platform/Clock.h"
#include "reminders/pages/AlarmManagementView.h"
#include "reminders/pages/PageParts.h"
#include "reminders/pages/ReminderManagementView.h"

#include "widgets/SegmentedPicker.h"
#include "widgets/Spacing.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr std::array<ReminderAndAlarmPreferencesView::ReminderAlarmTab, 2> allTabs {
    ReminderAndAlarmPreferencesView::ReminderAlarmTab::reminder,
    ReminderAndAlarmPreferencesView::ReminderAlarmTab::alarm,
};

} // namespace

QString ReminderAndAlarmPreferencesView::rawValue(ReminderAlarmTab tab)
{
    return tab == ReminderAlarmTab::reminder ? u"提醒"_s : u"闹钟"_s;
}

ReminderAndAlarmPreferencesView::ReminderAndAlarmPreferencesView(
    AlarmManager& alarmManager, ReminderManager& reminderManager, QWidget* parent)
    : ReminderAndAlarmPreferencesView(alarmManager, reminderManager, Clock::system(), parent)
{
}

ReminderAndAlarmPreferencesView::ReminderAndAlarmPreferencesView(
    AlarmManager& alarmManager, ReminderManager& reminderManager, Clock& clock, QWidget* parent)
    : QWidget(parent)
    , m_reminderManager(reminderManager)
    , m_alarmManager(alarmManager)
    , m_clock(clock)
    , m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);

    // The segments at their natural width, centred, with the standard inset around them.
    auto* segments = new QWidget(this);
    segments->setObjectName(u"reminderAlarmSegments"_s);
    auto* row = new QHBoxLayout(segments);
    row->setContentsMargins(
        Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding);
    m_picker = new SegmentedPicker(QString(), segments);
    for (const ReminderAlarmTab tab : allTabs) {
        QAbstractButton* segment = m_picker->addSegment(rawValue(tab), static_cast<int>(tab));
        segment->setObjectName(tab == ReminderAlarmTab::reminder ? u"reminderSegment"_s : u"alarmSegment"_s);
    }
    connect(m_picker, &SegmentedPicker::segmentClicked, this,
        [this](int id) { setSelectedTab(static_cast<ReminderAlarmTab>(id)); });
    row->addWidget(m_picker, 0, Qt::AlignHCenter);
    m_layout->addWidget(segments);
    m_layout->addWidget(PageParts::divider(this));
    showPage();
}

ReminderAndAlarmPreferencesView::~ReminderAndAlarmPreferencesView() = default;

void ReminderAndAlarmPreferencesView::setSelectedTab(ReminderAlarmTab tab)
{
    if (tab == m_selectedTab && m_page)
        return;
    m_selectedTab = tab;
    showPage();
}

void ReminderAndAlarmPreferencesView::showPage()
{
    m_picker->setCurrentId(static_cast<int>(m_selectedTab));
    // The page is built afresh, so it opens with no form and starts from the list as it
    // stands.
    delete m_page;
    if (m_selectedTab == ReminderAlarmTab::reminder)
        m_page = new ReminderManagementView(m_reminderManager, m_clock, this);
    else
        m_page = new AlarmManagementView(m_alarmManager, m_clock, this);
    m_layout->addWidget(m_page, 1);
}
