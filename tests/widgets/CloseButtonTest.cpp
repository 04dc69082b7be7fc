// The close button as drawn: a disc filling its square in the secondary colour of the
// surface behind it, with a cross cut out of it, at each size the screens use, in a light and
// a dark palette, redrawn when the palette changes under it.
#include "support/DrawnText.h"
#include "support/Screenshots.h"
#include "widgets/SecondaryText.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QPushButton>

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

TEST(CloseButton, IsASecondaryDiscWithACrossCutOutOfIt)
{
    const auto side = [](TextStyle::Style style) { return qRound(TextStyle::pixelSizeOf(TextStyle::font(style))); };
    struct Case
    {
        const char* where;
        int side;
        QPalette::ColorRole surface;
    };
    const QList<Case> cases {
        { "alarm card, 20 points", 20, QPalette::Window },
        { "speech bubble, caption font, on its card's base", side(TextStyle::Style::caption), QPalette::Base },
        { "friend-code page and message sheet, body font", side(TextStyle::Style::body), QPalette::Window },
        { "bottle detail, title-3 font", side(TextStyle::Style::title3), QPalette::Window },
    };
    for (const Case& c : cases) {
        QWidget container;
        container.setAutoFillBackground(true);
        container.setBackgroundRole(c.surface);
        auto* layout = new QHBoxLayout(&container);
        layout->setContentsMargins(6, 6, 6, 6);
        QPushButton* button = Symbols::closeButton(c.side, &container);
        // Without the focus line round it, only the symbol is drawn in its square.
        button->setFocusPolicy(Qt::NoFocus);
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
            // The symbol is the stated size; the button adds only its focus line around it.
            ASSERT_EQ(button->iconSize(), QSize(c.side, c.side));
            ASSERT_LE(button->width() - c.side, 2);

            const QPalette& palette = container.palette();
            const QColor surface = palette.color(c.surface);
            const QColor text = palette.color(c.surface == QPalette::Base ? QPalette::Text : QPalette::WindowText);
            const QColor secondary = SecondaryText::colour(text, surface);
            const QRect area = areaIn(button, &container);
            const QRect box(area.center() - QPoint(c.side / 2, c.side / 2)
                    + QPoint(area.width() % 2 ? 0 : 1, area.height() % 2 ? 0 : 1),
                QSize(c.side, c.side));
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
            // The cross meets in the middle, cut out of the disc down to the surface.
            EXPECT_LT(contrastRatio(at(centre), surface), 1.5) << at(centre).name().toStdString() << " in the middle";

            // Secondary: readable on the surface, yet quieter than the primary text.
            EXPECT_GE(contrastRatio(secondary, surface), 4.5);
            EXPECT_LT(contrastRatio(secondary, surface), contrastRatio(text, surface) * 0.8);
        }
    }
}
