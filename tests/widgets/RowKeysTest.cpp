// The keys every list of rows shares, and the ring that marks the row they act on.
#include "widgets/RowKeys.h"
#include "support/DrawnText.h"
#include "support/Wait.h"
#include "widgets/FocusRing.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// The pages' own tests press Space, Return, Delete and Backspace; here, what no page shows.
TEST(RowKeys, KeypadEnterOpensAndAHeldKeyAKeyWithAModifierOrWithoutAnActionDoNothing)
{
    QStringListModel model(QStringList { u"a"_s, u"b"_s });
    QListView view;
    view.setModel(&model);
    QStringList done;
    RowKeys::install(&view,
        { .toggle = [&](int row) { done.append(u"toggle"_s + QString::number(row)); },
            .open = [&](int row) { done.append(u"open"_s + QString::number(row)); },
            .remove = {} });
    view.show();
    QApplication::setActiveWindow(&view);
    view.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(waitUntil([&] { return view.hasFocus(); }));
    QSignalSpy activated(&view, &QAbstractItemView::activated);

    QTest::keyClick(&view, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(&view, Qt::Key_Space, Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_Return, Qt::ControlModifier);
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, u" "_s, true);
    QApplication::sendEvent(&view, &held); // a held key would flip a switch back and forth
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(done, QStringList { u"open0"_s });
    EXPECT_EQ(activated.size(), 1) << "Control-Return went on to the list";
    EXPECT_EQ(view.currentIndex().row(), 1) << "Delete without an action does no harm";
}

// Friend cards, conversations and bottles: a click on a lower row of a scrolled list opens
// that row and leaves the list where it was; only the keyboard brings a row into view.
TEST(RowKeys, AClickPicksTheRowUnderThePointerAndNeverScrollsTheList)
{
    QStringList names;
    for (int i = 0; i < 40; ++i)
        names.append(QString::number(i));
    QStringListModel model(names);
    QWidget window;
    auto* before = new QLineEdit(&window);
    auto* view = new QListView(&window);
    view->setGeometry(0, 30, 200, 150);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setModel(&model);
    RowKeys::install(view, {});
    window.resize(200, 180);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    before->setFocus(Qt::OtherFocusReason);
    view->scrollToBottom();
    // Half a row above the end, so that the top row is cut by the edge.
    const int row = view->sizeHintForRow(0);
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / row * row - row / 2);
    const int scrolled = view->verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);
    QSignalSpy clicked(view, &QAbstractItemView::clicked);

    const QModelIndex lower = model.index(37, 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(lower).center());
    ASSERT_TRUE(view->hasFocus());
    ASSERT_EQ(clicked.size(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toModelIndex().row(), 37);
    EXPECT_EQ(view->currentIndex().row(), 37) << "the keys go on from the clicked row";
    EXPECT_EQ(view->verticalScrollBar()->value(), scrolled);
    // A row cut by the edge stays where it was pressed, also once the view has waited to tell
    // a double click from a click.
    const QModelIndex cut = view->indexAt(QPoint(5, 1));
    ASSERT_LT(view->visualRect(cut).top(), 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(5, 1));
    ASSERT_EQ(view->currentIndex(), cut);
    QTest::qWait(QApplication::doubleClickInterval() + 200);
    EXPECT_EQ(view->verticalScrollBar()->value(), scrolled);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(lower).center());
    QApplication::processEvents();

    // Tab away and back: the keyboard finds its row where it left it.
    before->setFocus(Qt::TabFocusReason);
    view->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(view->currentIndex().row(), 37);
    EXPECT_EQ(view->verticalScrollBar()->value(), scrolled);
    // Scrolled off its row meanwhile, the list brings the row back into view as the keyboard returns.
    before->setFocus(Qt::TabFocusReason);
    view->scrollToTop();
    view->setFocus(Qt::BacktabFocusReason);
    EXPECT_TRUE(view->viewport()->rect().contains(view->visualRect(model.index(37, 0))));
    // With no row current, the keyboard comes in on the first and the list follows it there.
    before->setFocus(Qt::TabFocusReason);
    view->selectionModel()->clearCurrentIndex();
    view->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(view->currentIndex().row(), 0);
    EXPECT_EQ(view->verticalScrollBar()->value(), 0);
}

// The ring's accent is kept where it already stands out, and shifted, hue kept, only as far
// as a graphic must stand out from what it is drawn on, from the lightest to the darkest.
TEST(FocusRing, StandsOutThreeToOneOnAnyBackgroundAndKeepsItsHue)
{
    QPalette palette;
    for (const QColor accent : { QColor(0x30, 0x8c, 0xc6), QColor(0, 122, 255), QColor(0xff, 0x95, 0x00) }) {
        palette.setColor(QPalette::Highlight, accent);
        for (int grey = 0; grey <= 255; grey += 15) {
            for (const QColor background : { QColor(grey, grey, grey), QColor(grey, grey, std::min(255, grey + 12)) }) {
                SCOPED_TRACE(accent.name().toStdString() + " on " + background.name().toStdString());
                const QColor ring = FocusRing::colour(palette, background);
                EXPECT_GE(contrastRatio(ring, background), 3.0);
                EXPECT_NEAR(ring.hslHueF(), accent.hslHueF(), 0.03);
                if (contrastRatio(accent, background) >= FocusRing::contrast) {
                    EXPECT_EQ(ring.rgb(), accent.rgb()) << "shifted though it stood out";
                }
            }
        }
    }
}

// A control removed on its own, while its window stays, takes its ring along: the keys
// pressed afterwards reach no ring that still follows it.
TEST(FocusRing, GoesWithItsControl)
{
    QWidget window;
    auto* control = new QLineEdit(&window);
    FocusRing::ringAround(control);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    control->setFocus(Qt::TabFocusReason);
    delete control;
    QTest::keyClick(&window, Qt::Key_A);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window.findChild<QWidget*>(u"focusHalo"_s), nullptr);
}
