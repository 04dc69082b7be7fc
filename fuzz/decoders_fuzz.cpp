// Feeds arbitrary bytes to every decoder of the server contract. The first byte chooses the
// decoder, the rest is the reply text. A decoder may refuse with JsonDecodeError; anything
// else escaping, a crash, a hang or a sanitizer report is a finding. Whatever decodes must
// also survive its own encoding: written back and read again, it reads the same. The
// friend-message socket's frame decoder takes the same bytes as a frame.
#include "friends/FriendSocketFrames.h"
#include "platform/Iso8601.h"
#include "server/APIResponse.h"
#include "server/DriftBottleModels.h"
#include "server/DriftUser.h"
#include "server/FriendModels.h"
#include "server/RequestRecords.h"

#include <QJsonDocument>

#include <cstdint>
#include <cstdlib>

namespace {

template<JsonRecord T>
void decodeAndRoundTrip(const QByteArray& bytes)
{
    T first;
    try {
        first = decodeJson<T>(bytes);
    } catch (const JsonDecodeError&) {
        return;
    }
    const QJsonObject written = first.toJson();
    if (decodeJson<T>(QJsonDocument(written).toJson(QJsonDocument::Compact)).toJson() != written)
        std::abort();
}

void dateRoundTrip(const QByteArray& bytes)
{
    const QString text = QString::fromUtf8(bytes);
    const auto date = Iso8601::parseServerDate(text);
    if (!date)
        return;
    // Written back it is the same instant, cut down to its whole second.
    const qint64 ms = date->toMSecsSinceEpoch();
    const qint64 wholeSecond = ms - ((ms % 1000) + 1000) % 1000;
    const auto back = Iso8601::parseInternetDateTime(Iso8601::format(*date));
    if (!back || back->toMSecsSinceEpoch() != wholeSecond)
        std::abort();
}

void frame(const QByteArray& bytes)
{
    // The frame decoder refuses nothing by throwing: every input gets a kind.
    const auto decoded = FriendSocketFrames::decode(bytes);
    using Kind = FriendSocketFrames::Incoming::Kind;
    if ((decoded.kind == Kind::friendMessage) != decoded.message.has_value())
        std::abort();
    if (decoded.kind == Kind::tooLarge && bytes.size() <= FriendSocketFrames::maxFrameBytes)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    switch (data[0] % 15) {
    case 0:
        return decodeAndRoundTrip<APIResponse<DriftUser>>(bytes), 0;
    case 1:
        return decodeAndRoundTrip<APIResponse<DriftBottle>>(bytes), 0;
    case 2:
        return decodeAndRoundTrip<APIResponse<QList<DriftBottle>>>(bytes), 0;
    case 3:
        return decodeAndRoundTrip<APIResponse<BottleReply>>(bytes), 0;
    case 4:
        return decodeAndRoundTrip<APIResponse<QList<Conversation>>>(bytes), 0;
    case 5:
        return decodeAndRoundTrip<APIResponse<ConversationHistoryResponse>>(bytes), 0;
    case 6:
        return decodeAndRoundTrip<APIResponse<EmptyResponse>>(bytes), 0;
    case 7:
        return decodeAndRoundTrip<GenerateCodeResponse>(bytes), 0;
    case 8:
        return decodeAndRoundTrip<AddFriendResponse>(bytes), 0;
    case 9:
        return decodeAndRoundTrip<FriendListResponse>(bytes), 0;
    case 10:
        return decodeAndRoundTrip<FriendAPIResponse>(bytes), 0;
    case 11:
        return decodeAndRoundTrip<SendMessageResponse>(bytes), 0;
    case 12:
        return decodeAndRoundTrip<FriendMessage>(bytes), 0;
    case 13:
        return frame(bytes), 0;
    default:
        return dateRoundTrip(bytes), 0;
    }
}
