#include "platform/Defaults.h"

#include "platform/LogManager.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {
const QString category = u"Settings"_s;
// Enough for any number of broken files a person could start the program on in one second.
constexpr int maxAsideCounter = 1000;

// A write that is cut short (a crash, a power cut) leaves its temporary copy beside the
// file as "<name>.XXXXXX". Only one program runs at a time, so at start every such copy is
// stale and would otherwise pile up.
void removeStaleTemporaries(const QString& filePath)
{
    const QFileInfo info(filePath);
    const QRegularExpression temporary(u"^"_s + QRegularExpression::escape(info.fileName()) + u"\\.[A-Za-z0-9]{6}$"_s);
    QDir folder = info.absoluteDir();
    const QStringList names = folder.entryList({ info.fileName() + u".??????"_s }, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        if (temporary.match(name).hasMatch() && folder.remove(name))
            LogManager::log(u"🧹 已清除残留的设置临时文件: "_s + name, category);
    }
}
} // namespace

Defaults::Defaults(const QString& filePath, QObject* parent)
    : QObject(parent)
    , m_filePath(filePath)
{
    m_writeTimer.setSingleShot(true);
    connect(&m_writeTimer, &QTimer::timeout, this, [this] { flush(); });
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] { flush(); });
    removeStaleTemporaries(m_filePath);
    load();
}

Defaults::~Defaults()
{
    flush();
}

QString Defaults::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/Tamsel/defaults.json"_s;
}

void Defaults::load()
{
    QFile file(m_filePath);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        // Unreadable but present: keep our hands off it rather than replace what we cannot see.
        m_writable = false;
        LogManager::log(u"⚠️ 无法读取设置文件，本次运行不会写入: "_s + m_filePath, category);
        return;
    }
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    file.close();
    if (error.error == QJsonParseError::NoError && document.isObject()) {
        m_values = document.object();
        return;
    }
    // A file put aside earlier in the same second keeps its name; this one takes a counter.
    const QString stamped = m_filePath + u".corrupt-"_s + QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s);
    QString aside = stamped;
    for (int counter = 2; QFile::exists(aside) && counter <= maxAsideCounter; ++counter)
        aside = stamped + u'-' + QString::number(counter);
    if (QFile::rename(m_filePath, aside)) {
        LogManager::log(u"⚠️ 设置文件无法解析，已移至: "_s + aside, category);
    } else {
        m_writable = false;
        LogManager::log(
            u"⚠️ 设置文件无法解析且无法移走，本次运行不会写入: "_s + m_filePath, category);
    }
}

int Defaults::integer(const QString& key) const
{
    const QJsonValue v = m_values.value(key);
    if (v.isBool())
        return v.toBool() ? 1 : 0;
    if (v.isString())
        return v.toString().toInt();
    const double d = v.toDouble();
    if (!std::isfinite(d) || d >= static_cast<double>(std::numeric_limits<int>::max())
        || d <= static_cast<double>(std::numeric_limits<int>::min()))
        return 0;
    return static_cast<int>(d);
}

double Defaults::doubleValue(const QString& key) const
{
    const QJsonValue v = m_values.value(key);
    if (v.isBool())
        return v.toBool() ? 1.0 : 0.0;
    if (v.isString())
        return v.toString().toDouble();
    return v.toDouble();
}

bool Defaults::boolean(const QString& key) const
{
    const QJsonValue v = m_values.value(key);
    if (v.isDouble())
        return v.toDouble() != 0.0;
    if (v.isString()) {
        const QString s = v.toString().toLower();
        return s == u"true"_s || s == u"yes"_s || s.toInt() != 0;
    }
    return v.toBool();
}

QString Defaults::string(const QString& key) const
{
    const QJsonValue v = m_values.value(key);
    if (v.isString())
        return v.toString();
    if (v.isDouble())
        return QString::number(v.toDouble());
    return {};
}

void Defaults::setValue(const QString& key, const QJsonValue& value, Write write)
{
    if (value.isUndefined()) {
        remove(key);
        return;
    }
    if (m_values.value(key) == value && m_values.contains(key))
        return;
    m_values.insert(key, value);
    scheduleWrite(write);
    Q_EMIT valueChanged(key);
}

void Defaults::remove(const QString& key)
{
    if (!m_values.contains(key))
        return;
    m_values.remove(key);
    scheduleWrite();
    Q_EMIT valueChanged(key);
}

void Defaults::scheduleWrite(Write write)
{
    m_dirty = true;
    const int delay = write == Write::Soon ? writeDelayMs : relaxedWriteDelayMs;
    // A pending lazy write is brought forward by a change that must not wait; a running
    // timer is never pushed back, so a steady stream of changes still gets written.
    if (!m_writeTimer.isActive() || m_writeTimer.remainingTime() > delay)
        m_writeTimer.start(delay);
}

bool Defaults::flush()
{
    m_writeTimer.stop();
    if (!m_dirty)
        return true;
    if (!m_writable) {
        m_writeError = u"设置文件无法读取或解析，本次运行不会写入"_s;
        return false;
    }
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    QSaveFile file(m_filePath);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) {
        file.write(QJsonDocument(m_values).toJson(QJsonDocument::Indented));
        ok = file.commit();
    }
    if (!ok) {
        m_writeError = file.errorString();
        if (!m_reportedWriteFailure)
            LogManager::log(u"❌ 设置写入失败: "_s + file.errorString(), category);
        m_reportedWriteFailure = true;
        return false;
    }
    m_reportedWriteFailure = false;
    m_writeError.clear();
    m_dirty = false;
    ++m_writeCount;
    return true;
}
