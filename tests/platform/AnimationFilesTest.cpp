// Checks the pet's own animation files: every file the animation tables name is there,
// parses, fits the pet's 128 × 128 window at 24-30 frames a second, stays small, draws on
// a transparent background, and a loop's last frame leads smoothly back to its first.
#include "platform/LottieAnimation.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

struct AnimationFile
{
    const char* species;
    const char* name;
    bool loops;
};

constexpr AnimationFile files[] = {
    { "Cat", "cat_scratching_butt", true },
    { "Cat", "cat_walking", true },
    { "Cat", "cat_greeting", false },
    { "Cat", "cat_blinking", true },
    { "Cat", "cat_thinking", false },
    { "Cat", "cat_gaming", false },
    { "Cat", "cat_entering", false },
    { "Cat", "cat_hide_and_seek", false },
    { "Dog", "dog_sitting", true },
    { "Rabbit", "rabbit_sitting", true },
    { "Robot", "robot_idle", true },
    { "Alien", "alien_floating", true },
    { "Plant", "plant_growing", true },
};

QString animationPath(const AnimationFile& file)
{
    // The build names this folder absolutely; __FILE__ may be relative to the build folder.
    const QDir source(QStringLiteral(QT_TESTCASE_SOURCEDIR));
    return source.absoluteFilePath(u"../../resources/Resources/LottieAnimations/%1/%2.json"_s.arg(
        QLatin1StringView(file.species), QLatin1StringView(file.name)));
}

// Mean difference per channel, 0 (same) to 255.
double difference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* pa = reinterpret_cast<const uchar*>(a.constScanLine(y));
        const auto* pb = reinterpret_cast<const uchar*>(b.constScanLine(y));
        for (int x = 0; x < a.width() * 4; ++x)
            sum += std::abs(pa[x] - pb[x]);
    }
    return sum / (a.width() * a.height() * 4.0);
}

bool cornersTransparent(const QImage& image)
{
    const int w = image.width() - 1;
    const int h = image.height() - 1;
    return qAlpha(image.pixel(0, 0)) == 0 && qAlpha(image.pixel(w, 0)) == 0 && qAlpha(image.pixel(0, h)) == 0
        && qAlpha(image.pixel(w, h)) == 0;
}

int opaquePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) == 255;
    return count;
}

} // namespace

TEST(AnimationFiles, EveryNamedFileIsASmallPetSizedAnimation)
{
    for (const AnimationFile& file : files) {
        SCOPED_TRACE(file.name);
        const QString path = animationPath(file);
        const QFileInfo info(path);
        ASSERT_TRUE(info.exists()) << path.toStdString();
        EXPECT_LT(info.size(), 60 * 1024);

        QString error;
        const auto animation = LottieAnimation::load(path, &error);
        ASSERT_NE(animation, nullptr) << error.toStdString();
        EXPECT_EQ(animation->size(), QSize(128, 128));
        EXPECT_GE(animation->frameRate(), 24.0);
        EXPECT_LE(animation->frameRate(), 30.0);
        EXPECT_GE(animation->frameCount(), 24) << "shorter than a second";

        const QImage first = animation->render(0, QSize(128, 128));
        const QImage last = animation->render(animation->frameCount() - 1, QSize(128, 128));
        EXPECT_TRUE(cornersTransparent(first));
        EXPECT_TRUE(cornersTransparent(last));
        EXPECT_GT(opaquePixels(last), 500) << "the last frame stays on screen and must show the pet";
    }
}

TEST(AnimationFiles, LoopsWrapWithoutAJump)
{
    // From the last frame back to the first must be no bigger a step than the animation
    // takes anywhere else between two frames.
    for (const AnimationFile& file : files) {
        if (!file.loops)
            continue;
        SCOPED_TRACE(file.name);
        const auto animation = LottieAnimation::load(animationPath(file));
        ASSERT_NE(animation, nullptr);
        QImage previous = animation->render(0, QSize(128, 128));
        const QImage first = previous;
        double largestStep = 0;
        for (int frame = 1; frame < animation->frameCount(); ++frame) {
            QImage current = animation->render(frame, QSize(128, 128));
            largestStep = std::max(largestStep, difference(previous, current));
            previous = std::move(current);
        }
        EXPECT_LE(difference(previous, first), largestStep * 1.1 + 0.05);
    }
}

TEST(AnimationFiles, TheCatStartsAndEndsAtRest)
{
    // Switching from one animation to the next must not make the cat jump: each one starts
    // (the entrance aside, which starts off the canvas) and each play-once animation ends in
    // the resting pose that the blinking loop starts from.
    const auto rest = LottieAnimation::load(animationPath(files[3]));
    ASSERT_NE(rest, nullptr);
    const QImage resting = rest->render(0, QSize(128, 128));
    for (const AnimationFile& file : files) {
        if (QLatin1StringView(file.species) != "Cat"_L1)
            continue;
        SCOPED_TRACE(file.name);
        const auto animation = LottieAnimation::load(animationPath(file));
        ASSERT_NE(animation, nullptr);
        if (qstrcmp(file.name, "cat_entering") != 0) {
            EXPECT_LT(difference(animation->render(0, QSize(128, 128)), resting), 0.5);
        }
        if (!file.loops) {
            EXPECT_LT(difference(animation->render(animation->frameCount() - 1, QSize(128, 128)), resting), 0.5);
        }
    }
}
