#include "platform/LoginItem.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

const QString entryFileName = u"tamsel.desktop"_s;

QString defaultAutostartFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/autostart"_s;
}

/// The value of `key` in the [Desktop Entry] group, with the string escapes undone.
QString entryValue(const QByteArray& contents, const QString& key)
{
    bool inMainGroup = false;
    const QStringList lines = QString::fromUtf8(contents).split(u'\n');
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inMainGroup = line == u"[Desktop Entry]"_s;
            continue;
        }
        if (!inMainGroup || line.startsWith(u'#'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0 || line.left(eq).trimmed() != key)
            continue;
        const QString value = line.mid(eq + 1).trimmed();
        QString out;
        for (qsizetype i = 0; i < value.size(); ++i) {
            const QChar c = value.at(i);
            if (c != u'\\' || i + 1 == value.size()) {
                out += c;
                continue;
            }
            const QChar next = value.at(++i);
            if (next == u's')
                out += u' ';
            else if (next == u'n')
                out += u'\n';
            else if (next == u't')
                out += u'\t';
            else if (next == u'r')
                out += u'\r';
            else
                out += next;
        }
        return out;
    }
    return {};
}

} // namespace

LoginItem::LoginItem(QString programPath, QString autostartFolder)
    : m_programPath(programPath.isEmpty() ? QCoreApplication::applicationFilePath() : std::move(programPath))
    , m_folder(autostartFolder.isEmpty() ? defaultAutostartFolder() : std::move(autostartFolder))
{
}

QString LoginItem::entryPath() const
{
    return m_folder + u'/' + entryFileName;
}

QString LoginItem::execValue(const QString& program)
{
    // Quote the whole path, escape what stays special inside quotes, then apply the
    // desktop entry's own string escaping (backslashes doubled) and field-code escaping.
    QString quoted;
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted = u'"' + quoted + u'"';
    quoted.replace(u"\\"_s, u"\\\\"_s);
    quoted.replace(u"%"_s, u"%%"_s);
    return quoted;
}

QString LoginItem::programOfExecValue(const QString& exec)
{
    QString value = exec;
    value.replace(u"%%"_s, u"%"_s);
    if (!value.startsWith(u'"')) {
        const qsizetype space = value.indexOf(u' ');
        return space < 0 ? value : value.left(space);
    }
    QString program;
    for (qsizetype i = 1; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'"')
            return program;
        if (c == u'\\' && i + 1 < value.size())
            program += value.at(++i);
        else
            program += c;
    }
    return {};
}

bool LoginItem::isEnabled() const
{
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray contents = file.readAll();
    if (entryValue(contents, u"Hidden"_s) == u"true"_s)
        return false;
    if (entryValue(contents, u"X-GNOME-Autostart-enabled"_s) == u"false"_s)
        return false;
    // Desktop-entry string escapes are undone by entryValue; what remains is the Exec syntax.
    return programOfExecValue(entryValue(contents, u"Exec"_s)) == m_programPath;
}

bool LoginItem::registerItem(QString* error)
{
    if (m_programPath.contains(u'\n') || m_programPath.contains(u'\r')) {
        if (error)
            *error = u"程序路径含有换行，无法写入启动项"_s;
        return false;
    }
    if (!QDir().mkpath(m_folder)) {
        if (error)
            *error = u"无法创建文件夹 "_s + m_folder;
        return false;
    }
    QSaveFile file(entryPath());
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QString contents = u"[Desktop Entry]\n"
                             u"Type=Application\n"
                             u"Name=Tamsel\n"
                             u"Exec="_s
        + execValue(m_programPath)
        + u"\n"
          u"Terminal=false\n"
          u"X-GNOME-Autostart-enabled=true\n"_s;
    file.write(contents.toUtf8());
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool LoginItem::unregisterItem(QString* error)
{
    QFile file(entryPath());
    if (!file.exists() || file.remove())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

bool LoginItem::openAutostartFolder()
{
    QDir().mkpath(m_folder);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(m_folder));
}
