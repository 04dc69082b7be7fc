#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class QGraphicsOpacityEffect;
class QPropertyAnimation;
class QPushButton;

/// The card shown when the server refuses a bottle or a reply for sensitive words: a dimmed
/// backdrop over the whole of its host and, in the middle, a card asking the user to change
/// the text. The button "我知道了" and a click on the backdrop both ask to close it; a click
/// on the card itself does nothing. While it shows, nothing under it takes clicks or keys.
///
/// Most callers want `present()`. A caller that runs the card itself constructs it, calls
/// `fadeIn()`, and ends it from `onDismiss` (the card never closes itself).
/// No menu opens it today.
class SensitiveWordAlertView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SensitiveWordAlertView)

public:
    static constexpr int fadeMs = 300;
    static constexpr int maxCardWidth = 350;

    /// Covers `host` (and follows its size), hidden until `fadeIn()`.
    SensitiveWordAlertView(QWidget* host, std::function<void()> onDismiss);

    /// Shows the card over `host` and closes it (fade-out, then freed) when the user
    /// dismisses it, calling `onDismissed` once at that moment. While a card already shows
    /// over `host`, that one is returned and no second card is stacked on it.
    static SensitiveWordAlertView* present(QWidget* host, std::function<void()> onDismissed = {});

    /// Whether a failure's user-readable text is the server's refusal for sensitive words.
    [[nodiscard]] static bool isSensitiveWordRefusal(const QString& errorDescription);

    void fadeIn();
    /// Fades out and hides; emits fadedOut() at the end.
    void fadeOut();

    [[nodiscard]] QWidget* card() const { return m_card; }
    [[nodiscard]] QPushButton* button() const { return m_button; }

Q_SIGNALS:
    void fadedOut();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void requestDismiss();
    void followHost();
    void fadeTo(qreal target);
    [[nodiscard]] bool onBackdrop(const QPointF& position) const;

    std::function<void()> m_onDismiss;
    QWidget* m_card;
    QPushButton* m_button;
    QGraphicsOpacityEffect* m_effect;
    QPointer<QPropertyAnimation> m_animation;
    QPointer<QWidget> m_focusBefore;
    bool m_pressOnBackdrop = false;
    bool m_closing = false;
};
