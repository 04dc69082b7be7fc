// The drift-bottle screens and the sign-in form of the sweep, on the drift-bottle tests' rig.
#include "SweptRigs.h"

#include "account/UserRegistrationView.h"
#include "driftbottle/ThrowNewBottleSheet.h"
#include "driftbottle/unwired/BottleDetailView.h"
#include "driftbottle/unwired/BottleListContent.h"
#include "driftbottle/unwired/BottleListTabView.h"
#include "driftbottle/unwired/BottleListView.h"
#include "driftbottle/unwired/DriftBottleMainView.h"
#include "driftbottle/unwired/ReplySheetView.h"
#include "driftbottle/unwired/SensitiveWordAlertView.h"
#include "widgets/BannerRow.h"
#include "widgets/OverlayCard.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/PlainTextEditor.h"

#include "driftbottle/BottleWindowRig.h"
#include "support/Wait.h"

#include <QGraphicsEffect>
#include <QGraphicsOpacityEffect>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

class DriftScreen final : public Hosted<BottleWindowRig>, public BuiltScreen
{
public:
    explicit DriftScreen(Drift which)
    {
        switch (which) {
        case Drift::signedOut:
            // The account signs out while the window is open.
            m_root = listWindow();
            users->logout();
            break;
        case Drift::empty:
            m_root = openWindow();
            break;
        case Drift::list:
            m_root = listWindow();
            break;
        case Drift::chat:
        case Drift::sending:
        case Drift::failed:
            m_root = chatWindow(which);
            break;
        case Drift::throwSheet: {
            BottleChatView* window = openWindow();
            named<QPushButton>(window, u"throwButton"_s)->click();
            auto* sheet = window->findChild<ThrowNewBottleSheet*>();
            EXPECT_TRUE(sheet);
            named<PlainTextEditor>(sheet, u"bottleText"_s)
                ->setPlainText(u"漂向远方的一封信 😀🏃🏻\u200d♀️"_s);
            m_root = sheet;
            break;
        }
        case Drift::pickCard: {
            BottleChatView* window = openWindow();
            server.state().addBottle(bob, u"海风吹过的第一封信"_s);
            named<QPushButton>(window, u"pickButton"_s)->click();
            auto* overlay = named<OverlayCard>(window, u"pickOverlay"_s);
            EXPECT_TRUE(waitUntil([&] { return !window->isPicking() && overlay->isVisible(); }));
            // The card alone, without the shadow its effect draws around it.
            if (QGraphicsEffect* effect = overlay->card()->graphicsEffect())
                effect->setEnabled(false);
            m_root = overlay->card();
            break;
        }
        case Drift::cards: {
            // Alice's bottles as cards, one with more themes than its footer shows.
            (void)await(bottles->throwBottle(
                u"海边的日落很美"_s, { u"旅行"_s, u"海边"_s, u"日落"_s }, BottleType::wish, false));
            (void)await(bottles->throwBottle(u"今天也要开心 😀"_s, { u"心情"_s }, BottleType::normal, false));
            m_list = std::make_unique<BottleListTabView>(BottleListTabView::ListType::sent, *bottles, *users);
            m_list->resize(600, 500);
            m_list->show();
            EXPECT_TRUE(waitUntil([&] { return m_list->content()->page() == BottleListContent::Page::list; }));
            m_root = m_list.get();
            break;
        }
        case Drift::tabbedPick:
            // The tabbed screen opens on its pick tab.
            m_tabbed = std::make_unique<DriftBottleMainView>(*bottles, *users, [](PetBehavior) {});
            m_tabbed->show();
            m_root = m_tabbed.get();
            break;
        case Drift::cardList: {
            // The stand-alone list: its segment row above Alice's cards.
            (void)await(bottles->throwBottle(u"今天也要开心"_s, { u"心情"_s }, BottleType::normal, false));
            m_cardList = std::make_unique<BottleListView>(*bottles, *users);
            m_cardList->show();
            EXPECT_TRUE(
                waitUntil([&] { return m_cardList->bottleListContent()->page() == BottleListContent::Page::list; }));
            m_root = m_cardList.get();
            break;
        }
        case Drift::detail:
            m_root = detailWithBanners();
            break;
        case Drift::replySheet: {
            m_detail = std::make_unique<BottleDetailView>(bobsBottle(), *bottles, *users);
            m_detail->show();
            m_detail->openReplySheet();
            named<PlainTextEditor>(m_detail->replySheet(), {})->setPlainText(u"你好，陌生人"_s);
            m_root = m_detail->replySheet();
            break;
        }
        case Drift::sensitiveWord: {
            m_host = std::make_unique<QWidget>();
            auto* layout = new QVBoxLayout(m_host.get());
            layout->addWidget(new PlainTextEditor(m_host.get()));
            layout->addWidget(new QPushButton(u"发送"_s, m_host.get()));
            m_host->resize(500, 420);
            m_host->show();
            SensitiveWordAlertView* alert = SensitiveWordAlertView::present(m_host.get());
            // Once it has faded in.
            waitUntil(
                [&] {
                    const auto* fade = qobject_cast<QGraphicsOpacityEffect*>(alert->graphicsEffect());
                    return alert->geometry() == m_host->rect() && alert->isVisible()
                        && (!fade || fade->opacity() >= 1.0);
                },
                2000);
            m_root = alert->card();
            break;
        }
        case Drift::signInAddress:
        case Drift::signInPassword:
        case Drift::signInRegistration:
            m_root = signIn(which);
            break;
        }
        QCoreApplication::processEvents();
    }

    ~DriftScreen() override
    {
        if (m_root && m_root->window() != m_root)
            m_root->window()->close();
        m_form.reset();
        m_list.reset();
        m_detail.reset();
        m_host.reset();
        // A reply still under way comes back before the chat goes.
        if (auto* window = windows ? windows->driftBottleWindow() : nullptr; window && window->chatView())
            waitUntil([&] { return !window->chatView() || !window->chatView()->isSending(); }, 3000);
        TearDown();
    }

    [[nodiscard]] QWidget* root() const override { return m_root; }

private:
    DriftBottle bobsBottle()
    {
        DriftBottle bottle;
        bottle.content = u"海上的第一封信，写给愿意读它的人"_s;
        bottle.id = server.state().addBottle(bob, bottle.content);
        bottle.senderId = bob;
        bottle.senderName = u"鲍勃"_s;
        bottle.senderEmoji = u"🐶"_s;
        bottle.createdAt = QDateTime(QDate(2026, 3, 4), QTime(5, 6), Qt::LocalTime);
        return bottle;
    }

    /// Two conversations: bob's bottle alice picked, and hers nobody has picked yet.
    BottleChatView* listWindow()
    {
        const QString picked = server.state().addBottle(bob, u"有人吗？今晚的海很安静"_s);
        server.state().pickBottle(picked, alice);
        // Her own answer is a bubble of hers in the chat.
        server.state().addReply(picked, alice, bob, u"我在，海边见"_s);
        server.state().addBottle(alice, u"我的第一个瓶子 #旅行"_s);
        return openWindow();
    }

    BottleChatView* chatWindow(Drift which)
    {
        BottleChatView* window = listWindow();
        for (const Conversation& c : conversations->conversations()) {
            if (c.hasReply) {
                conversations->selectConversation(c);
                break;
            }
        }
        EXPECT_TRUE(waitUntil([&] { return window->chatView() && !conversations->chatMessages().isEmpty(); }));
        ChatView* chat = window->chatView();
        if (!chat)
            return window;
        auto* editor = named<PlainTextEditor>(chat, u"chatInput"_s);
        if (which == Drift::chat) {
            editor->setPlainText(u"你好"_s);
            return window;
        }
        if (which == Drift::sending)
            server.scriptNext(ScriptedReply { std::nullopt, {}, 2500 });
        else
            server.scriptNext(ScriptedReply { 500, R"({"success":false,"message":"服务器忙"})" });
        editor->setPlainText(u"在的，你好"_s);
        named<QPushButton>(chat, u"sendButton"_s)->click();
        if (which == Drift::sending)
            EXPECT_TRUE(waitUntil([&] { return chat->isSending(); }));
        else
            EXPECT_TRUE(waitUntil(
                [&] { return !chat->isSending() && chat->findChild<BannerRow*>(u"chatError"_s)->isVisible(); }));
        return window;
    }

    /// The detail of bob's bottle with both banners up: one answer taken, one refused.
    QWidget* detailWithBanners()
    {
        m_detail = std::make_unique<BottleDetailView>(bobsBottle(), *bottles, *users);
        m_detail->show();
        for (const bool fails : { false, true }) {
            if (fails)
                server.scriptNext(ScriptedReply { 500, "内部错误" });
            m_detail->openReplySheet();
            named<PlainTextEditor>(m_detail->replySheet(), {})->setPlainText(u"你好"_s);
            named<QPushButton>(m_detail->replySheet(), u"sendButton"_s)->click();
            EXPECT_TRUE(waitUntil([&] { return !m_detail->replySheet(); }));
            const QString banner = fails ? u"errorBanner"_s : u"successBanner"_s;
            EXPECT_TRUE(
                waitUntil([&] { return named<BannerRow>(m_detail.get(), banner)->isVisibleTo(m_detail.get()); }));
        }
        return m_detail.get();
    }

    QWidget* signIn(Drift which)
    {
        m_form = std::make_unique<UserRegistrationView>(*users, *client);
        m_form->show();
        auto* email = named<PlainLineEdit>(m_form.get(), u"emailField"_s);
        if (which == Drift::signInAddress) {
            email->setText(u"x@y.io"_s);
            return m_form.get();
        }
        const bool known = which == Drift::signInPassword;
        email->setText(known ? u"alice@x.io"_s : u"new@x.io"_s);
        QTest::keyClick(email, Qt::Key_Return);
        const auto step = known ? UserRegistrationView::RegistrationStep::loginWithPassword
                                : UserRegistrationView::RegistrationStep::registerWithInfo;
        EXPECT_TRUE(waitUntil([&] { return !m_form->isLoading() && m_form->currentStep() == step; }));
        if (known) {
            named<PlainLineEdit>(m_form.get(), u"loginPasswordField"_s)->setText(u"p"_s);
            return m_form.get();
        }
        // A refused registration: the error banner and the fields' own note show.
        named<PlainLineEdit>(m_form.get(), u"passwordField"_s)->setText(u"a"_s);
        server.scriptNext(ScriptedReply { 500, "boom", 0, false });
        auto* confirm = named<PlainLineEdit>(m_form.get(), u"confirmPasswordField"_s);
        confirm->setText(u"a"_s);
        QTest::keyClick(confirm, Qt::Key_Return);
        auto* failed = named<BannerRow>(m_form.get(), u"errorBanner"_s);
        EXPECT_TRUE(waitUntil([&] { return !m_form->isLoading() && failed->isVisible(); }));
        confirm->setText(u"ab"_s);
        return m_form.get();
    }

    QPointer<QWidget> m_root;
    std::unique_ptr<UserRegistrationView> m_form;
    std::unique_ptr<BottleListTabView> m_list;
    std::unique_ptr<DriftBottleMainView> m_tabbed;
    std::unique_ptr<BottleListView> m_cardList;
    std::unique_ptr<BottleDetailView> m_detail;
    std::unique_ptr<QWidget> m_host;
};

} // namespace

std::unique_ptr<BuiltScreen> driftScreen(Drift which)
{
    return std::make_unique<DriftScreen>(which);
}
