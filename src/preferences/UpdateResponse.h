#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

class JsonReader;

/// The answer of the version check, under "data".
struct UpdateData
{
    /// The server decides whether a newer version exists; the client compares nothing.
    bool hasUpdate = false;
    /// The server's echo of the version it was asked about.
    QString currentVersion;
    QString latestVersion;
    std::optional<QString> downloadUrl;
    std::optional<QString> releaseNotes;
    std::optional<QString> fileSize;
    std::optional<QString> releaseDate;

    [[nodiscard]] static UpdateData fromJson(const JsonReader& json);
    [[nodiscard]] QJsonObject toJson() const;
};

/// The version check's reply body.
struct UpdateResponse
{
    bool success = false;
    std::optional<UpdateData> data;

    [[nodiscard]] static UpdateResponse fromJson(const JsonReader& json);
    /// Reads a whole reply body; throws JsonDecodeError for anything else.
    [[nodiscard]] static UpdateResponse decode(const QByteArray& body);
    [[nodiscard]] QJsonObject toJson() const;
};
