#include "support/DrawnText.h"

#include <QApplication>
#include <QHash>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QStyle>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

QPalette lightPalette()
{
    return QApplication::style()->standardPalette();
}

QPalette darkFusionPalette()
{
    QPalette p = lightPalette();
    const QColor text(Qt::white);
    p.setColor(QPalette::Window, QColor(53, 53, 53));
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, QColor(42, 42, 42));
    p.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
    p.setColor(QPalette::ToolTipBase, text);
    p.setColor(QPalette::ToolTipText, QColor(53, 53, 53));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Dark, QColor(35, 35, 35));
    p.setColor(QPalette::Shadow, QColor(20, 20, 20));
    p.setColor(QPalette::Button, QColor(53, 53, 53));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Link, QColor(42, 130, 218));
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, text);
    return p;
}

namespace {

double luminance(const QColor& colour)
{
    const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QImage drawnImage(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QColor strongestInk(const QImage& image, const QRect& area, QPoint background)
{
    const QColor under = image.pixelColor(background);
    QColor best;
    double bestContrast = 1.05;
    const QRect box = area.intersected(image.rect());
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const double c = contrastRatio(pixel, under);
            if (c > bestContrast) {
                bestContrast = c;
                best = pixel;
            }
        }
    }
    return best;
}

QColor dominantColour(const QImage& image, const QRect& area)
{
    // Of colours equally common (the rows of a gradient), the one met first from the top
    // left: the same answer in every run, whatever order a hash keeps.
    QHash<QRgb, int> counts;
    QList<QRgb> met;
    const QRect box = area.intersected(image.rect());
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            int& count = counts[image.pixel(x, y)];
            if (count++ == 0)
                met.append(image.pixel(x, y));
        }
    }
    QRgb best = 0;
    int most = 0;
    for (const QRgb colour : met) {
        if (counts.value(colour) > most) {
            most = counts.value(colour);
            best = colour;
        }
    }
    return QColor::fromRgb(best);
}

double drawnContrast(const QImage& image, const QRect& area)
{
    const QColor under = dominantColour(image, area);
    QColor strongest = under;
    const QRect box = area.intersected(image.rect());
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (contrastRatio(pixel, under) > contrastRatio(strongest, under))
                strongest = pixel;
        }
    }
    return contrastRatio(strongest, under);
}

QList<QRect> inkLines(const QImage& image, const QRect& area)
{
    const QColor background = dominantColour(image, area);
    const QRect box = area.intersected(image.rect());
    QList<QRect> lines;
    bool inLine = false;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        bool inked = false;
        for (int x = box.left(); x <= box.right() && !inked; ++x)
            inked = contrastRatio(image.pixelColor(x, y), background) >= 1.3;
        if (inked && !inLine)
            lines.append(QRect(box.left(), y, box.width(), 1));
        else if (inked)
            lines.last().setBottom(y);
        inLine = inked;
    }
    return lines;
}

namespace {

/// The kind of ink a pixel is: grey, or the name of its hue.
std::string inkKind(const QColor& pixel)
{
    if (pixel.hsvSaturation() < 70)
        return "grey";
    const int hue = pixel.hsvHue();
    if (hue < 15 || hue >= 330)
        return "red";
    if (hue < 55)
        return "orange";
    if (hue >= 80 && hue < 170)
        return "green";
    if (hue >= 190 && hue < 260)
        return "blue";
    return "other";
}

} // namespace

std::map<std::string, double> inkContrasts(const QImage& image, const QRect& area)
{
    const QColor background = dominantColour(image, area);
    std::map<std::string, double> best;
    const QRect box = area.intersected(image.rect());
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const double contrast = contrastRatio(pixel, background);
            if (contrast >= 1.3)
                best[inkKind(pixel)] = std::max(best[inkKind(pixel)], contrast);
        }
    }
    return best;
}

QColor strongestInkOfKind(const QImage& image, const QRect& area, const std::string& kind)
{
    const QColor background = dominantColour(image, area);
    QColor strongest;
    double best = 1.3;
    const QRect box = area.intersected(image.rect());
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const double contrast = contrastRatio(pixel, background);
            if (contrast >= best && inkKind(pixel) == kind) {
                best = contrast;
                strongest = pixel;
            }
        }
    }
    return strongest;
}

void expectReadable(
    const QImage& image, const QRect& area, const std::string& what, std::initializer_list<std::string> expected)
{
    SCOPED_TRACE(what);
    const std::map<std::string, double> inks = inkContrasts(image, area);
    for (const std::string& kind : expected) {
        ASSERT_TRUE(inks.contains(kind)) << "no " << kind << " ink";
        EXPECT_GE(inks.at(kind), 4.5) << kind;
    }
}

void expectSecondary(const QImage& image, const QRect& area, const QRect& primary, const std::string& what)
{
    SCOPED_TRACE(what);
    const std::map<std::string, double> secondary = inkContrasts(image, area);
    const std::map<std::string, double> main = inkContrasts(image, primary);
    ASSERT_TRUE(secondary.contains("grey")) << "no secondary text";
    ASSERT_TRUE(main.contains("grey")) << "no primary text";
    EXPECT_GE(secondary.at("grey"), 4.5);
    // Clearly fainter, not a rounding away from the primary colour.
    EXPECT_LT(secondary.at("grey"), 0.9 * main.at("grey")) << "primary reads at " << main.at("grey");
}

void expectSecondaryPlaceholder(QWidget* window, QWidget* field, const std::string& what)
{
    SCOPED_TRACE(what);
    auto* line = qobject_cast<QLineEdit*>(field);
    auto* editor = qobject_cast<QPlainTextEdit*>(field);
    ASSERT_TRUE(line || editor) << "not a text field";
    const auto setText = [&](const QString& text) {
        if (line)
            line->setText(text);
        else
            editor->setPlainText(text);
    };
    const QString kept = line ? line->text() : editor->toPlainText();
    // The caret would blink over the placeholder.
    field->clearFocus();
    setText({});
    const QRect area = areaIn(field, window).adjusted(2, 2, -2, -2);
    const std::map<std::string, double> placeholder = inkContrasts(drawnImage(window), area);
    setText(QStringLiteral("123456"));
    const std::map<std::string, double> typed = inkContrasts(drawnImage(window), area);
    setText(kept);
    ASSERT_TRUE(placeholder.contains("grey")) << "no placeholder";
    ASSERT_TRUE(typed.contains("grey")) << "no typed text";
    EXPECT_GE(placeholder.at("grey"), 4.5);
    EXPECT_LT(placeholder.at("grey"), 0.9 * typed.at("grey")) << "typed text reads at " << typed.at("grey");
}

QRect areaIn(const QWidget* child, const QWidget* ancestor)
{
    return QRect(child->mapTo(ancestor, QPoint(0, 0)), child->size());
}

Ink inkIn(const QImage& image, const QRect& area, double threshold)
{
    const QColor under = dominantColour(image, area);
    Ink ink;
    const QRect box = area.intersected(image.rect());
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (contrastRatio(image.pixelColor(x, y), under) > threshold) {
                ink.box |= QRect(x, y, 1, 1);
                ++ink.pixels;
            }
        }
    }
    return ink;
}
