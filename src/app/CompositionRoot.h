#pragma once

#include "platform/Lazy.h"
#include "platform/SharedInstance.h"

#include <functional>
#include <memory>
#include <vector>

class APIClient;
class AlarmWindowManager;
class AutoBehaviorManager;
class ConversationManager;
class Defaults;
class DoNotDisturbManager;
class DragEventHandler;
class DriftBottleManager;
class DriftBottleWindowManager;
class EmotionSystem;
class EventCenter;
class FriendSession;
class InteractionHandler;
class LaunchManager;
class LogManager;
class LogWindowManager;
class LoginItem;
class LottieAnimationManager;
class LottieCache;
class MenuBarAboutActions;
class MenuBarCoordinator;
class MultiPetManager;
class NotificationManager;
class OpacityManager;
class PetAppearanceManager;
class PetContextMenu;
class PetState;
class PreferencesWindowManager;
class ReminderManager;
class Resources;
class Screens;
class SpeechBubbleWindowManager;
class SystemMonitor;
class SystemNotifications;
class ThemeManager;
class TimeManager;
class UpdateManager;
class UserManager;
class WhackAMoleGameManager;
class WindowManager;

/// Creates every manager of the program, hands each its collaborators by reference, and
/// frees them all in reverse order. Only the process-wide services (the log, the event
/// centre, the animation cache) are also installed as shared instances.
///
/// The constructor brings up the platform services everything else stands on (settings,
/// the log, events, screens, resources, notifications); createManagers() then makes the
/// managers that start-up makes, in start-up order, and wires to each what a later one
/// supplies. What only a user's action needs (the server client, clones, the game, drift
/// bottles, alarm cards) sits in a holder that makes it at its first use; it is freed in
/// reverse order of making like everything else.
/// Destroy the root before the application object.
class CompositionRoot final
{
public:
    CompositionRoot();
    ~CompositionRoot();
    CompositionRoot(const CompositionRoot&) = delete;
    CompositionRoot& operator=(const CompositionRoot&) = delete;

    /// The managers that start-up makes, in start-up order; call once, after the application
    /// object exists.
    void createManagers();

    /// With a stored user: fetches the friend list and opens the message connection later.
    void startFriendsAtLaunch();

    /// What the start-up sequence, the lifecycle hooks and the benchmarks drive; null before
    /// createManagers().
    struct Managers
    {
        AutoBehaviorManager* scheduler = nullptr;
        DoNotDisturbManager* doNotDisturb = nullptr;
        LottieAnimationManager* animations = nullptr;
        MenuBarCoordinator* statusMenu = nullptr;
        Lazy<MultiPetManager> clones;
        NotificationManager* notifications = nullptr;
        PetAppearanceManager* appearance = nullptr;
        PetContextMenu* petMenu = nullptr;
        ReminderManager* reminders = nullptr;
        SystemMonitor* systemMonitor = nullptr;
        ThemeManager* themes = nullptr;
        TimeManager* time = nullptr;
        UpdateManager* updates = nullptr;
        Lazy<WhackAMoleGameManager> game;
        WindowManager* windows = nullptr;
    };
    [[nodiscard]] const Managers& managers() const { return m_managers; }
    [[nodiscard]] Defaults& defaults() const { return *m_defaults; }
    [[nodiscard]] SystemNotifications& systemNotifications() const { return *m_systemNotifications; }
    /// Whatever a holder has made so far, null for what nobody has asked for yet.
    [[nodiscard]] APIClient* apiClientIfMade() const { return m_apiClient.ifMade(); }

private:
    /// The signed-in user's id, asked of the account; the server client and the friend list
    /// ask it without making anything.
    [[nodiscard]] std::optional<qint64> signedInUserId() const;

    /// Creates a process-wide T, installs it as T::shared() and remembers to uninstall and free it.
    template<typename T, typename... Args>
    T& makeShared(Args&&... args)
    {
        auto owned = std::make_shared<T>(std::forward<Args>(args)...);
        T& made = *owned;
        SharedInstance<T>::installShared(&made);
        m_teardown.push_back([owned]() mutable {
            if (SharedInstance<T>::sharedOrNull() == owned.get())
                SharedInstance<T>::installShared(nullptr);
            owned.reset();
        });
        return made;
    }

    /// Creates a T and frees it in its turn.
    template<typename T, typename... Args>
    T& make(Args&&... args)
    {
        auto owned = std::make_shared<T>(std::forward<Args>(args)...);
        T& made = *owned;
        m_teardown.push_back([owned]() mutable { owned.reset(); });
        return made;
    }

    /// Creates the T that @p holder hands out, from its factory; once it is freed, the
    /// holder refuses to hand it out again.
    template<typename T, typename... Args>
    T& makeFor(const Lazy<T>& holder, Args&&... args)
    {
        T& made = make<T>(std::forward<Args>(args)...);
        m_teardown.push_back([holder] { holder.forget(); });
        return made;
    }

    // Services, from the constructor.
    Defaults* m_defaults = nullptr;
    LogManager* m_log = nullptr;
    LogWindowManager* m_logWindow = nullptr;
    EventCenter* m_events = nullptr;
    Screens* m_screens = nullptr;
    Resources* m_resources = nullptr;
    LottieCache* m_lottieCache = nullptr;
    LoginItem* m_loginItem = nullptr;
    SystemNotifications* m_systemNotifications = nullptr;
    UserManager* m_users = nullptr;
    PreferencesWindowManager* m_preferences = nullptr;
    FriendSession* m_friendSession = nullptr;
    Managers m_managers;

    // Made at their first use.
    Lazy<APIClient> m_apiClient;
    Lazy<MultiPetManager> m_clones;
    Lazy<WhackAMoleGameManager> m_game;
    Lazy<DriftBottleManager> m_bottles;
    Lazy<ConversationManager> m_conversations;
    Lazy<DriftBottleWindowManager> m_bottleWindows;
    Lazy<AlarmWindowManager> m_alarmWindows;

    /// Each entry frees one created object; run from the back.
    std::vector<std::function<void()>> m_teardown;
};
