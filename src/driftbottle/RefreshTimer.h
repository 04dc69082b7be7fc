#pragma once

#include <QTimer>

#include <functional>

/// A repeating timer behind a small interface, so tests can fire the periodic refresh by
/// hand instead of waiting for it.
class RefreshTimer
{
public:
    virtual ~RefreshTimer() = default;
    /// Starts (or restarts) firing `onTimeout` every `intervalMs`.
    virtual void start(int intervalMs, std::function<void()> onTimeout) = 0;
    virtual void stop() = 0;
    [[nodiscard]] virtual bool isActive() const = 0;
};

/// The program's refresh timer: one precise QTimer, since the user sees its cadence.
class QtRefreshTimer final : public RefreshTimer
{
public:
    QtRefreshTimer();
    void start(int intervalMs, std::function<void()> onTimeout) override;
    void stop() override;
    [[nodiscard]] bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
    std::function<void()> m_onTimeout;
};
