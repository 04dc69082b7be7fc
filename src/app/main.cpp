#include "app/AppDelegate.h"
#include "app/CompositionRoot.h"
#include "app/DesktopPetApp.h"
#include "platform/ApplicationQuit.h"
#include "platform/Defaults.h"
#include "platform/EmojiStyle.h"
#include "platform/LogManager.h"
#include "platform/MemoryRelease.h"
#include "platform/ModalWindowsOnTop.h"
#include "platform/PlatformSelection.h"
#include "platform/SingleInstance.h"
#include "platform/StandardOutput.h"
#include "platform/UnixSignals.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <csignal>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    MemoryRelease::configureAllocator();
    PlatformSelection::choosePlatformBeforeApplication();
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Tamsel"_s);
    QApplication::setApplicationVersion(QStringLiteral(TAMSEL_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    EmojiStyle::installOnApplication();

    // A second launch hands the running pet a reopen and ends here.
    SingleInstance instance;
    if (!instance.tryBecomePrimary()) {
        // Without a word the user cannot tell a launch that did nothing from one that worked.
        StandardOutput::printLine(u"ℹ️ Tamsel 已在运行，已请它显示出来"_s);
        return 0;
    }

    // The pet floats above ordinary windows; our alerts and sheets must not open under it.
    ModalWindowsOnTop modalsOnTop;

    // Every manager lives in the root; it frees them in reverse order before `app` goes.
    CompositionRoot root;
    DesktopPetApp petApp(root);
    AppDelegate* delegate = petApp.appDelegate();

    QObject::connect(&app, &QGuiApplication::applicationStateChanged, delegate, [delegate](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive)
            delegate->applicationDidBecomeActive();
    });
    QObject::connect(&app, &QGuiApplication::lastWindowClosed, delegate,
        [delegate] { delegate->applicationShouldTerminateAfterLastWindowClosed(); });
    QObject::connect(&instance, &SingleInstance::reopenRequested, delegate, [delegate] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        delegate->applicationShouldHandleReopen(
            std::any_of(windows.cbegin(), windows.cend(), [](const QWidget* w) { return w->isVisible(); }));
    });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, delegate, [delegate, &root] {
        delegate->applicationWillTerminate();
        // Settings first, so that a failure to store them is logged before the log's last write.
        root.defaults().flush();
        // The last lines of a run, the quit line among them, belong in the file too.
        LogManager::shared().flushAndWait();
    });

    // Ctrl+C and a service manager's stop end the program the way the quit item does.
    UnixSignals signalWatcher;
    QObject::connect(&signalWatcher, &UnixSignals::quitRequested, &app, [](int signalNumber) {
        const QString name = signalNumber == SIGINT ? u"SIGINT"_s : u"SIGTERM"_s;
        LogManager::log(u"🛑 收到 "_s + name + u"，退出应用"_s, u"App"_s);
        ApplicationQuit::quitNow();
    });

    return QApplication::exec();
}
