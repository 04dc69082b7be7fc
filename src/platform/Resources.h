#pragma once

#include <QString>
#include <QStringList>

/// The program's read-only resources (animations, icons). In the build tree they sit in
/// `resources` beside the binaries; installed, in `share/tamsel`.
class Resources final
{
public:
    /// Resources under a known folder.
    explicit Resources(QString root);

    /// Candidate folders, best first: `<app dir>/resources`, `<app dir>/../share/tamsel`,
    /// the build tree's folder, the install prefix's folder.
    [[nodiscard]] static QStringList candidateRoots();
    [[nodiscard]] static QString locateRoot();

    /// `name.type` in `subdirectory` of the root, else at the root itself; empty when
    /// neither exists. An empty type means the file is `name` alone.
    [[nodiscard]] QString find(const QString& name, const QString& type, const QString& subdirectory = {}) const;
    /// `name.type` exactly in `subdirectory` (the root when empty); empty when missing.
    [[nodiscard]] QString findIn(const QString& name, const QString& type, const QString& subdirectory = {}) const;
    [[nodiscard]] QString root() const { return m_root; }

private:
    QString m_root;
};
