#pragma once

#include <QFont>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

/// What a bubble is drawn with: the fonts of its emoji, title and message, and its close
/// button. The program's widget kit sits above the pet, so the composition root hands it down.
struct SpeechBubbleLook
{
    QFont emoji;
    QFont title;
    QFont message;
    std::function<QPushButton*(QWidget* parent)> closeButton;
};

/// The content of a speech bubble: an emoji, a title and a message on a rounded card at
/// most 250 points wide, centred in its window, with a close button. When it first comes
/// on screen it slides 10 points down into place while its window fades in, and it asks
/// to be closed 8 s later.
class SpeechBubbleView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpeechBubbleView)
    Q_PROPERTY(double opacity READ opacity WRITE setOpacity NOTIFY opacityChanged)
    Q_PROPERTY(double offset READ offset WRITE setOffset NOTIFY offsetChanged)

public:
    static constexpr int autoCloseMs = 8000;
    static constexpr int appearMs = 300;
    static constexpr int maxContentWidth = 250;
    static constexpr int messageLines = 3;
    static constexpr int slideDistance = 10;

    SpeechBubbleView(const QString& message, const QString& title, const QString& emoji, std::function<void()> onClose,
        const SpeechBubbleLook& look, QWidget* parent = nullptr);

    [[nodiscard]] QString message() const { return m_message; }
    [[nodiscard]] QString title() const { return m_title; }
    [[nodiscard]] QString emoji() const { return m_emoji; }
    [[nodiscard]] const QTimer& autoCloseTimer() const { return m_autoCloseTimer; }
    [[nodiscard]] QWidget* card() const { return m_card; }
    [[nodiscard]] QPushButton* closeButton() const { return m_closeButton; }

    /// How far the bubble has faded in: 0 when made, 1 once it has appeared. The bubble's
    /// window shows it.
    [[nodiscard]] double opacity() const { return m_opacity; }
    void setOpacity(double opacity);
    /// How far the card sits below its place: -10 (above it) when made, 0 once it has appeared.
    [[nodiscard]] double offset() const { return m_offset; }
    void setOffset(double offset);

    /// Closes the bubble: the close button and the 8 s timer end here.
    void close();

Q_SIGNALS:
    void opacityChanged(double opacity);
    void offsetChanged(double offset);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    [[nodiscard]] QRect cardRect() const;
    void fitTexts();
    void applyOpacity();

    QString m_message;
    QString m_title;
    QString m_emoji;
    std::function<void()> m_onClose;
    QWidget* m_card;
    QPushButton* m_closeButton;
    QLabel* m_titleLabel = nullptr;
    QLabel* m_messageLabel = nullptr;
    QTimer m_autoCloseTimer;
    double m_opacity = 0.0;
    double m_offset = -slideDistance;
    bool m_appeared = false;
};
