#pragma once

#include "server/DriftBottleModels.h"

/// The same conversation as the server describes it now: every field equal.
[[nodiscard]] bool sameContent(const Conversation& a, const Conversation& b);
/// The same chat line: every field equal.
[[nodiscard]] bool sameContent(const ChatMessage& a, const ChatMessage& b);
