#include "server/APIClient.h"

#include "platform/Defaults.h"
#include "platform/MemoryRelease.h"
#include "platform/StandardOutput.h"
#include "server/Redaction.h"
#include "server/UserManager.h"

#include <QHostAddress>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <cstring>

#include <QCoroNetworkReply>

using namespace Qt::StringLiterals;

const QString APIClient::serverHostKey = u"ServerHost"_s;

namespace {

const QString category = u"API"_s;

void log(const QString& message)
{
    LogManager::log(message, category);
}

const char* const timedOutProperty = "tamselTimedOut";
const char* const tooLargeProperty = "tamselTooLarge";
constexpr qint64 trimAfterBytes = 1024 * 1024;

// Room for the words before the body in its log line.
constexpr qsizetype loggedBodyBytes = LogManager::maxLineBytes - 64;

/// What the log and the error texts show of a reply: the secret masked, cut to `maxBytes`.
/// Only what is shown is turned into text, so a huge reply costs no copy of itself.
QString shownReply(const QByteArray& utf8, const QString& secret, qsizetype maxBytes)
{
    if (secret.isEmpty())
        return LogManager::abbreviatedUtf8(utf8, maxBytes);
    // Masked before it is cut, so that no cut can leave the beginning of the secret.
    return LogManager::abbreviated(Redaction::inReply(QString::fromUtf8(utf8), secret), maxBytes);
}

/// Whether `error` is the one Qt raises for an error status of this class by itself, which
/// it does once the whole body has arrived. Any other error beside a status (the connection
/// dropped mid-body, a compressed body refused as a bomb) spoils the reply.
bool isTheStatusOwnError(int status, QNetworkReply::NetworkError error)
{
    const int code = static_cast<int>(error);
    if (status >= 500)
        return code >= QNetworkReply::InternalServerError && code <= QNetworkReply::UnknownServerError;
    if (status >= 400)
        return (code >= QNetworkReply::ContentAccessDenied && code <= QNetworkReply::UnknownContentError
                   && error != QNetworkReply::ContentReSendError)
            || error == QNetworkReply::ProtocolInvalidOperationError
            || error == QNetworkReply::ProxyAuthenticationRequiredError;
    return false;
}

QString transportDescription(const QNetworkReply& reply)
{
    if (reply.property(timedOutProperty).toBool())
        return u"请求超时。"_s;
    switch (reply.error()) {
    case QNetworkReply::ConnectionRefusedError:
        return u"无法连接服务器。"_s;
    case QNetworkReply::HostNotFoundError:
        return u"未能找到使用指定主机名的服务器。"_s;
    case QNetworkReply::TimeoutError:
        return u"请求超时。"_s;
    case QNetworkReply::RemoteHostClosedError:
        return u"网络连接已中断。"_s;
    case QNetworkReply::ContentReSendError:
        // Qt wanted to send the request again, which the client never allows: after a lost
        // connection, or for a 307 or 308 that asks for the same request elsewhere.
        if (reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
            return u"服务器要求重新发送请求。"_s;
        return u"网络连接已中断。"_s;
    case QNetworkReply::UnknownContentError: // beside a status that does not raise it: the body would not inflate
        return u"无法解码原始数据。"_s;
    case QNetworkReply::OperationCanceledError:
        return u"已取消。"_s;
    default:
        return reply.errorString();
    }
}

/// The request body, readable once. Qt's HTTP layer sends a request again when the connection
/// closes before the reply begins, unless the body cannot be rewound; the server may have acted
/// on the first copy (stored a bottle, handed out a pick), so every request, even a bodiless
/// GET, goes out with one of these and a lost connection fails the call instead.
class OneShotBody final : public QIODevice
{
public:
    OneShotBody(QByteArray bytes, QObject* parent)
        : QIODevice(parent)
        , m_bytes(std::move(bytes))
    {
        open(QIODevice::ReadOnly);
    }

    [[nodiscard]] qint64 length() const { return m_bytes.size(); }

    bool isSequential() const override { return true; }
    bool reset() override { return false; }
    qint64 bytesAvailable() const override { return m_bytes.size() - m_read + QIODevice::bytesAvailable(); }
    bool atEnd() const override { return m_read == m_bytes.size() && QIODevice::bytesAvailable() == 0; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = std::min(maxSize, m_bytes.size() - m_read);
        std::memcpy(data, m_bytes.constData() + m_read, static_cast<size_t>(n));
        m_read += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_read = 0;
};

} // namespace

APIClient::APIClient(QString baseURL, UserIdSource currentUserId, int timeoutMs, QObject* parent)
    : QObject(parent)
    , m_session(new QNetworkAccessManager(this))
    , m_baseURL(std::move(baseURL))
    , m_currentUserId(std::move(currentUserId))
    , m_timeoutMs(std::max(1, timeoutMs))
{
    StandardOutput::printLine(u"🌐 使用线上环境配置"_s);
    log(u"🌐 APIClient 初始化，Base URL: "_s + m_baseURL);
}

APIClient::~APIClient()
{
    // Exchanges still waiting resume now, see that the client is gone and fail as cancelled.
    *m_alive = false;
    const auto replies = m_session->findChildren<QNetworkReply*>();
    for (QNetworkReply* reply : replies)
        reply->abort();
}

QString APIClient::baseURLForHost(const QString& host)
{
    // An IPv6 literal names its port only inside brackets; "http://::1:3005" is no address.
    QHostAddress literal;
    if (literal.setAddress(host) && literal.protocol() == QAbstractSocket::IPv6Protocol)
        return u"http://["_s + host + u"]:3005/api"_s;
    return u"http://"_s + host + u":3005/api"_s;
}

QString APIClient::baseURLFromSettings(const Defaults& defaults)
{
    const QString host = defaults.string(serverHostKey);
    return baseURLForHost(host.isEmpty() ? u"localhost"_s : host);
}

QString APIClient::queryValue(const QString& value)
{
    // "@" may stand in a query as it is and means nothing special to any server, so an
    // ordinary e-mail address goes out exactly as typed.
    return QString::fromLatin1(QUrl::toPercentEncoding(value, "@"));
}

QString APIClient::loggedBody(const QJsonObject& body)
{
    QJsonObject shown = body;
    if (shown.contains(u"password"_s))
        shown.insert(u"password"_s, u"******"_s);
    return QString::fromUtf8(QJsonDocument(shown).toJson(QJsonDocument::Compact));
}

void APIClient::logDecodingFailure(const QString& description)
{
    log(u"❌ JSON 解析失败: "_s + description);
    log(u"❌ 解析错误详情: "_s + description);
}

QCoro::Task<QByteArray> APIClient::exchange(
    QString path, QByteArray method, std::optional<QJsonObject> body, QString secret)
{
    const QUrl url(m_baseURL + path, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty())
        throw APIError(APIError::Kind::invalidURL);

    QNetworkRequest request(url);
    request.setRawHeader("Content-Type", "application/json");
    // A 3xx is the reply: following it would send the request once more (a POST as a GET
    // after 301 or 302), and Qt drops the body of a 3xx it cannot follow.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    if (const std::optional<qint64> userId = m_currentUserId ? m_currentUserId() : std::nullopt)
        request.setRawHeader("X-User-Id", QByteArray::number(*userId));
    const QByteArray bodyBytes = body ? QJsonDocument(*body).toJson(QJsonDocument::Compact) : QByteArray();

    log(u"📡 "_s + QString::fromLatin1(method) + u' ' + url.toString(QUrl::FullyEncoded));
    if (body)
        log(u"📤 请求体: "_s + loggedBody(*body));

    auto* upload = new OneShotBody(bodyBytes, nullptr);
    request.setAttribute(QNetworkRequest::DoNotBufferUploadDataAttribute, true);
    request.setHeader(QNetworkRequest::ContentLengthHeader, upload->length());
    QNetworkReply* reply = m_session->sendCustomRequest(request, method, upload);
    upload->setParent(reply);
    // One deadline for the whole exchange, however slowly the bytes trickle in.
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    deadline->setTimerType(Qt::PreciseTimer);
    connect(deadline, &QTimer::timeout, reply, [reply] {
        reply->setProperty(timedOutProperty, true);
        reply->abort();
    });
    deadline->start(m_timeoutMs);
    // Qt keeps the whole reply in memory until it ends: past the limit it is given up.
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64 total) {
        if (received > maxReplyBytes || total > maxReplyBytes) {
            reply->setProperty(tooLargeProperty, true);
            reply->abort();
        }
    });

    const std::shared_ptr<bool> alive = m_alive;
    co_await reply;
    const std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> owned(
        reply, [](QNetworkReply* r) { r->deleteLater(); });
    // The buffers of a large reply, freed later, would stay with the allocator: hand them back.
    if (reply->property(tooLargeProperty).toBool() || reply->bytesAvailable() > trimAfterBytes)
        MemoryRelease::trimSoon();
    if (!*alive)
        throw APIError::network(u"已取消。"_s);
    if (reply->property(tooLargeProperty).toBool())
        throw APIError::network(
            u"服务器的回复超过 "_s + QString::number(maxReplyBytes / (1024 * 1024)) + u" MB，已停止接收。"_s);

    const QVariant statusAttribute = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (reply->error() != QNetworkReply::NoError
        && (!statusAttribute.isValid() || !isTheStatusOwnError(statusAttribute.toInt(), reply->error())))
        throw APIError::network(transportDescription(*reply));
    if (!statusAttribute.isValid()) {
        log(u"❌ 无效的响应对象"_s);
        throw APIError(APIError::Kind::invalidResponse);
    }

    const int status = statusAttribute.toInt();
    const QByteArray data = reply->readAll();
    log(u"📥 HTTP 状态码: "_s + QString::number(status));
    // A body is logged once, here; the lines and errors after it carry a short part of it.
    const bool isText = QByteArrayView(data).isValidUtf8();
    if (isText)
        log(u"📥 响应内容: "_s + shownReply(data, secret, loggedBodyBytes));

    if (status >= 200 && status <= 299)
        co_return data;
    switch (status) {
    case 401:
        log(u"❌ 401 未授权"_s);
        throw APIError(APIError::Kind::unauthorized);
    case 404:
        log(u"❌ 404 未找到"_s);
        throw APIError(APIError::Kind::notFound);
    case 408:
        log(u"❌ 408 请求超时"_s);
        throw APIError(APIError::Kind::timeout);
    default: {
        const QString message = isText ? shownReply(data, secret, maxErrorMessageBytes) : u"未知错误"_s;
        log(u"❌ HTTP "_s + QString::number(status) + u": "_s + message);
        throw APIError::server(message);
    }
    }
}
