#pragma once

#include <QString>
#include <QStringList>

/// The program-log messages of one category so far.
QStringList loggedMessages(const QString& category);
