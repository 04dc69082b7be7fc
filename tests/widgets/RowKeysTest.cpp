// The keys every list of rows shares, and the ring that marks the row they act on.
#include "widgets/RowKeys.h"
#include "support/DrawnText.h"
#include "support/Wait.h"
#include "widgets/FocusRing.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>
#include <QVBoxLayout>

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

// Delete on a row leaves the keyboard where it was: on the row that took its place, on the new
// last row, and with no rows left on the page's add button, or on what follows the list where
// the page has none. The model here answers a removal with a reset, and the page hides an
// empty list, as the pages do.
TEST(RowKeys, AfterADeleteTheFocusStaysInPlaceAndAnEmptyListHandsItOn)
{
    for (const bool withAdd : { true, false }) {
        SCOPED_TRACE(withAdd ? "with an add button" : "without one");
        QWidget page;
        auto* column = new QVBoxLayout(&page);
        auto* add = new QPushButton(u"添加"_s, &page);
        auto* view = new QListView(&page);
        auto* after = new QLineEdit(&page);
        column->addWidget(add);
        column->addWidget(view);
        column->addWidget(after);
        QStringListModel model(QStringList { u"a"_s, u"b"_s, u"c"_s, u"d"_s });
        view->setModel(&model);
        QObject::connect(
            &model, &QAbstractItemModel::modelReset, view, [&] { view->setVisible(model.rowCount() > 0); });
        RowKeys* keys = RowKeys::install(view, { .toggle = {}, .open = {}, .remove = [&](int row) {
                                                    QStringList rows = model.stringList();
                                                    rows.removeAt(row);
                                                    model.setStringList(rows);
                                                } });
        if (withAdd)
            keys->setFocusWhenEmpty(add);
        page.show();
        QApplication::setActiveWindow(&page);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
        add->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(add, Qt::Key_Tab);
        ASSERT_TRUE(view->hasFocus());
        const auto current = [&] { return view->currentIndex().data().toString(); };

        QTest::keyClick(view, Qt::Key_Down);
        QTest::keyClick(view, Qt::Key_Delete);
        ASSERT_TRUE(waitUntil([&] { return current() == u"c"_s; })) << current().toStdString();
        EXPECT_TRUE(view->hasFocus());
        QTest::keyClick(view, Qt::Key_Down);
        QTest::keyClick(view, Qt::Key_Backspace);
        ASSERT_TRUE(waitUntil([&] { return current() == u"c"_s; }))
            << "the new last row, not " << current().toStdString();
        EXPECT_TRUE(view->hasFocus());
        QTest::keyClick(view, Qt::Key_Delete);
        ASSERT_TRUE(waitUntil([&] { return current() == u"a"_s; })) << current().toStdString();
        QTest::keyClick(view, Qt::Key_Delete);
        QWidget* expected = withAdd ? static_cast<QWidget*>(add) : after;
        ASSERT_TRUE(waitUntil([&] { return expected->hasFocus(); }))
            << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "nothing");
        EXPECT_EQ(model.rowCount(), 0);
    }
}
