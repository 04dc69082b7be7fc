// The drift-bottle screens on the real X server. With TAMSEL_SHOT_DIR set, each is saved as
// a picture to look at.
#include "driftbottle/SensitiveWordAlertView.h"

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QImage grab(QWidget* window, const QString& name)
{
    QTest::qWait(400);
    const QRect frame = window->frameGeometry();
    QImage image = window->screen()
                       ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                       .toImage()
                       .convertToFormat(QImage::Format_RGB32);
    const QByteArray dir = qgetenv("TAMSEL_SHOT_DIR");
    if (!dir.isEmpty())
        image.save(QDir(QString::fromLocal8Bit(dir)).filePath(name + u".png"_s));
    return image;
}

} // namespace

TEST(BottleScreensOnScreen, SensitiveWordCardDimsItsWindow)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QPlainTextEdit(u"一段被拒绝的文字"_s, &window));
    window.resize(700, 650);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QImage before = grab(&window, u"sensitive-0-before"_s);
    SensitiveWordAlertView::present(&window);
    const QImage after = grab(&window, u"sensitive-1-card"_s);
    // The corner is dimmed to about half its brightness.
    const QPoint corner(20, after.height() - 20);
    EXPECT_LT(qGray(after.pixel(corner)), qGray(before.pixel(corner)) * 2 / 3);
}
