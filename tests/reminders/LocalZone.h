#pragma once

#include <QByteArray>

#include <ctime>

/// Runs the test in the named time zone: local dates, daylight-saving changes and weekdays
/// are those of that zone, whatever the machine is set to. Every test is its own process,
/// so the zone never leaks into another test.
class LocalZone final
{
public:
    explicit LocalZone(const char* zone)
        : m_previous(qgetenv("TZ"))
        , m_hadPrevious(qEnvironmentVariableIsSet("TZ"))
    {
        set(zone);
    }
    ~LocalZone()
    {
        if (m_hadPrevious)
            qputenv("TZ", m_previous);
        else
            qunsetenv("TZ");
        tzset();
    }
    LocalZone(const LocalZone&) = delete;
    LocalZone& operator=(const LocalZone&) = delete;

    static void set(const char* zone)
    {
        qputenv("TZ", zone);
        tzset();
    }

private:
    QByteArray m_previous;
    bool m_hadPrevious;
};
