#include "pet/EmotionSystem.h"
#include "pet/ThemeManager.h"
#include "pet/unwired/AnimationManager.h"
#include "platform/Defaults.h"
#include "support/Wait.h"

#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ThemeManager, ResolvesTheChoiceOnceAtCreation)
{
    QTemporaryDir dir;
    Defaults defaults(dir.filePath(u"defaults.json"_s));
    bool systemDark = true;
    const auto probe = [&] { return systemDark; };
    {
        ThemeManager automatic(defaults, probe);
        EXPECT_EQ(automatic.currentTheme(), AppTheme::automatic);
        EXPECT_EQ(automatic.colors(), ThemeColors::dark());
        EXPECT_TRUE(automatic.isThemeMonitoringActive());
        // The system's appearance is not followed after creation.
        systemDark = false;
        automatic.startThemeMonitoring();
        EXPECT_EQ(automatic.colors(), ThemeColors::dark());
    }
    systemDark = true;
    defaults.setValue(ThemeManager::themeKey, u"light"_s);
    EXPECT_EQ(ThemeManager(defaults, probe).colors(), ThemeColors::light());
    defaults.setValue(ThemeManager::themeKey, u"Dark"_s);
    ThemeManager notARawValue(defaults, probe);
    EXPECT_EQ(notARawValue.currentTheme(), AppTheme::automatic);
    EXPECT_EQ(appThemeFromRaw(u"auto"_s), AppTheme::automatic);
    EXPECT_NE(ThemeColors::light().background, ThemeColors::dark().background);
}

TEST(EmotionSystem, OneMoodThatCodesAsItsRawValue)
{
    EXPECT_EQ(emotionTypeFromRaw(u"happy"_s), EmotionType::happy);
    EXPECT_EQ(emotionTypeFromRaw(u""_s), std::nullopt);
    EXPECT_EQ(emotionTypeFromRaw(u"sad"_s), std::nullopt);
    EXPECT_EQ(QJsonDocument(EmotionData {}.toJson()).toJson(QJsonDocument::Compact), "{\"primaryEmotion\":\"happy\"}");
    EXPECT_EQ(EmotionData::fromJson(QJsonObject { { u"primaryEmotion"_s, u"happy"_s } }), EmotionData {});
    EXPECT_EQ(EmotionData::fromJson(QJsonObject {}), std::nullopt);
    EXPECT_EQ(EmotionData::fromJson(QJsonObject { { u"primaryEmotion"_s, u"angry"_s } }), std::nullopt);
    EXPECT_EQ(EmotionSystem().emotionData().primaryEmotion, EmotionType::happy);
}

TEST(IdleMotion, APulseRisesToItsPeakReturnsToRestAndDropsOverlappingTicks)
{
    AnimationManager animator;
    animator.startIdleAnimation();
    animator.startIdleAnimation();
    EXPECT_TRUE(animator.idleAnimationTimer().isActive());
    EXPECT_EQ(animator.idleAnimationTimer().interval(), AnimationManager::pulseIntervalMs);

    double highest = animator.currentScale();
    QObject::connect(
        &animator, &AnimationManager::currentScaleChanged, [&](double scale) { highest = std::max(highest, scale); });
    animator.performIdleAnimation();
    EXPECT_TRUE(animator.isAnimating());
    ASSERT_TRUE(waitUntil([&] { return animator.currentScale() > 1.04; }, 4000));
    // A tick in the middle of a pulse changes nothing.
    animator.performIdleAnimation();
    ASSERT_TRUE(waitUntil([&] { return !animator.isAnimating(); }, 6000));
    EXPECT_TRUE(waitUntil([&] { return animator.currentScale() == 1.0; }, 1000));
    EXPECT_LE(highest, AnimationManager::peakScale + 1e-9);
    EXPECT_EQ(animator.currentRotation(), 0.0);
    EXPECT_EQ(animator.currentOffset(), QSizeF(0, 0));
}
