// The preferences window: which tab a request opens, that there is only ever one window,
// and that closing it forgets it.
#include "PreferencesRig.h"

#include "preferences/AccountPreferencesView.h"
#include "preferences/GeneralPreferencesView.h"
#include "support/DrawnText.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QScrollArea>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct PreferencesWindow : PreferencesRig
{
    std::unique_ptr<PreferencesWindowManager> manager;

    void SetUp() override
    {
        PreferencesRig::SetUp();
        manager = std::make_unique<PreferencesWindowManager>(services());
    }

    PreferenceTab shownTab() const { return manager->preferencesView()->selectedTab(); }
    QStringList sidebarTitles() const
    {
        QStringList titles;
        auto* sidebar = manager->preferencesView()->findChild<QListWidget*>(u"sidebar"_s);
        for (int i = 0; i < sidebar->count(); ++i)
            titles.append(sidebar->item(i)->text());
        return titles;
    }
};

} // namespace

TEST_F(PreferencesWindow, RequestedTitleChoosesTheTabAndAnythingElseOpensGeneral)
{
    manager->setPage(PreferenceTab::reminder, [] { return new QLabel(u"reminders"_s); });
    const struct
    {
        std::optional<QString> request;
        PreferenceTab expected;
    } cases[] = {
        { std::nullopt, PreferenceTab::general }, { u"提醒/闹钟"_s, PreferenceTab::reminder },
        { u"外观"_s, PreferenceTab::appearance }, { u"高级"_s, PreferenceTab::advanced },
        { u"账号"_s, PreferenceTab::account }, { u"设置"_s, PreferenceTab::general },
        { u"外观 "_s, PreferenceTab::general }, // exact titles only
        { QString(), PreferenceTab::general }, { u"游戏"_s, PreferenceTab::general }, // a tab without a page
    };
    for (const auto& c : cases) {
        manager->showPreferencesWindow(c.request);
        ASSERT_TRUE(manager->preferencesWindow());
        EXPECT_EQ(shownTab(), c.expected) << c.request.value_or(u"(none)"_s).toStdString();
        EXPECT_EQ(manager->preferencesView()->currentPage()->objectName(), u"page_"_s + rawValue(c.expected));
        manager->preferencesWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(manager->preferencesWindow());
    }
}

TEST_F(PreferencesWindow, RepeatedRequestsRaiseTheOneWindowAndKeepItsTab)
{
    manager->setPage(PreferenceTab::reminder, [] { return new QLabel(u"reminders"_s); });
    manager->showPreferencesWindow(u"外观"_s);
    QPointer<QWidget> first = manager->preferencesWindow();
    EXPECT_EQ(first->windowTitle(), u"Tamsel - 偏好设置"_s);
    EXPECT_EQ(first->size(), QSize(800, 550)) << "the content's minimum width wins";
    EXPECT_TRUE(first->isVisible());

    first->showMinimized();
    manager->showPreferencesWindow(u"提醒/闹钟"_s);
    manager->showPreferencesWindow(PreferenceTab::advanced);
    manager->showPreferencesWindow();
    EXPECT_EQ(manager->preferencesWindow(), first.data());
    EXPECT_FALSE(first->isMinimized());
    EXPECT_EQ(shownTab(), PreferenceTab::appearance);
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows += w->windowTitle() == PreferencesWindowManager::windowTitle ? 1 : 0;
    EXPECT_EQ(windows, 1);

    // Closed, it is gone; the next request builds a new window on the requested tab.
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first);
    manager->showPreferencesWindow(u"提醒/闹钟"_s);
    EXPECT_EQ(shownTab(), PreferenceTab::reminder);
}

TEST_F(PreferencesWindow, TabsFollowTheFixedOrderAndSwitchingRebuildsThePage)
{
    manager->showPreferencesWindow();
    EXPECT_EQ(sidebarTitles(), (QStringList { u"通用"_s, u"账号"_s, u"外观"_s, u"高级"_s }));
    manager->preferencesWindow()->close();

    // A feature's page slots into its place with one call; windows opened later show it.
    int built = 0;
    manager->setPage(PreferenceTab::game, [&built] {
        ++built;
        return new QLabel(u"game"_s);
    });
    manager->setPage(PreferenceTab::friends, [] { return new QLabel(u"friends"_s); });
    manager->showPreferencesWindow(u"游戏"_s);
    EXPECT_EQ(sidebarTitles(), (QStringList { u"通用"_s, u"账号"_s, u"好友"_s, u"外观"_s, u"游戏"_s, u"高级"_s }));
    EXPECT_EQ(built, 1);

    PreferencesView* view = manager->preferencesView();
    QPointer<QWidget> gamePage = view->currentPage();
    auto* sidebar = view->findChild<QListWidget*>(u"sidebar"_s);
    sidebar->setCurrentRow(0);
    EXPECT_EQ(view->selectedTab(), PreferenceTab::general);
    EXPECT_TRUE(qobject_cast<GeneralPreferencesView*>(view->currentPage()));
    EXPECT_FALSE(gamePage) << "the page that was left is gone, with whatever it ran";
    sidebar->setCurrentRow(4);
    EXPECT_EQ(view->selectedTab(), PreferenceTab::game);
    EXPECT_EQ(built, 2);
}

TEST_F(PreferencesWindow, ClosingTheManagerClosesItsWindow)
{
    manager->showPreferencesWindow();
    QPointer<QWidget> window = manager->preferencesWindow();
    manager.reset();
    EXPECT_FALSE(window);
}

TEST_F(PreferencesWindowRig, TabGoesFromControlToControlAndNeverRestsOnAScrollerThatShowsNoFocus)
{
    signIn();
    PreferencesWindowManager manager(services());
    const struct
    {
        PreferenceTab tab;
        const char* firstControl;
    } tabs[] = {
        { PreferenceTab::general, "speedSlider" },
        { PreferenceTab::account, "nicknameField" }, // editing, with the avatar strip
        { PreferenceTab::appearance, "petType_cat" },
        { PreferenceTab::advanced, "resetButton" },
    };
    for (const auto& t : tabs) {
        SCOPED_TRACE(rawValue(t.tab).toStdString());
        manager.showPreferencesWindow(t.tab);
        QWidget* window = manager.preferencesWindow();
        if (t.tab == PreferenceTab::account)
            window->findChild<AccountPreferencesView*>()->startEditing();
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        auto* sidebar = window->findChild<QListWidget*>(u"sidebar"_s);
        sidebar->setFocus(Qt::TabFocusReason);

        QStringList stops;
        for (int i = 0; i < 60; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            if (focus == sidebar)
                break;
            stops.append(focus->objectName());
            EXPECT_FALSE(qobject_cast<QScrollArea*>(focus))
                << "Tab rests on the scroller " << focus->objectName().toStdString();
        }
        ASSERT_FALSE(stops.isEmpty());
        EXPECT_EQ(stops.constFirst(), QString::fromLatin1(t.firstControl)) << "from the sidebar straight to the page";
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(PreferencesWindow, TheSidebarMarksItsRowWhileItHoldsTheKeyboard)
{
    manager->showPreferencesWindow(PreferenceTab::appearance);
    QWidget* window = manager->preferencesWindow();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto* sidebar = window->findChild<QListWidget*>(u"sidebar"_s);
    // The current row's left edge, against the row's face just inside it, above its symbol.
    const auto edgeContrast = [&] {
        const QRect row = sidebar->visualItemRect(sidebar->currentItem());
        const QImage image = sidebar->viewport()->grab().toImage();
        return contrastRatio(
            image.pixelColor(row.left(), row.center().y()), image.pixelColor(row.left() + 4, row.top() + 4));
    };

    // Opened, the sidebar has the focus, and the selection alone marks its row.
    ASSERT_TRUE(sidebar->hasFocus());
    EXPECT_LT(edgeContrast(), 1.1);
    // Tab goes round the window and back to the sidebar.
    window->findChild<QWidget*>(u"petType_cat"_s)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    ASSERT_TRUE(sidebar->hasFocus());
    EXPECT_GE(edgeContrast(), 3.0) << "the sidebar holds the keyboard and shows nothing";
    QTest::keyClick(sidebar, Qt::Key_Down);
    ASSERT_EQ(shownTab(), PreferenceTab::advanced);
    ASSERT_TRUE(sidebar->hasFocus());
    EXPECT_GE(edgeContrast(), 3.0) << "the ring stayed behind";
    QCoreApplication::processEvents(); // the new page shows
    QTest::keyClick(sidebar, Qt::Key_Tab);
    ASSERT_FALSE(sidebar->hasFocus());
    EXPECT_LT(edgeContrast(), 1.1) << "a ring where the keyboard is not";
}
