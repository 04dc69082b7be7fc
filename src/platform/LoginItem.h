#pragma once

#include <QString>

/// Launch at login through the XDG autostart entry $XDG_CONFIG_HOME/autostart/tamsel.desktop,
/// whose Exec line runs this program.
class LoginItem
{
public:
    /// An empty program path means this program's own executable; an empty folder the
    /// user's autostart folder.
    explicit LoginItem(QString programPath = {}, QString autostartFolder = {});
    virtual ~LoginItem() = default;
    LoginItem(const LoginItem&) = delete;
    LoginItem& operator=(const LoginItem&) = delete;

    /// True when the entry exists, is not switched off and starts this program.
    [[nodiscard]] virtual bool isEnabled() const;
    /// Writes the entry; on failure returns false and says why in `error`.
    virtual bool registerItem(QString* error);
    /// Removes the entry; an entry that is not there counts as removed.
    virtual bool unregisterItem(QString* error);
    /// Shows the autostart folder in the file manager, creating it first.
    virtual bool openAutostartFolder();

    [[nodiscard]] QString autostartFolder() const { return m_folder; }
    [[nodiscard]] QString entryPath() const;
    [[nodiscard]] QString programPath() const { return m_programPath; }

    /// The Exec value that runs `program` with no arguments, quoted and escaped for a
    /// desktop entry, and its inverse (the program of an Exec value; empty when malformed).
    [[nodiscard]] static QString execValue(const QString& program);
    [[nodiscard]] static QString programOfExecValue(const QString& exec);

private:
    QString m_programPath;
    QString m_folder;
};
