#include "platform/FloatingWindow.h"
#include "platform/LottieCache.h"
#include "platform/LottieFrames.h"
#include "platform/LottiePlayer.h"
#include "platform/Screens.h"

#include "../LottieTestFiles.h"
#include "support/FakeTimers.h"
#include "support/Wait.h"

#include <QApplication>
#include <QEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct FreeDeleter
{
    void operator()(void* p) const { std::free(p); }
};

xcb_connection_t* connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

int depthOf(WId window)
{
    const auto cookie = xcb_get_geometry(connection(), static_cast<xcb_window_t>(window));
    std::unique_ptr<xcb_get_geometry_reply_t, FreeDeleter> reply(xcb_get_geometry_reply(connection(), cookie, nullptr));
    return reply ? reply->depth : 0;
}

// What the X server holds for the window's top-left 128 × 128 pixels.
QImage windowContent(WId window)
{
    const auto cookie = xcb_get_image(
        connection(), XCB_IMAGE_FORMAT_Z_PIXMAP, static_cast<xcb_window_t>(window), 0, 0, 128, 128, ~0u);
    std::unique_ptr<xcb_get_image_reply_t, FreeDeleter> reply(xcb_get_image_reply(connection(), cookie, nullptr));
    if (!reply || xcb_get_image_data_length(reply.get()) != 128 * 128 * 4)
        return {};
    QImage image(128, 128, QImage::Format_ARGB32_Premultiplied);
    std::memcpy(image.bits(), xcb_get_image_data(reply.get()), 128 * 128 * 4);
    return image;
}

class EventCounter final : public QObject
{
public:
    explicit EventCounter(QEvent::Type type)
        : m_type(type)
    {
    }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == m_type)
            ++count;
        return false;
    }

private:
    QEvent::Type m_type;
};

struct PetLikeWindow
{
    explicit PetLikeWindow(Screens& screens, const QString& path, double x)
        : window(FloatingWindow::Focus::Refuse, screens)
    {
        window.setModelFrame(QRectF(x, 300, 128, 128));
        player = new LottiePlayer(&window);
        player->setGeometry(0, 0, 128, 128);
        player->setAnimation(path);
        player->setLoopMode(true);
        player->installEventFilter(&paints);
        window.show();
        player->play();
    }

    // Shown, with the paints that showing it brings behind it.
    [[nodiscard]] bool settled()
    {
        if (!waitUntil([&] { return window.windowHandle() && window.windowHandle()->isExposed() && paints.count > 0; }))
            return false;
        QTest::qWait(100);
        paints.count = 0;
        return true;
    }

    EventCounter paints { QEvent::Paint };
    FloatingWindow window;
    LottiePlayer* player;
};

} // namespace

TEST(LottiePlayerX11, PlayingFramesAreCopiedNotRepaintedAndSurviveAnExpose)
{
    ASSERT_NE(connection(), nullptr) << "these tests need the xcb platform";
    QTemporaryDir dir;
    const QString path = lottietest::write(dir.filePath(u"moving.json"_s), lottietest::document(10, 30));
    // The test steps the playback itself.
    FakeTimers timers;
    LottieCache cache(timers);
    const ScopedSharedInstance<LottieCache> useCache(cache);
    Screens screens;
    PetLikeWindow pet(screens, path, 100);
    ASSERT_TRUE(pet.settled());
    ASSERT_EQ(depthOf(pet.window.winId()), 32) << "a translucent window needs an alpha channel";
    for (int i = 0; i < 13; ++i) {
        pet.player->advance();
        QApplication::processEvents();
    }
    EXPECT_EQ(pet.paints.count, 0) << "a playing frame must not go through a widget repaint";
    EXPECT_EQ(pet.player->presentedOnX11Count(), 13);

    const auto frames = LottieCache::shared().frames(pet.player->animation(), QSize(128, 128), 1.0);
    const QImage expected = frames->frame(pet.player->currentFrame());
    EXPECT_EQ(windowContent(pet.window.winId()), expected) << "the window shows the current frame";

    // An expose makes Qt put back the frame it painted itself; the current one must win.
    EventCounter exposes(QEvent::Expose);
    pet.window.windowHandle()->installEventFilter(&exposes);
    xcb_clear_area(connection(), 1, static_cast<xcb_window_t>(pet.window.winId()), 0, 0, 0, 0);
    xcb_flush(connection());
    ASSERT_TRUE(waitUntil([&] { return exposes.count > 0; }, 2000));
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_EQ(windowContent(pet.window.winId()), expected);

    // A second window with the same animation shows the same frames without drawing them again.
    const int rendered = frames->renderCount();
    PetLikeWindow clone(screens, path, 400);
    ASSERT_TRUE(clone.settled());
    for (int i = 0; i < 10; ++i) {
        clone.player->advance();
        QApplication::processEvents();
    }
    EXPECT_EQ(frames->renderCount(), rendered);
    EXPECT_EQ(windowContent(clone.window.winId()), frames->frame(clone.player->currentFrame()));
}
