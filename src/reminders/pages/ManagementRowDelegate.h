#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

class QPainter;

/// Paints a ManagementListModel row as a rounded card and turns clicks on its switch, edit
/// and delete buttons into signals carrying the row's id. The switch shows the stored flag:
/// a click only asks the manager to flip it.
class ManagementRowDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ManagementRowDelegate)

public:
    static constexpr int rowHeight = 76;
    /// Space below each row, between it and the next.
    static constexpr int rowGap = 12;

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

    explicit ManagementRowDelegate(QObject* parent = nullptr);

    /// Where the parts of a row lie within the item rectangle `item`.
    [[nodiscard]] static Geometry geometry(const QRect& item, bool canDelete);
    [[nodiscard]] static Part partAt(const QRect& item, bool canDelete, const QPoint& pos);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
        const QModelIndex& index) override;
    /// Forgets the hovered button, once the mouse has left the list.
    void clearHover();

Q_SIGNALS:
    void toggleClicked(const QString& id);
    void editClicked(const QString& id);
    void deleteClicked(const QString& id);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
        const QModelIndex& index) override;

private:
    QPersistentModelIndex m_hoverIndex;
    Part m_hoverPart = Part::none;
    /// Where the left button went down: a click counts only when it comes up there too.
    QPersistentModelIndex m_pressIndex;
    Part m_pressPart = Part::none;
};

/// A switch in the style of the rows': a rounded track, blue when on, with a white knob.
void paintSwitch(QPainter& painter, const QRectF& rect, bool on, bool enabled = true);
