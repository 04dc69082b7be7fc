// Captions, hints and quiet buttons of the drift-bottle screens as drawn: dimmed, yet at
// least 4.5:1 against what they stand on, whether their container paints the window or a
// list's base, in a light and a dark palette.
#include "BottleWindowRig.h"
#include "ScreensRig.h"

#include "driftbottle/unwired/BottleDetailView.h"
#include "driftbottle/unwired/DriftBottleMainView.h"
#include "driftbottle/unwired/ReplySheetView.h"
#include "driftbottle/unwired/SegmentedSwitch.h"
#include "driftbottle/unwired/ThrowBottleTabView.h"
#include "support/DrawnText.h"
#include "support/Screenshots.h"
#include "widgets/BannerRow.h"
#include "widgets/PlainTextEditor.h"

#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

/// The label or button of `window` showing exactly `text`.
QWidget* showing(QWidget* window, const QString& text)
{
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->isVisible() && QString(label->text()).remove(QChar(0x200B)) == text)
            return label;
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->isVisible() && button->text() == text)
            return button;
    }
    return nullptr;
}

/// Checks each of `texts` in `window` as drawn now, in its palette's light or dark form.
void expectSecondary(QWidget* window, const QStringList& texts, const QString& shot)
{
    for (const bool dark : { false, true }) {
        window->setPalette(dark ? darkFusionPalette() : lightPalette());
        QCoreApplication::processEvents();
        const QImage image = drawnImage(window);
        saveShot(image, shot + (dark ? u"-dark"_s : u"-light"_s));
        for (const QString& text : texts) {
            SCOPED_TRACE(text.toStdString() + (dark ? " (dark)" : " (light)"));
            QWidget* widget = showing(window, text);
            ASSERT_TRUE(widget);
            const QRect area = areaIn(widget, window);
            const QColor under = dominantColour(image, area);
            const QColor ink = strongestInk(image, area, area.topLeft());
            ASSERT_TRUE(ink.isValid());
            const double got = contrastRatio(ink, under);
            EXPECT_GE(got, 4.5) << ink.name().toStdString() << " on " << under.name().toStdString();
            // The primary text would stand out far more: black or white on these backgrounds.
            const double primary = contrastRatio(dark ? QColor(Qt::white) : QColor(Qt::black), under);
            EXPECT_LT(got, primary * 0.8) << ink.name().toStdString() << " is not dimmed";
        }
    }
}

} // namespace

TEST_F(ScreensRig, TabbedScreenCaptionsAreSecondaryOnItsBaseStage)
{
    DriftBottleMainView screen(*bottles, *users, [](PetBehavior) {});
    screen.show();
    screen.setSelectedTab(DriftBottleMainView::BottleTab::pick);
    expectSecondary(&screen, { u"海面上漂着许多瓶子"_s, u"点击下方按钮，捡一个试试吧！"_s }, u"tab-pick"_s);

    screen.setSelectedTab(DriftBottleMainView::BottleTab::throw_bottle);
    expectSecondary(&screen, { u"写下你的心情，让它漂向远方"_s, u"0/1000"_s }, u"tab-throw"_s);

    // Alice has thrown nothing: the empty sent list.
    screen.setSelectedTab(DriftBottleMainView::BottleTab::sent);
    ASSERT_TRUE(waitUntil([&] { return showing(&screen, u"还没有丢出瓶子"_s) != nullptr; }));
    expectSecondary(&screen, { u"还没有丢出瓶子"_s, u"去丢一个瓶子吧！"_s }, u"tab-sent"_s);

    // A failed pick: the notice banner's text on its orange tint.
    users->setUserMode(UserMode::offline);
    screen.setSelectedTab(DriftBottleMainView::BottleTab::pick);
    part(&screen, "pickButton")->click();
    auto* banner = screen.findChild<BannerRow*>(u"errorBanner"_s);
    ASSERT_TRUE(waitUntil([&] { return banner->isVisible(); }));
    expectSecondary(&screen, { banner->message() }, u"tab-pick-error"_s);
}

TEST_F(ScreensRig, DetailCloseSymbolAndTheSendingLineAreSecondary)
{
    BottleDetailView detail(bobsBottle(), *bottles, *users);
    detail.show();
    expectSecondary(&detail, { u"普通瓶子"_s, u"内容"_s }, u"detail"_s);
    // The close symbol's disc, against the window around it.
    QWidget* close = part<QWidget>(&detail, "closeIconButton");
    ASSERT_TRUE(close);
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "close symbol (dark)" : "close symbol (light)");
        detail.setPalette(dark ? darkFusionPalette() : lightPalette());
        QCoreApplication::processEvents();
        const QImage image = drawnImage(&detail);
        const QRect area = areaIn(close, &detail);
        const QColor under = image.pixelColor(area.topLeft());
        const QColor disc = image.pixelColor(area.left() + 1, area.center().y());
        EXPECT_GE(contrastRatio(disc, under), 4.5) << disc.name().toStdString() << " on " << under.name().toStdString();
        EXPECT_LT(contrastRatio(disc, under), contrastRatio(dark ? QColor(Qt::white) : QColor(Qt::black), under) * 0.8);
    }

    ReplySheetView sheet(
        u"b"_s, bob, [](const QString&) {}, nullptr);
    sheet.show();
    sheet.findChild<PlainTextEditor*>()->setPlainText(u"你好"_s);
    part(&sheet, "sendButton")->click();
    expectSecondary(&sheet, { u"发送中..."_s }, u"reply-sending"_s);
}

TEST_F(BottleWindowRig, ListPaneCaptionsAndItsNoticeAreSecondaryOnItsBase)
{
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    expectSecondary(
        window, { u"还没有对话"_s, u"点击上方按钮丢瓶子或捡瓶子"_s, u"或者丢一个新瓶子"_s }, u"chat-empty"_s);

    // Nobody has thrown a bottle: the pick fails and its reason shows above the list.
    window->findChild<QPushButton*>(u"pickButton"_s)->click();
    auto* banner = window->findChild<BannerRow*>(u"listError"_s);
    ASSERT_TRUE(waitUntil([&] { return banner->isVisible(); }));
    expectSecondary(window, { banner->message() }, u"chat-error"_s);
}
