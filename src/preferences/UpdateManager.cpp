#include "preferences/UpdateManager.h"

#include "platform/Alerts.h"
#include "platform/Clock.h"
#include "platform/Defaults.h"
#include "platform/JsonReader.h"
#include "platform/LogManager.h"
#include "preferences/UpdateResponse.h"
#include "widgets/GraphemeText.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString category = u"Update"_s;

void log(const QString& message)
{
    LogManager::log(message, category);
}

/// What went wrong on the way, in words for the log.
QString transportFailure(const QNetworkReply* reply)
{
    switch (reply->error()) {
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::TimeoutError:
        // The transfer time-out cancels the request.
        return u"请求超时"_s;
    default:
        return reply->errorString();
    }
}

/// Puts `value` into `field`; whether that changed it.
template<typename T>
bool replace(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

UpdateManager::UpdateManager(Defaults& defaults, Clock& clock, QString apiBaseURL, UrlOpener openUrl,
    QString currentVersion, int timeoutMs, QObject* parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_clock(clock)
    , m_apiBaseURL(std::move(apiBaseURL))
    , m_openUrl(std::move(openUrl))
    , m_currentVersion(std::move(currentVersion))
    , m_timeoutMs(timeoutMs)
{
    if (m_currentVersion.isEmpty())
        m_currentVersion = ProductInfo::appVersion();
    if (m_currentVersion.isEmpty())
        m_currentVersion = fallbackVersion;
    log(u"UpdateManager 初始化，当前版本: "_s + m_currentVersion);
}

UpdateManager::~UpdateManager() = default;

void UpdateManager::checkForUpdatesAutomatically()
{
    if (m_lastCheckDate && m_lastCheckDate->secsTo(m_clock.now()) < checkInterval) {
        log(u"距离上次检查不足24小时，跳过自动检查"_s);
        return;
    }
    checkForUpdates(false);
}

void UpdateManager::checkForUpdatesManually()
{
    checkForUpdates(true);
}

void UpdateManager::checkForUpdates(bool showAlert)
{
    if (m_isChecking) {
        log(u"正在检查更新中，跳过"_s);
        return;
    }
    setChecking(true);
    m_lastCheckDate = m_clock.now();
    log(u"🔄 开始检查更新..."_s);

    QUrl url(m_apiBaseURL + u"/version/check"_s, QUrl::StrictMode);
    url.setQuery(
        u"currentVersion="_s + QString::fromLatin1(QUrl::toPercentEncoding(m_currentVersion)), QUrl::StrictMode);
    const bool usable
        = url.isValid() && !url.host().isEmpty() && (url.scheme() == u"http"_s || url.scheme() == u"https"_s);
    if (!usable) {
        setChecking(false);
        if (showAlert)
            showErrorAlert();
        return;
    }

    QNetworkRequest request(url);
    request.setTransferTimeout(m_timeoutMs);
    QNetworkReply* reply = m_network.get(request);
    auto tooLarge = std::make_shared<bool>(false);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply, tooLarge](qint64 received, qint64 total) {
        if (received > maxReplyBytes || total > maxReplyBytes) {
            *tooLarge = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this,
        [this, reply, showAlert, tooLarge] { finishCheck(reply, showAlert, *tooLarge); });
}

void UpdateManager::finishCheck(QNetworkReply* reply, bool showAlert, bool tooLarge)
{
    reply->deleteLater();
    // Alerts run their own event loop; the manager may go while one is open.
    const QPointer<UpdateManager> self(this);
    // The status is not looked at: an error status with a readable body counts like 200.
    const bool answered = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
    if (tooLarge || (!answered && reply->error() != QNetworkReply::NoError)) {
        log(u"❌ 检查更新失败: "_s + (tooLarge ? u"回复过大"_s : transportFailure(reply)));
        if (showAlert)
            showErrorAlert();
    } else {
        std::optional<UpdateResponse> response;
        try {
            response = UpdateResponse::decode(reply->readAll());
        } catch (const JsonDecodeError& error) {
            log(u"❌ 解析更新信息失败: "_s + error.description());
            if (showAlert)
                showErrorAlert();
        }
        if (response)
            handleUpdateResponse(*response, showAlert);
    }
    if (self)
        setChecking(false);
}

void UpdateManager::handleUpdateResponse(const UpdateResponse& response, bool showAlert)
{
    if (!response.success || !response.data) {
        if (showAlert)
            showErrorAlert();
        return;
    }
    const UpdateData& data = *response.data;
    if (!data.hasUpdate) {
        log(u"✅ 已是最新版本"_s);
        if (showAlert)
            showNoUpdateAlert();
        return;
    }
    log(u"✅ 发现新版本: "_s + data.latestVersion);
    if (replace(m_hasUpdate, true))
        Q_EMIT hasUpdateChanged(true);
    if (replace(m_latestVersion, std::optional<QString>(data.latestVersion)))
        Q_EMIT latestVersionChanged();
    if (replace(m_downloadURL, data.downloadUrl))
        Q_EMIT downloadURLChanged();
    if (replace(m_releaseNotes, data.releaseNotes))
        Q_EMIT releaseNotesChanged();
    // An offer is shown by the automatic check too.
    showUpdateAlert(data);
}

QString UpdateManager::updateAlertText(const UpdateData& data)
{
    QString notes = data.releaseNotes.value_or(QString());
    const QStringList lines = notes.split(u'\n');
    bool cut = false;
    if (lines.size() > maxShownNoteLines) {
        notes = lines.mid(0, maxShownNoteLines).join(u'\n');
        cut = true;
    }
    if (GraphemeText::count(notes) > maxShownNoteCharacters) {
        notes = GraphemeText::truncated(notes, maxShownNoteCharacters);
        cut = true;
    }
    if (cut)
        notes += u"…"_s;
    return u"当前版本："_s + data.currentVersion + u"\n最新版本："_s + data.latestVersion + u"\n\n更新内容：\n"_s
        + notes + u"\n\n是否立即下载？"_s;
}

void UpdateManager::showUpdateAlert(const UpdateData& data)
{
    const int answer = Alerts::show(Alerts::Style::Informational, u"发现新版本 🎉"_s, updateAlertText(data),
        { u"立即下载"_s, u"稍后提醒"_s, u"忽略此版本"_s });
    switch (answer) {
    case 0:
        // The website, not the reply's download address: the site says how to install.
        m_openUrl(QUrl(ProductInfo::websiteAddress));
        log(u"🔗 打开官网: "_s + ProductInfo::websiteAddress);
        break;
    case 2:
        m_defaults.setValue(ignoredVersionKey, data.latestVersion);
        log(u"🚫 忽略版本: "_s + data.latestVersion);
        break;
    case 1:
        log(u"⏰ 用户选择稍后提醒"_s);
        break;
    default:
        // The alert went away without a button pressed: the program is quitting, and
        // nobody chose anything.
        break;
    }
}

void UpdateManager::showNoUpdateAlert()
{
    Alerts::show(Alerts::Style::Informational, u"已是最新版本 ✅"_s,
        u"当前版本 "_s + m_currentVersion + u" 已经是最新版本。"_s, { u"好的"_s });
}

void UpdateManager::showErrorAlert()
{
    Alerts::show(Alerts::Style::Warning, u"检查更新失败"_s, u"无法连接到更新服务器，请稍后再试。"_s, { u"好的"_s });
}

void UpdateManager::setChecking(bool checking)
{
    if (m_isChecking == checking)
        return;
    m_isChecking = checking;
    Q_EMIT isCheckingChanged(checking);
}
