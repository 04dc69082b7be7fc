#include "driftbottle/SameContent.h"

bool sameContent(const Conversation& a, const Conversation& b)
{
    return a.bottleId == b.bottleId && a.lastMessageTime == b.lastMessageTime && a.lastMessage == b.lastMessage
        && a.otherUserId == b.otherUserId && a.otherUserName == b.otherUserName && a.otherUserEmoji == b.otherUserEmoji
        && a.conversationType == b.conversationType && a.status == b.status && a.hasReply == b.hasReply
        && a.unreadCount == b.unreadCount;
}

bool sameContent(const ChatMessage& a, const ChatMessage& b)
{
    return a.id == b.id && a.content == b.content && a.senderId == b.senderId && a.senderName == b.senderName
        && a.senderEmoji == b.senderEmoji && a.createdAt == b.createdAt && a.isFromMe == b.isFromMe;
}
