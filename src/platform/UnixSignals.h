#pragma once

#include <QObject>

class QSocketNotifier;

/// Turns SIGINT and SIGTERM into `quitRequested(signalNumber)` on the main thread, so a terminal's
/// Ctrl+C or a session's logout ends the program through its normal quit path. The signal
/// handler only writes one byte to a socket pair, which is all it may safely do.
///
/// At most one instance exists at a time; destroying it restores the previous handlers.
class UnixSignals final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UnixSignals)

public:
    explicit UnixSignals(QObject* parent = nullptr);
    ~UnixSignals() override;

    /// False when the socket pair or the handlers could not be set up (the program then
    /// keeps the default behaviour of these signals).
    [[nodiscard]] bool isActive() const { return m_notifier != nullptr; }

Q_SIGNALS:
    void quitRequested(int signalNumber);

private:
    void drain();

    QSocketNotifier* m_notifier = nullptr;
};
