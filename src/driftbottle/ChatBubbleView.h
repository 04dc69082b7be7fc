#pragma once

#include <QFont>
#include <QHash>
#include <QStyledItemDelegate>

#include "driftbottle/TextWrapper.h"

#include <memory>

class ChatMessageModel;
struct ChatMessage;

/// Paints one chat line as a bubble: the user's own at the right in blue, the other side's
/// at the left in gray under the sender's name, each with its time below. A bubble is at
/// most 400 wide; its text wraps at word boundaries, or anywhere in a run too long for a line.
///
/// Texts are broken into lines once per message and width, from remembered character
/// widths, and painted line by line from what was measured.
class ChatBubbleView final : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChatBubbleView)

public:
    static constexpr int maxColumnWidth = 400;
    static constexpr int rowSpacing = 12;
    static constexpr int margin = 8;

    explicit ChatBubbleView(const ChatMessageModel& model, QObject* parent = nullptr);
    ~ChatBubbleView() override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    /// The face of the user's own bubbles in `palette`: white text reads on it at 4.5:1.
    [[nodiscard]] static QColor ownBubbleColour(const QPalette& palette);

    /// Forgets the measured lines, for a new list.
    void clearCache();

private:
    struct Geometry
    {
        QRect name;
        QRect bubble;
        QRect text;
        QRect time;
    };
    struct Measured
    {
        int column = 0;
        TextWrapper::Wrapped text;
    };
    [[nodiscard]] int columnWidth(const QStyleOptionViewItem& option) const;
    /// Where the parts of `message`'s row go; `first` for the list's first row, which keeps the
    /// list's padding above it.
    [[nodiscard]] Geometry geometry(
        const QStyleOptionViewItem& option, const ChatMessage& message, QSize text, bool first) const;
    [[nodiscard]] const Measured& measured(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    const ChatMessageModel& m_model;
    mutable QHash<QString, Measured> m_measured;
    mutable std::unique_ptr<TextWrapper> m_wrapper;
};
