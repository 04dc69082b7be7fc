// The drift-bottle window on the real X server: its size, colour emoji in the list, and
// long or odd texts that stay inside their rows and bubbles. With TAMSEL_SHOT_DIR set, the
// window is saved as pictures in a light and a dark palette.
#include "../BottleWindowRig.h"

#include "driftbottle/ThrowNewBottleSheet.h"
#include "support/DarkPalette.h"
#include "support/DesktopWindowManager.h"
#include "support/Screenshots.h"
#include "widgets/PlainTextEditor.h"

#include <QImage>
#include <QPushButton>
#include <QStyleFactory>
#include <QTest>

using namespace Qt::StringLiterals;

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
    EXPECT_FALSE(X11Windows::motifHintsOfferMinimise(window->winId())) << "the window asks for no minimise button";
    ASSERT_EQ(conversations->conversations().size(), 3);
    for (const Conversation& c : conversations->conversations()) {
        if (c.bottleId == many)
            conversations->selectConversation(c);
    }
    ASSERT_TRUE(waitUntil([&] { return conversations->chatMessages().size() == 4; }));

    QListView* list = window->conversationList();
    const QRect avatars(list->mapTo(window, QPoint(12, 10)), QSize(40, 3 * 60));
    const QImage light = grabFromScreen(window, u"bottles-light"_s, 400);
    EXPECT_GT(colourfulPixels(light, inFrame(window, avatars)), 100);

    // The bottle of 1,000 emoji, at the top of the chat.
    window->chatView()->findChild<QListView*>(u"chatMessages"_s)->scrollToTop();
    grabFromScreen(window, u"bottles-light-top"_s, 400);

    QApplication::setPalette(darkDesktopPalette());
    const QImage dark = grabFromScreen(window, u"bottles-dark"_s, 400);
    EXPECT_GT(colourfulPixels(dark, inFrame(window, avatars)), 100);

    find<QPushButton>(window, u"throwButton"_s)->click();
    auto* sheet = window->findChild<ThrowNewBottleSheet*>();
    ASSERT_TRUE(sheet);
    find<PlainTextEditor>(sheet, u"bottleText"_s)->setPlainText(QString(1001, u'浪'));
    find<QPushButton>(sheet, u"sendButton"_s)->click();
    ASSERT_TRUE(waitUntil([&] { return !sheet->isSending(); }));
    grabFromScreen(sheet, u"bottles-throw-error"_s, 400);
    EXPECT_EQ(sheet->size(), QSize(400, 350));
    sheet->close();
    QApplication::setPalette(QPalette());
}
