#pragma once

#include <QFont>
#include <QHash>
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

class QPainter;
struct ManagementRow;

/// Paints a ManagementListModel row as a rounded card and turns clicks on its switch, edit
/// and delete buttons into signals carrying the row's id. The switch shows the stored flag:
/// a click only asks the manager to flip it. The title wraps over up to `titleLines` lines
/// and the card grows with it; a longer title ends in "…" and shows in the tool tip.
/// The message keeps to one line.
class ManagementRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ManagementRowDelegate)

public:
    /// The height of a card whose title takes one line.
    static constexpr int rowHeight = 76;
    /// The most lines a title takes: a card never outgrows the page that lists it.
    static constexpr int titleLines = 3;
    /// The most characters of a title its tool tip shows: a tip taller than the screen
    /// would hide the page and still not show the end.
    static constexpr int toolTipCharacters = 1000;

    enum class Part { none, toggle, edit, remove };

    struct Geometry
    {
        QRect card;
        QRect toggle;
        QRect emoji;
        QRect text;
        QRect edit;
        QRect remove; ///< empty when the row has no delete button
    };

    /// `rowGap` is the space below each row; with `gapAfterLast` false the last row has
    /// none, so the rows end where their list does.
    explicit ManagementRowDelegate(int rowGap, bool gapAfterLast, QObject* parent = nullptr);

    /// Where the parts of a row lie on its card `card`.
    [[nodiscard]] static Geometry geometry(const QRect& card, bool canDelete);
    [[nodiscard]] static Part partAt(const QRect& card, bool canDelete, const QPoint& pos);
    /// The height of `row`'s card at `width`, its title set in `font`'s family and size.
    [[nodiscard]] static int cardHeight(const ManagementRow& row, int width, const QFont& font);
    /// Whether `row`'s title is cut short on its card `card`.
    [[nodiscard]] static bool isTitleElided(const ManagementRow& row, const QRect& card);
    /// What the tool tip of a cut title shows: the whole title, up to `toolTipCharacters`.
    [[nodiscard]] static QString toolTipText(const QString& title);

    /// The card of the row at `index` within its item rectangle `item` (the gap below the
    /// card left out).
    [[nodiscard]] QRect cardRect(const QRect& item, const QModelIndex& index) const;
    /// The height of the item at `index` (its card and the gap below it) at `width`.
    [[nodiscard]] int itemHeight(const QModelIndex& index, int width, const QFont& font) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
        const QModelIndex& index) override;
    /// Forgets the hovered button, once the mouse has left the list.
    void clearHover();

Q_SIGNALS:
    void onToggle(const QString& id);
    void onEdit(const QString& id);
    void onDelete(const QString& id);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
        const QModelIndex& index) override;

private:
    [[nodiscard]] int gapBelow(const QModelIndex& index) const;
    /// The width rows are laid out at: that of the list they fill.
    [[nodiscard]] int rowWidth(const QStyleOptionViewItem& option) const;

    int m_rowGap;
    bool m_gapAfterLast;
    /// Card heights by title and delete button, at the width and in the font below.
    mutable QHash<std::pair<QString, bool>, int> m_cardHeights;
    mutable int m_measuredWidth = -1;
    mutable QFont m_measuredFont;
    QPersistentModelIndex m_hoverIndex;
    Part m_hoverPart = Part::none;
    /// Where the left button went down: a click counts only when it comes up there too.
    QPersistentModelIndex m_pressIndex;
    Part m_pressPart = Part::none;
};

/// A switch in the style of the rows': a rounded track, blue when on, with a white knob. Off,
/// the track is outlined so that it shows on `surface`, the colour it is drawn on.
void paintSwitch(QPainter& painter, const QRectF& rect, bool on, const QColor& surface, bool enabled = true);
