#include "platform/NumberFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace NumberFormat {

QString shortestDouble(double value)
{
    if (std::isnan(value))
        return std::signbit(value) ? QStringLiteral("-nan") : QStringLiteral("nan");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");
    if (value == 0.0)
        return std::signbit(value) ? QStringLiteral("-0.0") : QStringLiteral("0.0");

    // Shortest round-trip digits in scientific form: "d.ddde±XX".
    std::array<char, 64> buffer {};
    const auto result
        = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value), std::chars_format::scientific);
    const std::string scientific(buffer.data(), result.ptr);
    const auto e = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(0, e)) {
        if (c != '.')
            digits += c;
    }
    // Value = 0.<digits> × 10^exponent from here on.
    const int exponent = std::stoi(scientific.substr(e + 1)) + 1;
    const int count = int(digits.size());

    std::string text = value < 0 ? "-" : "";
    if (exponent < -3 || std::fabs(value) > 0x1.0p53) {
        text += digits[0];
        if (count > 1)
            text += '.' + digits.substr(1);
        const int shown = exponent - 1;
        std::array<char, 16> exp {};
        std::snprintf(exp.data(), exp.size(), "e%c%02d", shown < 0 ? '-' : '+', std::abs(shown));
        text += exp.data();
    } else if (exponent <= 0) {
        text += "0." + std::string(std::size_t(-exponent), '0') + digits;
    } else if (exponent < count) {
        text += digits.substr(0, std::size_t(exponent)) + '.' + digits.substr(std::size_t(exponent));
    } else {
        text += digits + std::string(std::size_t(exponent - count), '0') + ".0";
    }
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

QString fixed(double value, int decimals)
{
    // to_chars, unlike printf, ignores the C locale, which Qt sets from the environment:
    // the text keeps its decimal point under every language.
    std::array<char, 400> buffer {}; // the largest double has 309 integral digits
    const auto result = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, std::clamp(decimals, 0, 20));
    return QString::fromLatin1(buffer.data(), qsizetype(result.ptr - buffer.data()));
}

} // namespace NumberFormat
