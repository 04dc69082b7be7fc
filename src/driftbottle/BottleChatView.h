#pragma once

#include "server/DriftBottleModels.h"
#include "widgets/FocusHold.h"

#include <QPointer>
#include <QWidget>

#include <QCoroTask>

#include <optional>

class BannerRow;
class BusySpinner;
class ChatView;
class Clock;
class ConversationListModel;
class ConversationManager;
class OverlayCard;
class PickBottleSheet;
class WrappedLabel;
class ThrowNewBottleSheet;
class QListView;
class QMenu;
class QPushButton;
class QStackedWidget;

/// The drift-bottle window's content: the conversation list with the throw and pick buttons
/// on the left, the selected conversation's chat on the right. All data is the conversation
/// manager's; the view holds presentation state only. While it is on screen the manager
/// refreshes the list every 5 s.
class BottleChatView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BottleChatView)

public:
    static constexpr int windowWidth = 900;
    static constexpr int windowHeight = 650;
    /// How long the "捡到瓶子！" card shows before the picked conversation is selected.
    static constexpr int pickSuccessMs = 1000;
    /// How long a failed pick's reason stays above the list, unless another replaced it.
    static constexpr int pickErrorMs = 3000;
    static constexpr qsizetype previewLength = 50;

    BottleChatView(ConversationManager& manager, const Clock& clock, QWidget* parent = nullptr);
    ~BottleChatView() override;

    [[nodiscard]] std::optional<QString> errorMessage() const { return m_errorMessage; }
    [[nodiscard]] bool isPicking() const { return m_isPicking; }
    [[nodiscard]] ChatView* chatView() const { return m_chat; }
    [[nodiscard]] QListView* conversationList() const { return m_list; }
    /// The throw sheet is open over the window.
    [[nodiscard]] bool showThrowBottleSheet() const { return !m_throwSheet.isNull(); }
    /// The "捡到瓶子！" card is up: from a successful pick until the picked conversation is selected.
    [[nodiscard]] bool showPickSuccess() const { return m_showPickSuccess; }
    /// The bottle of the last successful pick, which the card shows; kept after the card goes.
    [[nodiscard]] const std::optional<DriftBottle>& pickedBottle() const { return m_pickedBottle; }
    [[nodiscard]] bool showPickBottleSheet() const;
    /// Presents the pick sheet while true; the sheet's closing sets it back. No control of
    /// this window sets it: a pick shows the "捡到瓶子！" card instead.
    void setShowPickBottleSheet(bool show);

    /// The overlay's text for a picked bottle: its first 50 characters, "..." when it has more.
    [[nodiscard]] static QString preview(const QString& content);

    /// The delete menu for the row at `pos` in the list; the conversation is fixed when it opens.
    QMenu* openRowMenu(const QPoint& pos);

Q_SIGNALS:
    /// The window is closing; its manager drops it.
    void closing();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    /// The left pane: the throw and pick buttons, the error banner and the list.
    [[nodiscard]] QWidget* conversationListView();
    /// The list's page when there are no conversations.
    [[nodiscard]] QWidget* emptyStateView();
    /// The right pane: the selected conversation's chat, or the placeholder.
    [[nodiscard]] QWidget* chatDetailView();
    [[nodiscard]] QWidget* buildPlaceholder();
    void buildPickOverlay();

    void loadConversations();
    void pickBottle();
    QCoro::Task<> runPick();
    void deleteConversation(const Conversation& conversation);
    QCoro::Task<> runDelete(QString bottleId);
    QCoro::Task<> runLoad();

    void setErrorMessage(const std::optional<QString>& message);
    void setPicking(bool picking);
    void updateListState();
    void updateChatPane();
    void dropVanishedSelection();

    ConversationManager& m_conversationManager;
    /// Empty once the manager is gone: at quit it may go before the window that shows it.
    QPointer<ConversationManager> m_conversationManagerAlive;
    std::optional<QString> m_errorMessage;
    bool m_isPicking = false;
    FocusHold m_pickFocus;
    /// The periodic refresh runs for this view (it is on screen).
    bool m_refreshing = false;

    QPushButton* m_throwButton = nullptr;
    QPushButton* m_pickButton = nullptr;
    BusySpinner* m_pickSpinner = nullptr;
    QWidget* m_bannerBox = nullptr;
    BannerRow* m_banner = nullptr;
    QStackedWidget* m_listStack = nullptr;
    QWidget* m_loadingPage = nullptr;
    QWidget* m_emptyPage = nullptr;
    ConversationListModel* m_model = nullptr;
    QListView* m_list = nullptr;
    QStackedWidget* m_chatStack = nullptr;
    QWidget* m_placeholder = nullptr;
    ChatView* m_chat = nullptr;
    OverlayCard* m_pickOverlay = nullptr;
    WrappedLabel* m_pickPreview = nullptr;
    QPointer<PickBottleSheet> m_pickSheet;
    QPointer<ThrowNewBottleSheet> m_throwSheet;
    bool m_showPickSuccess = false;
    std::optional<DriftBottle> m_pickedBottle;
};
