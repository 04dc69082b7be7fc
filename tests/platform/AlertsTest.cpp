#include "platform/Alerts.h"
#include "platform/EmojiStyle.h"
#include "support/DrawnText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Acts on the modal box once it runs; the box's own loop delivers the timer.
void whenBoxShows(std::function<void(QMessageBox*)> action)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(box);
        }
    });
    timer->start();
}

QAbstractButton* buttonTitled(QMessageBox* box, const QString& title)
{
    for (QAbstractButton* button : box->buttons()) {
        if (button->text() == title)
            return button;
    }
    return nullptr;
}

} // namespace

TEST(Alerts, RealBoxShowsMarkupAsTextAndAnswersWithTheButtonIndex)
{
    const QString text = u"<b>回复</b> & <a href='x'>链接</a>"_s;
    QString headline;
    QString informative;
    bool plain = false;
    whenBoxShows([&](QMessageBox* box) {
        headline = box->text();
        informative = box->informativeText();
        auto* label = box->findChild<QLabel*>(u"qt_msgbox_informativelabel"_s);
        plain = box->textFormat() == Qt::PlainText && label && label->textFormat() == Qt::PlainText;
        buttonTitled(box, u"删除"_s)->click();
    });
    const int answer
        = Alerts::show(Alerts::Style::Critical, u"<i>确认</i>"_s, text, { u"确定"_s, u"删除"_s, u"取消"_s });
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(headline, u"<i>确认</i>"_s);
    EXPECT_EQ(informative, text);
    EXPECT_TRUE(plain) << "user and server text must not be read as markup";
}

TEST(Alerts, TheBoxIsWideEnoughForAShortSentenceAndMarksTheDestructiveButton)
{
    QSize informativeSize;
    int width = 0;
    QColor reset;
    QColor cancel;
    whenBoxShows([&](QMessageBox* box) {
        width = box->width();
        auto* label = box->findChild<QLabel*>(u"qt_msgbox_informativelabel"_s);
        informativeSize = label->size();
        reset = buttonTitled(box, u"重置"_s)->palette().color(QPalette::ButtonText);
        cancel = buttonTitled(box, u"取消"_s)->palette().color(QPalette::ButtonText);
        buttonTitled(box, u"取消"_s)->click();
    });
    Alerts::show(Alerts::Style::Warning, u"检查更新失败"_s, u"无法连接到更新服务器，请稍后再试。"_s,
        { u"取消"_s, u"重置"_s }, nullptr, 1);
    EXPECT_GE(width, Alerts::minimumWidth);
    EXPECT_GE(informativeSize.width(),
        QFontMetrics(QApplication::font()).horizontalAdvance(u"无法连接到更新服务器，请稍后再试。"_s))
        << "the sentence stays on one line";
    EXPECT_NE(reset, cancel);
}

TEST(Alerts, TheDestructiveTitleStaysRedAndReadsOnItsFaceThroughSwitchesOfPalette)
{
    const QPalette before = QApplication::palette();
    QApplication::setPalette(lightPalette());
    const Alerts::Built built
        = Alerts::build({ Alerts::Style::Warning, u"确认重置"_s, u"是否继续？"_s, { u"取消"_s, u"重置"_s }, 1 });
    ASSERT_EQ(built.buttons.size(), 2);
    EXPECT_EQ(built.buttons.at(1)->text(), u"重置"_s) << "the buttons in the order asked for";
    built.box->show();
    // Built light, then the desktop turns dark and light again while the box is open.
    for (const QPalette& palette : { lightPalette(), darkFusionPalette(), lightPalette() }) {
        QApplication::setPalette(palette);
        QCoreApplication::processEvents();
        const std::string shade = palette.color(QPalette::Window).name().toStdString();
        // Inside the button's frame, on its face, with the mouse away and over it.
        const auto face = [&](int i) { return built.buttons.at(i)->rect().adjusted(4, 4, -4, -4); };
        for (const bool hovered : { false, true }) {
            built.buttons.at(1)->setAttribute(Qt::WA_UnderMouse, hovered);
            const std::map<std::string, double> reset = inkContrasts(drawnImage(built.buttons.at(1)), face(1));
            ASSERT_TRUE(reset.contains("red")) << shade;
            EXPECT_GE(reset.at("red"), 4.5) << shade << (hovered ? " under the mouse" : "");
        }
        EXPECT_FALSE(inkContrasts(drawnImage(built.buttons.at(0)), face(0)).contains("red"))
            << shade << ": only the destructive button is red";
    }
    QApplication::setPalette(before);
}

TEST(Alerts, EscapeAnswersTheCancelButtonAndAnEmptyListGivesOneButton)
{
    // "取消" answers Escape and the window's close button wherever it stands, the first
    // place (where it is also the default) included.
    const QList<std::pair<QStringList, int>> cases {
        { { u"删除"_s, u"取消"_s }, 1 },
        { { u"取消"_s, u"删除"_s }, 0 },
    };
    for (const auto& [buttons, cancel] : cases) {
        SCOPED_TRACE(buttons.join(u' ').toStdString());
        // A box that stays open is answered with its other button, so the test fails, not hangs.
        const auto answerOtherwise = [cancel](QMessageBox* box) {
            if (box->isVisible())
                box->buttons().at(1 - cancel)->click();
        };
        whenBoxShows([&](QMessageBox* box) {
            QTest::keyClick(box, Qt::Key_Escape);
            answerOtherwise(box);
        });
        EXPECT_EQ(Alerts::show(Alerts::Style::Warning, u"删除好友"_s, u"确定吗？"_s, buttons), cancel) << "Escape";
        whenBoxShows([&](QMessageBox* box) {
            box->close();
            answerOtherwise(box);
        });
        EXPECT_EQ(Alerts::show(Alerts::Style::Warning, u"删除好友"_s, u"确定吗？"_s, buttons), cancel) << "close";
    }

    int buttonCount = 0;
    whenBoxShows([&](QMessageBox* box) {
        buttonCount = int(box->buttons().size());
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(Alerts::show(Alerts::Style::Informational, u"提示"_s, QString(), {}), 0);
    EXPECT_EQ(buttonCount, 1);
}

// The box's texts are labels: with the application's style, their emoji are in colour.
TEST(Alerts, EmojiInTheTextAreInColour)
{
    if (EmojiStyle::colorEmojiFamily().isEmpty())
        GTEST_SKIP() << "no colour emoji font installed";
    QApplication::setStyle(new EmojiStyle(QStyleFactory::create(u"Fusion"_s)));
    int notThePen = -1;
    whenBoxShows([&](QMessageBox* box) {
        auto* label = box->findChild<QLabel*>(u"qt_msgbox_informativelabel"_s);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, Qt::white);
        palette.setColor(QPalette::WindowText, Qt::blue);
        label->setPalette(palette);
        label->setAutoFillBackground(true);
        // Only blends of white and blue come from the pen; the sun keeps its yellow.
        const QImage image = label->grab().toImage();
        notThePen = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                notThePen += qBlue(image.pixel(x, y)) < 240 ? 1 : 0;
        }
        box->buttons().constFirst()->click();
    });
    Alerts::show(Alerts::Style::Informational, u"明天的天气"_s, u"明天 ☀️ 晴"_s, { u"好的"_s });
    EXPECT_GT(notThePen, 30);
}
