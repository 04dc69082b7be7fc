#include "widgets/ReadableColour.h"

#include "widgets/SecondaryText.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace ReadableColour {

namespace {

void applyTint(QWidget* label, const QColor& wanted)
{
    // The label draws on its container's background, or the application's for a window.
    const QPalette natural = label->parentWidget() ? label->parentWidget()->palette() : QApplication::palette(label);
    const QColor readable = on(wanted, natural.color(QPalette::Window));
    if (label->palette().color(QPalette::WindowText) == readable)
        return; // also ends the palette change that setting it causes
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, readable);
    label->setPalette(palette);
}

class TintKeeper final : public QObject
{
public:
    TintKeeper(QWidget* label, const QColor& wanted)
        : QObject(label)
        , m_wanted(wanted)
    {
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* label = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange) {
            applyTint(label, m_wanted);
        } else if (event->type() == QEvent::ApplicationPaletteChange) {
            // Containers take the new palette in no fixed order: read theirs once all have.
            const QPointer<QWidget> later(label);
            QTimer::singleShot(0, this, [this, later] {
                if (later)
                    applyTint(later, m_wanted);
            });
        }
        return false;
    }

private:
    QColor m_wanted;
};

} // namespace

QColor on(const QColor& wanted, const QColor& background, double ratio)
{
    // Towards whichever end of the scale stands further from the background.
    const bool darkBackground
        = SecondaryText::contrast(Qt::white, background) > SecondaryText::contrast(Qt::black, background);
    QColor colour = wanted.toHsl();
    colour.setAlpha(255);
    // Lightness in small steps keeps the hue; at the end of the scale white or black
    // reaches any ratio text needs. Judged as drawn, in whole 8-bit channels.
    const auto drawn = [&] { return QColor::fromRgb(colour.toRgb().rgb()); };
    for (int step = 0; step < 100 && SecondaryText::contrast(drawn(), background) < ratio; ++step) {
        const float lightness = std::clamp(colour.lightnessF() + (darkBackground ? 0.02f : -0.02f), 0.0f, 1.0f);
        colour.setHslF(colour.hslHueF(), colour.hslSaturationF(), lightness);
    }
    return drawn();
}

void tint(QWidget* label, const QColor& wanted)
{
    applyTint(label, wanted);
    new TintKeeper(label, wanted);
}

} // namespace ReadableColour
