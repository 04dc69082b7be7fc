// The close symbol as drawn: a disc filling its square in the secondary colour of the
// surface behind it, with a cross in the surface's own colour, at each size the screens use,
// in a light and a dark palette, redrawn when the palette changes under it.
#include "platform/CloseSymbol.h"
#include "support/DrawnText.h"
#include "support/Screenshots.h"
#include "widgets/SecondaryText.h"

#include <QCoreApplication>
#include <QHBoxLayout>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

/// Channels of two colours differ by at most `slack` (antialiased edges round).
bool near(const QColor& a, const QColor& b, int slack = 2)
{
    return std::abs(a.red() - b.red()) <= slack && std::abs(a.green() - b.green()) <= slack
        && std::abs(a.blue() - b.blue()) <= slack;
}

} // namespace

TEST(CloseSymbol, IsASecondaryDiscWithACrossInTheSurfaceColour)
{
    const QFont font;
    struct Case
    {
        const char* where;
        int side;
        QPalette::ColorRole surface;
    };
    const QList<Case> cases {
        { "alarm card, 20 points", 20, QPalette::Window },
        { "caption-sized, on a card's base", CloseSymbol::sideFor(font, 0.85), QPalette::Base },
        { "friend-code page and message sheet, body font", CloseSymbol::sideFor(font), QPalette::Window },
        { "bottle detail, title-3 font", CloseSymbol::sideFor(font, 1.2), QPalette::Window },
    };
    for (const Case& c : cases) {
        QWidget container;
        container.setAutoFillBackground(true);
        container.setBackgroundRole(c.surface);
        auto* layout = new QHBoxLayout(&container);
        layout->setContentsMargins(6, 6, 6, 6);
        auto* button = new CloseSymbolButton(c.side, c.surface, &container);
        layout->addWidget(button);
        container.show();
        EXPECT_EQ(button->accessibleName(), u"关闭"_s);
        // One button through both palettes: the second picture is drawn after the change.
        for (const bool dark : { false, true }) {
            SCOPED_TRACE(std::string(c.where) + (dark ? " (dark)" : " (light)"));
            container.setPalette(dark ? darkFusionPalette() : lightPalette());
            QCoreApplication::processEvents();
            const QImage image = drawnImage(&container);
            saveShot(image, u"close-symbol-%1-%2"_s.arg(c.side).arg(dark ? u"dark"_s : u"light"_s));
            ASSERT_EQ(button->size(), QSize(c.side, c.side));

            const QPalette& palette = container.palette();
            const QColor surface = palette.color(c.surface);
            const QColor text = palette.color(c.surface == QPalette::Base ? QPalette::Text : QPalette::WindowText);
            const QColor secondary = SecondaryText::colour(text, surface);
            const QRect box = areaIn(button, &container);
            const QPoint centre = box.topLeft() + QPoint(c.side / 2, c.side / 2);
            const auto at = [&](QPoint p) { return image.pixelColor(p); };

            // The disc reaches all four edges of its square (its size is the stated size)
            // away from the cross; the square's corners stay the surface (it is round).
            const int inset = 1;
            for (const QPoint p : { QPoint(box.left() + inset, centre.y()), QPoint(box.right() - inset, centre.y()),
                     QPoint(centre.x(), box.top() + inset), QPoint(centre.x(), box.bottom() - inset) }) {
                EXPECT_TRUE(near(at(p), secondary)) << at(p).name().toStdString() << " at " << p.x() << "," << p.y()
                                                    << ", wanted " << secondary.name().toStdString();
            }
            for (const QPoint p : { box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight() })
                EXPECT_TRUE(near(at(p), surface))
                    << at(p).name().toStdString() << " at corner " << p.x() << "," << p.y();
            // The cross meets in the middle, in the surface's colour.
            EXPECT_LT(contrastRatio(at(centre), surface), 1.5) << at(centre).name().toStdString() << " in the middle";

            // Secondary: readable on the surface, yet quieter than the primary text.
            EXPECT_GE(contrastRatio(secondary, surface), 4.5);
            EXPECT_LT(contrastRatio(secondary, surface), contrastRatio(text, surface) * 0.8);
        }
    }
}
