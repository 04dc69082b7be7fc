#pragma once

#include "platform/SystemColours.h"

#include <QColor>
#include <QList>
#include <QMetaType>
#include <QString>

/// What one row of the alarm or reminder list shows: a switch, the type's emoji, the title,
/// a one-line message, a line of coloured details, an edit button and, where allowed, a
/// delete button. Built from a record; the painted row reads nothing else.
struct ManagementRow
{
    struct Run
    {
        QString text;
        QColor colour; ///< invalid: the secondary text colour
        /// A mark set between two details, in the body font rather than the details' own
        /// small one: at that size a dot is a blur of two pixels.
        bool mark = false;
        friend bool operator==(const Run&, const Run&) = default;
    };

    QString id;
    bool enabled = false;
    QString emoji;
    QString title;
    QString message;
    QList<Run> details;
    bool canDelete = false;
    /// Tint and outline of an enabled row.
    QColor accent;

    friend bool operator==(const ManagementRow&, const ManagementRow&) = default;
};

Q_DECLARE_METATYPE(ManagementRow)

/// The rows' named colours: the desktop's, the same wherever a screen names one.
namespace RowColours {
inline const QColor blue = SystemColours::blue();
inline const QColor green = SystemColours::green();
inline const QColor orange = SystemColours::orange();
inline const QColor red = SystemColours::red();
inline const QColor gray = SystemColours::gray();
} // namespace RowColours
