#pragma once

#include <QStyledItemDelegate>

/// Paints one conversation row: the other user's emoji, name and last-message time, the
/// last message and, for a bottle nobody picked up yet, the tag "未被捡起". Every text is
/// drawn as plain text on a single line, elided when it does not fit.
class ConversationRowView final : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConversationRowView)

public:
    /// The avatar emoji's font size, in pixels.
    static constexpr int avatarPixels = 40;
    static constexpr int dividerInset = 60;
    static const QString unpickedTag;

    explicit ConversationRowView(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    /// One line of `text`: line breaks become blanks, so a message of many lines stays in its row.
    [[nodiscard]] static QString singleLine(const QString& text);
};
