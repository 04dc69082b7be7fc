#pragma once

#include "DriftBottleRig.h"

#include "support/Wait.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QWidget>

/// The managers on the fake server with alice signed in and bob, another user, who has
/// thrown bottles for her to see.
class ScreensRig : public DriftBottleRig
{
protected:
    void SetUp() override
    {
        DriftBottleRig::SetUp();
        bob = server.state().addUser(
            QStringLiteral("bob@x.io"), QStringLiteral("鲍勃"), QStringLiteral("🐶"), QStringLiteral("pw"));
        alice = signIn();
    }

    /// A bottle of bob's as the server keeps it.
    DriftBottle bobsBottle(const QString& content = QStringLiteral("海上的第一封信"))
    {
        DriftBottle bottle;
        bottle.id = server.state().addBottle(bob, content);
        bottle.content = content;
        bottle.senderId = bob;
        bottle.senderName = QStringLiteral("鲍勃");
        bottle.senderEmoji = QStringLiteral("🐶");
        bottle.createdAt = QDateTime(QDate(2026, 3, 4), QTime(5, 6), Qt::LocalTime);
        return bottle;
    }

    template<typename T = QAbstractButton>
    static T* part(const QObject* root, const char* name)
    {
        return root->findChild<T*>(QString::fromLatin1(name));
    }

    qint64 bob = 0;
    qint64 alice = 0;
};
