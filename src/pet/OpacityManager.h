#pragma once

#include <QObject>
#include <QString>

class Defaults;
class PetWindowHost;

/// The pet window's resting transparency: applied at rest, lifted to fully opaque while the
/// pointer is over the pet, and suspended while a game dims the pet.
class OpacityManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OpacityManager)

public:
    static inline const QString defaultOpacityKey = QStringLiteral("PetDefaultOpacity");
    static constexpr int restFadeMs = 300;
    static constexpr int hoverFadeMs = 200;

    /// Takes in the stored setting, storing it back and applying it, as soon as there is a
    /// pet window: at once, or when the first one is shown (applyDefaultOpacity()).
    OpacityManager(Defaults& defaults, PetWindowHost& pet, QObject* parent = nullptr);

    /// 1.0 until the stored setting is taken in.
    [[nodiscard]] double defaultOpacity() const { return m_defaultOpacity; }
    /// Publishes, stores and applies the value, also when it is unchanged. Values are not
    /// bounded, except that a negative one or one that is not a number means fully opaque.
    void setDefaultOpacity(double opacity);
    [[nodiscard]] bool isMouseInside() const { return m_isMouseInside; }
    [[nodiscard]] bool isOpacityManagementPaused() const { return m_isOpacityManagementPaused; }

    void pauseOpacityManagement();
    void resumeOpacityManagement();
    void applyDefaultOpacity();
    void mouseEntered();
    void mouseExited();

Q_SIGNALS:
    void defaultOpacityChanged(double opacity);

private:
    void loadStoredOpacity();

    Defaults& m_defaults;
    PetWindowHost& m_pet;
    double m_defaultOpacity = 1.0;
    bool m_isMouseInside = false;
    bool m_isOpacityManagementPaused = false;
    bool m_loaded = false;
};
