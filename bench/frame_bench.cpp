// Decoding friend-message socket frames as the connection does for each one it receives:
// an ordinary message, a frame just under the size limit, and a 10 MB frame (refused by
// its size before any parsing). Prints the median and the 99th percentile of 2,000 runs.
#include "friends/FriendSocketFrames.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QByteArray messageFrame(const QString& content)
{
    const QJsonObject data { { u"messageId"_s, 123456 }, { u"senderId"_s, 42 }, { u"senderNickname"_s, u"阿花"_s },
        { u"senderAvatar"_s, u"🐶"_s }, { u"receiverId"_s, 7 }, { u"content"_s, content },
        { u"timestamp"_s, u"2024-05-01T08:30:00.250Z"_s }, { u"isOffline"_s, false } };
    return QJsonDocument(QJsonObject { { u"type"_s, u"friend_message"_s }, { u"data"_s, data } })
        .toJson(QJsonDocument::Compact);
}

void measure(const char* name, const QByteArray& frame)
{
    constexpr int runs = 2000;
    std::vector<double> us;
    us.reserve(runs);
    int kind = 0;
    for (int i = 0; i < runs + 20; ++i) {
        QElapsedTimer timer;
        timer.start();
        kind = static_cast<int>(FriendSocketFrames::decode(frame).kind);
        if (i >= 20)
            us.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e3);
    }
    std::sort(us.begin(), us.end());
    std::printf("%-28s %9lld bytes  kind %d  median %9.2f us  p99 %9.2f us\n", name,
        static_cast<long long>(frame.size()), kind, us[us.size() / 2], us[us.size() * 99 / 100]);
}

} // namespace

int main()
{
    measure("ordinary message", messageFrame(u"今天的海风有点咸，你那边天气怎么样？"_s));
    measure("message near the limit", messageFrame(QString(20000, u'喵')));
    measure("10 MB frame", QByteArray(10 * 1024 * 1024, 'x'));
    return 0;
}
