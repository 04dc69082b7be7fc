#pragma once

#include "server/DriftBottleModels.h"

#include <QList>

#include <optional>

/// What a refresh changed in the conversation list, so that a list model can update the
/// rows concerned instead of resetting (which would lose scroll, hover and selection).
struct ConversationListChange
{
    struct Move
    {
        qsizetype from = 0; ///< row in the old list
        qsizetype to = 0; ///< row in the new list
    };

    /// The rows cannot be matched up: rebuild from the new list.
    bool reset = false;
    /// One conversation changed place, the others kept their order; applied before `changedRows`.
    std::optional<Move> move;
    /// Rows (in the new list) whose content changed.
    QList<qsizetype> changedRows;

    [[nodiscard]] bool isEmpty() const { return !reset && !move && changedRows.isEmpty(); }

    /// Compares the lists by bottle id and content. Equal order gives the changed rows; one
    /// conversation moved elsewhere (a new message lifts it to the top) gives that move;
    /// anything else is a reset.
    [[nodiscard]] static ConversationListChange between(
        const QList<Conversation>& before, const QList<Conversation>& after);
};

/// The same conversation as the server describes it now: every field equal.
[[nodiscard]] bool sameContent(const Conversation& a, const Conversation& b);
/// The same chat line: every field equal.
[[nodiscard]] bool sameContent(const ChatMessage& a, const ChatMessage& b);
