// The sensitive-word card: which clicks close it, that it closes once, that it keeps the
// widgets underneath from reacting, and that the explanation wraps inside the card.
#include "driftbottle/unwired/SensitiveWordAlertView.h"
#include "support/DrawnText.h"
#include "support/Screenshots.h"
#include "support/Wait.h"
#include "widgets/ButtonStyle.h"
#include "widgets/PlainLabel.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Host
{
    QWidget window;
    QLineEdit* editor = new QLineEdit(&window);
    QPushButton* below = new QPushButton(u"send"_s, &window);
    int belowClicks = 0;

    Host()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(editor);
        layout->addWidget(below);
        QObject::connect(below, &QPushButton::clicked, [this] { ++belowClicks; });
        window.resize(700, 650);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        editor->setFocus();
    }
};

} // namespace

TEST(SensitiveWordAlert, RecognisesTheRefusalAnywhereInTheText)
{
    EXPECT_TRUE(SensitiveWordAlertView::isSensitiveWordRefusal(u"服务器错误: 内容包含敏感词"_s));
    EXPECT_TRUE(SensitiveWordAlertView::isSensitiveWordRefusal(u"敏感词"_s));
    EXPECT_FALSE(SensitiveWordAlertView::isSensitiveWordRefusal(u"服务器错误: 敏感"_s));
    EXPECT_FALSE(SensitiveWordAlertView::isSensitiveWordRefusal(QString()));
}

TEST(SensitiveWordAlert, BackdropAndButtonCloseItOnceTheCardDoesNot)
{
    enum class Click { backdropCorner, cardFace, button, backdropTwice };
    for (Click click : { Click::backdropCorner, Click::cardFace, Click::button, Click::backdropTwice }) {
        Host host;
        int dismissed = 0;
        QPointer<SensitiveWordAlertView> alert = SensitiveWordAlertView::present(&host.window, [&] { ++dismissed; });
        ASSERT_TRUE(alert);
        EXPECT_EQ(alert->geometry(), host.window.rect());
        EXPECT_EQ(SensitiveWordAlertView::present(&host.window), alert.data()) << "no second card";

        const QPoint cardCentre = alert->card()->geometry().center();
        switch (click) {
        case Click::backdropCorner:
            QTest::mouseClick(alert, Qt::LeftButton, {}, QPoint(5, 5));
            break;
        case Click::cardFace:
            QTest::mouseClick(alert->card(), Qt::LeftButton, {}, QPoint(5, 5));
            QTest::mouseClick(alert->card(), Qt::LeftButton, {}, alert->card()->rect().center());
            break;
        case Click::button:
            QTest::mouseClick(alert->button(), Qt::LeftButton);
            break;
        case Click::backdropTwice:
            QTest::mouseClick(alert, Qt::LeftButton, {}, QPoint(cardCentre.x(), 3));
            QTest::mouseClick(alert, Qt::LeftButton, {}, QPoint(cardCentre.x(), 3));
            break;
        }
        if (click == Click::cardFace) {
            QTest::qWait(SensitiveWordAlertView::fadeMs + 100);
            EXPECT_EQ(dismissed, 0);
            EXPECT_TRUE(alert && alert->isVisible());
            continue;
        }
        EXPECT_EQ(dismissed, 1) << int(click);
        EXPECT_TRUE(waitUntil([&] { return alert.isNull(); })) << "the card frees itself after fading out";
        EXPECT_EQ(dismissed, 1);
        EXPECT_TRUE(host.editor->hasFocus()) << "focus goes back to the text";
    }
}

TEST(SensitiveWordAlert, NothingUnderTheCardReactsWhileItShows)
{
    Host host;
    QPointer<SensitiveWordAlertView> alert = SensitiveWordAlertView::present(&host.window);
    const QPoint belowCentre = host.below->geometry().center();
    QTest::mousePress(alert, Qt::LeftButton, {}, alert->card()->geometry().center());
    QTest::mouseRelease(alert, Qt::LeftButton, {}, alert->card()->geometry().center());
    QTest::keyClicks(alert->button(), u"abc"_s);
    QTest::keyClick(alert->button(), Qt::Key_Tab);
    EXPECT_TRUE(host.editor->text().isEmpty());
    EXPECT_EQ(host.belowClicks, 0);
    EXPECT_TRUE(alert->button()->hasFocus());

    // Return presses the card's button; the click under it that follows reaches the window.
    QTest::keyClick(alert->button(), Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return alert.isNull(); }));
    QTest::mouseClick(host.below, Qt::LeftButton, {}, host.below->rect().center());
    EXPECT_EQ(host.belowClicks, 1);
    Q_UNUSED(belowCentre);
}

TEST(SensitiveWordAlert, ExplanationWrapsInsideTheCardAndTheCardFollowsItsHost)
{
    Host host;
    SensitiveWordAlertView* alert = SensitiveWordAlertView::present(&host.window);
    auto* explanation = alert->findChild<PlainLabel*>(u"sensitiveWordExplanation"_s);
    ASSERT_TRUE(explanation);
    ASSERT_TRUE(waitUntil([&] { return explanation->isVisible() && alert->geometry() == host.window.rect(); }));
    EXPECT_LE(alert->card()->width(), SensitiveWordAlertView::maxCardWidth);
    EXPECT_TRUE(
        alert->card()->rect().contains(QRect(explanation->mapTo(alert->card(), QPoint()), explanation->size())));
    EXPECT_GE(explanation->height(), explanation->heightForWidth(explanation->width())) << "no line cut off";
    EXPECT_EQ(explanation->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);

    // In a sheet narrower than the card's own width the card shrinks, wraps and still fits.
    host.window.resize(300, 320);
    ASSERT_TRUE(waitUntil([&] { return alert->geometry() == host.window.rect(); }));
    EXPECT_GE(explanation->height(), explanation->heightForWidth(explanation->width()));
    EXPECT_GT(explanation->height(), explanation->fontMetrics().height() * 3 / 2) << "two lines or more";
    EXPECT_EQ(alert->geometry(), host.window.rect());
    EXPECT_TRUE(host.window.rect().contains(alert->card()->geometry()));
}

TEST(SensitiveWordAlert, DrawsTheKitsOrangeWarningTitleAndProminentButton)
{
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "dark" : "light");
        Host host;
        host.window.setPalette(dark ? darkFusionPalette() : lightPalette());
        SensitiveWordAlertView* alert = SensitiveWordAlertView::present(&host.window);
        ASSERT_TRUE(waitUntil([&] { return alert->graphicsEffect() == nullptr || alert->isVisible(); }));
        auto* symbol = alert->findChild<SymbolView*>(u"sensitiveWordSymbol"_s);
        ASSERT_TRUE(symbol);
        EXPECT_EQ(symbol->symbol(), Symbols::Symbol::exclamationmarkTriangleFill);
        EXPECT_EQ(symbol->width(), TextStyle::scaled(50));
        auto* card = alert->findChild<QWidget*>(u"sensitiveWordCard"_s);
        const QImage drawn = drawnImage(card);
        saveShot(drawn, dark ? u"sensitive-word-card-dark"_s : u"sensitive-word-card-light"_s);
        const auto inks = inkContrasts(drawn, areaIn(symbol, card));
        ASSERT_TRUE(inks.count("orange")) << "the warning is drawn orange";
        EXPECT_GE(inks.at("orange"), Symbols::minimumContrast);

        auto* title = alert->findChild<PlainLabel*>(u"sensitiveWordTitle"_s);
        EXPECT_EQ(title->font().pixelSize(), TextStyle::font(TextStyle::Style::title2).pixelSize());
        EXPECT_EQ(title->font().weight(), QFont::Bold);

        auto* button = alert->findChild<QPushButton*>(u"sensitiveWordOkButton"_s);
        const QRect face = areaIn(button, card);
        EXPECT_EQ(dominantColour(drawn, face), ButtonStyle::prominentFace(button->parentWidget()->palette()));
        EXPECT_GE(drawnContrast(drawn, face), 4.5);
    }
}
