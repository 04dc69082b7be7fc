#pragma once

#include "account/UserRegistrationView.h"
#include "platform/Defaults.h"
#include "server/ServerTestSupport.h"
#include "server/UserManager.h"
#include "support/Wait.h"
#include "widgets/BannerRow.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainLineEdit.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

/// The form against the fake companion server, with its own account store.
class SignInRig : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.start());
        useClientTimeout(APIClient::transferTimeoutMs);
    }

    /// A client whose whole exchange must finish within `ms`, for a server that never answers.
    void useClientTimeout(int ms)
    {
        account.reset();
        client = std::make_unique<APIClient>(
            server.baseUrl(),
            [this]() -> std::optional<qint64> {
                if (account && account->currentUser())
                    return account->currentUser()->id;
                return std::nullopt;
            },
            ms);
        defaults = std::make_unique<Defaults>(dir.filePath(QStringLiteral("defaults.json")));
        account = std::make_unique<UserManager>(*defaults, *client);
    }

    std::unique_ptr<UserRegistrationView> makeForm()
    {
        auto form = std::make_unique<UserRegistrationView>(*account, *client);
        form->show();
        return form;
    }

    template<typename T = PlainLineEdit>
    static T* part(QWidget* form, const char* name)
    {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(found) << name;
        return found;
    }
    static QPushButton* primary(QWidget* form) { return part<QPushButton>(form, "primaryButton"); }
    static QPushButton* secondary(QWidget* form) { return part<QPushButton>(form, "secondaryButton"); }
    static BannerRow* errorBanner(QWidget* form) { return part<BannerRow>(form, "errorBanner"); }
    static BannerRow* successBanner(QWidget* form) { return part<BannerRow>(form, "successBanner"); }

    /// Types into the field and presses Return there, as a user does.
    static void typeAndReturn(QWidget* form, const char* field, const QString& text)
    {
        PlainLineEdit* edit = part(form, field);
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    bool waitForStep(UserRegistrationView* form, UserRegistrationView::RegistrationStep step)
    {
        return waitUntil([&] { return !form->isLoading() && form->currentStep() == step; });
    }

    [[nodiscard]] qsizetype requestsTo(const QString& path) const
    {
        qsizetype n = 0;
        for (const RecordedRequest& r : server.requests())
            n += r.path == QStringLiteral("/api") + path ? 1 : 0;
        return n;
    }

    QTemporaryDir dir;
    FakeCompanionServer server;
    std::unique_ptr<APIClient> client;
    std::unique_ptr<Defaults> defaults;
    std::unique_ptr<UserManager> account;
};
