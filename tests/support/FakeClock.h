#pragma once

#include "platform/Clock.h"

/// A clock that stands still until the test moves it.
class FakeClock final : public Clock
{
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 1, 5), QTime(14, 3, 7)))
        : m_now(std::move(start))
    {
    }
    [[nodiscard]] QDateTime now() const override { return m_now; }
    void set(const QDateTime& t) { m_now = t; }
    void advanceMs(qint64 ms) { m_now = m_now.addMSecs(ms); }
    void advanceSecs(double s) { m_now = m_now.addMSecs(static_cast<qint64>(s * 1000.0)); }

private:
    QDateTime m_now;
};
