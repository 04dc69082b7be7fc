#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>

class LogManager;
class QPlainTextEdit;
class QWidget;

/// The debug-log window: the in-memory log lines with buttons to copy, save, clear,
/// refresh, count them and reveal the log file. Built on first opening and kept after
/// closing; its refresh timer keeps running from then on.
class LogWindowManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LogWindowManager)

public:
    static constexpr int refreshIntervalMs = 2000;
    /// The text's size in pixels at the default application font; it grows with a larger one.
    static constexpr double textPixels = 11.0;

    explicit LogWindowManager(LogManager& logs, QObject* parent = nullptr);
    ~LogWindowManager() override;

    /// Opens the window, or brings it forward when it is already built.
    void showLogWindow();
    [[nodiscard]] QWidget* logWindow() const { return m_logWindow.get(); }

private:
    void buildWindow();
    void copyLogs();
    void saveLogs();
    void clearLogs();
    void refreshLogs();
    void showStats();
    void openLogFile();
    void showAlert(const QString& title, const QString& message);

    LogManager& m_logs;
    std::unique_ptr<QWidget> m_logWindow;
    QPointer<QPlainTextEdit> m_logTextView;
    QTimer m_timer;
};
