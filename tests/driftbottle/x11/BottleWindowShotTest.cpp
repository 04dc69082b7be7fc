// The drift-bottle window on the real X server: its size, colour emoji in the list, and
// long or odd texts that stay inside their rows and bubbles. With TAMSEL_SHOT_DIR set, the
// window is saved as pictures in a light and a dark palette.
#include "../BottleWindowRig.h"

#include "driftbottle/ThrowNewBottleSheet.h"
#include "widgets/PlainTextEditor.h"

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QTest>

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

int colourfulPixels(const QImage& image, QWidget* window, const QRect& area)
{
    const QPoint offset = window->mapToGlobal(QPoint(0, 0)) - window->frameGeometry().topLeft();
    const QRect box = area.translated(offset);
    int n = 0;
    for (int y = box.top(); y <= box.bottom() && y < image.height(); ++y)
        for (int x = box.left(); x <= box.right() && x < image.width(); ++x)
            n += QColor(image.pixel(x, y)).hsvSaturation() > 120 ? 1 : 0;
    return n;
}

QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(40, 40, 42));
    p.setColor(QPalette::WindowText, QColor(235, 235, 235));
    p.setColor(QPalette::Base, QColor(30, 30, 32));
    p.setColor(QPalette::AlternateBase, QColor(45, 45, 48));
    p.setColor(QPalette::Text, QColor(235, 235, 235));
    p.setColor(QPalette::Button, QColor(55, 55, 58));
    p.setColor(QPalette::ButtonText, QColor(235, 235, 235));
    p.setColor(QPalette::PlaceholderText, QColor(150, 150, 155));
    p.setColor(QPalette::Midlight, QColor(70, 70, 74));
    p.setColor(QPalette::Highlight, QColor(0, 122, 255));
    return p;
}

} // namespace

TEST_F(BottleWindowRig, WindowShowsOddTextsInsideTheirRowsInBothPalettes)
{
    const qint64 carol = server.state().addUser(u"c@x.io"_s, u"<b>Carol</b>\u202Eevil"_s, u"🦊"_s, u"pw"_s);
    const QString many = server.state().addBottle(carol, QString(u"🌊"_s).repeated(1000));
    server.state().pickBottle(many, alice);
    server.state().addReply(many, alice, carol, u"好多海浪！"_s);
    server.state().addReply(many, carol, alice, QString(u"很长的回复"_s).repeated(400));
    server.state().addReply(many, carol, alice, u"aVeryLongWordWithoutAnySpaces"_s.repeated(8));
    const QString picked = server.state().addBottle(bob, u"今天的海风有点咸\n你那边天气怎么样？"_s);
    server.state().pickBottle(picked, alice);
    server.state().addBottle(alice, u"我的瓶子还没人捡"_s);

    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(window->size(), QSize(900, 650));
    ASSERT_EQ(conversations->conversations().size(), 3);
    for (const Conversation& c : conversations->conversations()) {
        if (c.bottleId == many)
            conversations->selectConversation(c);
    }
    ASSERT_TRUE(waitUntil([&] { return conversations->chatMessages().size() == 4; }));

    QListView* list = window->conversationList();
    const QRect avatars(list->mapTo(window, QPoint(12, 10)), QSize(40, 3 * 60));
    const QImage light = grab(window, u"bottles-light"_s);
    EXPECT_GT(colourfulPixels(light, window, avatars), 100);

    // The bottle of 1,000 emoji, at the top of the chat.
    window->chatView()->findChild<QListView*>(u"chatMessages"_s)->scrollToTop();
    grab(window, u"bottles-light-top"_s);

    QApplication::setPalette(darkPalette());
    const QImage dark = grab(window, u"bottles-dark"_s);
    EXPECT_GT(colourfulPixels(dark, window, avatars), 100);

    find<QPushButton>(window, u"throwButton"_s)->click();
    auto* sheet = window->findChild<ThrowNewBottleSheet*>();
    ASSERT_TRUE(sheet);
    find<PlainTextEditor>(sheet, u"bottleText"_s)->setPlainText(QString(1001, u'浪'));
    find<QPushButton>(sheet, u"sendButton"_s)->click();
    ASSERT_TRUE(waitUntil([&] { return !sheet->isSending(); }));
    grab(sheet, u"bottles-throw-error"_s);
    EXPECT_EQ(sheet->size(), QSize(400, 350));
    sheet->close();
    QApplication::setPalette(QPalette());
}
