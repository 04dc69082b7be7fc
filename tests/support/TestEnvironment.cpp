#include "support/TestEnvironment.h"

#include "core/EventCenter.h"
#include "platform/Alerts.h"
#include "platform/Defaults.h"
#include "platform/LogManager.h"
#include "platform/LottieCache.h"
#include "platform/Resources.h"
#include "platform/Screens.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <optional>

struct TestEnvironment::Services
{
    QTemporaryDir dir;
    Defaults defaults { dir.filePath(QStringLiteral("defaults.json")) };
    LogManager log { dir.filePath(QStringLiteral("logs")) };
    EventCenter events;
    Screens screens;
    Resources resources { Resources::locateRoot() };
    LottieCache lottieCache;

    ScopedSharedInstance<Defaults> installDefaults { defaults };
    ScopedSharedInstance<LogManager> installLog { log };
    ScopedSharedInstance<EventCenter> installEvents { events };
    ScopedSharedInstance<Screens> installScreens { screens };
    ScopedSharedInstance<Resources> installResources { resources };
    ScopedSharedInstance<LottieCache> installLottieCache { lottieCache };
};

TestEnvironment::TestEnvironment() = default;
TestEnvironment::~TestEnvironment() = default;

void TestEnvironment::OnTestStart(const ::testing::TestInfo&)
{
    m_services = std::make_unique<Services>();
    Alerts::setNextAnswers({});
    Alerts::clearAnsweredAlerts();
}

void TestEnvironment::OnTestEnd(const ::testing::TestInfo&)
{
    // Objects a test let go with deleteLater() go now, while what they reach still exists.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_services.reset();
}
