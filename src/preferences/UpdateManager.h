#pragma once

#include "preferences/ProductInfo.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

#include <optional>

class Clock;
class Defaults;
class QNetworkReply;
struct UpdateData;
struct UpdateResponse;

/// Asks the companion server whether a newer version exists: once shortly after start
/// (silent unless a version is offered) and whenever the user asks (always answered).
/// The outcome reaches the user through alerts, or only the log; nothing is retried.
class UpdateManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UpdateManager)

public:
    static inline const QString ignoredVersionKey = QStringLiteral("IgnoredVersion");
    /// The version used when the program carries none.
    static inline const QString fallbackVersion = QStringLiteral("1.0.0");
    static constexpr int requestTimeoutMs = 10000;
    /// Automatic checks are at least this many seconds apart.
    static constexpr qint64 checkInterval = 86400;
    /// A version reply is a few hundred bytes; anything past this is not one.
    static constexpr qint64 maxReplyBytes = 1024 * 1024;
    /// How much of the release notes the update alert shows.
    static constexpr qsizetype maxShownNoteCharacters = 1500;
    static constexpr qsizetype maxShownNoteLines = 25;

    /// apiBaseURL: the server's API base ("http://host:3005/api"). currentVersion empty
    /// means the program's own version.
    UpdateManager(Defaults& defaults, Clock& clock, QString apiBaseURL, UrlOpener openUrl = browserOpener(),
        QString currentVersion = {}, int timeoutMs = requestTimeoutMs, QObject* parent = nullptr);
    ~UpdateManager() override;

    /// Checks unless the last check started less than a day ago; reports only an offer.
    void checkForUpdatesAutomatically();
    /// Checks now and reports every outcome in an alert.
    void checkForUpdatesManually();

    [[nodiscard]] bool isChecking() const { return m_isChecking; }
    [[nodiscard]] bool hasUpdate() const { return m_hasUpdate; }
    [[nodiscard]] const std::optional<QString>& latestVersion() const { return m_latestVersion; }
    [[nodiscard]] const std::optional<QString>& downloadURL() const { return m_downloadURL; }
    [[nodiscard]] const std::optional<QString>& releaseNotes() const { return m_releaseNotes; }
    [[nodiscard]] const QString& currentVersion() const { return m_currentVersion; }
    [[nodiscard]] const std::optional<QDateTime>& lastCheckDate() const { return m_lastCheckDate; }

    /// The update alert's text; long notes are cut to what an alert can show.
    [[nodiscard]] static QString updateAlertText(const UpdateData& data);

Q_SIGNALS:
    void isCheckingChanged(bool checking);
    /// The offer's fields below change before its alert shows, each only when its value does.
    void hasUpdateChanged(bool hasUpdate);
    void latestVersionChanged();
    void downloadURLChanged();
    void releaseNotesChanged();

private:
    void checkForUpdates(bool showAlert);
    void finishCheck(QNetworkReply* reply, bool showAlert, bool tooLarge);
    void handleUpdateResponse(const UpdateResponse& response, bool showAlert);
    void showUpdateAlert(const UpdateData& data);
    void showNoUpdateAlert();
    void showErrorAlert();
    void setChecking(bool checking);

    Defaults& m_defaults;
    Clock& m_clock;
    QString m_apiBaseURL;
    UrlOpener m_openUrl;
    QString m_currentVersion;
    int m_timeoutMs;
    QNetworkAccessManager m_network;

    bool m_hasUpdate = false;
    std::optional<QString> m_latestVersion;
    std::optional<QString> m_downloadURL;
    std::optional<QString> m_releaseNotes;
    bool m_isChecking = false;
    std::optional<QDateTime> m_lastCheckDate;
};
