// The screens of the sweep, built on the feature tests' own rigs: the fake companion
// server, fake clocks and timers, and the managers each screen works on. The drift-bottle
// and the friends' screens have files of their own.
#include "SweptRigs.h"

#include "app/SpeechBubbleLook.h"
#include "friends/FriendListView.h"
#include "friends/FriendManager.h"
#include "friends/FriendMessageManager.h"
#include "game/GamePreferencesView.h"
#include "menus/MenuBarCoordinator.h"
#include "pet/MultiPetManager.h"
#include "pet/SpeechBubbleView.h"
#include "pet/SpeechBubbleWindowManager.h"
#include "platform/Alerts.h"
#include "platform/FloatingWindow.h"
#include "preferences/AccountPreferencesView.h"
#include "preferences/AdvancedPreferencesView.h"
#include "preferences/SystemResourceView.h"
#include "reminders/AlarmWindowView.h"
#include "reminders/pages/AlarmForm.h"
#include "reminders/pages/AlarmManagementView.h"
#include "reminders/pages/ReminderAndAlarmPreferencesView.h"
#include "reminders/pages/ReminderForm.h"
#include "reminders/pages/ReminderManagementView.h"
#include "widgets/PlainLineEdit.h"

#include "game/GameRig.h"
#include "menus/MenuParts.h"
#include "preferences/PreferencesRig.h"
#include "reminders/PagesRig.h"
#include "support/FakeSystemInfo.h"
#include "support/Wait.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>

#include <iterator>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// ---------------------------------------------------------------- the pet and its menus

enum class Pet { trayMenu, speechBubble, restBubble, logWindow };

class PetScreen final : public BuiltScreen
{
public:
    explicit PetScreen(Pet which)
    {
        m_parts.windowManager.createPetWindow();
        switch (which) {
        case Pet::trayMenu:
            m_coordinator = std::make_unique<MenuBarCoordinator>(
                m_parts.users, m_parts.doNotDisturb, m_parts.settings, m_parts.about, m_parts.resources);
            m_root = m_coordinator->menu();
            m_root->show();
            break;
        case Pet::speechBubble:
        case Pet::restBubble:
            if (which == Pet::speechBubble) {
                m_bubbles.showBubble(u"喝水时间"_s, u"起来喝杯水吧，休息一下眼睛"_s, u"💧"_s);
            } else {
                // The rest reminder's emoji is a joined sequence with a skin tone.
                Reminder rest;
                rest.type = ReminderType::rest;
                rest.title = displayName(rest.type);
                rest.message = defaultMessage(rest.type);
                m_bubbles.handleReminderTriggered(rest);
            }
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
            m_root = m_logWindow->logWindow();
            break;
        }
        QCoreApplication::processEvents();
    }

    ~PetScreen() override
    {
        if (m_root)
            m_root->close();
        m_logWindow.reset();
    }

    [[nodiscard]] QWidget* root() const override { return m_root; }

private:
    MenuParts m_parts;
    SpeechBubbleWindowManager m_bubbles { m_parts.windowManager, kitSpeechBubbleLook() };
    std::unique_ptr<MenuBarCoordinator> m_coordinator;
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

// ---------------------------------------------------------------- the resource meter

/// The resource view in each of its bands at once: the figures' colours and the meter's lit
/// bars, green, blue, orange and red.
class ResourceMetersScreen final : public BuiltScreen
{
public:
    ResourceMetersScreen()
    {
        auto* layout = new QVBoxLayout(&m_window);
        // Processor per cent and memory megabytes, each in one band.
        const std::pair<double, double> figures[] = { { 5.0, 30.0 }, { 25.0, 75.0 }, { 55.0, 150.0 }, { 95.0, 250.0 } };
        for (std::size_t i = 0; i < std::size(figures); ++i) {
            m_info[i].times = SystemInfo::ProcessTimes { figures[i].first / 100.0, 1.0 };
            m_info[i].resident = static_cast<qint64>(figures[i].second * 1024 * 1024);
            layout->addWidget(new SystemResourceView(m_info[i], &m_window));
        }
        m_window.resize(480, 10);
        m_window.show();
        QCoreApplication::processEvents();
    }

    [[nodiscard]] QWidget* root() const override { return const_cast<QWidget*>(&m_window); }

private:
    FakeSystemInfo m_info[4];
    QWidget m_window;
};

// ---------------------------------------------------------------- confirmations

/// The box an alert of the program opens, as the program asks for it: the alert is taken
/// from the queue that answers it, then built as a real one would be and shown without
/// waiting.
class AlertScreen : public BuiltScreen
{
public:
    [[nodiscard]] QWidget* root() const override { return m_built.box.get(); }

protected:
    void open(QWidget* parent = nullptr)
    {
        const QList<Alerts::Record> asked = Alerts::answeredAlerts();
        EXPECT_EQ(asked.size(), 1) << "one alert asked for";
        if (asked.isEmpty())
            return;
        m_built = Alerts::build(asked.last(), parent);
        Alerts::clearAnsweredAlerts();
        m_built.box->show();
        QCoreApplication::processEvents();
    }

    /// Closes the box before what it stands over goes.
    void close() { m_built.box.reset(); }

private:
    Alerts::Built m_built;
};

/// "游戏结束！" with its score and comment, at the end of a ten-second game.
class GameOverScreen final : public AlertScreen
{
public:
    GameOverScreen()
    {
        m_rig.defaults.setValue(WhackAMoleGameManager::gameDurationKey, 10);
        m_game = m_rig.makeGame();
        Alerts::clearAnsweredAlerts();
        // "关闭": the game stays over.
        Alerts::setNextAnswers({ 1 });
        m_game->startGame();
        m_rig.timers.advanceMs(10000 + WhackAMoleGameManager::gameOverDelayMs);
        open();
    }
    ~GameOverScreen() override
    {
        close();
        Alerts::setNextAnswers({});
        m_game.reset();
    }

private:
    GameRig m_rig;
    std::unique_ptr<WhackAMoleGameManager> m_game;
};

/// "确认重置" over the advanced tab, with its destructive "重置".
class ResetConfirmationScreen final : public Hosted<PreferencesWindowRig>, public AlertScreen
{
public:
    ResetConfirmationScreen()
    {
        m_manager.showPreferencesWindow(PreferenceTab::advanced);
        auto* page = m_manager.preferencesWindow()->findChild<AdvancedPreferencesView*>();
        EXPECT_TRUE(page);
        Alerts::clearAnsweredAlerts();
        // "取消": the pet stays where it is.
        Alerts::setNextAnswers({ 0 });
        if (page)
            page->showResetConfirmation();
        open(m_manager.preferencesWindow());
    }
    ~ResetConfirmationScreen() override
    {
        close();
        Alerts::setNextAnswers({});
        if (QWidget* window = m_manager.preferencesWindow())
            window->close();
        QCoreApplication::processEvents();
    }

    [[nodiscard]] QWidget* root() const override { return AlertScreen::root(); }

private:
    PreferencesWindowManager m_manager { services() };
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
        { "PetMenu", [] { return petMenuScreen(PetMenu::signedInWithPinnedFriend); } },
        { "PetMenuInteractions", [] { return petMenuScreen(PetMenu::interactions); } },
        { "PetMenuFriends", [] { return petMenuScreen(PetMenu::friends); } },
        { "PetMenuNoFriends", [] { return petMenuScreen(PetMenu::noFriends); } },
        { "PetMenuSignedOut", [] { return petMenuScreen(PetMenu::signedOut); } },
        { "TrayMenu", make<PetScreen>(Pet::trayMenu) },
        { "LogWindow", make<PetScreen>(Pet::logWindow) },
        { "SpeechBubble", make<PetScreen>(Pet::speechBubble) },
        { "RestReminderBubble", make<PetScreen>(Pet::restBubble) },
        { "FriendCodeWindow", [] { return friendsScreen(Friends::codeGenerated); } },
        { "VerificationAddHalf", [] { return friendsScreen(Friends::codeAdd); } },
        { "ReceivedMessageBubble", [] { return friendsScreen(Friends::received); } },
        { "ComposeMessageBubble", [] { return friendsScreen(Friends::compose); } },
        { "FriendList", [] { return friendsScreen(Friends::list); }, {}, {}, { u"connectionDot"_s } },
        { "FriendListOffline", [] { return friendsScreen(Friends::listOffline); }, {}, {}, { u"connectionDot"_s } },
        { "SendSheet", [] { return friendsScreen(Friends::sendSheet); } },
        { "BottleWindowSignedOut", [] { return driftScreen(Drift::signedOut); }, {}, { rowPreview } },
        { "BottleWindowEmpty", [] { return driftScreen(Drift::empty); } },
        { "BottleWindowList", [] { return driftScreen(Drift::list); }, {}, { rowPreview } },
        { "BottleWindowChat", [] { return driftScreen(Drift::chat); }, {}, { rowPreview } },
        { "BottleWindowSending", [] { return driftScreen(Drift::sending); }, {}, { rowPreview } },
        { "BottleWindowFailed", [] { return driftScreen(Drift::failed); }, {}, { rowPreview } },
        { "ThrowSheet", [] { return driftScreen(Drift::throwSheet); } },
        { "PickCard", [] { return driftScreen(Drift::pickCard); } },
        { "BottleCards", [] { return driftScreen(Drift::cards); } },
        { "BottleTabsPick", [] { return driftScreen(Drift::tabbedPick); } },
        { "BottleCardList", [] { return driftScreen(Drift::cardList); } },
        { "BottleDetail", [] { return driftScreen(Drift::detail); }, { u"successBanner"_s, u"errorBanner"_s } },
        { "ReplySheet", [] { return driftScreen(Drift::replySheet); } },
        { "SensitiveWordCard", [] { return driftScreen(Drift::sensitiveWord); } },
        { "SignInAddress", [] { return driftScreen(Drift::signInAddress); } },
        { "SignInPassword", [] { return driftScreen(Drift::signInPassword); } },
        { "SignInRegistration", [] { return driftScreen(Drift::signInRegistration); } },
        { "AlarmCard", make<RemindersScreen>(Reminders::alarmCard) },
        { "AlarmPage", make<RemindersScreen>(Reminders::alarmPage) },
        { "ReminderPage", make<RemindersScreen>(Reminders::reminderPage) },
        { "AlarmForm", make<RemindersScreen>(Reminders::alarmForm) },
        { "ReminderForm", make<RemindersScreen>(Reminders::reminderForm) },
        { "PreferencesGeneral", make<PreferencesScreen>(PreferenceTab::general, Account::signedIn) },
        { "PreferencesAccountSignedIn", make<PreferencesScreen>(PreferenceTab::account, Account::signedIn) },
        { "PreferencesAccountSignedOut", make<PreferencesScreen>(PreferenceTab::account, Account::signedOut) },
        { "PreferencesAccountEditing", make<PreferencesScreen>(PreferenceTab::account, Account::editing) },
        { "PreferencesFriends", make<PreferencesScreen>(PreferenceTab::friends, Account::signedIn), {}, {},
            { u"connectionDot"_s } },
        { "PreferencesReminders", make<PreferencesScreen>(PreferenceTab::reminder, Account::signedIn) },
        { "PreferencesAppearance", make<PreferencesScreen>(PreferenceTab::appearance, Account::signedIn) },
        { "PreferencesGame", make<PreferencesScreen>(PreferenceTab::game, Account::signedIn) },
        { "PreferencesAdvanced", make<PreferencesScreen>(PreferenceTab::advanced, Account::signedIn) },
        { "ResourceMeters", make<ResourceMetersScreen>() },
        { "ResetConfirmation", make<ResetConfirmationScreen>() },
        { "ScoreBoard", make<ScoreBoardScreen>() },
        { "GameOver", make<GameOverScreen>() },
        { "UpdateOffer", make<UpdateAlertScreen>(Update::offer) },
        { "UpdateUpToDate", make<UpdateAlertScreen>(Update::upToDate) },
        { "UpdateFailed", make<UpdateAlertScreen>(Update::failed) },
    };
    return screens;
}
