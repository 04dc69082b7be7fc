#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

/// One running program per user and display. The first launch listens on a local socket of
/// that user and display; a later launch finds it, asks it to reopen (it brings the pet to
/// the front) and ends.
class SingleInstance final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)

public:
    /// `serverName` is a local-socket name or an absolute socket path.
    explicit SingleInstance(QString serverName = defaultServerName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    /// "tamsel-<uid>-<display>" ("tamsel-1000-:0"; without a display "tamsel-<uid>") in the
    /// user's private runtime folder when there is one, else in the temporary folder.
    [[nodiscard]] static QString defaultServerName();

    /// True when this process is the one that runs: no other instance answered and this one
    /// now listens (or could not listen, in which case it runs unguarded rather than not at
    /// all). False when a running instance was found and asked to reopen: the caller ends.
    [[nodiscard]] bool tryBecomePrimary();

    [[nodiscard]] bool isListening() const { return m_server.isListening(); }

    /// The message a later launch sends.
    static constexpr char reopenMessage[] = "reopen\n";

Q_SIGNALS:
    /// A later launch asked the running program to show itself.
    void reopenRequested();

private:
    [[nodiscard]] bool askRunningInstanceToReopen();
    void acceptConnections();

    QString m_serverName;
    QLocalServer m_server;
};
