// A window brought forward under a real window manager, with real keys through the X server.
#include "platform/WindowFront.h"

#include "support/DesktopWindowManager.h"
#include "support/RealClicks.h"
#include "support/Wait.h"

#include <QDialog>
#include <QLineEdit>
#include <QProcess>
#include <QVBoxLayout>
#include <QWindow>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

bool exposed(const QWidget& widget)
{
    return widget.windowHandle() && widget.windowHandle()->isExposed();
}

} // namespace

// The window manager minimises a sheet together with the window it covers; brought back from
// the program's menu, the sheet takes the keys again, as it did before.
TEST(WindowFrontX11, AWindowBroughtBackWithItsSheetGivesTheSheetTheKeys)
{
    DesktopWindowManager desktop;
    if (!desktop.start())
        GTEST_SKIP() << "no window manager on the display, and openbox is not installed";
    if (!canClick())
        GTEST_SKIP() << "xdotool is not installed";
    QWidget window;
    window.resize(400, 300);
    window.show();
    ASSERT_TRUE(waitUntil([&] { return exposed(window); }));
    QDialog sheet(&window);
    sheet.setWindowModality(Qt::WindowModal);
    auto* field = new QLineEdit(&sheet);
    (new QVBoxLayout(&sheet))->addWidget(field);
    sheet.show();
    ASSERT_TRUE(waitUntil([&] { return exposed(sheet) && field->hasFocus(); }));

    X11Windows::minimise(sheet.winId());
    ASSERT_TRUE(waitUntil([&] { return X11Windows::isIconic(sheet.winId()) && !exposed(sheet); }));
    WindowFront::bringForward(window);
    ASSERT_TRUE(waitUntil([&] { return !X11Windows::isIconic(sheet.winId()) && exposed(sheet) && exposed(window); }));
    ASSERT_TRUE(waitUntil([&] { return sheet.isActiveWindow(); }));
    ASSERT_EQ(QProcess::execute(u"xdotool"_s, { u"type"_s, u"ok"_s }), 0);
    EXPECT_TRUE(waitUntil([&] { return field->text() == u"ok"_s; })) << field->text().toStdString();
}
