// The preferences window as drawn, at the default font and a 12 pt one, in a light and a
// dark palette: on the tabs whose look the game, general, appearance, account and advanced
// pages set, no line of text is cut by its frame or by the window, and the forms keep the
// standard padding. With TAMSEL_SHOT_DIR set, each is saved as a picture.
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
#include "widgets/Spacing.h"

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
            for (const PreferenceTab tab : { PreferenceTab::general, PreferenceTab::game, PreferenceTab::appearance,
                     PreferenceTab::account, PreferenceTab::advanced }) {
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
                QWidget* page = view->currentPage();
                EXPECT_EQ(cutTexts(page, scroller->viewport()), QStringList());
                if (tab != PreferenceTab::general && tab != PreferenceTab::game) {
                    // The form keeps the standard padding from the page's edges.
                    QRect parts;
                    for (const QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                        if (child->isVisibleTo(page))
                            parts |= child->geometry();
                    }
                    EXPECT_EQ(parts.left(), Spacing::standardPadding);
                    EXPECT_EQ(parts.top(), Spacing::standardPadding);
                    EXPECT_EQ(page->width() - 1 - parts.right(), Spacing::standardPadding);
                }
                if (tab == PreferenceTab::appearance) {
                    // One blank stands between the emoji as drawn and the pet's name.
                    const auto* rowPart = page->findChild<QWidget*>(u"currentPet"_s);
                    const auto* emojiPart = page->findChild<QLabel*>(u"currentPetEmoji"_s);
                    const auto* name = page->findChild<QLabel*>(u"currentPetName"_s);
                    ASSERT_TRUE(rowPart && emojiPart && name);
                    const QRect row = areaIn(rowPart, window);
                    const QRect emoji = areaIn(emojiPart, window);
                    const QRect emojiInk
                        = inkIn(picture, QRect(emoji.left() - 2, row.top(), emoji.width() + 4, row.height()), 1.3).box;
                    const QRect nameInk = inkIn(picture, areaIn(name, window) & row, 1.3).box;
                    const int blank = QFontMetrics(name->font()).horizontalAdvance(u' ');
                    const int gap = nameInk.left() - emojiInk.right() - 1;
                    EXPECT_GE(gap, blank - 1);
                    EXPECT_LE(gap, blank + 2);
                }
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
