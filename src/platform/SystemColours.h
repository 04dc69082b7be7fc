#pragma once

#include <QColor>

/// The desktop's standard named colours, the same wherever a screen or a palette names one
/// ("red", "blue"...), in their light-appearance values.
namespace SystemColours {

inline QColor red()
{
    return { 0xff, 0x3b, 0x30 };
}
inline QColor orange()
{
    return { 0xff, 0x95, 0x00 };
}
inline QColor yellow()
{
    return { 0xff, 0xcc, 0x00 };
}
inline QColor green()
{
    return { 0x34, 0xc7, 0x59 };
}
inline QColor blue()
{
    return { 0x00, 0x7a, 0xff };
}
inline QColor purple()
{
    return { 0xaf, 0x52, 0xde };
}
inline QColor pink()
{
    return { 0xff, 0x2d, 0x55 };
}
inline QColor cyan()
{
    return { 0x32, 0xad, 0xe6 };
}
inline QColor gray()
{
    return { 0x8e, 0x8e, 0x93 };
}

} // namespace SystemColours
