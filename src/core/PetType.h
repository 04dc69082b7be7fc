#pragma once

#include <QMetaType>
#include <QString>

#include <array>
#include <optional>

/// The pet species. Only the cat has a full animation set; the others have one idle animation.
enum class PetType { cat, dog, rabbit, robot, alien, plant };

inline constexpr std::array<PetType, 6> allPetTypes { PetType::cat, PetType::dog, PetType::rabbit, PetType::robot,
    PetType::alien, PetType::plant };

/// The stored form: "cat", "dog", ...
[[nodiscard]] QString rawValue(PetType type);
/// The Chinese name the preferences and the change messages show.
[[nodiscard]] QString displayName(PetType type);
[[nodiscard]] QString emoji(PetType type);
/// Exact, case-sensitive match of a raw value; anything else yields no value.
[[nodiscard]] std::optional<PetType> petTypeFromRaw(const QString& raw);

Q_DECLARE_METATYPE(PetType)
