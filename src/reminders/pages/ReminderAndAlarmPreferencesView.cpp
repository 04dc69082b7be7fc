#include "reminders/pages/ReminderAndAlarmPreferencesView.h"

#include "platform/Clock.h"
#include "reminders/pages/AlarmManagementView.h"
#include "reminders/pages/PageParts.h"
#include "reminders/pages/ReminderManagementView.h"

#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
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

    // A segmented control: two joined buttons, one of them always down.
    auto* segments = new QWidget(this);
    segments->setObjectName(u"reminderAlarmSegments"_s);
    auto* row = new QHBoxLayout(segments);
    row->setContentsMargins(16, 10, 16, 10);
    row->setSpacing(0);
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    for (const ReminderAlarmTab tab : allTabs) {
        auto* button = new QPushButton(rawValue(tab), segments);
        const bool first = tab == allTabs.front();
        button->setObjectName(first ? u"reminderSegment"_s : u"alarmSegment"_s);
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        const QString corners = first ? u"border-top-left-radius: 6px; border-bottom-left-radius: 6px;"_s
                                      : u"border-top-right-radius: 6px; border-bottom-right-radius: 6px;"_s;
        button->setStyleSheet(u"QPushButton { padding: 4px 12px; border: 1px solid rgba(128, 128, 128, 90);"
                              " background: rgba(128, 128, 128, 25); border-radius: 0; "_s
            + corners
            + u"}"
              "QPushButton:checked { background: #007AFF; color: white; border-color: #007AFF; }"_s);
        group->addButton(button);
        m_segments.append(button);
        row->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, tab] { setSelectedTab(tab); });
    }
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
    for (int i = 0; i < m_segments.size(); ++i)
        m_segments[i]->setChecked(allTabs[static_cast<size_t>(i)] == m_selectedTab);
    // The page is built afresh, so it opens with no form and starts from the list as it
    // stands.
    delete m_page;
    if (m_selectedTab == ReminderAlarmTab::reminder)
        m_page = new ReminderManagementView(m_reminderManager, m_clock, this);
    else
        m_page = new AlarmManagementView(m_alarmManager, m_clock, this);
    m_layout->addWidget(m_page, 1);
}
