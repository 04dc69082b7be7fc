#pragma once

#include <QStyledItemDelegate>

#include <functional>

class FriendManager;

/// Paints one friend as a card: avatar, nickname, "成为好友：" date, the pin switch with its
/// hint, and the delete button. The switch pins or unpins the friend in the friend manager and
/// the button asks the page, through `onDelete`, to confirm; the card itself holds no state.
class FriendRowView final : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FriendRowView)

public:
    static constexpr int cardHeight = 84;
    static constexpr int rowSpacing = 8;

    /// What a card asks of the page for the friend in `row`.
    using RowAction = std::function<void(int row)>;

    explicit FriendRowView(FriendManager& friendManager, QObject* parent = nullptr);

    /// Opens the message sheet for a card's friend; no control of the card offers it yet.
    void setOnSendMessage(RowAction action) { m_onSendMessage = std::move(action); }
    /// Asks the page to confirm the deletion of a card's friend: the delete button's action.
    void setOnDelete(RowAction action) { m_onDelete = std::move(action); }

    /// The date line's date: year, month and day as Chinese dates are written.
    [[nodiscard]] static QString formatDate(const QDateTime& date);

    /// Where the avatar sits in a row's rectangle, at the list's font `font`.
    [[nodiscard]] static QRect avatarRect(const QRect& row, const QFont& font);
    /// Where the pin switch and the delete button sit in a row's rectangle.
    [[nodiscard]] static QRect pinSwitchRect(const QRect& row);
    [[nodiscard]] static QRect deleteRect(const QRect& row);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
        const QModelIndex& index) override;
    /// The delete button's help, "删除好友"; the rest of the card has none.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
        const QModelIndex& index) override;

private:
    FriendManager& m_friendManager;
    RowAction m_onSendMessage;
    RowAction m_onDelete;
};
