#include "platform/TimerSource.h"

#include <QTimer>

#include <algorithm>

namespace {

class QtTimer final : public TimerSource::Timer
{
public:
    QtTimer(int intervalMs, bool repeating, std::function<void()> onFire)
        : m_timer(new QTimer)
    {
        m_timer->setTimerType(Qt::PreciseTimer);
        m_timer->setSingleShot(!repeating);
        m_timer->setInterval(std::max(0, intervalMs));
        QObject::connect(m_timer, &QTimer::timeout, m_timer, [this, onFire = std::move(onFire)] {
            // The callback may destroy this handle; the QTimer then goes once its signal is done.
            const auto keep = onFire;
            m_firing = true;
            auto alive = m_alive;
            keep();
            if (*alive)
                m_firing = false;
        });
        m_timer->start();
    }

    ~QtTimer() override
    {
        *m_alive = false;
        m_timer->stop();
        if (m_firing)
            m_timer->deleteLater();
        else
            delete m_timer;
    }

    QtTimer(const QtTimer&) = delete;
    QtTimer& operator=(const QtTimer&) = delete;

private:
    QTimer* m_timer;
    bool m_firing = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

class SystemTimerSource final : public TimerSource
{
public:
    std::unique_ptr<Timer> start(int intervalMs, bool repeating, std::function<void()> onFire) override
    {
        return std::make_unique<QtTimer>(intervalMs, repeating, std::move(onFire));
    }
};

} // namespace

TimerSource& TimerSource::system()
{
    static SystemTimerSource source;
    return source;
}
