#include "platform/Iso8601.h"

#include <cstdio>

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's algorithm); exact
// for every four-digit year, with no detour through QDate.
constexpr qint64 daysFromCivil(int y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const qint64 yoe = y - era * 400;
    const qint64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr int daysInMonth(int year, int month)
{
    constexpr int days[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0))
        return 29;
    return days[month - 1];
}

class Cursor
{
public:
    explicit Cursor(QStringView text)
        : m_text(text)
    {
    }

    [[nodiscard]] bool atEnd() const { return m_pos == m_text.size(); }
    [[nodiscard]] QChar peek() const { return atEnd() ? QChar() : m_text.at(m_pos); }

    bool literal(char16_t c)
    {
        if (atEnd() || m_text.at(m_pos) != c)
            return false;
        ++m_pos;
        return true;
    }

    /// Exactly `count` ASCII digits.
    bool digits(int count, int& out)
    {
        out = 0;
        for (int i = 0; i < count; ++i) {
            if (atEnd())
                return false;
            const char16_t c = m_text.at(m_pos).unicode();
            if (c < u'0' || c > u'9')
                return false;
            out = out * 10 + (c - u'0');
            ++m_pos;
        }
        return true;
    }

    /// One to nine digits of a fraction, cut to milliseconds.
    bool fractionMs(int& ms)
    {
        int count = 0;
        int value = 0;
        while (!atEnd()) {
            const char16_t c = m_text.at(m_pos).unicode();
            if (c < u'0' || c > u'9')
                break;
            if (count < 3)
                value = value * 10 + (c - u'0');
            ++count;
            ++m_pos;
        }
        if (count == 0 || count > 9)
            return false;
        for (int i = count; i < 3; ++i)
            value *= 10;
        ms = value;
        return true;
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

struct Fields
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
    int offsetSeconds = 0;
};

bool readDateAndTime(Cursor& c, Fields& f)
{
    return c.digits(4, f.year) && c.literal(u'-') && c.digits(2, f.month) && c.literal(u'-') && c.digits(2, f.day)
        && c.literal(u'T') && c.digits(2, f.hour) && c.literal(u':') && c.digits(2, f.minute) && c.literal(u':')
        && c.digits(2, f.second);
}

enum class ZoneForms { ColonOnly, ColonOrBasic };

bool readZone(Cursor& c, Fields& f, ZoneForms forms)
{
    if (c.literal(u'Z'))
        return true;
    int sign = 0;
    if (c.literal(u'+'))
        sign = 1;
    else if (c.literal(u'-'))
        sign = -1;
    else
        return false;
    int hours = 0;
    int minutes = 0;
    if (!c.digits(2, hours))
        return false;
    const bool colon = c.literal(u':');
    if (!colon && forms == ZoneForms::ColonOnly)
        return false;
    if (!c.digits(2, minutes) || hours > 23 || minutes > 59)
        return false;
    f.offsetSeconds = sign * (hours * 3600 + minutes * 60);
    return true;
}

std::optional<QDateTime> toDateTime(const Fields& f)
{
    if (f.month < 1 || f.month > 12 || f.day < 1 || f.day > daysInMonth(f.year, f.month) || f.hour > 23 || f.minute > 59
        || f.second > 59)
        return std::nullopt;
    const qint64 seconds
        = daysFromCivil(f.year, f.month, f.day) * 86400 + f.hour * 3600 + f.minute * 60 + f.second - f.offsetSeconds;
    // Only instants whose UTC form has a four-digit year from 0001 on, so that every date
    // read can be written back and read again.
    constexpr qint64 first = daysFromCivil(1, 1, 1) * 86400;
    constexpr qint64 last = daysFromCivil(9999, 12, 31) * 86400 + 86399;
    if (seconds < first || seconds > last)
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(seconds * 1000 + f.ms, Qt::UTC);
}

} // namespace

namespace Iso8601 {

std::optional<QDateTime> parseInternetDateTime(QStringView text)
{
    Cursor c(text);
    Fields f;
    if (!readDateAndTime(c, f) || !readZone(c, f, ZoneForms::ColonOnly) || !c.atEnd())
        return std::nullopt;
    return toDateTime(f);
}

std::optional<QDateTime> parseFallback(QStringView text)
{
    Cursor c(text);
    Fields f;
    if (!readDateAndTime(c, f))
        return std::nullopt;
    if (c.literal(u'.') && !c.fractionMs(f.ms))
        return std::nullopt;
    if (!readZone(c, f, ZoneForms::ColonOrBasic) || !c.atEnd())
        return std::nullopt;
    return toDateTime(f);
}

std::optional<QDateTime> parseServerDate(QStringView text)
{
    if (auto date = parseInternetDateTime(text))
        return date;
    return parseFallback(text);
}

QString format(const QDateTime& dateTime)
{
    const QDateTime utc = dateTime.toUTC();
    const QDate d = utc.date();
    const QTime t = utc.time();
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02dZ", d.year(), d.month(), d.day(), t.hour(),
        t.minute(), t.second());
    return QString::fromLatin1(buffer);
}

} // namespace Iso8601
