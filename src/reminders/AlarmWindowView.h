#pragma once

#include "reminders/Alarm.h"
#include "widgets/Spacing.h"

#include <QWidget>

class QLabel;

#include <functional>

/// The card of a ringing alarm: emoji, title and close button, the message, and the time
/// with the repeat rule. Shows the alarm as it stood when it rang. All texts are plain.
class AlarmWindowView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AlarmWindowView)

public:
    static constexpr int cardWidth = 280;
    static constexpr int cardHeight = 120;
    static constexpr int padding = Spacing::standardPadding;
    static constexpr int emojiPixels = 24;
    static constexpr int closePixels = 20;
    /// All the fixed card has room for below the header at the default font.
    static constexpr int messageLines = 1;

    AlarmWindowView(const Alarm& alarm, std::function<void()> onClose, QWidget* parent = nullptr);

    /// The card's size: `cardWidth` × `cardHeight` at the default font, and in proportion at a
    /// larger one, so that the emoji, the lines and the close button keep their room.
    [[nodiscard]] static QSize cardSize();

    [[nodiscard]] const Alarm& alarm() const { return m_alarm; }

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showOrange();

    Alarm m_alarm;
    std::function<void()> m_onClose;
    QLabel* m_time = nullptr;
    QLabel* m_clock = nullptr;
};
