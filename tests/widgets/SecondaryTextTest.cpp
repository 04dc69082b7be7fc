// Secondary text as it is drawn: dimmed, yet at least 4.5:1 against what it stands on,
// whichever role the widget draws with (a label over a window or over a list's base, a flat
// button's title, a banner's notice, a field's placeholder), in a light and a dark palette.
#include "widgets/SecondaryText.h"
#include "support/DrawnText.h"
#include "support/Screenshots.h"
#include "widgets/BannerRow.h"
#include "widgets/PlainLabel.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(SecondaryText, ContrastFollowsTheUsualSum)
{
    EXPECT_NEAR(SecondaryText::contrast(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_NEAR(SecondaryText::contrast(Qt::white, Qt::black), 21.0, 1e-9);
    EXPECT_NEAR(SecondaryText::contrast(QColor(0x76, 0x76, 0x76), Qt::white), 4.54, 0.01);
    EXPECT_NEAR(SecondaryText::contrast(QColor(40, 40, 40), QColor(40, 40, 40)), 1.0, 1e-9);
}

TEST(SecondaryText, ColourIsDimmedButKeepsItsContrast)
{
    struct Case
    {
        QColor text;
        QColor background;
    };
    const QList<Case> cases {
        { Qt::black, Qt::white }, { Qt::white, QColor(53, 53, 53) }, { QColor(235, 235, 235), QColor(30, 30, 32) },
        { QColor(255, 255, 255, 200), QColor(42, 42, 42) }, // translucent text: laid over first
        { QColor(120, 120, 120), Qt::white }, // already too faint: as it is, no fainter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.name(QColor::HexArgb).toStdString() + " on " + c.background.name().toStdString());
        const QColor secondary = SecondaryText::colour(c.text, c.background);
        EXPECT_EQ(secondary.alpha(), 255);
        QColor solid = c.text;
        solid.setAlpha(255);
        const double a = c.text.alphaF();
        solid = QColor::fromRgbF(solid.redF() * a + c.background.redF() * (1 - a),
            solid.greenF() * a + c.background.greenF() * (1 - a), solid.blueF() * a + c.background.blueF() * (1 - a));
        const double full = contrastRatio(solid, c.background);
        const double got = contrastRatio(secondary, c.background);
        if (full >= SecondaryText::minimumContrast) {
            EXPECT_GE(got, SecondaryText::minimumContrast);
            EXPECT_LT(got, full);
        }
    }
}

namespace {

/// A container in `palette` painting `role`, holding a primary label as the yardstick and
/// every kind of secondary text.
struct Stage
{
    explicit Stage(QPalette::ColorRole role)
    {
        container.setBackgroundRole(role);
        container.setAutoFillBackground(true);
        auto* layout = new QVBoxLayout(&container);
        layout->setContentsMargins(16, 16, 16, 16);
        layout->setSpacing(8);
        layout->addWidget(primary);
        layout->addWidget(secondary);
        close->setFlat(true);
        layout->addWidget(close);
        notice->setMessage(u"网络连接失败，请稍后再试"_s);
        layout->addWidget(notice);
        field->setPlaceholderText(u"昵称可随时修改"_s);
        layout->addWidget(field);
        SecondaryText::apply(secondary);
        SecondaryText::apply(close);
        SecondaryText::apply(field, SecondaryText::Part::placeholder);
        container.resize(360, 240);
    }

    QWidget container;
    PlainLabel* primary = new PlainLabel(u"选择一个对话开始聊天"_s, &container);
    PlainLabel* secondary = new PlainLabel(u"点击上方按钮丢瓶子或捡瓶子"_s, &container);
    QPushButton* close = new QPushButton(u"✕ 关闭"_s, &container);
    BannerRow* notice = new BannerRow(BannerRow::Kind::notice, &container);
    QLineEdit* field = new QLineEdit(&container);
};

} // namespace

TEST(SecondaryText, DrawnTextIsDimmedAndReadableOnEveryBackgroundInBothPalettes)
{
    for (const QPalette::ColorRole role : { QPalette::Window, QPalette::Base }) {
        Stage stage(role);
        // Changed after the widgets were made, as a switch of the desktop's theme does.
        for (const bool dark : { false, true }) {
            SCOPED_TRACE((role == QPalette::Base ? "base, " : "window, ") + std::string(dark ? "dark" : "light"));
            stage.container.setPalette(dark ? darkFusionPalette() : lightPalette());
            const QImage image = drawnImage(&stage.container);
            const QPoint margin(4, 4);
            const QColor background = image.pixelColor(margin);
            const QColor primary = strongestInk(image, areaIn(stage.primary, &stage.container), margin);
            ASSERT_TRUE(primary.isValid());
            const double full = contrastRatio(primary, background);

            struct Drawn
            {
                const char* what;
                QRect area;
                QPoint under; // a pixel of what the text stands on
            };
            const QRect noticeArea = areaIn(stage.notice, &stage.container);
            const QRect fieldArea = areaIn(stage.field, &stage.container);
            const QList<Drawn> texts {
                { "label", areaIn(stage.secondary, &stage.container), margin },
                { "flat button", areaIn(stage.close, &stage.container).adjusted(3, 3, -3, -3), margin },
                { "notice", noticeArea.adjusted(40, 4, -4, -4),
                    QPoint(noticeArea.left() + 4, noticeArea.center().y()) },
                { "placeholder", fieldArea.adjusted(3, 3, -3, -3),
                    QPoint(fieldArea.right() - 6, fieldArea.center().y()) },
            };
            for (const Drawn& text : texts) {
                SCOPED_TRACE(text.what);
                const QColor ink = strongestInk(image, text.area, text.under);
                ASSERT_TRUE(ink.isValid());
                const double got = contrastRatio(ink, image.pixelColor(text.under));
                EXPECT_GE(got, SecondaryText::minimumContrast) << ink.name().toStdString();
                EXPECT_LT(got, full * 0.8) << ink.name().toStdString() << " is as strong as the primary text";
            }
        }
    }
}

TEST(SecondaryText, TextTurnedBackToPrimaryDrawsInTheFullColour)
{
    Stage stage(QPalette::Base);
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "dark" : "light");
        stage.container.setPalette(dark ? darkFusionPalette() : lightPalette());
        const auto ink = [&](QWidget* label) {
            const QImage image = drawnImage(&stage.container);
            return strongestInk(image, areaIn(label, &stage.container), QPoint(4, 4));
        };
        SecondaryText::setSecondary(stage.secondary, false);
        EXPECT_EQ(ink(stage.secondary), ink(stage.primary));
        SecondaryText::setSecondary(stage.secondary, true);
        EXPECT_NE(ink(stage.secondary), ink(stage.primary));
    }
}

TEST(SecondaryText, FollowsTheApplicationIntoADarkPalette)
{
    const QPalette before = QApplication::palette();
    Stage stage(QPalette::Base);
    QApplication::setPalette(darkFusionPalette());
    QCoreApplication::processEvents(); // the secondary colours follow once every container has
    const QImage image = drawnImage(&stage.container);
    saveShot(image, u"secondary-text-dark"_s);
    const QPoint margin(4, 4);
    const double full
        = contrastRatio(strongestInk(image, areaIn(stage.primary, &stage.container), margin), image.pixelColor(margin));
    for (QWidget* text : { static_cast<QWidget*>(stage.secondary), static_cast<QWidget*>(stage.close) }) {
        const double got
            = contrastRatio(strongestInk(image, areaIn(text, &stage.container), margin), image.pixelColor(margin));
        EXPECT_GE(got, SecondaryText::minimumContrast);
        EXPECT_LT(got, full * 0.8);
    }
    QApplication::setPalette(before);
}

TEST(SecondaryText, ErrorAndSuccessBannersKeepTheirHueAndReadInBothPalettes)
{
    for (const QPalette::ColorRole role : { QPalette::Window, QPalette::Base }) {
        QWidget container;
        container.setBackgroundRole(role);
        container.setAutoFillBackground(true);
        auto* layout = new QVBoxLayout(&container);
        auto* error = new BannerRow(BannerRow::Kind::error, &container);
        error->setMessage(u"密码错误或登录失败"_s);
        auto* success = new BannerRow(BannerRow::Kind::success, &container);
        success->setMessage(u"登录成功！"_s);
        layout->addWidget(error);
        layout->addWidget(success);
        container.resize(320, 140);
        for (const bool dark : { false, true }) {
            SCOPED_TRACE((role == QPalette::Base ? "base, " : "window, ") + std::string(dark ? "dark" : "light"));
            container.setPalette(dark ? darkFusionPalette() : lightPalette());
            const QImage image = drawnImage(&container);
            for (const auto& [banner, hue] : { std::pair(error, 0), std::pair(success, 137) }) {
                // The words, right of the sign.
                const QRect area = areaIn(banner, &container).adjusted(40, 4, -4, -4);
                EXPECT_GE(drawnContrast(image, area), SecondaryText::minimumContrast);
                const QColor ink = strongestInk(image, area, area.topLeft());
                ASSERT_TRUE(ink.isValid());
                EXPECT_LE(std::abs(ink.hslHue() - hue), 12) << ink.name().toStdString();
            }
        }
    }
}
