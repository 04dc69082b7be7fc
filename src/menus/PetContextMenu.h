#pragma once

#include "core/PetBehavior.h"
#include "pet/AutoBehavior.h"
#include "platform/Lazy.h"

#include <QObject>
#include <QPoint>

#include <functional>

class AutoBehaviorManager;
class DoNotDisturbManager;
class LottieAnimationManager;
class LottiePetView;
class MultiPetManager;
class QMenu;
class QWidget;
class WindowManager;

/// The pet's right-click menu, the main entrance to the program's features. It is built
/// afresh each time it opens, so it always shows the current state (do-not-disturb's
/// switch offers the opposite of what is on).
class PetContextMenu final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PetContextMenu)

public:
    /// One row of the "🐾 互动" submenu: its label, the animation it plays and the behaviour
    /// the scheduler then runs.
    struct BehaviorItem
    {
        const char16_t* title;
        PetBehavior animation;
        AutoBehavior behavior;
    };
    static const BehaviorItem behaviorItems[8];

    PetContextMenu(DoNotDisturbManager& doNotDisturb, LottieAnimationManager& animations,
        AutoBehaviorManager& scheduler, Lazy<MultiPetManager> clones, QObject* parent = nullptr);

    /// A new menu built from the current state; the caller owns it.
    [[nodiscard]] QMenu* createAnimationContextMenu(QWidget* parent = nullptr);
    /// Opens a new menu at a global position; it deletes itself when closed.
    void popup(QPoint globalPos);
    /// Opens the menu wherever `view` is right-clicked.
    void attach(LottiePetView* view);
    /// What "🍾 漂流瓶" opens; the drift-bottle feature sits above the pet and hands it in.
    void setDriftBottleAction(std::function<void()> action) { m_openDriftBottles = std::move(action); }

    /// Adds the friends' entries (a library above this one owns them) after the first
    /// separator each time the menu is built.
    using Section = std::function<void(QMenu*)>;
    void setFriendsSection(Section section) { m_friendsSection = std::move(section); }

Q_SIGNALS:
    /// The user chose "⏰ 提醒/闹钟": the preferences open on their reminders tab.
    void reminderPageRequested();
    /// The user chose "🔨 打猫猫": a whack-a-mole game starts (or starts over).
    void gameRequested();

private:
    void runBehavior(const BehaviorItem& item);
    void performTransformation();
    void openDriftBottles();
    void toggleDoNotDisturb();

    DoNotDisturbManager& m_doNotDisturb;
    LottieAnimationManager& m_animations;
    AutoBehaviorManager& m_scheduler;
    Lazy<MultiPetManager> m_clones;
    std::function<void()> m_openDriftBottles;
    Section m_friendsSection;
};
