// The screens of the sweep, built on the feature tests' own rigs: the fake companion
// server, fake clocks and timers, and the managers each screen works on.
#include "SweptScreens.h"

#include "account/UserRegistrationView.h"
#include "app/SpeechBubbleLook.h"
#include "driftbottle/ThrowNewBottleSheet.h"
#include "driftbottle/unwired/BottleDetailView.h"
#include "driftbottle/unwired/BottleListContent.h"
#include "driftbottle/unwired/BottleListTabView.h"
#include "driftbottle/unwired/ReplySheetView.h"
#include "driftbottle/unwired/SensitiveWordAlertView.h"
#include "friends/FriendListView.h"
#include "friends/FriendVerificationView.h"
#include "friends/MenuBarFriendActions.h"
#include "friends/MessageBubbleWindow.h"
#include "friends/SendMessageSheet.h"
#include "game/GamePreferencesView.h"
#include "menus/MenuBarCoordinator.h"
#include "menus/PetContextMenu.h"
#include "pet/MultiPetManager.h"
#include "pet/SpeechBubbleView.h"
#include "pet/SpeechBubbleWindowManager.h"
#include "platform/Alerts.h"
#include "preferences/AccountPreferencesView.h"
#include "reminders/AlarmWindowView.h"
#include "reminders/pages/AlarmForm.h"
#include "reminders/pages/AlarmManagementView.h"
#include "reminders/pages/ReminderAndAlarmPreferencesView.h"
#include "reminders/pages/ReminderForm.h"
#include "reminders/pages/ReminderManagementView.h"
#include "widgets/BannerRow.h"
#include "widgets/OverlayCard.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/PlainTextEditor.h"

#include "driftbottle/BottleWindowRig.h"
#include "friends/FriendsUiFixture.h"
#include "game/GameRig.h"
#include "menus/MenuParts.h"
#include "preferences/PreferencesRig.h"
#include "reminders/PagesRig.h"
#include "support/Wait.h"

#include <QComboBox>
#include <QGraphicsEffect>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

/// A rig of the feature tests set up outside gtest's own runner.
template<typename Rig>
class Hosted : public Rig
{
public:
    Hosted() { Rig::SetUp(); }
    void TestBody() override { }
};

template<typename T>
T* named(const QObject* root, const QString& name)
{
    T* found = root ? root->findChild<T*>(name) : nullptr;
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

// ---------------------------------------------------------------- drift bottles, sign-in

enum class Drift {
    signedOut,
    empty,
    list,
    chat,
    sending,
    failed,
    throwSheet,
    pickCard,
    cards,
    detail,
    replySheet,
    sensitiveWord,
    signInAddress,
    signInPassword,
    signInRegistration,
};

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
            named<PlainTextEditor>(sheet, u"bottleText"_s)->setPlainText(u"漂向远方的一封信"_s);
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
            (void)await(bottles->throwBottle(u"今天也要开心"_s, { u"心情"_s }, BottleType::normal, false));
            m_list = std::make_unique<BottleListTabView>(BottleListTabView::ListType::sent, *bottles, *users);
            m_list->resize(600, 500);
            m_list->show();
            EXPECT_TRUE(waitUntil([&] { return m_list->content()->page() == BottleListContent::Page::list; }));
            m_root = m_list.get();
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
    std::unique_ptr<BottleDetailView> m_detail;
    std::unique_ptr<QWidget> m_host;
};

// ---------------------------------------------------------------- friends

enum class Friends { codeGenerated, codeAdd, received, compose, list, sendSheet };

class FriendsScreen final : public Hosted<FriendsUiFixture>, public BuiltScreen
{
public:
    explicit FriendsScreen(Friends which)
    {
        switch (which) {
        case Friends::codeGenerated:
        case Friends::codeAdd: {
            aliceWithFriendBob();
            m_actions = std::make_unique<MenuBarFriendActions>(*friends, timers, *bubbles);
            m_actions->showVerificationWindow();
            m_root = m_actions->verificationWindow();
            auto* page = m_root->findChild<FriendVerificationView*>();
            if (which == Friends::codeGenerated) {
                named<QPushButton>(page, u"generate"_s)->click();
                EXPECT_TRUE(waitUntil([&] { return !page->isLoading() && friends->currentVerificationCode(); }));
                named<QPushButton>(page, u"copy"_s)->click();
            } else {
                named<QAbstractButton>(page, u"modeAdd"_s)->click();
                named<PlainLineEdit>(page, u"codeField"_s)->setText(u"123456"_s);
                named<QPushButton>(page, u"add"_s)->click();
                EXPECT_TRUE(waitUntil([&] { return !page->isLoading(); }));
            }
            break;
        }
        case Friends::received:
        case Friends::compose: {
            const bool received = which == Friends::received;
            m_bubble = std::make_unique<MessageBubbleWindow>(
                received ? MessageBubbleWindow::Kind::Received : MessageBubbleWindow::Kind::Compose, 1, u"1"_s, 2,
                u"🐶"_s, received ? u"阿花"_s : u"发送给 阿花"_s, received ? u"今天一起去海边玩吗？"_s : QString(),
                screens);
            if (received)
                m_bubble->setWaitingCount(3);
            named<PlainLineEdit>(m_bubble.get(), u"input"_s)->setText(u"好呀"_s);
            m_bubble->show();
            m_root = m_bubble.get();
            break;
        }
        case Friends::list: {
            aliceWithFriendBob();
            const qint64 carol = server.state().addUser(u"carol@x.io"_s, u"卡罗尔"_s, u"🐰"_s, u"pw"_s);
            server.state().befriend(users->currentUser()->id, carol);
            m_list = std::make_unique<FriendListView>(*friends, *messages, timers);
            m_list->resize(560, 480);
            m_list->show();
            EXPECT_TRUE(waitUntil([&] { return !friends->isLoading() && friends->friends().size() == 2; }));
            if (!friends->friends().isEmpty())
                friends->togglePinFriend(friends->friends().constFirst().id);
            m_root = m_list.get();
            break;
        }
        case Friends::sendSheet: {
            Friend bob;
            bob.nickname = u"鲍勃"_s;
            bob.avatarEmoji = u"🐶"_s;
            m_sheet = std::make_unique<SendMessageSheet>(
                bob, [](QString) -> QCoro::Task<> { co_return; }, nullptr);
            m_sheet->show();
            if (auto* editor = m_sheet->findChild<PlainTextEditor*>())
                editor->setPlainText(u"周末一起玩吗？"_s);
            m_root = m_sheet.get();
            break;
        }
        }
        QCoreApplication::processEvents();
    }

    ~FriendsScreen() override
    {
        m_bubble.reset();
        if (m_actions && m_actions->verificationWindow())
            delete m_actions->verificationWindow();
        m_actions.reset();
        m_list.reset();
        m_sheet.reset();
        TearDown();
    }

    [[nodiscard]] QWidget* root() const override { return m_root; }

private:
    QPointer<QWidget> m_root;
    std::unique_ptr<MessageBubbleWindow> m_bubble;
    std::unique_ptr<MenuBarFriendActions> m_actions;
    std::unique_ptr<FriendListView> m_list;
    std::unique_ptr<SendMessageSheet> m_sheet;
};

// ---------------------------------------------------------------- the pet and its menus

enum class Pet { menu, trayMenu, speechBubble, logWindow };

class PetScreen final : public BuiltScreen
{
public:
    explicit PetScreen(Pet which)
    {
        m_parts.windowManager.createPetWindow();
        switch (which) {
        case Pet::menu:
            m_menu.reset(m_petMenu.createAnimationContextMenu());
            m_menu->popup(QPoint(200, 200));
            m_root = m_menu.get();
            break;
        case Pet::trayMenu:
            m_coordinator = std::make_unique<MenuBarCoordinator>(
                m_parts.users, m_parts.doNotDisturb, m_parts.settings, m_parts.about, m_parts.resources);
            m_root = m_coordinator->menu();
            m_root->show();
            break;
        case Pet::speechBubble:
            m_bubbles.showBubble(u"喝水时间"_s, u"起来喝杯水吧，休息一下眼睛"_s, u"💧"_s);
            m_root = m_bubbles.bubbleView();
            // Once its card has slid into place.
            waitUntil([&] { return m_root && !m_root->findChild<QPropertyAnimation*>(); }, 2000);
            break;
        case Pet::logWindow:
            // A log of its own on a clock that stands still: every window built shows the
            // same lines at the same times.
            m_log = std::make_unique<LogManager>(m_parts.dir.path() + u"/log"_s, 3600 * 1000, &m_parts.clock);
            m_log->record(u"✅ 启动完成"_s, u"App"_s);
            m_log->record(u"⚠️ 网络较慢，稍后重试"_s, u"Network"_s);
            m_logWindow = std::make_unique<LogWindowManager>(*m_log);
            m_logWindow->showLogWindow();
            m_root = m_logWindow->window();
            break;
        }
        QCoreApplication::processEvents();
    }

    ~PetScreen() override
    {
        if (m_root)
            m_root->close();
        m_menu.reset();
        m_logWindow.reset();
    }

    [[nodiscard]] QWidget* root() const override { return m_root; }

private:
    MenuParts m_parts;
    MultiPetManager m_clones { m_parts.defaults, m_parts.screens, m_parts.windowManager, m_parts.animations,
        &m_parts.random };
    PetContextMenu m_petMenu { m_parts.doNotDisturb, m_parts.animations, m_parts.scheduler, m_clones };
    SpeechBubbleWindowManager m_bubbles { m_parts.windowManager, kitSpeechBubbleLook() };
    std::unique_ptr<MenuBarCoordinator> m_coordinator;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<LogManager> m_log;
    std::unique_ptr<LogWindowManager> m_logWindow;
    QPointer<QWidget> m_root;
};

// ---------------------------------------------------------------- alarms and reminders

enum class Reminders { alarmCard, alarmPage, reminderPage, alarmForm, reminderForm };

Alarm sampleAlarm(const QDateTime& now)
{
    Alarm alarm;
    alarm.id = Alarm::newId();
    alarm.title = u"站会"_s;
    alarm.message = u"带上笔记本和昨天的记录"_s;
    alarm.time = QDateTime(QDate(2026, 1, 5), QTime(9, 30));
    alarm.repeatType = AlarmRepeatType::daily;
    alarm.isEnabled = true;
    alarm.createdAt = now;
    return alarm;
}

class RemindersScreen final : public BuiltScreen
{
public:
    explicit RemindersScreen(Reminders which)
    {
        m_rig.alarms->addAlarm(sampleAlarm(m_rig.clock.now()));
        Alarm off = sampleAlarm(m_rig.clock.now());
        off.title = u"午休"_s;
        off.isEnabled = false;
        m_rig.alarms->addAlarm(off);
        switch (which) {
        case Reminders::alarmCard:
            m_widget = std::make_unique<AlarmWindowView>(m_rig.alarms->alarms().constFirst(), [] {});
            break;
        case Reminders::alarmPage:
            m_widget = std::make_unique<AlarmManagementView>(*m_rig.alarms, m_rig.clock);
            m_widget->resize(600, 500);
            break;
        case Reminders::reminderPage:
            m_widget = std::make_unique<ReminderManagementView>(*m_rig.manager, m_rig.clock);
            m_widget->resize(600, 500);
            break;
        case Reminders::alarmForm: {
            auto form = std::make_unique<AddAlarmView>(m_rig.clock);
            // The weekday selector shows with the weekly repeat.
            named<QComboBox>(form.get(), u"alarmRepeatPicker"_s)->setCurrentIndex(4);
            m_widget = std::move(form);
            break;
        }
        case Reminders::reminderForm:
            m_widget = std::make_unique<EditReminderView>(m_rig.manager->reminders().constFirst(), m_rig.clock);
            break;
        }
        m_widget->show();
        QCoreApplication::processEvents();
    }

    ~RemindersScreen() override { m_widget.reset(); }

    [[nodiscard]] QWidget* root() const override { return m_widget.get(); }

private:
    PagesRig m_rig;
    std::unique_ptr<QWidget> m_widget;
};

// ---------------------------------------------------------------- preferences

enum class Account { signedIn, signedOut, editing };

class PreferencesScreen final : public Hosted<PreferencesWindowRig>, public BuiltScreen
{
public:
    PreferencesScreen(PreferenceTab tab, Account account)
    {
        if (tab != PreferenceTab::account || account != Account::signedOut)
            signIn();
        else
            this->account->setUserMode(UserMode::online);
        m_manager.setPage(PreferenceTab::game, [this] { return new GamePreferencesView(game); });
        m_manager.setPage(PreferenceTab::reminder,
            [this] { return new ReminderAndAlarmPreferencesView(*m_pages.alarms, *m_pages.manager, m_pages.clock); });
        m_manager.setPage(PreferenceTab::friends, [this] { return new FriendListView(m_friends, m_messages, timers); });
        m_pages.alarms->addAlarm(sampleAlarm(m_pages.clock.now()));
        m_manager.showPreferencesWindow(tab);
        if (tab == PreferenceTab::account && account == Account::editing) {
            if (auto* page = m_manager.preferencesWindow()->findChild<AccountPreferencesView*>())
                page->startEditing();
        }
        if (tab == PreferenceTab::friends)
            waitUntil([&] { return !m_friends.isLoading(); });
        QCoreApplication::processEvents();
    }

    ~PreferencesScreen() override
    {
        if (QWidget* window = m_manager.preferencesWindow())
            window->close();
        QCoreApplication::processEvents();
    }

    [[nodiscard]] QWidget* root() const override { return m_manager.preferencesWindow(); }

private:
    PagesRig m_pages;
    FriendManager m_friends { *client, defaults };
    FriendMessageManager m_messages { *client, *this->account, timers,
        [this] { return server.messageSocket().url(); } };
    PreferencesWindowManager m_manager { services() };
};

// ---------------------------------------------------------------- the game and the alerts

class ScoreBoardScreen final : public BuiltScreen
{
public:
    ScoreBoardScreen()
    {
        // The last ten seconds: the time shows in red.
        m_rig.defaults.setValue(WhackAMoleGameManager::gameDurationKey, 10);
        m_game = m_rig.makeGame();
        m_game->startGame();
        QCoreApplication::processEvents();
    }
    ~ScoreBoardScreen() override { m_game.reset(); }

    [[nodiscard]] QWidget* root() const override { return m_game->scoreWindow(); }

private:
    GameRig m_rig;
    std::unique_ptr<WhackAMoleGameManager> m_game;
};

enum class Update { offer, upToDate, failed };

/// The update check's alerts as Alerts::show() lays them out, opened without waiting.
class UpdateAlertScreen final : public BuiltScreen
{
public:
    explicit UpdateAlertScreen(Update which)
    {
        struct Text
        {
            QMessageBox::Icon icon;
            QString title;
            QString text;
            QStringList buttons;
        };
        const Text texts[] = {
            { QMessageBox::Information, u"发现新版本 🎉"_s,
                u"当前版本：1.0.0\n最新版本：1.2.0\n\n更新内容：\n修复了提醒在睡眠后不响的问题\n\n是否立即下载？"_s,
                { u"立即下载"_s, u"稍后提醒"_s, u"忽略此版本"_s } },
            { QMessageBox::Information, u"已是最新版本 ✅"_s, u"当前版本 1.0.0 已经是最新版本。"_s, { u"好的"_s } },
            { QMessageBox::Warning, u"检查更新失败"_s, u"无法连接到更新服务器，请稍后再试。"_s, { u"好的"_s } },
        };
        const Text& t = texts[static_cast<int>(which)];
        m_box.setIcon(t.icon);
        m_box.setTextFormat(Qt::PlainText);
        m_box.setText(t.title);
        m_box.setInformativeText(t.text);
        if (auto* informative = m_box.findChild<QLabel*>(u"qt_msgbox_informativelabel"_s))
            informative->setTextFormat(Qt::PlainText);
        for (qsizetype i = 0; i < t.buttons.size(); ++i) {
            QPushButton* button
                = m_box.addButton(t.buttons.at(i), i == 0 ? QMessageBox::AcceptRole : QMessageBox::ActionRole);
            if (i == 0)
                m_box.setDefaultButton(button);
        }
        Alerts::prepare(m_box);
        m_box.show();
        QCoreApplication::processEvents();
    }

    [[nodiscard]] QWidget* root() const override { return const_cast<QMessageBox*>(&m_box); }

private:
    QMessageBox m_box;
};

template<typename Screen, typename... Args>
std::function<std::unique_ptr<BuiltScreen>()> make(Args... args)
{
    return [=] { return std::unique_ptr<BuiltScreen>(new Screen(args...)); };
}

} // namespace

const QList<SweptScreen>& sweptScreens()
{
    // A conversation row shows its last message on one line at most.
    const QString rowPreview = u"我的第一个瓶子"_s;
    static const QList<SweptScreen> screens {
        { "PetMenu", make<PetScreen>(Pet::menu) },
        { "TrayMenu", make<PetScreen>(Pet::trayMenu) },
        { "LogWindow", make<PetScreen>(Pet::logWindow) },
        { "SpeechBubble", make<PetScreen>(Pet::speechBubble) },
        { "FriendCodeWindow", make<FriendsScreen>(Friends::codeGenerated) },
        { "VerificationAddHalf", make<FriendsScreen>(Friends::codeAdd) },
        { "ReceivedMessageBubble", make<FriendsScreen>(Friends::received) },
        { "ComposeMessageBubble", make<FriendsScreen>(Friends::compose) },
        { "FriendList", make<FriendsScreen>(Friends::list) },
        { "SendSheet", make<FriendsScreen>(Friends::sendSheet) },
        { "BottleWindowSignedOut", make<DriftScreen>(Drift::signedOut), {}, { rowPreview } },
        { "BottleWindowEmpty", make<DriftScreen>(Drift::empty) },
        { "BottleWindowList", make<DriftScreen>(Drift::list), {}, { rowPreview } },
        { "BottleWindowChat", make<DriftScreen>(Drift::chat), {}, { rowPreview } },
        { "BottleWindowSending", make<DriftScreen>(Drift::sending), {}, { rowPreview } },
        { "BottleWindowFailed", make<DriftScreen>(Drift::failed), {}, { rowPreview } },
        { "ThrowSheet", make<DriftScreen>(Drift::throwSheet) },
        { "PickCard", make<DriftScreen>(Drift::pickCard) },
        { "BottleCards", make<DriftScreen>(Drift::cards) },
        { "BottleDetail", make<DriftScreen>(Drift::detail), { u"successBanner"_s, u"errorBanner"_s } },
        { "ReplySheet", make<DriftScreen>(Drift::replySheet) },
        { "SensitiveWordCard", make<DriftScreen>(Drift::sensitiveWord) },
        { "SignInAddress", make<DriftScreen>(Drift::signInAddress) },
        { "SignInPassword", make<DriftScreen>(Drift::signInPassword) },
        { "SignInRegistration", make<DriftScreen>(Drift::signInRegistration) },
        { "AlarmCard", make<RemindersScreen>(Reminders::alarmCard) },
        { "AlarmPage", make<RemindersScreen>(Reminders::alarmPage) },
        { "ReminderPage", make<RemindersScreen>(Reminders::reminderPage) },
        { "AlarmForm", make<RemindersScreen>(Reminders::alarmForm) },
        { "ReminderForm", make<RemindersScreen>(Reminders::reminderForm) },
        { "PreferencesGeneral", make<PreferencesScreen>(PreferenceTab::general, Account::signedIn) },
        { "PreferencesAccountSignedIn", make<PreferencesScreen>(PreferenceTab::account, Account::signedIn) },
        { "PreferencesAccountSignedOut", make<PreferencesScreen>(PreferenceTab::account, Account::signedOut) },
        { "PreferencesAccountEditing", make<PreferencesScreen>(PreferenceTab::account, Account::editing) },
        { "PreferencesFriends", make<PreferencesScreen>(PreferenceTab::friends, Account::signedIn) },
        { "PreferencesReminders", make<PreferencesScreen>(PreferenceTab::reminder, Account::signedIn) },
        { "PreferencesAppearance", make<PreferencesScreen>(PreferenceTab::appearance, Account::signedIn) },
        { "PreferencesGame", make<PreferencesScreen>(PreferenceTab::game, Account::signedIn) },
        { "PreferencesAdvanced", make<PreferencesScreen>(PreferenceTab::advanced, Account::signedIn) },
        { "ScoreBoard", make<ScoreBoardScreen>() },
        { "UpdateOffer", make<UpdateAlertScreen>(Update::offer) },
        { "UpdateUpToDate", make<UpdateAlertScreen>(Update::upToDate) },
        { "UpdateFailed", make<UpdateAlertScreen>(Update::failed) },
    };
    return screens;
}
