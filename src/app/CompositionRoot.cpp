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
#include "menus/MenuBarFeatureActions.h"
#include "menus/MenuBarInteractionActions.h"
#include "menus/MenuBarSettingsActions.h"
#include "menus/MenuBarToggleActions.h"
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
        m_teardown.back()();
        m_teardown.pop_back();
    }
}

void CompositionRoot::createManagers()
{
    Clock& clock = Clock::system();
    RandomSource& random = RandomSource::system();

    // The server client and the account, which the features and the status-bar menu use.
    // The client asks the account for the signed-in user only when it sends.
    m_apiClient = &make<APIClient>(APIClient::baseURLFromSettings(*m_defaults), [this]() -> std::optional<qint64> {
        if (!m_users)
            return std::nullopt;
        const auto& user = m_users->currentUser();
        return user ? std::optional<qint64>(user->id) : std::nullopt;
    });
    m_users = &make<UserManager>(*m_defaults, *m_apiClient);

    // The pet's state and mood come first: everything on screen reads them. The window
    // manager, whose pet view plays the animations and answers clicks, comes before the
    // scheduler, which moves the window.
    PetState& petState = make<PetState>(*m_defaults, *m_screens, &clock);
    EmotionSystem& emotions = make<EmotionSystem>();
    PetAppearanceManager& appearance = make<PetAppearanceManager>(*m_defaults);
    LottieAnimationManager& animations = make<LottieAnimationManager>(appearance, *m_resources);
    InteractionHandler& interaction = make<InteractionHandler>(petState, *m_screens, &clock);
    WindowManager& windows = make<WindowManager>(petState, *m_screens, animations, interaction);
    AutoBehaviorManager& scheduler
        = make<AutoBehaviorManager>(petState, windows, *m_screens, &clock, &random, &emotions);
    LaunchManager& launch = make<LaunchManager>(*m_loginItem);
    TimeManager& time = make<TimeManager>(&clock);
    SystemMonitor& systemMonitor = make<SystemMonitor>(&SystemInfo::system(), &random, &clock);
    // The alarm manager comes up with the reminder manager, so that enabled alarms ring
    // whether or not their page was ever opened; both beat to one whole-minute ticker.
    MinuteTicker& ticker = make<MinuteTicker>(clock);
    ReminderManager& reminders = make<ReminderManager>(clock, *m_defaults, *m_systemNotifications, ticker);
    AlarmWindowManager& alarmWindows = make<AlarmWindowManager>(*m_screens);
    AlarmManager& alarms = make<AlarmManager>(clock, *m_defaults, ticker, alarmWindows);
    NotificationManager& notifications = make<NotificationManager>(*m_systemNotifications, *m_defaults, &clock);
    ThemeManager& themes = make<ThemeManager>(*m_defaults);
    make<SpeechBubbleWindowManager>(windows, kitSpeechBubbleLook());
    make<ReminderWindowManager>(reminders);
    UpdateManager& updates = make<UpdateManager>(*m_defaults, clock, m_apiClient->baseURL());
    TimerSource& timers = TimerSource::system();
    FriendManager& friends = make<FriendManager>(*m_apiClient, *m_defaults);
    FriendMessageManager& friendMessages = make<FriendMessageManager>(*m_apiClient, *m_users, timers);
    // It must exist before any sign-in can happen: it fetches and connects after one.
    m_friendSession = &make<FriendSession>(friends, friendMessages, *m_users, timers);

    // The pet on screen: do-not-disturb, dragging, hover opacity and clones, and what joins
    // them to each pet window.
    DoNotDisturbManager& doNotDisturb
        = make<DoNotDisturbManager>(*m_defaults, *m_screens, windows, petState, scheduler);
    DragEventHandler& dragging = make<DragEventHandler>(*m_screens, petState, doNotDisturb, &clock);
    OpacityManager& opacity = make<OpacityManager>(*m_defaults, windows);
    MultiPetManager& clones = make<MultiPetManager>(*m_defaults, *m_screens, windows, animations, &random);
    make<PetWindowAssembler>(windows, scheduler, opacity, dragging, doNotDisturb, interaction);

    // The game dims and pauses the pet while it runs; its page sits in the preferences.
    WhackAMoleGameManager& game = make<WhackAMoleGameManager>(
        *m_defaults, *m_screens, *m_resources, animations, opacity, scheduler, windows, timers, random);

    // The preferences window edits what the pet on screen uses, so it comes after it.
    PreferencesWindowManager& preferences
        = make<PreferencesWindowManager>(PreferencesServices { petState, opacity, clones, doNotDisturb, appearance,
            windows, *m_screens, notifications, *m_users, *m_apiClient, SystemInfo::system() });
    preferences.setPage(PreferenceTab::game, [&game] { return new GamePreferencesView(game); });

    // What the user sees of friends: message bubbles beside the pet, the friend-code window,
    // the pet menu's friend entries and the preferences' friends tab.
    FriendMessageBubbleWindowManager& bubbles = make<FriendMessageBubbleWindowManager>(friendMessages,
        FriendMessageBubbleWindowManager::PetParts { windows, scheduler, doNotDisturb, petState }, *m_screens, clock);
    MenuBarFriendActions& friendActions = make<MenuBarFriendActions>(friends, timers, bubbles);
    FriendMenuEntries& friendEntries = make<FriendMenuEntries>(
        *m_users, friends, bubbles, friendActions, [&doNotDisturb] { doNotDisturb.exitIfActiveDueToUserAction(); });
    preferences.setPage(PreferenceTab::reminder,
        [&alarms, &reminders] { return new ReminderAndAlarmPreferencesView(alarms, reminders); });
    preferences.setPage(PreferenceTab::friends,
        [&friends, &friendMessages, &timers] { return new FriendListView(friends, friendMessages, timers); });

    // Drift bottles.
    DriftBottleManager& bottles = make<DriftBottleManager>(*m_apiClient, *m_users, *m_defaults, clock);
    ConversationManager& conversations = make<ConversationManager>(*m_apiClient, *m_users, bottles, timers);
    // Freed before the conversations: closing its window stops their refresh.
    DriftBottleWindowManager& bottleWindows
        = make<DriftBottleWindowManager>(*m_users, *m_apiClient, conversations, clock);

    // Further feature managers go here, in the order the start-up sequence names them.

    // The menus reach every feature, so they come last.
    MenuBarAboutActions& about = make<MenuBarAboutActions>(notifications, &clock);
    MenuBarSettingsActions& settings
        = make<MenuBarSettingsActions>(*m_logWindow, [&preferences] { preferences.showPreferencesWindow(); });
    MenuBarCoordinator& statusMenu = make<MenuBarCoordinator>(*m_users, doNotDisturb, settings, about, *m_resources);
    // Action targets that no menu item carries yet.
    make<MenuBarDriftBottleActions>([&bottleWindows] { bottleWindows.showDriftBottleWindow(); });
    make<MenuBarGameActions>([&game] { game.startGame(); });
    make<MenuBarInteractionActions>(animations, scheduler, doNotDisturb);
    make<MenuBarToggleActions>(scheduler, launch, doNotDisturb, statusMenu);
    PetContextMenu& petMenu = make<PetContextMenu>(doNotDisturb, animations, scheduler, clones);
    petMenu.setFriendsSection([&friendEntries](QMenu* menu) { friendEntries.addTo(menu); });
    petMenu.setDriftBottleAction([&bottleWindows] { bottleWindows.showDriftBottleWindow(); });
    QObject::connect(&petMenu, &PetContextMenu::gameRequested, &game, &WhackAMoleGameManager::startGame);
    QObject::connect(&petMenu, &PetContextMenu::reminderPageRequested, &preferences,
        [&preferences] { preferences.showPreferencesWindow(PreferenceTab::reminder); });
    QObject::connect(
        &about, &MenuBarAboutActions::updateCheckRequested, &updates, &UpdateManager::checkForUpdatesManually);
    // The pet view only announces a right click; the menu opens for every view the window
    // manager builds.
    QObject::connect(&windows, &WindowManager::petWindowCreated, &petMenu,
        [&petMenu, &windows] { petMenu.attach(windows.petView()); });
    petMenu.attach(windows.petView());

    m_managers = { &scheduler, &doNotDisturb, &animations, &statusMenu, &clones, &notifications, &appearance, &petMenu,
        &reminders, &systemMonitor, &themes, &time, &updates, &game, &windows };
}

void CompositionRoot::startFriendsAtLaunch()
{
    if (m_friendSession)
        m_friendSession->startAtLaunch();
}
