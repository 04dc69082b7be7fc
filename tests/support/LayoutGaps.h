#pragma once

#include <QLayout>
#include <QRect>
#include <QWidget>

/// Where `item`, a widget or a layout, lies in `root`'s coordinates. A layout's place is
/// the room it gives its items, which is what a stack's spacing is measured between.
inline QRect boxIn(const QWidget* root, const QObject* item)
{
    if (const auto* widget = qobject_cast<const QWidget*>(item))
        return QRect(widget->mapTo(root, QPoint(0, 0)), widget->size());
    const auto* layout = qobject_cast<const QLayout*>(item);
    const QRect local = layout->geometry();
    return QRect(layout->parentWidget()->mapTo(root, local.topLeft()), local.size());
}

/// Pixels between the bottom of `above` and the top of `below`.
inline int verticalGap(const QWidget* root, const QObject* above, const QObject* below)
{
    return boxIn(root, below).top() - (boxIn(root, above).bottom() + 1);
}

/// Pixels between the right edge of `left` and the left edge of `right`.
inline int horizontalGap(const QWidget* root, const QObject* left, const QObject* right)
{
    return boxIn(root, right).left() - (boxIn(root, left).right() + 1);
}
