// The pure parts of the management pages: the interval texts and steps.
#include "reminders/pages/ReminderForm.h"
#include "reminders/pages/ReminderRowView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

TEST(ReminderRowText, IntervalsReadInWholeMinutesAndHours)
{
    const std::pair<double, QString> cases[] = {
        { 1800, u"30分钟"_s },
        { 59, u"0分钟"_s },
        { 3600, u"1小时"_s },
        { 5400, u"1小时30分钟"_s },
        { 7260, u"2小时1分钟"_s },
        { 3630, u"1小时"_s }, // seconds below a minute are dropped
        { 86400 * 3, u"72小时"_s },
        // Stored lists can hold anything; nothing may crash or overflow.
        { std::numeric_limits<double>::quiet_NaN(), u"—"_s },
        { std::numeric_limits<double>::infinity(), u"—"_s },
        { 1e300, u"—"_s },
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(ReminderRowView::formatInterval(seconds), text) << seconds;
}

TEST(ReminderForm, IntervalStepsDropSecondsAndNeverOverflow)
{
    using Steps = ReminderForm::Steps;
    const std::pair<double, Steps> cases[] = {
        { 1830, { 0, 30 } },
        { 3600, { 1, 0 } },
        { 5400, { 1, 30 } },
        { 59, { 0, 0 } },
        { 23 * 3600 + 59 * 60 + 59, { 23, 59 } },
        { 100000, { 23, 59 } }, // beyond the steppers: the most they show
        { -300, { 0, 0 } },
        { std::numeric_limits<double>::quiet_NaN(), { 0, 0 } },
        { 1e300, { 23, 59 } },
    };
    for (const auto& [seconds, steps] : cases) {
        const Steps got = ReminderForm::stepsOf(seconds);
        EXPECT_EQ(got.hours, steps.hours) << seconds;
        EXPECT_EQ(got.minutes, steps.minutes) << seconds;
    }
}
