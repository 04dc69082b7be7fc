#pragma once

#include <QStyledItemDelegate>

/// Paints a bottle as a card: its type mark, the sender, optionally the status badge, two
/// lines of its text, up to two theme tags and the date. Everything is painted as plain text.
/// Only the tabbed drift-bottle screens use it, and no menu opens them today.
class BottleRowView final : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BottleRowView)

public:
    /// Room between two cards.
    static constexpr int gap = 12;
    static constexpr int previewLines = 2;
    /// What the ink of a card's date reaches against the card: thin digits at the caption
    /// size are drawn as much as a tenth fainter than their ink, and must still read at 4.5:1.
    static constexpr double dateContrast = 5.5;

    BottleRowView(bool showStatus, QObject* parent = nullptr);

    [[nodiscard]] bool showStatus() const { return m_showStatus; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    /// `text` cut to at most `lines` lines of `width` pixels in `font`, the last one ending
    /// in "…" when something was left out; the lines are joined by "\n".
    [[nodiscard]] static QString previewText(const QString& text, const QFont& font, int width, int lines);

private:
    bool m_showStatus;
};
