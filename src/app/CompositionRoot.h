#pragma once

#include "platform/SharedInstance.h"

#include <functional>
#include <memory>
#include <vector>

class APIClient;
class AutoBehaviorManager;
class Defaults;
class DoNotDisturbManager;
class DragEventHandler;
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
/// server client, the account and the managers in start-up order, the menus last because
/// they reach every feature.
/// Destroy the root before the application object.
class CompositionRoot final
{
public:
    CompositionRoot();
    ~CompositionRoot();
    CompositionRoot(const CompositionRoot&) = delete;
    CompositionRoot& operator=(const CompositionRoot&) = delete;

    /// The managers, in start-up order; call once, after the application object exists.
    void createManagers();

    /// With a stored user: fetches the friend list and opens the message connection later.
    void startFriendsAtLaunch();

    /// What the start-up sequence and the lifecycle hooks drive; null before createManagers().
    struct Managers
    {
        AutoBehaviorManager* scheduler = nullptr;
        DoNotDisturbManager* doNotDisturb = nullptr;
        LottieAnimationManager* animations = nullptr;
        MenuBarCoordinator* statusMenu = nullptr;
        MultiPetManager* clones = nullptr;
        NotificationManager* notifications = nullptr;
        PetAppearanceManager* appearance = nullptr;
        PetContextMenu* petMenu = nullptr;
        ReminderManager* reminders = nullptr;
        SystemMonitor* systemMonitor = nullptr;
        ThemeManager* themes = nullptr;
        TimeManager* time = nullptr;
        UpdateManager* updates = nullptr;
        WhackAMoleGameManager* game = nullptr;
        WindowManager* windows = nullptr;
    };
    [[nodiscard]] const Managers& managers() const { return m_managers; }
    [[nodiscard]] Defaults& defaults() const { return *m_defaults; }
    [[nodiscard]] SystemNotifications& systemNotifications() const { return *m_systemNotifications; }

private:
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
    APIClient* m_apiClient = nullptr;
    UserManager* m_users = nullptr;
    FriendSession* m_friendSession = nullptr;
    Managers m_managers;

    /// Each entry frees one created object; run from the back.
    std::vector<std::function<void()>> m_teardown;
};
