#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class Defaults;
class FloatingWindow;
class LottieAnimationManager;
class PetWindowHost;
class RandomSource;
class Screens;

/// The clone effect: ten click-through copies of the pet at random places on the main
/// screen, each playing a random animation. They fade in, stay `cloneDismissTime` seconds
/// and fade out; the real pet carries on and stays in front of them.
class MultiPetManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MultiPetManager)

public:
    static inline const QString cloneDismissTimeKey = QStringLiteral("CloneDismissTime");
    static constexpr double defaultCloneDismissTime = 3.0;
    static constexpr int cloneCount = 10;
    static constexpr int cloneSize = 128;
    static constexpr int fadeInMs = 300;
    static constexpr int fadeOutMs = 500;
    /// A hidden clone is closed this long after its fade-out.
    static constexpr int closeDelayMs = 500;
    /// The pet is brought to the front again this long after the clones start to go.
    static constexpr int petRaiseDelayMs = 600;

    MultiPetManager(Defaults& defaults, Screens& screens, PetWindowHost& pet, LottieAnimationManager& animations,
        RandomSource* random = nullptr, QObject* parent = nullptr);
    /// Removes any clones still shown.
    ~MultiPetManager() override;

    [[nodiscard]] double cloneDismissTime() const { return m_cloneDismissTime; }
    /// Stores the time at once; it applies from the next effect. A value that is not a
    /// positive number means the default 3 s.
    void setCloneDismissTime(double seconds);

    /// Replaces any clones shown by ten new ones and starts the removal timer.
    void performTransformation();
    /// What the removal timer does when it fires.
    void dismissTimerFired();

    [[nodiscard]] QList<FloatingWindow*> clonedWindows() const;
    [[nodiscard]] const QTimer& dismissTimer() const { return m_dismissTimer; }

    /// A timer interval for a number of seconds: never negative, never past what a timer holds.
    [[nodiscard]] static int timerIntervalMs(double seconds);

Q_SIGNALS:
    void cloneDismissTimeChanged(double seconds);

private:
    void dismissAllClones();

    Defaults& m_defaults;
    Screens& m_screens;
    PetWindowHost& m_pet;
    LottieAnimationManager& m_animations;
    RandomSource& m_random;

    QList<QPointer<FloatingWindow>> m_clonedWindows;
    QTimer m_dismissTimer;
    double m_cloneDismissTime = defaultCloneDismissTime;
};
