// The keys every list of rows shares, and the ring that marks the row they act on.
#include "widgets/RowKeys.h"
#include "support/DrawnText.h"
#include "support/Wait.h"
#include "widgets/FocusRing.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct KeyedList
{
    QStringListModel model { QStringList { u"a"_s, u"b"_s, u"c"_s } };
    QListView view;
    QStringList done;

    explicit KeyedList(bool withOpen = true)
    {
        view.setModel(&model);
        const auto record = [this](const char* what) {
            return [this, what](int row) { done.append(QString::fromLatin1(what) + QString::number(row)); };
        };
        RowKeys::install(&view,
            { .toggle = record("toggle"),
                .open = withOpen ? record("open") : RowKeys::RowAction(),
                .remove = record("remove") });
        view.show();
        QApplication::setActiveWindow(&view);
    }

    void focus()
    {
        view.setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(waitUntil([this] { return view.hasFocus(); }));
    }
};

} // namespace

TEST(RowKeys, EachKeyActsOnTheCurrentRowAndOnlyAPlainFreshPressCounts)
{
    KeyedList list;
    ASSERT_NO_FATAL_FAILURE(list.focus());
    EXPECT_EQ(list.view.currentIndex().row(), 0) << "coming in lands on the first row";

    QTest::keyClick(&list.view, Qt::Key_Down);
    QTest::keyClick(&list.view, Qt::Key_Space);
    QTest::keyClick(&list.view, Qt::Key_Return);
    QTest::keyClick(&list.view, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(&list.view, Qt::Key_Down);
    QTest::keyClick(&list.view, Qt::Key_Delete);
    QTest::keyClick(&list.view, Qt::Key_Backspace);
    EXPECT_EQ(list.done, (QStringList { u"toggle1"_s, u"open1"_s, u"open1"_s, u"remove2"_s, u"remove2"_s }));

    // With a modifier it is another key; held down, it acts once.
    list.done.clear();
    QTest::keyClick(&list.view, Qt::Key_Delete, Qt::ControlModifier);
    QTest::keyClick(&list.view, Qt::Key_Space, Qt::ShiftModifier);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, u" "_s, true);
    QApplication::sendEvent(&list.view, &repeat);
    EXPECT_TRUE(list.done.isEmpty()) << list.done.join(u", "_s).toStdString();
}

TEST(RowKeys, AKeyWithNoActionGoesToTheListAndAnEmptyListActsOnNothing)
{
    KeyedList list(false);
    ASSERT_NO_FATAL_FAILURE(list.focus());
    QSignalSpy activated(&list.view, &QAbstractItemView::activated);
    QTest::keyClick(&list.view, Qt::Key_Return);
    EXPECT_TRUE(list.done.isEmpty());
    EXPECT_EQ(activated.size(), 1) << "the list's own Return still opens the row";

    list.view.clearFocus();
    list.model.setStringList({});
    ASSERT_NO_FATAL_FAILURE(list.focus());
    EXPECT_FALSE(list.view.currentIndex().isValid());
    for (const Qt::Key key : { Qt::Key_Space, Qt::Key_Return, Qt::Key_Delete })
        QTest::keyClick(&list.view, key);
    EXPECT_TRUE(list.done.isEmpty());
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
