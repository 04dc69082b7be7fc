#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

/// Turns SIGTERM and SIGINT into a call on the main thread, so that a session logout or
/// Ctrl+C ends the program the same orderly way as the quit item. The newest instance
/// receives the signals; destroying it gives them back to the system.
class TerminationSignals final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TerminationSignals)

public:
    using Handler = std::function<void(int signalNumber)>;

    explicit TerminationSignals(Handler handler, QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    void readSignal();

    Handler m_handler;
    int m_fds[2] = { -1, -1 };
    QSocketNotifier* m_notifier = nullptr;
};
