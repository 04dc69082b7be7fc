#pragma once

#include <QMetaType>
#include <QString>

#include <array>
#include <optional>

/// What the pet's animation shows; the animation lookup takes one.
enum class PetBehavior { idle, moving, interacting, resting, thinking, special, entering, exploring };

inline constexpr std::array<PetBehavior, 8> allPetBehaviors { PetBehavior::idle, PetBehavior::moving,
    PetBehavior::interacting, PetBehavior::resting, PetBehavior::thinking, PetBehavior::special, PetBehavior::entering,
    PetBehavior::exploring };

[[nodiscard]] QString rawValue(PetBehavior behavior);
[[nodiscard]] QString displayName(PetBehavior behavior);
/// Exact, case-sensitive match of a raw value; anything else yields no value.
[[nodiscard]] std::optional<PetBehavior> petBehaviorFromRaw(const QString& raw);

Q_DECLARE_METATYPE(PetBehavior)
