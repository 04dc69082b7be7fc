#pragma once

#include <QStyledItemDelegate>

/// Paints one friend as a card: avatar, nickname, "成为好友：" date, the pin switch with its
/// hint, and the delete button. The switch and the button report clicks; the card itself
/// holds no state.
class FriendRowDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FriendRowDelegate)

public:
    static constexpr int cardHeight = 84;
    static constexpr int rowSpacing = 8;

    explicit FriendRowDelegate(QObject* parent = nullptr);

    /// The date line's date: year, month and day as Chinese dates are written.
    [[nodiscard]] static QString formatDate(const QDateTime& date);

    /// Where the avatar sits in a row's rectangle, at the list's font `font`.
    [[nodiscard]] static QRect avatarRect(const QRect& row, const QFont& font);
    /// Where the pin switch and the delete button sit in a row's rectangle.
    [[nodiscard]] static QRect pinSwitchRect(const QRect& row);
    [[nodiscard]] static QRect deleteRect(const QRect& row);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

Q_SIGNALS:
    void pinToggleRequested(qint64 friendId);
    void deleteRequested(int row);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
        const QModelIndex& index) override;
    /// The delete button's help, "删除好友"; the rest of the card has none.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
        const QModelIndex& index) override;
};
