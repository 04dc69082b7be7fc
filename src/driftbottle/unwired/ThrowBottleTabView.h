#pragma once

#include <QWidget>

#include <QCoroTask>

class BannerRow;
class BusySpinner;
class DriftBottleManager;
class OverlayCard;
class PlainLabel;
class PlainTextEditor;
class QPushButton;
class UserManager;

/// The throw page: a bottle of at most 1000 characters written in an editor with a live
/// counter and thrown through the bottle manager. Success empties the editor and shows a
/// confirmation for 1.5 s; a refusal for sensitive words shows the sensitive-word card and
/// keeps the text; any other failure shows under the editor.
/// No menu opens it today.
class ThrowBottleTabView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ThrowBottleTabView)

public:
    static constexpr int successShownMs = 1500;
    /// The most characters (as people count them) a bottle may have.
    static constexpr qsizetype maxLength = 1000;
    /// Between the button's symbol (or spinner) and its title.
    static constexpr int labelSpacing = 8;
    /// The throw button floats this far above the page's bottom edge.
    static constexpr int buttonBottomMargin = 24;
    /// Room left below the scrolled content, so its end scrolls clear of the button.
    static constexpr int roomBelowContent = 80;
    static constexpr int successSymbolPixels = 80;

    ThrowBottleTabView(DriftBottleManager& bottleManager, UserManager& userManager, QWidget* parent = nullptr);

    [[nodiscard]] PlainTextEditor* editor() const { return m_editor; }
    /// The text being written.
    [[nodiscard]] QString content() const;
    [[nodiscard]] QString counterText() const;
    [[nodiscard]] bool isSending() const { return m_isSending; }
    /// The confirmation card shows (or fades in).
    [[nodiscard]] bool showSuccess() const { return m_showSuccess; }
    /// The text of the error row, empty while it is hidden.
    [[nodiscard]] QString errorMessage() const;
    /// The sensitive-word card shows, until the user dismisses it.
    [[nodiscard]] bool showSensitiveWordAlert() const { return m_showSensitiveWordAlert; }

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void throwBottle();
    QCoro::Task<> sendBottle(QString content);
    void contentChanged();
    void updateButton();
    void applyEditorColours();
    void setShowSuccess(bool shown);

    DriftBottleManager& m_bottleManager;
    /// Held as the other pages hold the account; a throw reads nothing of it, the manager
    /// alone tells online from not.
    UserManager& m_userManager;
    PlainTextEditor* m_editor;
    PlainLabel* m_counter;
    BannerRow* m_errorRow;
    QPushButton* m_throwButton;
    BusySpinner* m_spinner;
    OverlayCard* m_success;
    bool m_isSending = false;
    bool m_showSuccess = false;
    bool m_showSensitiveWordAlert = false;
};
