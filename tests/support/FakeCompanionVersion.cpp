// The version check of the fake companion server.
#include "support/FakeCompanionState.h"

#include <QVersionNumber>

using namespace Qt::StringLiterals;

FakeAnswer FakeCompanionState::version(const RecordedRequest& r, const QStringList& parts)
{
    if (r.method != "GET" || parts != QStringList { u"check"_s })
        return refuse(404, u"接口不存在"_s);
    const std::optional<QString> asked = r.queryValue(u"currentVersion"_s);
    if (!asked || asked->isEmpty())
        return refuse(400, u"缺少版本号"_s);
    const bool newer = QVersionNumber::fromString(latestVersion) > QVersionNumber::fromString(*asked);
    QJsonObject data { { u"hasUpdate"_s, newer }, { u"currentVersion"_s, *asked },
        { u"latestVersion"_s, latestVersion }, { u"downloadUrl"_s, downloadUrl }, { u"fileSize"_s, u"12.4 MB"_s },
        { u"releaseDate"_s, u"2024-05-01"_s } };
    if (releaseNotes)
        data.insert(u"releaseNotes"_s, *releaseNotes);
    return ok(QJsonObject { { u"success"_s, true }, { u"data"_s, data } });
}
