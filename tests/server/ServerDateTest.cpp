// Server dates: the strict internet form, the two fallbacks, and what both refuse.
#include "platform/Iso8601.h"

#include <QTimeZone>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

qint64 ms(const std::optional<QDateTime>& d)
{
    return d ? d->toMSecsSinceEpoch() : -1;
}

QDateTime utc(int y, int mo, int d, int h, int mi, int s, int msec = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, msec), Qt::UTC);
}

} // namespace

TEST(ServerDate, InternetFormReadsZoneAndOffsetOnly)
{
    EXPECT_EQ(
        ms(Iso8601::parseInternetDateTime(u"2024-05-01T08:30:00Z")), utc(2024, 5, 1, 8, 30, 0).toMSecsSinceEpoch());
    EXPECT_EQ(ms(Iso8601::parseInternetDateTime(u"2024-05-01T16:30:00+08:00")),
        utc(2024, 5, 1, 8, 30, 0).toMSecsSinceEpoch());
    EXPECT_EQ(
        ms(Iso8601::parseInternetDateTime(u"2024-05-01T00:30:00-08:30")), utc(2024, 5, 1, 9, 0, 0).toMSecsSinceEpoch());
    EXPECT_EQ(
        ms(Iso8601::parseInternetDateTime(u"2024-02-29T23:59:59Z")), utc(2024, 2, 29, 23, 59, 59).toMSecsSinceEpoch());

    // Forms Qt's own ISO reading would take, and impossible dates.
    for (const char16_t* text :
        { u"2024-05-01T08:30:00", u"2024-05-01", u"2024-05-01T08:30:00.250Z", u"2024-05-01 08:30:00Z",
            u"2024-05-01t08:30:00z", u"2024-05-01T08:30Z", u"2024-5-1T08:30:00Z", u"2023-02-29T00:00:00Z",
            u"2024-04-31T00:00:00Z", u"2024-05-01T24:00:00Z", u"2024-05-01T08:60:00Z", u"2024-05-01T08:30:60Z",
            u"2024-13-01T00:00:00Z", u"2024-05-01T08:30:00+0800", u"2024-05-01T08:30:00+24:00",
            u" 2024-05-01T08:30:00Z", u"2024-05-01T08:30:00Z ", u"", u"２０２４-05-01T08:30:00Z" }) {
        EXPECT_FALSE(Iso8601::parseInternetDateTime(text)) << QString::fromUtf16(text).toStdString();
    }
}

TEST(ServerDate, FallbacksReadMillisecondsAndBasicOffsets)
{
    EXPECT_EQ(
        ms(Iso8601::parseServerDate(u"2024-05-01T08:30:00.250Z")), utc(2024, 5, 1, 8, 30, 0, 250).toMSecsSinceEpoch());
    EXPECT_EQ(ms(Iso8601::parseServerDate(u"2024-05-01T08:30:00.250+0000")),
        utc(2024, 5, 1, 8, 30, 0, 250).toMSecsSinceEpoch());
    EXPECT_EQ(ms(Iso8601::parseServerDate(u"2024-05-01T10:30:00.5+02:00")),
        utc(2024, 5, 1, 8, 30, 0, 500).toMSecsSinceEpoch());
    EXPECT_EQ(ms(Iso8601::parseServerDate(u"2024-05-01T08:30:00.123456Z")),
        utc(2024, 5, 1, 8, 30, 0, 123).toMSecsSinceEpoch())
        << "extra digits are cut to milliseconds";
    EXPECT_EQ(ms(Iso8601::parseServerDate(u"2024-05-01T08:30:00-0100")), utc(2024, 5, 1, 9, 30, 0).toMSecsSinceEpoch());

    for (const char16_t* text : { u"2024-05-01 08:30", u"2024-05-01T08:30:00.Z", u"2024-05-01T08:30:00.250",
             u"2024-05-01T08:30:00.1234567890Z", u"2024-05-01T08:30:00.250+08", u"1714552200" }) {
        EXPECT_FALSE(Iso8601::parseServerDate(text)) << QString::fromUtf16(text).toStdString();
    }
}

TEST(ServerDate, FormatWritesWholeSecondsInUtcAndReadsBack)
{
    const QDateTime local = QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58, 999), QTimeZone(3600 * 9));
    const QString text = Iso8601::format(local);
    EXPECT_EQ(text, u"1999-12-31T14:59:58Z"_s);
    EXPECT_EQ(ms(Iso8601::parseInternetDateTime(text)), utc(1999, 12, 31, 14, 59, 58).toMSecsSinceEpoch());
    EXPECT_EQ(Iso8601::format(utc(1, 1, 1, 0, 0, 0)), u"0001-01-01T00:00:00Z"_s);
    EXPECT_EQ(ms(Iso8601::parseInternetDateTime(u"0001-01-01T00:00:00Z")), utc(1, 1, 1, 0, 0, 0).toMSecsSinceEpoch());
    // Instants whose UTC year would leave four digits cannot be written back, so they are refused.
    EXPECT_FALSE(Iso8601::parseInternetDateTime(u"0000-06-01T00:00:00Z"));
    EXPECT_FALSE(Iso8601::parseInternetDateTime(u"0001-01-01T00:30:00+01:00"));
    EXPECT_FALSE(Iso8601::parseInternetDateTime(u"9999-12-31T23:30:00-01:00"));
    EXPECT_TRUE(Iso8601::parseInternetDateTime(u"9999-12-31T23:59:59Z"));
}
