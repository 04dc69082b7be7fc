#pragma once

#include "driftbottle/unwired/ReplySheetView.h"
#include "server/DriftBottleModels.h"

#include <QPointer>
#include <QWidget>

#include <QCoroTask>

class BannerRow;
class DriftBottleManager;
class QDialog;
class QPushButton;
class QScrollArea;
class UserManager;

/// One bottle: its type, sender, time and text, and for a signed-in user who did not throw
/// it a reply written in a sheet. The outcome of a reply shows as a green or red banner, or
/// as the sensitive-word card. A reply that fails is kept and offered again in the sheet.
/// No menu opens it today.
class BottleDetailView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BottleDetailView)

public:
    static constexpr QSize fixedSize { 500, 550 };
    static constexpr int successBannerMs = 2000;
    /// Between the button's symbol (or spinner) and its title.
    static constexpr int labelSpacing = 8;
    /// Pixels between the lines of the bottle's text.
    static constexpr int contentLineSpacing = 6;

    BottleDetailView(
        DriftBottle bottle, DriftBottleManager& bottleManager, UserManager& userManager, QWidget* parent = nullptr);

    /// A window of its own titled "瓶子详情", freed when closed; nothing keeps it.
    static BottleDetailView* openWindow(const DriftBottle& bottle, DriftBottleManager& bottles, UserManager& users);
    /// A window-modal sheet over `parent`'s window, freed when closed.
    static QDialog* openSheet(
        QWidget* parent, const DriftBottle& bottle, DriftBottleManager& bottles, UserManager& users);

    [[nodiscard]] const DriftBottle& bottle() const { return m_bottle; }
    /// The reply button shows for a signed-in user other than the sender.
    [[nodiscard]] bool canReply() const;
    [[nodiscard]] ReplySheetView* replySheet() const { return m_sheet; }
    /// The reply sheet is open.
    [[nodiscard]] bool showReplySheet() const { return !m_sheet.isNull(); }
    /// The "回复已发送！" banner shows.
    [[nodiscard]] bool showSuccessMessage() const;
    /// The red banner's text, empty while it is hidden.
    [[nodiscard]] QString errorMessage() const;
    /// The sensitive-word card shows, until the user dismisses it.
    [[nodiscard]] bool showSensitiveWordAlert() const { return m_showSensitiveWordAlert; }
    [[nodiscard]] const QString& replyDraft() const { return m_replyDraft; }
    void openReplySheet();

Q_SIGNALS:
    /// The close button or "关闭": the host closes the window or sheet.
    void dismissRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    /// Room kept between a banner brought into view and the edge of the visible page.
    static constexpr int bannerMargin = 24;

    void updateReplyButton();
    void showBanner(BannerRow* banner);
    void replyToBottle(const QString& content);
    QCoro::Task<> sendReply(QString content);

    DriftBottle m_bottle;
    DriftBottleManager& m_bottleManager;
    UserManager& m_userManager;
    QScrollArea* m_scroll = nullptr;
    BannerRow* m_successBanner;
    BannerRow* m_errorBanner;
    QPushButton* m_replyButton;
    QPointer<ReplySheetView> m_sheet;
    QString m_replyDraft;
    bool m_showSensitiveWordAlert = false;
};
