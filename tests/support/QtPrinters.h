#pragma once

// Readable gtest failure messages for Qt types: without these, a QString prints as a list
// of 2-byte objects. Every test file gets this header through the build.
#include <QByteArray>
#include <QColor>
#include <QDateTime>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <ostream>

void PrintTo(const QString& value, std::ostream* os);
void PrintTo(const QStringList& value, std::ostream* os);
void PrintTo(const QByteArray& value, std::ostream* os);
void PrintTo(const QUrl& value, std::ostream* os);
void PrintTo(const QPoint& value, std::ostream* os);
void PrintTo(const QPointF& value, std::ostream* os);
void PrintTo(const QSize& value, std::ostream* os);
void PrintTo(const QSizeF& value, std::ostream* os);
void PrintTo(const QRect& value, std::ostream* os);
void PrintTo(const QRectF& value, std::ostream* os);
void PrintTo(const QColor& value, std::ostream* os);
void PrintTo(const QDateTime& value, std::ostream* os);
