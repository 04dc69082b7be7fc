#include "preferences/UpdateResponse.h"

#include "platform/JsonReader.h"

using namespace Qt::StringLiterals;

UpdateData UpdateData::fromJson(const JsonReader& json)
{
    UpdateData data;
    data.hasUpdate = json.boolean(u"hasUpdate");
    data.currentVersion = json.string(u"currentVersion");
    data.latestVersion = json.string(u"latestVersion");
    data.downloadUrl = json.optionalString(u"downloadUrl");
    data.releaseNotes = json.optionalString(u"releaseNotes");
    data.fileSize = json.optionalString(u"fileSize");
    data.releaseDate = json.optionalString(u"releaseDate");
    return data;
}

QJsonObject UpdateData::toJson() const
{
    QJsonObject json { { u"hasUpdate"_s, hasUpdate }, { u"currentVersion"_s, currentVersion },
        { u"latestVersion"_s, latestVersion } };
    const auto put = [&json](const QString& key, const std::optional<QString>& value) {
        if (value)
            json.insert(key, *value);
    };
    put(u"downloadUrl"_s, downloadUrl);
    put(u"releaseNotes"_s, releaseNotes);
    put(u"fileSize"_s, fileSize);
    put(u"releaseDate"_s, releaseDate);
    return json;
}

UpdateResponse UpdateResponse::fromJson(const JsonReader& json)
{
    UpdateResponse response;
    response.success = json.boolean(u"success");
    if (json.has(u"data"))
        response.data = UpdateData::fromJson(json.object(u"data"));
    return response;
}

UpdateResponse UpdateResponse::decode(const QByteArray& body)
{
    return fromJson(JsonReader::fromValue(JsonReader::parse(body), {}));
}

QJsonObject UpdateResponse::toJson() const
{
    QJsonObject json { { u"success"_s, success } };
    if (data)
        json.insert(u"data"_s, data->toJson());
    return json;
}
