#pragma once

#include "DriftBottleRig.h"

#include "driftbottle/BottleChatView.h"
#include "driftbottle/ChatView.h"
#include "driftbottle/DriftBottleWindowManager.h"
#include "platform/Alerts.h"
#include "support/Wait.h"

#include <QApplication>
#include <QListView>

/// The managers and the window manager on the fake server, with Alice signed in; Bob has
/// thrown bottles for her to pick.
class BottleWindowRig : public DriftBottleRig
{
protected:
    void SetUp() override
    {
        DriftBottleRig::SetUp();
        windows = std::make_unique<DriftBottleWindowManager>(*users, *client, *conversations, clock);
        bob = server.state().addUser(
            QStringLiteral("bob@x.io"), QStringLiteral("鲍勃"), QStringLiteral("🐶"), QStringLiteral("pw"));
        alice = signIn();
    }

    void TearDown() override
    {
        windows.reset();
        Alerts::setNextAnswers({});
        Alerts::clearAnsweredAlerts();
    }

    /// Bottles of bob's that alice has picked, oldest first.
    QStringList bottlesPickedByAlice(int count)
    {
        QStringList ids;
        for (int i = 0; i < count; ++i) {
            ids.append(server.state().addBottle(bob, QStringLiteral("瓶子") + QString::number(i)));
            server.state().pickBottle(ids.last(), alice);
        }
        return ids;
    }

    /// Opens the window and waits for its first list.
    BottleChatView* openWindow()
    {
        windows->showDriftBottleWindow();
        BottleChatView* window = windows->driftBottleWindow();
        EXPECT_TRUE(window);
        EXPECT_TRUE(waitUntil([&] { return requestsTo(QStringLiteral("/api/bottles/conversations")) > 0; }));
        EXPECT_TRUE(waitUntil([&] { return !conversations->isLoading(); }));
        return window;
    }

    [[nodiscard]] int requestsTo(const QString& path) const
    {
        return static_cast<int>(std::count_if(server.requests().cbegin(), server.requests().cend(),
            [&](const RecordedRequest& r) { return r.path == path; }));
    }

    /// The paths requested since `from`, in order.
    [[nodiscard]] QStringList pathsSince(qsizetype from) const
    {
        QStringList out;
        for (qsizetype i = from; i < server.requests().size(); ++i)
            out.append(server.requests().at(i).path);
        return out;
    }

    template<typename T>
    T* find(QWidget* root, const QString& name) const
    {
        return root ? root->findChild<T*>(name) : nullptr;
    }

    std::unique_ptr<DriftBottleWindowManager> windows;
    qint64 alice = 0, bob = 0;
};
