#include "support/LogLines.h"

#include "pet/OpacityManager.h"
#include "pet/PetWindowHost.h"
#include "platform/Defaults.h"
#include "platform/FloatingWindow.h"
#include "platform/Screens.h"
#include "support/Wait.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

/// A plain window stands in for the pet's.
struct OpacityFixture : ::testing::Test, PetWindowHost
{
    QTemporaryDir dir;
    Defaults defaults { dir.filePath(u"defaults.json"_s) };
    Screens screens { QList<ScreenGeometry> { { QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 900) } } };
    mutable FloatingWindow window { FloatingWindow::Focus::Refuse, screens };
    bool hasWindow = true;

    FloatingWindow* petWindow() const override { return hasWindow ? &window : nullptr; }
    QPointF getCurrentWindowPosition() const override { return {}; }
    void updateWindowPosition(QPointF) override { }

    OpacityManager make() { return OpacityManager(defaults, *this); }
    bool settlesAt(double alpha)
    {
        return waitUntil([&] { return !window.isFading() && qAbs(window.windowOpacity() - alpha) < 0.01; });
    }
};

} // namespace

TEST_F(OpacityFixture, MissingZeroOrUnusableStoredValuesBecomeOpaqueAndAreWrittenBack)
{
    const QList<QJsonValue> stored { QJsonValue(), QJsonValue(0), QJsonValue(-0.5), QJsonValue(u"half"_s) };
    for (const QJsonValue& value : stored) {
        defaults.setValue(OpacityManager::defaultOpacityKey, value);
        OpacityManager manager(defaults, *this);
        EXPECT_EQ(manager.defaultOpacity(), 1.0);
        EXPECT_EQ(defaults.value(OpacityManager::defaultOpacityKey), QJsonValue(1.0));
        EXPECT_TRUE(settlesAt(1.0));
    }
    defaults.setValue(OpacityManager::defaultOpacityKey, 0.6);
    OpacityManager manager(defaults, *this);
    EXPECT_EQ(manager.defaultOpacity(), 0.6);
    EXPECT_TRUE(settlesAt(0.6));
    EXPECT_EQ(loggedLines(u"Opacity"_s).last(), u"应用默认透明度: 0.6"_s);
}

TEST_F(OpacityFixture, HoverLiftsThePetAndLeavingFadesBackWithTheTruncatedPercentage)
{
    OpacityManager manager(defaults, *this);
    manager.setDefaultOpacity(0.29);
    EXPECT_EQ(defaults.doubleValue(OpacityManager::defaultOpacityKey), 0.29);
    EXPECT_TRUE(settlesAt(0.29));

    manager.mouseEntered();
    EXPECT_TRUE(manager.isMouseInside());
    EXPECT_TRUE(settlesAt(1.0));
    EXPECT_EQ(loggedLines(u"Opacity"_s).last(), u"鼠标进入，透明度 → 100%"_s);
    // While the pointer is inside the resting opacity is not applied.
    manager.setDefaultOpacity(0.7000000000000001);
    EXPECT_TRUE(settlesAt(1.0));

    manager.mouseExited();
    EXPECT_FALSE(manager.isMouseInside());
    EXPECT_TRUE(settlesAt(0.7));
    EXPECT_EQ(loggedLines(u"Opacity"_s).last(), u"鼠标离开，透明度 → 70%"_s);

    // Values outside the slider's range are kept; NaN never reaches a fade.
    manager.setDefaultOpacity(0.1);
    EXPECT_TRUE(settlesAt(0.1));
    manager.setDefaultOpacity(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(manager.defaultOpacity(), 1.0);
    EXPECT_TRUE(settlesAt(1.0));
    // A value far beyond any integer still prints its truncated percentage.
    manager.setDefaultOpacity(1e20);
    manager.mouseEntered();
    manager.mouseExited();
    EXPECT_EQ(loggedLines(u"Opacity"_s).last(), u"鼠标离开，透明度 → 10000000000000000000000%"_s);
}

TEST_F(OpacityFixture, PausedManagementLeavesTheWindowAloneButFollowsThePointer)
{
    defaults.setValue(OpacityManager::defaultOpacityKey, 0.5);
    OpacityManager manager(defaults, *this);
    ASSERT_TRUE(settlesAt(0.5));
    manager.pauseOpacityManagement();
    window.setWindowOpacity(0.05);
    manager.mouseEntered();
    manager.applyDefaultOpacity();
    manager.setDefaultOpacity(0.8);
    EXPECT_TRUE(manager.isMouseInside());
    EXPECT_FALSE(window.isFading());
    EXPECT_NEAR(window.windowOpacity(), 0.05, 0.01);
    EXPECT_EQ(defaults.doubleValue(OpacityManager::defaultOpacityKey), 0.8);
    manager.mouseExited();
    EXPECT_FALSE(window.isFading());
    EXPECT_FALSE(loggedLines(u"Opacity"_s).contains(u"鼠标进入，透明度 → 100%"_s));

    manager.resumeOpacityManagement();
    EXPECT_TRUE(settlesAt(0.8));
    EXPECT_TRUE(loggedLines(u"Opacity"_s).contains(u"▶️ 恢复透明度自动管理"_s));

    // The pointer over the pet when a game starts and gone when it ends: the pet rests again.
    manager.mouseEntered();
    ASSERT_TRUE(settlesAt(1.0));
    manager.pauseOpacityManagement();
    manager.mouseExited();
    manager.resumeOpacityManagement();
    EXPECT_TRUE(settlesAt(0.8));

    // Resuming with the pointer still inside leaves the window as it is.
    manager.mouseEntered();
    ASSERT_TRUE(settlesAt(1.0));
    manager.pauseOpacityManagement();
    manager.resumeOpacityManagement();
    EXPECT_FALSE(window.isFading());
    EXPECT_NEAR(window.windowOpacity(), 1.0, 0.01);
}

TEST_F(OpacityFixture, WithoutAPetWindowNothingFadesButTheSettingIsStored)
{
    hasWindow = false;
    OpacityManager manager(defaults, *this);
    const qsizetype before = loggedLines(u"Opacity"_s).size();
    manager.setDefaultOpacity(0.4);
    manager.mouseEntered();
    manager.mouseExited();
    EXPECT_FALSE(manager.isMouseInside());
    EXPECT_EQ(defaults.doubleValue(OpacityManager::defaultOpacityKey), 0.4);
    EXPECT_EQ(loggedLines(u"Opacity"_s).size(), before);
}

// The program builds the manager before the pet window: the stored setting is taken in when
// the first window is shown, so its assignments reach the window and are logged there.
TEST_F(OpacityFixture, AManagerBuiltBeforeThePetWindowTakesTheSettingInWhenItIsShown)
{
    const QString line = u"应用默认透明度: "_s;
    const std::pair<QJsonValue, QStringList> cases[] = {
        { QJsonValue::Undefined, { line + u"0.0"_s, line + u"1.0"_s, line + u"1.0"_s } },
        { 0.8, { line + u"0.8"_s, line + u"0.8"_s } },
    };
    for (const auto& [stored, lines] : cases) {
        defaults.setValue(OpacityManager::defaultOpacityKey, stored);
        hasWindow = false;
        OpacityManager manager(defaults, *this);
        EXPECT_EQ(defaults.value(OpacityManager::defaultOpacityKey), stored) << "nothing taken in yet";
        const qsizetype before = loggedLines(u"Opacity"_s).size();
        hasWindow = true;
        manager.applyDefaultOpacity();
        manager.applyDefaultOpacity();
        EXPECT_EQ(loggedLines(u"Opacity"_s).mid(before), lines + QStringList { lines.last() }) << "taken in once";
        EXPECT_TRUE(settlesAt(stored.isUndefined() ? 1.0 : 0.8));
    }
}
