#include "app/CompositionRoot.h"

#include "app/SpeechBubbleLook.h"
#include "core/EventCenter.h"
#include "driftbottle/ConversationManager.h"
#include "driftbottle/DriftBottleManager.h"
#include "driftbottle/DriftBottleWindowManager.h"
#include "friends/FriendListView.h"
#include "friends/FriendManager.h"
#include "friends/FriendMenuEntries.h"
#include "friends/FriendMessageBubbleWindowManager.h"
#include "friends/FriendMessageManager.h"
#include "friends/FriendSession.h"
#include "friends/MenuBarFriendActions.h"
#include "game/GamePreferencesView.h"
#include "game/WhackAMoleGameManager.h"
#include "menus/MenuBarAboutActions.h"
#include "menus/MenuBarCoordinator.h"
#include "menus/MenuBarSettingsActions.h"
#include "menus/PetContextMenu.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/DoNotDisturbManager.h"
#include "pet/DragEventHandler.h"
#include "pet/EmotionSystem.h"
#include "pet/InteractionHandler.h"
#include "pet/LottieAnimationManager.h"
#include "pet/MultiPetManager.h"
#include "pet/OpacityManager.h"
#include "pet/PetAppearanceManager.h"
#include "pet/PetState.h"
#include "pet/PetWindowAssembler.h"
#include "pet/SpeechBubbleWindowManager.h"
#include "pet/ThemeManager.h"
#include "pet/WindowManager.h"
#include "platform/Clock.h"
#include "platform/Defaults.h"
#include "platform/FloatingWindow.h"
#include "platform/LogManager.h"
#include "platform/LogWindowManager.h"
#include "platform/LoginItem.h"
#include "platform/LottieCache.h"
#include "platform/RandomSource.h"
#include "platform/Resources.h"
#include "platform/Screens.h"
#include "platform/SystemInfo.h"
#include "platform/SystemNotifications.h"
#include "platform/TimerSource.h"
#include "preferences/PreferencesWindowManager.h"
#include "preferences/UpdateManager.h"
#include "reminders/AlarmManager.h"
#include "reminders/AlarmWindowManager.h"
#include "reminders/MinuteTicker.h"
#include "reminders/ReminderManager.h"
#include "reminders/ReminderWindowManager.h"
#include "reminders/pages/ReminderAndAlarmPreferencesView.h"
#include "server/APIClient.h"
#include "server/UserManager.h"
#include "shell/LaunchManager.h"
#include "shell/NotificationManager.h"
#include "shell/SystemMonitor.h"
#include "shell/TimeManager.h"

#include <QDBusConnection>
#include <QMenu>

using namespace Qt::StringLiterals;

CompositionRoot::CompositionRoot()
{
    // The log comes first: loading the settings may already have something to say (a file
    // that did not parse and where it went, a write cut short by a crash).
    m_log = &makeShared<LogManager>(LogManager::defaultFolder());
    m_defaults = &make<Defaults>(Defaults::defaultFilePath());
    m_events = &makeShared<EventCenter>();
    m_screens = &make<Screens>();
    m_resources = &make<Resources>(Resources::locateRoot());
    m_lottieCache = &makeShared<LottieCache>();
    m_loginItem = &make<LoginItem>();
    m_systemNotifications = &make<SystemNotifications>(QDBusConnection::sessionBus());
    m_logWindow = &make<LogWindowManager>(*m_log);
}

CompositionRoot::~CompositionRoot()
{
    while (!m_teardown.empty()) {
        // Taken off first: a step may make something that must go right after it.
        std::function<void()> step = std::move(m_teardown.back());
        m_teardown.pop_back();
        step();
    }
}

void CompositionRoot::createManagers()
{
    Clock& clock = Clock::system();
    RandomSource& random = RandomSource::system();
    TimerSource& timers = TimerSource::system();

    // The server client comes into being at the first server call, or when the message
    // connection first needs its address. It asks the account for the signed-in user only
    // when it sends.
    m_apiClient.setFactory([this]() -> APIClient& {
        return makeFor(m_apiClient, APIClient::baseURLFromSettings(*m_defaults), [this] { return signedInUserId(); });
    });

    // Start-up order, first the pet's state, then the scheduler, which takes the window
    // manager and the mood it holds as it is made.
    PetState& petState = make<PetState>(*m_defaults, *m_screens, &clock);
    EmotionSystem& emotions = make<EmotionSystem>();
    InteractionHandler& interaction = make<InteractionHandler>(petState, *m_screens, &clock);
    WindowManager& windows = make<WindowManager>(petState, *m_screens, interaction);
    AutoBehaviorManager& scheduler
        = make<AutoBehaviorManager>(petState, windows, *m_screens, &clock, &random, &emotions);

    // Third the status menu, whose first build reads the account and so makes it.
    m_users = &make<UserManager>(*m_defaults, m_apiClient);
    MenuBarSettingsActions& settings
        = make<MenuBarSettingsActions>(*m_logWindow, [this] { m_preferences->showPreferencesWindow(); });
    MenuBarAboutActions& about = make<MenuBarAboutActions>(&clock);
    MenuBarCoordinator& statusMenu = make<MenuBarCoordinator>(*m_users, settings, about, *m_resources);

    // Launch at login, the day and load monitors, the reminders, notifications, theme,
    // pet type, speech bubbles, the reminder window.
    make<LaunchManager>(*m_loginItem);
    TimeManager& time = make<TimeManager>(&clock);
    SystemMonitor& systemMonitor = make<SystemMonitor>(&SystemInfo::system(), &random, &clock);
    MinuteTicker& ticker = make<MinuteTicker>(clock);
    ReminderManager& reminders = make<ReminderManager>(clock, *m_defaults, *m_systemNotifications, ticker);
    // The alarm manager comes up with the reminder manager, so that enabled alarms ring
    // whether or not their page was ever opened; both beat to one whole-minute ticker. The
    // first alarm that rings makes the card manager.
    m_alarmWindows.setFactory([this]() -> AlarmWindowManager& { return makeFor(m_alarmWindows, *m_screens); });
    AlarmManager& alarms = make<AlarmManager>(clock, *m_defaults, ticker, m_alarmWindows);
    NotificationManager& notifications = make<NotificationManager>(*m_systemNotifications, *m_defaults, &clock);
    ThemeManager& themes = make<ThemeManager>(*m_defaults);
    PetAppearanceManager& appearance = make<PetAppearanceManager>(*m_defaults);
    make<SpeechBubbleWindowManager>(windows, kitSpeechBubbleLook());
    make<ReminderWindowManager>(reminders);

    // The preferences edit what works on the pet window: do-not-disturb, dragging and
    // hover opacity, which the first pet window puts to use, come just before them.
    DoNotDisturbManager& doNotDisturb
        = make<DoNotDisturbManager>(*m_defaults, *m_screens, windows, petState, scheduler);
    DragEventHandler& dragging = make<DragEventHandler>(*m_screens, petState, doNotDisturb, &clock);
    OpacityManager& opacity = make<OpacityManager>(*m_defaults, windows);
    make<PetWindowAssembler>(windows, opacity, dragging, doNotDisturb, interaction);
    m_preferences = &make<PreferencesWindowManager>(PreferencesServices { petState, opacity, m_clones, doNotDisturb,
        appearance, windows, *m_screens, notifications, *m_users, m_apiClient, SystemInfo::system() });

    // Last the animations, the update check and the friends.
    LottieAnimationManager& animations = make<LottieAnimationManager>(appearance, *m_resources);
    // The update check keeps its own copy of the server's address; it makes no client.
    UpdateManager& updates = make<UpdateManager>(*m_defaults, clock, APIClient::baseURLFromSettings(*m_defaults));
    FriendManager& friends = make<FriendManager>(m_apiClient, *m_defaults, [this] { return signedInUserId(); });
    FriendMessageManager& friendMessages = make<FriendMessageManager>(m_apiClient, *m_users, timers);
    FriendMessageBubbleWindowManager& bubbles = make<FriendMessageBubbleWindowManager>(friendMessages,
        FriendMessageBubbleWindowManager::PetParts { windows, scheduler, doNotDisturb, petState }, *m_screens, clock);

    // What a manager made earlier takes from one made later.
    windows.setAnimationManager(animations);
    windows.setPetViewObservedObjects(scheduler, doNotDisturb, friends, *m_users);
    about.setNotificationManager(notifications);
    QObject::connect(
        &doNotDisturb, &DoNotDisturbManager::menuRebuildRequested, &statusMenu, &MenuBarCoordinator::rebuildMenu);
    QObject::connect(
        &about, &MenuBarAboutActions::updateCheckRequested, &updates, &UpdateManager::checkForUpdatesManually);
    // It must exist before any sign-in can happen: it fetches and connects after one.
    m_friendSession = &make<FriendSession>(friends, friendMessages, *m_users, timers);

    // Made at their first use: clones (the pet's menu or the appearance page), the game (the
    // pet's menu or its page), and the drift bottles (their window).
    m_clones.setFactory([this, &windows, &animations, &random]() -> MultiPetManager& {
        return makeFor(m_clones, *m_defaults, *m_screens, windows, animations, &random);
    });
    m_game.setFactory(
        [this, &animations, &opacity, &scheduler, &windows, &timers, &random]() -> WhackAMoleGameManager& {
            return makeFor(
                m_game, *m_defaults, *m_screens, *m_resources, animations, opacity, scheduler, windows, timers, random);
        });
    m_bottles.setFactory([this, &clock]() -> DriftBottleManager& {
        return makeFor(m_bottles, m_apiClient, *m_users, *m_defaults, clock);
    });
    m_conversations.setFactory([this, &timers]() -> ConversationManager& {
        return makeFor(m_conversations, m_apiClient, *m_users, m_bottles.get(), timers);
    });
    m_bottleWindows.setFactory([this, &clock]() -> DriftBottleWindowManager& {
        return makeFor(m_bottleWindows, *m_users, m_apiClient, m_conversations, clock);
    });

    // Pages of other features inside the preferences window.
    m_preferences->setPage(PreferenceTab::game, [this] { return new GamePreferencesView(m_game.get()); });
    m_preferences->setPage(PreferenceTab::reminder,
        [&alarms, &reminders] { return new ReminderAndAlarmPreferencesView(alarms, reminders); });
    m_preferences->setPage(PreferenceTab::friends,
        [&friends, &friendMessages, &timers] { return new FriendListView(friends, friendMessages, timers); });

    // The pet's right-click menu, with the friend entries that the message bubbles and the
    // friend-code window answer.
    MenuBarFriendActions& friendActions = make<MenuBarFriendActions>(friends, timers, bubbles);
    FriendMenuEntries& friendEntries = make<FriendMenuEntries>(
        *m_users, friends, bubbles, friendActions, [&doNotDisturb] { doNotDisturb.exitIfActiveDueToUserAction(); });
    PetContextMenu& petMenu = make<PetContextMenu>(doNotDisturb, animations, scheduler, m_clones);
    petMenu.setFriendsSection([&friendEntries](QMenu* menu) { friendEntries.addTo(menu); });
    petMenu.setDriftBottleAction([this] { m_bottleWindows->showDriftBottleWindow(); });
    QObject::connect(&petMenu, &PetContextMenu::gameRequested, &petMenu, [this] { m_game->startGame(); });
    QObject::connect(&petMenu, &PetContextMenu::reminderPageRequested, m_preferences,
        [this] { m_preferences->showPreferencesWindow(PreferenceTab::reminder); });
    // The pet view only announces a right click; the menu opens for every view the window
    // manager builds.
    QObject::connect(&windows, &WindowManager::petWindowCreated, &petMenu,
        [&petMenu, &windows] { petMenu.attach(windows.petView()); });
    petMenu.attach(windows.petView());

    m_managers = { .scheduler = &scheduler,
        .doNotDisturb = &doNotDisturb,
        .animations = &animations,
        .statusMenu = &statusMenu,
        .clones = m_clones,
        .notifications = &notifications,
        .appearance = &appearance,
        .petMenu = &petMenu,
        .reminders = &reminders,
        .systemMonitor = &systemMonitor,
        .themes = &themes,
        .time = &time,
        .updates = &updates,
        .game = m_game,
        .windows = &windows };
}

void CompositionRoot::startFriendsAtLaunch()
{
    if (m_friendSession)
        m_friendSession->startAtLaunch();
}

std::optional<qint64> CompositionRoot::signedInUserId() const
{
    const auto& user = m_users->currentUser();
    return user ? std::optional<qint64>(user->id) : std::nullopt;
}
