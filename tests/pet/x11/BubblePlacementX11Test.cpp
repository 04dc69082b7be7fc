// Runs on the real X server with a stand-in window manager that keeps windows clear of a
// panel along the top of the screen, as desktop window managers do.
#include "StackingWindowManager.h"

#include "app/SpeechBubbleLook.h"
#include "pet/SpeechBubbleWindowManager.h"

#include "platform/FloatingWindow.h"
#include "support/LogLines.h"
#include "support/PetRig.h"
#include "support/Wait.h"

#include <QWindow>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct BubblePlacement : ::testing::Test, PetRig
{
    // The Xvfb screen of the test run.
    BubblePlacement()
        : PetRig({ QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 900) })
    {
    }

    SpeechBubbleWindowManager manager { windowManager, kitSpeechBubbleLook() };
};

} // namespace

TEST_F(BubblePlacement, TheLogSaysTheOriginTheBubbleWasGivenWhereverTheWindowManagerPutsIt)
{
    // The pet at the very top: the bubble is asked for 4 pixels below the screen's top edge.
    petState.setPosition(QPointF(100, 0));
    windowManager.createPetWindow();
    ASSERT_TRUE(waitUntil([&] { return windowManager.petWindow()->windowHandle()->isExposed(); }));

    StackingWindowManager panelKeeper(40);
    ASSERT_TRUE(panelKeeper.start()) << "another window manager runs on this display";
    manager.showBubble(u"t"_s, u"m"_s, u"💧"_s);
    const QString created = u"✅ 气泡窗口已创建: 期望位置=(238.0, 776.0), 实际位置=(238.0, 776.0)"_s;
    EXPECT_TRUE(loggedLines(u"SpeechBubble"_s).contains(created))
        << loggedLines(u"SpeechBubble"_s).join(u'\n').toStdString();

    // The window manager then puts the bubble's top edge at the panel's bottom; the line stays
    // the one written, and no second one follows.
    ASSERT_TRUE(waitUntil([&] {
        panelKeeper.pump();
        return manager.bubbleWindow()->modelFrame().y() == 740.0;
    }));
    const QStringList lines = loggedLines(u"SpeechBubble"_s);
    EXPECT_EQ(lines.filter(u"✅ 气泡窗口已创建"_s), QStringList { created }) << lines.join(u'\n').toStdString();
}
