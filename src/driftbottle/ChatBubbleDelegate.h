#pragma once

#include <QHash>
#include <QStyledItemDelegate>

class ChatMessageModel;
class QTextLayout;

/// Paints one chat line as a bubble: the user's own at the right in blue, the other side's
/// at the left in gray under the sender's name, each with its time below. A bubble is at
/// most 400 wide; its text wraps at word boundaries, or anywhere in a run too long for a line.
class ChatBubbleDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChatBubbleDelegate)

public:
    static constexpr int maxColumnWidth = 400;
    static constexpr int rowSpacing = 12;
    static constexpr int margin = 8;

    explicit ChatBubbleDelegate(const ChatMessageModel& model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    /// Forgets the measured sizes, for a new list or a new width.
    void clearCache() { m_heights.clear(); }

private:
    struct Geometry
    {
        QRect name;
        QRect bubble;
        QRect text;
        QRect time;
    };
    [[nodiscard]] int columnWidth(const QStyleOptionViewItem& option) const;
    [[nodiscard]] Geometry geometry(
        const QStyleOptionViewItem& option, const QModelIndex& index, QTextLayout* layout) const;

    const ChatMessageModel& m_model;
    /// Heights by message id and column width: laying out a long text is the costly part.
    mutable QHash<QString, std::pair<int, int>> m_heights;
};
