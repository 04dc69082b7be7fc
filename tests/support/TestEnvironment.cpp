#include "support/TestEnvironment.h"

#include "core/EventCenter.h"
#include "platform/Alerts.h"
#include "platform/LogManager.h"
#include "platform/LottieCache.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <optional>

struct TestEnvironment::Services
{
    QTemporaryDir dir;
    LogManager log { dir.filePath(QStringLiteral("logs")) };
    EventCenter events;
    LottieCache lottieCache;

    ScopedSharedInstance<LogManager> installLog { log };
    ScopedSharedInstance<EventCenter> installEvents { events };
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
