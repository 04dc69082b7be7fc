// The preferences window as drawn, at the default font and a 12 pt one, in a light and a
// dark palette: on the tabs whose look the game, general, appearance and account pages set,
// no line of text is cut by its frame or by the window. With TAMSEL_SHOT_DIR set, each is
// saved as a picture.
#include "PreferencesRig.h"

#include "game/GamePreferencesView.h"
#include "game/WhackAMoleGameManager.h"
#include "preferences/PreferenceTab.h"
#include "preferences/PreferencesView.h"
#include "support/DrawnText.h"
#include "support/FakeTimers.h"
#include "support/Screenshots.h"
#include "support/Wait.h"
#include "widgets/SegmentedPicker.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using PreferencesLook = PreferencesWindowRig;

/// The texts inside `page` that a frame or the window's edge cuts.
QStringList cutTexts(QWidget* page, const QWidget* viewport)
{
    QStringList cut;
    const QRect visible(QPoint(0, 0), viewport->size());
    for (const QLabel* label : page->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(page) || label->text().isEmpty())
            continue;
        const int advance = label->fontMetrics().horizontalAdvance(label->text());
        const QRect text = label->contentsRect();
        const bool narrow = !label->wordWrap() && text.width() < advance;
        // Where the (first line of) text ends on the viewport.
        int end = text.left() + std::min(advance, text.width());
        if (label->alignment() & Qt::AlignRight)
            end = text.right();
        else if (label->alignment() & Qt::AlignHCenter)
            end = text.center().x() + std::min(advance, text.width()) / 2;
        const bool outside = label->mapTo(viewport, QPoint(end, 0)).x() > visible.right() + 1;
        if (narrow || outside)
            cut.append(label->text());
    }
    for (const QAbstractButton* segment : page->findChildren<PickerSegment*>()) {
        if (segment->width() < segment->fontMetrics().horizontalAdvance(segment->text()))
            cut.append(segment->text());
    }
    return cut;
}

} // namespace

TEST_F(PreferencesLook, NoTextIsCutAtTheDefaultFontOrAt12PointsInLightOrDark)
{
    signIn();
    PreferencesWindowManager manager(services());
    manager.setPage(PreferenceTab::game, [this] { return new GamePreferencesView(game); });
    const QFont standard = QApplication::font();
    for (const bool larger : { false, true }) {
        QFont font = standard;
        if (larger)
            font.setPointSizeF(12);
        QApplication::setFont(font);
        for (const bool dark : { false, true }) {
            QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
            for (const PreferenceTab tab :
                { PreferenceTab::general, PreferenceTab::game, PreferenceTab::appearance, PreferenceTab::account }) {
                const QString name = u"preferences-"_s + QString::number(static_cast<int>(tab))
                    + (larger ? u"-12pt"_s : u"-default"_s) + (dark ? u"-dark"_s : u"-light"_s);
                SCOPED_TRACE(name.toStdString());
                manager.showPreferencesWindow(tab);
                QWidget* window = manager.preferencesWindow();
                ASSERT_NE(window, nullptr);
                const QImage picture = drawnImage(window);
                saveShot(picture, name);
                PreferencesView* view = manager.preferencesView();
                auto* scroller = view->findChild<QScrollArea*>(u"pageScroller"_s);
                ASSERT_NE(scroller, nullptr);
                EXPECT_EQ(cutTexts(view->currentPage(), scroller->viewport()), QStringList());
                window->close();
                QCoreApplication::processEvents();
            }
        }
    }
    QApplication::setFont(standard);
    QApplication::setPalette(lightPalette());
}

// A palette switched while the window is open: the sidebar takes the new window colour with
// its symbols, as a window opened in that palette has it, and its symbols read there at 3:1.
TEST_F(PreferencesLook, TheSidebarFollowsAPaletteSwitch)
{
    PreferencesWindowManager manager(services());
    for (const bool toDark : { true, false }) {
        SCOPED_TRACE(toDark ? "light to dark" : "dark to light");
        QApplication::setPalette(toDark ? lightPalette() : darkFusionPalette());
        manager.showPreferencesWindow(PreferenceTab::general);
        QApplication::setPalette(toDark ? darkFusionPalette() : lightPalette());
        QCoreApplication::processEvents();
        auto* sidebar = manager.preferencesView()->findChild<QListWidget*>(u"sidebar"_s);
        ASSERT_NE(sidebar, nullptr);
        const QImage drawn = drawnImage(sidebar);
        const QColor window = QApplication::palette().color(QPalette::Window);
        EXPECT_EQ(dominantColour(drawn, drawn.rect()), window);
        // The second entry is not selected: its symbol stands on the sidebar itself.
        const QRect entry = sidebar->visualItemRect(sidebar->item(1));
        const QRect symbol(entry.topLeft(), QSize(entry.height(), entry.height()));
        EXPECT_GE(contrastRatio(strongestInk(drawn, symbol, symbol.topLeft()), window), 3.0);
        manager.preferencesWindow()->close();
        QCoreApplication::processEvents();
    }
    QApplication::setPalette(lightPalette());
}
