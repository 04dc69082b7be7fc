#include "app/SpeechBubbleLook.h"
#include "pet/SpeechBubbleWindowManager.h"

#include "core/EventCenter.h"
#include "core/Reminder.h"
#include "pet/SpeechBubbleView.h"
#include "platform/FloatingWindow.h"
#include "support/PetRig.h"
#include "support/Wait.h"

#include "support/LogLines.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocumentFragment>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Bubbles : ::testing::Test, PetRig
{
    Bubbles()
        : PetRig({ QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1080) })
    {
    }

    SpeechBubbleWindowManager manager { windowManager, kitSpeechBubbleLook() };

    void SetUp() override
    {
        // Stored (1344, 452): the pet window's bottom-left origin is (1344, 500).
        petState.setPosition(QPointF(1344, 452));
        windowManager.createPetWindow();
    }

    [[nodiscard]] QRectF bubbleFrame() const { return manager.bubbleWindow()->modelFrame(); }

    static Reminder reminder(ReminderType type)
    {
        Reminder r;
        r.id = u"r1"_s;
        r.title = displayName(type);
        r.message = u"看看远处～"_s;
        r.type = type;
        r.interval = 1200;
        return r;
    }
};

} // namespace

TEST_F(Bubbles, AReminderIsSpokenBesideThePetWithItsTypesEmoji)
{
    Q_EMIT EventCenter::shared().reminderTriggered(reminder(ReminderType::eyeRest));
    ASSERT_TRUE(manager.bubbleWindow());
    EXPECT_TRUE(manager.bubbleWindow()->isVisible());
    EXPECT_EQ(bubbleFrame(), QRectF(1482, 504, 280, 120));
    SpeechBubbleView* view = manager.bubbleView();
    EXPECT_EQ(view->emoji(), emoji(ReminderType::eyeRest));
    EXPECT_EQ(view->title(), u"眼部休息"_s);
    EXPECT_TRUE(view->autoCloseTimer().isActive());
    EXPECT_EQ(view->autoCloseTimer().interval(), 8000);
    EXPECT_LE(view->card()->width(), 250);

    // Logged as the bubble is made, with the origin it was given.
    const QStringList lines = loggedLines(u"SpeechBubble"_s);
    EXPECT_EQ(lines.mid(0, 8),
        (QStringList { u"💬 气泡管理器已设置通知监听"_s, u"💬 收到提醒触发通知"_s, u"💬 提醒内容: 眼部休息 - 看看远处～"_s,
            u"💬 showBubble 被调用: 眼部休息"_s, u"开始显示气泡窗口"_s, u"标题: 眼部休息"_s, u"消息: 看看远处～"_s,
            u"隐藏气泡窗口"_s }));
    EXPECT_EQ(lines.mid(8),
        (QStringList { u"🐱 宠物窗口初始位置: origin=(1344.0, 500.0), size=(128.0, 128.0)"_s,
            u"💬 气泡窗口计算: 宠物右边缘=1472.0, 间距=10"_s,
            u"💬 气泡初始位置: origin=(1482.0, 504.0), size=(280.0, 120.0)"_s,
            u"✅ 气泡窗口已创建: 期望位置=(1482.0, 504.0), 实际位置=(1482.0, 504.0)"_s,
            u"已添加宠物窗口位置观察者"_s }));
}

TEST_F(Bubbles, ABubbleFadesInWhileItsCardSlidesTenPointsDownIntoPlace)
{
    manager.showBubble(u"喝水"_s, u"该喝水了"_s, u"💧"_s);
    SpeechBubbleView* view = manager.bubbleView();
    FloatingWindow* window = manager.bubbleWindow();
    const int place = (view->height() - view->card()->height()) / 2;
    EXPECT_EQ(view->card()->y(), place - 10);
    EXPECT_EQ(window->windowOpacity(), 0.0);

    QSignalSpy fading(view, &SpeechBubbleView::opacityChanged);
    ASSERT_TRUE(waitUntil([&] { return view->opacity() == 1.0 && view->offset() == 0.0; }));
    EXPECT_GT(fading.count(), 1) << "the fade runs in steps";
    EXPECT_EQ(window->windowOpacity(), 1.0);
    EXPECT_EQ(view->card()->y(), place);
}

TEST_F(Bubbles, TextsAreShownAsPlainText)
{
    manager.showBubble(u"<b>标题</b>"_s, u"<i>消息</i>"_s, u"⏰"_s);
    for (const char* name : { "bubbleTitle", "bubbleMessage", "bubbleEmoji" }) {
        auto* label = manager.bubbleWindow()->findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_TRUE(label) << name;
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
    }
    EXPECT_EQ(manager.bubbleWindow()->findChild<QLabel*>(u"bubbleTitle"_s)->text(), u"<b>标题</b>"_s);

    // Long texts stay inside the bubble, end in "…" and are whole in the tool tip.
    const QString title = QString(40, u'喝');
    const QString message = u"<b>"_s + QString(200, u'水');
    manager.showBubble(title, message, u"💧"_s);
    SpeechBubbleView* view = manager.bubbleView();
    for (const auto& [name, text] : { std::pair { "bubbleTitle", title }, std::pair { "bubbleMessage", message } }) {
        auto* label = view->findChild<QLabel*>(QString::fromLatin1(name));
        EXPECT_TRUE(label->text().endsWith(QChar(0x2026))) << name;
        EXPECT_EQ(QTextDocumentFragment::fromHtml(label->toolTip()).toPlainText(), text) << name;
        const QAccessibleInterface* readable = QAccessible::queryAccessibleInterface(label);
        ASSERT_TRUE(readable) << name;
        EXPECT_EQ(readable->text(QAccessible::Name), text) << name << ": a screen reader gets the words whole";
        EXPECT_TRUE(view->rect().contains(label->geometry().translated(label->parentWidget()->pos()))) << name;
    }
}

TEST_F(Bubbles, EveryDeliveredMoveOfThePetIsFollowedAndLogged)
{
    manager.showBubble(u"t"_s, u"m"_s, u"💧"_s);
    ASSERT_TRUE(waitUntil([] { return loggedLines(u"SpeechBubble"_s).contains(u"已添加宠物窗口位置观察者"_s); }));
    const auto linesAfter = [](qsizetype from) { return loggedLines(u"SpeechBubble"_s).mid(from); };
    const auto settle = [] {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    };
    const auto block = [](const QString& pet, const QString& old, const QString& now) {
        return QStringList { u"🔄 更新气泡位置:"_s, u"   宠物当前: origin=("_s + pet + u"), size=(128.0, 128.0)"_s,
            u"   气泡旧frame: origin=("_s + old + u"), size=(280.0, 120.0)"_s,
            u"   气泡新位置: origin=("_s + now + u")"_s, u"   气泡实际位置: origin=("_s + now + u")"_s };
    };

    // A move through the window manager arrives twice: its own announcement and the window's.
    qsizetype from = loggedLines(u"SpeechBubble"_s).size();
    windowManager.updateWindowPosition(QPointF(200, 300));
    EXPECT_EQ(bubbleFrame(), QRectF(338, 656, 280, 120));
    ASSERT_TRUE(waitUntil([&] { return linesAfter(from).size() >= 10; }));
    settle();
    EXPECT_EQ(linesAfter(from),
        block(u"200.0, 652.0"_s, u"1482.0, 504.0"_s, u"338.0, 656.0"_s)
            + block(u"200.0, 652.0"_s, u"338.0, 656.0"_s, u"338.0, 656.0"_s));

    // A move of the window itself, as a drag makes it, arrives once.
    from = loggedLines(u"SpeechBubble"_s).size();
    windowManager.petWindow()->setModelOrigin(QPointF(600, 100));
    ASSERT_TRUE(waitUntil([&] { return linesAfter(from).size() >= 5; }));
    settle();
    EXPECT_EQ(linesAfter(from), block(u"600.0, 100.0"_s, u"338.0, 656.0"_s, u"738.0, 104.0"_s));
    EXPECT_EQ(bubbleFrame().topLeft(), QPointF(738, 104));
}

TEST_F(Bubbles, TheBubbleOpensAndFollowsOnTheSideWhereItFits)
{
    struct Case
    {
        const char* name;
        QPointF stored;
        QPointF expected;
    };
    // The 1920 × 1080 screen; the pet's middle is 64 above its origin.
    const Case cases[] = {
        { "in the middle", { 900, 452 }, { 1038, 504 } },
        { "at the right edge", { 1850, 452 }, { 1560, 504 } },
        { "in the top-right corner, partly above the screen", { 1850, -60 }, { 1560, 960 } },
        { "at the bottom, partly below the screen", { 900, 1000 }, { 1038, 0 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Following the pet there from the middle of the screen...
        windowManager.updateWindowPosition(QPointF(900, 452));
        manager.showBubble(u"t"_s, u"m"_s, u"💧"_s);
        windowManager.updateWindowPosition(c.stored);
        EXPECT_EQ(bubbleFrame(), QRectF(c.expected, QSizeF(280, 120)));
        // ... and opening there.
        manager.showBubble(u"t"_s, u"m"_s, u"💧"_s);
        EXPECT_EQ(bubbleFrame(), QRectF(c.expected, QSizeF(280, 120)));
    }
}

TEST_F(Bubbles, ANewBubbleReplacesTheOldOneAndOutlivesItsTimer)
{
    manager.showBubble(u"first"_s, u"m"_s, u"💧"_s);
    QPointer<SpeechBubbleView> first = manager.bubbleView();
    QPointer<FloatingWindow> firstWindow = manager.bubbleWindow();
    manager.showBubble(u"second"_s, u"m"_s, u"⏰"_s);
    EXPECT_EQ(manager.bubbleView()->title(), u"second"_s);
    EXPECT_FALSE(firstWindow->isVisible());
    EXPECT_EQ(loggedLines(u"SpeechBubble"_s).filter(u"已移除位置观察者"_s).size(), 1);

    // The earlier bubble's close (its 8 s timer or its button) leaves the newer one alone.
    ASSERT_TRUE(first);
    first->close();
    ASSERT_TRUE(manager.bubbleWindow());
    EXPECT_EQ(manager.bubbleView()->title(), u"second"_s);
    ASSERT_TRUE(waitUntil([&] { return firstWindow.isNull(); }));

    // Its own close takes it away.
    manager.bubbleView()->close();
    EXPECT_FALSE(manager.bubbleWindow());
}

TEST_F(Bubbles, TheCloseButtonClosesAtOnce)
{
    manager.showBubble(u"t"_s, u"m"_s, u"💧"_s);
    QPointer<FloatingWindow> window = manager.bubbleWindow();
    QPushButton* button = manager.bubbleView()->closeButton();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(manager.bubbleWindow());
    ASSERT_TRUE(waitUntil([&] { return window.isNull(); }));
    // Moves of the pet are no longer followed.
    windowManager.updateWindowPosition(QPointF(10, 10));
    EXPECT_FALSE(window);
}

TEST_F(Bubbles, NoPetWindowNoBubble)
{
    WindowManager empty { petState, screens, animations, interaction };
    SpeechBubbleWindowManager lonely { empty, kitSpeechBubbleLook() };
    Q_EMIT EventCenter::shared().showSpeechBubble(u"t"_s, u"m"_s, u"💧"_s);
    EXPECT_FALSE(lonely.bubbleWindow());
    // The event reaches every manager: the one with a pet shows the bubble.
    EXPECT_TRUE(manager.bubbleWindow());
    EXPECT_TRUE(loggedLines(u"SpeechBubble"_s).contains(u"❌ 无法获取宠物窗口"_s));
}

TEST_F(Bubbles, TheBubbleClosesEightSecondsAfterItAppearsNeverEarlier)
{
    waitUntilJustPastAWholeSecond();
    QElapsedTimer shown;
    shown.start();
    manager.showBubble(u"t"_s, u"m"_s, u"💧"_s);
    ASSERT_TRUE(waitUntil([&] { return !manager.bubbleWindow(); }, 10000));
    EXPECT_GE(shown.elapsed(), SpeechBubbleView::autoCloseMs);
}
