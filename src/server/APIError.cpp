#include "server/APIError.h"

#include "platform/JsonReader.h"

using namespace Qt::StringLiterals;

APIError::APIError(Kind kind, QString detail)
    : m_kind(kind)
    , m_detail(std::move(detail))
{
    m_utf8 = errorDescription().toUtf8();
}

QString APIError::errorDescription() const
{
    switch (m_kind) {
    case Kind::networkError:
        return u"网络错误: "_s + m_detail;
    case Kind::serverError:
        return u"服务器错误: "_s + m_detail;
    case Kind::decodingError:
        return u"数据解析错误: "_s + m_detail;
    case Kind::invalidURL:
        return u"无效的 URL"_s;
    case Kind::invalidResponse:
        return u"无效的响应"_s;
    case Kind::unauthorized:
        return u"未授权"_s;
    case Kind::notFound:
        return u"没有挖到瓶子，你先丢个瓶子出去吧！"_s;
    case Kind::timeout:
        return u"请求超时"_s;
    case Kind::offlineMode:
        return u"当前为单机模式，无法使用在线功能"_s;
    }
    return {};
}

QString APIError::debugDescription() const
{
    switch (m_kind) {
    case Kind::networkError:
        return u"networkError("_s + m_detail + u")"_s;
    case Kind::serverError:
        return u"serverError(\""_s + m_detail + u"\")"_s;
    case Kind::decodingError:
        return u"decodingError("_s + m_detail + u")"_s;
    case Kind::invalidURL:
        return u"invalidURL"_s;
    case Kind::invalidResponse:
        return u"invalidResponse"_s;
    case Kind::unauthorized:
        return u"unauthorized"_s;
    case Kind::notFound:
        return u"notFound"_s;
    case Kind::timeout:
        return u"timeout"_s;
    case Kind::offlineMode:
        return u"offlineMode"_s;
    }
    return {};
}

QString APIError::describe(const std::exception& error)
{
    if (const auto* api = dynamic_cast<const APIError*>(&error))
        return api->errorDescription();
    if (const auto* json = dynamic_cast<const JsonDecodeError*>(&error))
        return json->description();
    return QString::fromUtf8(error.what());
}

QString APIError::debugDescribe(const std::exception& error)
{
    if (const auto* api = dynamic_cast<const APIError*>(&error))
        return api->debugDescription();
    return describe(error);
}

QString APIError::typeName(const std::exception& error)
{
    if (dynamic_cast<const APIError*>(&error))
        return u"APIError"_s;
    if (dynamic_cast<const JsonDecodeError*>(&error))
        return u"JsonDecodeError"_s;
    return u"std::exception"_s;
}
