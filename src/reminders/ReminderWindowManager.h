#pragma once

#include <QObject>
#include <QPointer>

class PlainLabel;
class QWidget;
class ReminderManager;

/// Holds the one reminder window: each reminder with its interval and next firing, kept
/// current while the window is open. Showing it again brings the open one forward; once
/// the user closes it, the next request builds a fresh one.
class ReminderWindowManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReminderWindowManager)

public:
    explicit ReminderWindowManager(ReminderManager& reminders, QObject* parent = nullptr);
    ~ReminderWindowManager() override;

    void showReminderWindow();
    void closeReminderWindow();
    /// The open reminder window, or null.
    [[nodiscard]] QWidget* reminderWindow() const { return m_reminderWindow; }

private:
    void refresh();

    ReminderManager& m_reminders;
    QPointer<QWidget> m_reminderWindow;
    QPointer<PlainLabel> m_status;
};
