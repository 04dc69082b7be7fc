#include "support/TestEnvironment.h"

#include "core/EventCenter.h"
#include "platform/Alerts.h"
#include "platform/LogManager.h"
#include "platform/LottieCache.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QStyle>
#include <QTemporaryDir>
#include <QWidget>

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
    if (!m_looks && qobject_cast<QApplication*>(QCoreApplication::instance()))
        m_looks = Looks { QApplication::palette(), QApplication::font(), QApplication::style(),
            QApplication::style()->name() };
    m_services = std::make_unique<Services>();
    Alerts::setNextAnswers({});
    Alerts::clearAnsweredAlerts();
}

void TestEnvironment::OnTestEnd(const ::testing::TestInfo&)
{
    // Objects a test let go with deleteLater() go now, while what they reach still exists.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_services.reset();
    restoreApplication();
}

// A test that changes the application's looks for its case puts them back itself, but one
// that stops at a failed assertion does not, and some only set what they need. Whatever is
// left, the next test starts with the looks the first one had, as it would in a process
// of its own.
void TestEnvironment::restoreApplication()
{
    if (!m_looks)
        return;
    // Windows a test left open would take the next test's clicks and keyboard.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            window->hide();
    }
    // Only the pointer is compared: a style the test replaced has been deleted.
    if (QApplication::style() != m_looks->style) {
        QApplication::setStyle(m_looks->styleName);
        m_looks->style = QApplication::style();
    }
    if (QApplication::palette() != m_looks->palette) {
        // An empty palette hands the application back to the style's own.
        QApplication::setPalette(QPalette());
        if (QApplication::palette() != m_looks->palette)
            QApplication::setPalette(m_looks->palette);
    }
    if (QApplication::font() != m_looks->font)
        QApplication::setFont(m_looks->font);
}
