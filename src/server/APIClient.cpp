#include "server/APIClient.h"

#include "platform/Defaults.h"
#include "platform/StandardOutput.h"
#include "server/UserManager.h"

#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QStringDecoder>
#include <QTimer>
#include <QUrl>

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

std::optional<QString> utf8Text(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

/// Faults of the connection itself (refused, dropped, timed out, proxy), which fail the
/// exchange even after a status line arrived: the reply is incomplete.
bool isTransportError(QNetworkReply::NetworkError error)
{
    const int code = static_cast<int>(error);
    return code >= 1 && code < 200;
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
    case QNetworkReply::OperationCanceledError:
        return u"已取消。"_s;
    default:
        return reply.errorString();
    }
}

} // namespace

APIClient::APIClient(QString baseURL, UserIdSource currentUserId, int timeoutMs, QObject* parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
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
    const auto replies = m_network->findChildren<QNetworkReply*>();
    for (QNetworkReply* reply : replies)
        reply->abort();
}

QString APIClient::baseURLForHost(const QString& host)
{
    return u"http://"_s + host + u":3005/api"_s;
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

QString APIClient::redacted(QString text, const QString& secret)
{
    if (!secret.isEmpty())
        text.replace(secret, u"******"_s);
    return text;
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
    if (const std::optional<qint64> userId = m_currentUserId ? m_currentUserId() : std::nullopt)
        request.setRawHeader("X-User-Id", QByteArray::number(*userId));
    const QByteArray bodyBytes = body ? QJsonDocument(*body).toJson(QJsonDocument::Compact) : QByteArray();

    log(u"📡 "_s + QString::fromLatin1(method) + u' ' + url.toString(QUrl::FullyEncoded));
    if (body)
        log(u"📤 请求体: "_s + loggedBody(*body));

    QNetworkReply* reply = (method == "GET" && !body) ? m_network->get(request)
                                                      : m_network->sendCustomRequest(request, method, bodyBytes);
    // One deadline for the whole exchange, however slowly the bytes trickle in.
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, [reply] {
        reply->setProperty(timedOutProperty, true);
        reply->abort();
    });
    deadline->start(m_timeoutMs);

    const std::shared_ptr<bool> alive = m_alive;
    co_await reply;
    const std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> owned(
        reply, [](QNetworkReply* r) { r->deleteLater(); });
    if (!*alive)
        throw APIError::network(u"已取消。"_s);

    const QVariant statusAttribute = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (reply->error() != QNetworkReply::NoError && (isTransportError(reply->error()) || !statusAttribute.isValid()))
        throw APIError::network(transportDescription(*reply));
    if (!statusAttribute.isValid()) {
        log(u"❌ 无效的响应对象"_s);
        throw APIError(APIError::Kind::invalidResponse);
    }

    const int status = statusAttribute.toInt();
    const QByteArray data = reply->readAll();
    log(u"📥 HTTP 状态码: "_s + QString::number(status));
    const std::optional<QString> text = utf8Text(data);
    if (text)
        log(u"📥 响应内容: "_s + redacted(*text, secret));

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
        const QString message = text ? redacted(*text, secret) : u"未知错误"_s;
        log(u"❌ HTTP "_s + QString::number(status) + u": "_s + message);
        throw APIError::server(message);
    }
    }
}
