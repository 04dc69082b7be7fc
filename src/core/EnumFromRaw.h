#pragma once

#include <QStringView>

#include <array>
#include <cstddef>
#include <optional>

/// The member of a closed set whose rawValue() is exactly `raw` (case-sensitive), or none.
/// `all` lists the set's members; rawValue() is found next to the enum's declaration.
template<typename Enum, std::size_t N>
[[nodiscard]] std::optional<Enum> enumFromRaw(const std::array<Enum, N>& all, QStringView raw)
{
    for (const Enum value : all) {
        if (rawValue(value) == raw)
            return value;
    }
    return std::nullopt;
}
