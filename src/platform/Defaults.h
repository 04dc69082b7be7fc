#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QString>
#include <QTimer>

/// The user's settings store: typed values under fixed keys, kept as one JSON object in
/// $XDG_CONFIG_HOME/Tamsel/defaults.json. Reads follow the usual defaults semantics: a
/// missing number reads 0, a missing flag false, a missing text null.
///
/// Changes are written atomically a moment after they happen, so a burst of sets costs one
/// write; the store is also written when the application quits. Values that change all the
/// time and cost little to lose (the walking pet's position)
/// may be written more lazily. A file that does not parse is moved aside and never
/// overwritten.
class Defaults final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Defaults)

public:
    /// A change is on disk at most this long after it was made.
    static constexpr int writeDelayMs = 1000;
    /// A change set with Write::Relaxed waits up to this long, unless a sooner write takes it along.
    static constexpr int relaxedWriteDelayMs = 5000;

    enum class Write {
        Soon,
        Relaxed, ///< for values that change on every step of a movement
    };

    explicit Defaults(const QString& filePath, QObject* parent = nullptr);
    ~Defaults() override;

    [[nodiscard]] static QString defaultFilePath();

    [[nodiscard]] bool contains(const QString& key) const { return m_values.contains(key); }
    [[nodiscard]] QJsonValue value(const QString& key) const { return m_values.value(key); }
    [[nodiscard]] int integer(const QString& key) const;
    [[nodiscard]] double doubleValue(const QString& key) const;
    [[nodiscard]] bool boolean(const QString& key) const;
    [[nodiscard]] QString string(const QString& key) const;
    [[nodiscard]] QJsonObject object(const QString& key) const { return m_values.value(key).toObject(); }

    void setValue(const QString& key, const QJsonValue& value, Write write = Write::Soon);
    void remove(const QString& key);

    /// Writes pending changes now. Returns false when the file could not be written.
    bool flush();
    /// Why the last write failed; empty once one succeeds.
    [[nodiscard]] QString writeError() const { return m_writeError; }
    [[nodiscard]] QString filePath() const { return m_filePath; }
    /// How many times the file has been written; lets benchmarks and tests see coalescing.
    [[nodiscard]] int writeCount() const { return m_writeCount; }

Q_SIGNALS:
    void valueChanged(const QString& key);

private:
    void load();
    void scheduleWrite(Write write = Write::Soon);

    QString m_filePath;
    QJsonObject m_values;
    QTimer m_writeTimer;
    bool m_dirty = false;
    bool m_writable = true;
    bool m_reportedWriteFailure = false;
    QString m_writeError;
    int m_writeCount = 0;
};
