#include "platform/Resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <utility>

using namespace Qt::StringLiterals;

Resources::Resources(QString root)
    : m_root(std::move(root))
{
}

QStringList Resources::candidateRoots()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    return {
        QDir::cleanPath(appDir + u"/resources"_s),
        QDir::cleanPath(appDir + u"/../share/tamsel"_s),
        QStringLiteral(TAMSEL_BUILD_RESOURCE_DIR),
        QStringLiteral(TAMSEL_INSTALL_RESOURCE_DIR),
    };
}

QString Resources::locateRoot()
{
    const QStringList candidates = candidateRoots();
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isDir())
            return candidate;
    }
    // Nothing found: lookups simply miss, and each caller reports its own missing file.
    return candidates.first();
}

QString Resources::findIn(const QString& name, const QString& type, const QString& subdirectory) const
{
    if (name.isEmpty())
        return {};
    const QString fileName = type.isEmpty() ? name : name + u'.' + type;
    const QString folder = subdirectory.isEmpty() ? m_root : m_root + u'/' + subdirectory;
    const QString candidate = QDir::cleanPath(folder + u'/' + fileName);
    return QFileInfo(candidate).isFile() ? candidate : QString();
}

QString Resources::find(const QString& name, const QString& type, const QString& subdirectory) const
{
    if (!subdirectory.isEmpty()) {
        if (QString inFolder = findIn(name, type, subdirectory); !inFolder.isEmpty())
            return inFolder;
    }
    return findIn(name, type);
}
