#pragma once

#include <QString>
#include <QWidget>

#include <QCoroTask>

#include <map>
#include <memory>
#include <optional>

#include "platform/TimerSource.h"

class BusySpinner;
class FriendManager;
class PlainLabel;
class PlainLineEdit;
class QGraphicsOpacityEffect;
class QHBoxLayout;
class QPropertyAnimation;
class QPushButton;
class QStackedWidget;
class QVBoxLayout;
class SegmentedPicker;
class SymbolView;

/// The friend-code page: "我的验证码" shows (and copies, or renews) the user's own
/// one-time six-digit code; "添加好友" takes a friend's code. It never closes anything
/// itself: it asks its host through `dismissRequested`.
class FriendVerificationView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FriendVerificationView)

public:
    enum class Mode {
        generate,
        add,
    };

    static constexpr int pageWidth = 400;
    static constexpr int pageHeight = 350;
    /// The page's padding from its left and right edges.
    static constexpr int pageMargin = 16;
    static constexpr int codeLength = 6;
    static constexpr int hintMs = 2000;
    static constexpr int dismissAfterAddMs = 2000;

    FriendVerificationView(FriendManager& friends, TimerSource& timers, QWidget* parent = nullptr);
    ~FriendVerificationView() override;

    /// What the code field keeps of `text`: its numeric characters, at most six.
    [[nodiscard]] static QString filteredCode(const QString& text);
    /// The line shown for a failed add, from the error's user-readable text.
    [[nodiscard]] static QString addFailureMessage(const QString& description);

    [[nodiscard]] Mode mode() const { return m_mode; }
    void setMode(Mode mode);
    [[nodiscard]] QString inputCode() const { return m_inputCode; }
    [[nodiscard]] const std::optional<QString>& errorMessage() const { return m_errorMessage; }
    [[nodiscard]] const std::optional<QString>& successMessage() const { return m_successMessage; }
    [[nodiscard]] bool isLoading() const { return m_isLoading; }
    [[nodiscard]] bool showingCopiedHint() const { return m_showingCopiedHint; }

Q_SIGNALS:
    void dismissRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QHBoxLayout* headerView();
    QWidget* generateCodeView();
    QWidget* addFriendView();
    QVBoxLayout* footerView();
    /// Each time the page comes on screen: the code the user holds now, or none.
    void loadCurrentCode();
    void onCodeEdited(const QString& text);
    void generateCode();
    void copyCode();
    void addFriend();
    QCoro::Task<> runGenerate();
    QCoro::Task<> runAdd(QString code);
    void setLoading(bool loading);
    void setError(std::optional<QString> message);
    void refresh();
    void styleCode();

    FriendManager& m_friendManager;
    TimerSource& m_timers;
    Mode m_mode = Mode::generate;
    QString m_inputCode;
    bool m_isLoading = false;
    std::optional<QString> m_errorMessage;
    std::optional<QString> m_successMessage;
    bool m_showingCopiedHint = false;
    bool m_filtering = false;
    std::map<quint64, std::unique_ptr<TimerSource::Timer>> m_hintTimers;
    quint64 m_nextHintTimer = 0;
    std::unique_ptr<TimerSource::Timer> m_dismissTimer;

    SegmentedPicker* m_modes = nullptr;
    QStackedWidget* m_stack = nullptr;
    PlainLabel* m_tip = nullptr;
    QWidget* m_codeBlock = nullptr;
    PlainLabel* m_code = nullptr;
    PlainLabel* m_noCode = nullptr;
    PlainLabel* m_copiedHint = nullptr;
    QGraphicsOpacityEffect* m_copiedHintOpacity = nullptr;
    QPropertyAnimation* m_copiedHintFade = nullptr;
    QPushButton* m_generateButton = nullptr;
    BusySpinner* m_generateSpinner = nullptr;
    PlainLabel* m_generateError = nullptr;
    PlainLineEdit* m_codeField = nullptr;
    QPushButton* m_addButton = nullptr;
    BusySpinner* m_addSpinner = nullptr;
    PlainLabel* m_addError = nullptr;
    QWidget* m_successRow = nullptr;
    SymbolView* m_successSymbol = nullptr;
    PlainLabel* m_success = nullptr;
};
