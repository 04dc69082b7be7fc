// The keyboard's ring on the kit's controls, clicked as a user clicks: through the X server
// and a window manager, which hand the focus over in their own order (the first click on a
// window also activates it), not as a synthetic click does.
#include "widgets/ButtonStyle.h"
#include "widgets/SegmentedPicker.h"

#include "support/DesktopWindowManager.h"
#include "support/DrawnText.h"
#include "support/RealClicks.h"
#include "support/Wait.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

bool pressKey(const QString& key)
{
    return QProcess::execute(u"xdotool"_s, { u"key"_s, key }) == 0;
}

/// Leaves the pointer in a corner of the screen, off every window, so that no hover paints.
bool pointerAway(QWidget* control)
{
    const QPoint corner = QGuiApplication::primaryScreen()->geometry().bottomRight() - QPoint(2, 2);
    QProcess::execute(u"xdotool"_s, { u"mousemove"_s, QString::number(corner.x()), QString::number(corner.y()) });
    return waitUntil([control] { return !control->underMouse(); });
}

bool clickOn(QWidget* control)
{
    return clickAt(control->mapToGlobal(control->rect().center()))
        && waitUntil([control] { return control->hasFocus(); });
}

/// How many pixels of `control` draw differently from `plain`.
int changedPixels(QWidget* control, const QImage& plain)
{
    const QImage now = drawnImage(control);
    int changed = 0;
    for (int y = 0; y < std::min(now.height(), plain.height()); ++y)
        for (int x = 0; x < std::min(now.width(), plain.width()); ++x)
            changed += now.pixel(x, y) != plain.pixel(x, y);
    return changed;
}

} // namespace

// In a fresh window no key has been pressed in, a click on a segment or a button gives it
// the focus and draws nothing more: not the ring, not a border, not the style's focus
// rectangle; the first click on the window, which also activates it, too. Tab then rings
// the control it reaches.
TEST(FocusRingX11, AClickDrawsNoRingAndTabThenDoes)
{
    if (!canClick())
        GTEST_SKIP() << "xdotool is not installed";
    DesktopWindowManager manager;
    ASSERT_TRUE(manager.start()) << "these tests need a window manager";

    QWidget page;
    page.setWindowTitle(u"ring"_s);
    auto* row = new QHBoxLayout(&page);
    auto* field = new QLineEdit(&page);
    row->addWidget(field);
    auto* picker = new SegmentedPicker(u"宠物"_s, &page);
    QAbstractButton* segment = picker->addSegment(u"小猫"_s, 0);
    picker->addSegment(u"小狗"_s, 1);
    picker->setCurrentId(0);
    row->addWidget(picker);
    const struct
    {
        ButtonStyle::Style style;
        const char* name;
    } styles[] = { { ButtonStyle::Style::plain, "plain" }, { ButtonStyle::Style::borderless, "borderless" },
        { ButtonStyle::Style::bordered, "bordered" }, { ButtonStyle::Style::borderedProminent, "prominent" } };
    QList<QPushButton*> buttons;
    for (const auto& s : styles) {
        buttons << ButtonStyle::create(u"修改"_s, s.style, ButtonStyle::ControlSize::regular, &page);
        row->addWidget(buttons.last());
    }
    page.move(100, 100);
    page.show();
    ASSERT_TRUE(waitUntil([&] { return page.isActiveWindow() && field->hasFocus(); }));
    ASSERT_TRUE(pointerAway(&page));
    // Each control as it draws without the focus, the window active.
    QList<QImage> plain;
    plain << drawnImage(segment);
    for (QPushButton* button : buttons)
        plain << drawnImage(button);

    // Another window takes the keyboard, so the first click must bring this one back.
    QWidget other;
    other.setWindowTitle(u"other"_s);
    other.resize(200, 100);
    other.move(700, 500);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return other.isActiveWindow() && !page.isActiveWindow(); }));

    const auto clickedShowsNothing = [&](QWidget* control, const QImage& before, const char* what) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(clickOn(control));
        ASSERT_TRUE(page.isActiveWindow());
        ASSERT_TRUE(pointerAway(control));
        QCoreApplication::processEvents();
        EXPECT_EQ(changedPixels(control, before), 0) << "a click marks the focus";
    };
    clickedShowsNothing(segment, plain[0], "segment, the click that activates the window");
    for (int i = 0; i < buttons.size(); ++i)
        clickedShowsNothing(buttons[i], plain[i + 1], styles[i].name);
    clickedShowsNothing(segment, plain[0], "segment");

    // The keyboard: away and back, and the control wears the ring.
    ASSERT_TRUE(pressKey(u"shift+Tab"_s));
    ASSERT_TRUE(waitUntil([&] { return !segment->hasFocus(); }));
    ASSERT_TRUE(pressKey(u"Tab"_s));
    ASSERT_TRUE(waitUntil([&] { return segment->hasFocus(); }));
    QCoreApplication::processEvents();
    const QImage ringed = drawnImage(segment);
    // The segment's ring runs two pixels in, along its top, above the title.
    const QPoint top(segment->width() / 2, 2);
    EXPECT_GE(contrastRatio(ringed.pixelColor(top), plain[0].pixelColor(top)), 3.0) << "Tab rings the segment";
    for (int i = 0; i < buttons.size(); ++i) {
        SCOPED_TRACE(styles[i].name);
        ASSERT_TRUE(clickOn(buttons[i]));
        ASSERT_TRUE(pointerAway(buttons[i]));
        QCoreApplication::processEvents();
        EXPECT_EQ(changedPixels(buttons[i], plain[i + 1]), 0) << "the click after the keys marks the focus";
        ASSERT_TRUE(pressKey(u"shift+Tab"_s));
        ASSERT_TRUE(waitUntil([&] { return !buttons[i]->hasFocus(); }));
        ASSERT_TRUE(pressKey(u"Tab"_s));
        ASSERT_TRUE(waitUntil([&] { return buttons[i]->hasFocus(); }));
        QCoreApplication::processEvents();
        // Along the top edge, clear of the rounded corner and the title: the ring's row (at the
        // edge without a face, a pixel in on one).
        const bool face = styles[i].style == ButtonStyle::Style::bordered
            || styles[i].style == ButtonStyle::Style::borderedProminent;
        const QPoint ring(8, face ? 2 : 1);
        EXPECT_GE(contrastRatio(drawnImage(buttons[i]).pixelColor(ring), plain[i + 1].pixelColor(ring)), 3.0)
            << "Tab rings the button";
    }
}
