#include "pet/InteractionHandler.h"
#include "pet/PetState.h"
#include "pet/ThemeManager.h"
#include "platform/Defaults.h"
#include "platform/Screens.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

// A published value announces each new value once; setting the value it already holds says nothing.
TEST(PublishedValues, AnnounceEachNewValueOnce)
{
    QTemporaryDir dir;
    Defaults defaults(dir.filePath(u"defaults.json"_s));
    Screens screens(QList<ScreenGeometry> { { QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 900) } });
    PetState petState(defaults, screens);
    InteractionHandler clicks(petState, screens);
    ThemeManager themes(defaults, [] { return false; });

    struct Row
    {
        const char* what;
        std::function<std::unique_ptr<QSignalSpy>()> watch;
        std::function<void()> change;
        QVariant announced;
    };
    const QList<Row> rows {
        { "a drag step's offset",
            [&] { return std::make_unique<QSignalSpy>(&clicks, &InteractionHandler::dragOffsetChanged); },
            [&] { clicks.updateDrag(QSizeF(30, 40)); }, QSizeF(30, 40) },
        { "the offset cleared as the drag ends",
            [&] { return std::make_unique<QSignalSpy>(&clicks, &InteractionHandler::dragOffsetChanged); },
            [&] { clicks.endDrag(QSizeF(30, 40)); }, QSizeF() },
        { "theme monitoring stopped",
            [&] { return std::make_unique<QSignalSpy>(&themes, &ThemeManager::isThemeMonitoringActiveChanged); },
            [&] { themes.stopThemeMonitoring(); }, false },
        { "theme monitoring started again",
            [&] { return std::make_unique<QSignalSpy>(&themes, &ThemeManager::isThemeMonitoringActiveChanged); },
            [&] { themes.startThemeMonitoring(); }, true },
    };
    for (const Row& row : rows) {
        const auto spy = row.watch();
        row.change();
        ASSERT_EQ(spy->count(), 1) << row.what;
        EXPECT_EQ(spy->at(0).at(0), row.announced) << row.what;
        row.change();
        EXPECT_EQ(spy->count(), 1) << row.what << ", a second time";
    }
    EXPECT_FALSE(clicks.isDragging());
}
