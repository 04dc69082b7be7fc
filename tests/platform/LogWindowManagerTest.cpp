#include "platform/LogWindowManager.h"
#include "platform/Alerts.h"
#include "platform/LogManager.h"

#include "support/DrawnText.h"
#include "support/Wait.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

constexpr int neverMs = 3600 * 1000;

struct Fixture
{
    QTemporaryDir dir;
    LogManager logger { dir.path(), neverMs };
    LogWindowManager windows { logger };
    QPlainTextEdit* textView() const { return windows.logWindow()->findChild<QPlainTextEdit*>(u"logTextView"_s); }
    void click(const QString& name) const
    {
        auto* button = windows.logWindow()->findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        button->click();
    }
};

} // namespace

TEST(LogWindow, OpensOneTitledWindowWithSixButtonsShowingTheLines)
{
    Fixture f;
    f.logger.record(u"✅ ready"_s, u"App"_s);
    f.windows.showLogWindow();
    QWidget* window = f.windows.logWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), u"Tamsel - 调试日志"_s);
    EXPECT_EQ(window->size(), QSize(900, 600));
    EXPECT_TRUE(f.textView()->isReadOnly());

    const std::pair<const char16_t*, const char16_t*> buttons[] = {
        { u"copyButton", u"📋 复制日志" },
        { u"saveButton", u"💾 保存日志" },
        { u"clearButton", u"🗑️ 清空日志" },
        { u"refreshButton", u"🔄 刷新" },
        { u"statsButton", u"📊 统计" },
        { u"openButton", u"📂 打开日志文件" },
    };
    for (const auto& [name, title] : buttons) {
        auto* button = window->findChild<QPushButton*>(QString::fromUtf16(name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromUtf16(title));
    }

    ASSERT_TRUE(waitUntil([&] { return f.textView()->toPlainText().endsWith(u"[App] ✅ ready"_s); }));
    // Lines logged later arrive through the periodic refresh, also after closing.
    window->close();
    f.logger.record(u"later"_s, u"App"_s);
    ASSERT_TRUE(waitUntil([&] { return f.textView()->toPlainText().endsWith(u"[App] later"_s); }));

    f.windows.showLogWindow();
    EXPECT_EQ(f.windows.logWindow(), window) << "reopening reuses the window";
    EXPECT_TRUE(window->isVisible());
}

TEST(LogWindow, ButtonsCopySaveCountAndClear)
{
    Fixture f;
    f.logger.record(u"one"_s, u"A"_s);
    f.logger.record(u"two"_s, u"B"_s);
    f.windows.showLogWindow();
    ASSERT_TRUE(waitUntil([&] { return f.textView()->toPlainText().endsWith(u"[B] two"_s); }));

    Alerts::setNextAnswers({ 0, 0, 0 });
    f.click(u"copyButton"_s);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), f.logger.getAllLogsText());
    f.click(u"statsButton"_s);
    f.click(u"saveButton"_s);
    const auto alerts = Alerts::answeredAlerts();
    ASSERT_EQ(alerts.size(), 3);
    EXPECT_EQ(alerts[0].title, u"成功"_s);
    EXPECT_EQ(alerts[0].text, u"日志已复制到剪贴板"_s);
    EXPECT_EQ(alerts[1].title, u"日志统计"_s);
    EXPECT_EQ(alerts[1].text, f.logger.getLogStats());
    EXPECT_EQ(alerts[2].title, u"成功"_s);
    const QString prefix = u"日志已保存到:\n"_s;
    ASSERT_TRUE(alerts[2].text.startsWith(prefix));
    EXPECT_TRUE(QFile::exists(alerts[2].text.mid(prefix.size())));
    EXPECT_EQ(alerts[2].buttons, QStringList { u"确定"_s });

    f.click(u"clearButton"_s);
    ASSERT_TRUE(waitUntil([&] { return f.textView()->toPlainText().endsWith(u"[System] 日志已清空"_s); }));
    EXPECT_EQ(f.textView()->toPlainText().count(u'\n'), 0);
}

TEST(LogWindow, EveryRefreshShowsTheWholeListAndItsEnd)
{
    Fixture f;
    for (int i = 0; i < 200; ++i)
        f.logger.record(u"line "_s + QString::number(i), u"App"_s);
    f.windows.showLogWindow();
    QScrollBar* bar = f.textView()->verticalScrollBar();
    ASSERT_TRUE(waitUntil([&] { return f.textView()->toPlainText().endsWith(u"[App] line 199"_s); }));
    EXPECT_EQ(bar->value(), bar->maximum());
    ASSERT_GT(bar->maximum(), 0);

    // The reader scrolls up; the next timed refresh, with nothing new, shows the end again.
    bar->setValue(0);
    EXPECT_TRUE(waitUntil([&] { return bar->value() == bar->maximum(); }, 2 * LogWindowManager::refreshIntervalMs));
}

TEST(LogWindow, TextIsMonospacedAndGrowsWithTheApplicationFont)
{
    const int defaultPixels = QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).pixelSize();
    for (const auto& [scale, pixels] : { std::pair { 1, 11 }, std::pair { 2, 22 } }) {
        SCOPED_TRACE(scale);
        QFont appFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        appFont.setPixelSize(defaultPixels * scale);
        QApplication::setFont(appFont);
        Fixture f;
        f.windows.showLogWindow();
        const QFont font = f.textView()->font();
        EXPECT_EQ(QFontInfo(font).pixelSize(), pixels);
        // What is drawn, not what fontconfig says of the family: some monospaced families
        // carry no spacing entry and read as proportional although every advance is equal.
        const QFontMetricsF metrics(font);
        const qreal advance = metrics.horizontalAdvance(u'0');
        EXPECT_GT(advance, 0.0);
        for (const QChar c : u"iWm.|_M1 ["_s)
            EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(c), advance)
                << QFontInfo(font).family().toStdString() << " '" << QString(c).toStdString() << "'";
    }
}

TEST(LogWindow, ButtonsKeepTheirSizesAtTheDefaultFontAndGrowToFitTheirTitlesAtALargerOne)
{
    const int defaultPixels = QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).pixelSize();
    const std::pair<const char16_t*, int> stated[] = {
        { u"copyButton", 100 },
        { u"saveButton", 100 },
        { u"clearButton", 100 },
        { u"refreshButton", 80 },
        { u"statsButton", 80 },
        { u"openButton", 120 },
    };
    for (const int pixels : { defaultPixels, defaultPixels * 3 / 2, defaultPixels * 2 }) {
        SCOPED_TRACE(pixels);
        QFont appFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        appFont.setPixelSize(pixels);
        QApplication::setFont(appFont);
        Fixture f;
        f.windows.showLogWindow();
        for (const auto& [name, width] : stated) {
            const auto* button = f.windows.logWindow()->findChild<QPushButton*>(QString::fromUtf16(name));
            ASSERT_NE(button, nullptr);
            if (pixels == defaultPixels) {
                EXPECT_EQ(button->size(), QSize(width, 24));
                continue;
            }
            const QFontMetrics metrics(button->font());
            EXPECT_GE(button->width(), metrics.horizontalAdvance(button->text()) + 12) << button->text().toStdString();
            EXPECT_GE(button->height(), metrics.height() + 4);
            EXPECT_GE(button->width(), width);
            EXPECT_GE(button->y(), 8);
            EXPECT_LE(button->geometry().bottom() + 1 + 8, button->parentWidget()->height()) << "in its bar";
        }
    }
}

// Tab stops on the log, so that the keyboard can scroll and select it, and a ring then shows
// where the keyboard is, standing out from the page in a light and a dark palette.
TEST(LogWindow, TheLogShowsARingWhileItHoldsTheKeyboard)
{
    const QPalette saved = QApplication::palette();
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "dark" : "light");
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        Fixture f;
        f.windows.showLogWindow();
        QWidget* window = f.windows.logWindow();
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QPlainTextEdit* view = f.textView();
        // The left edge half-way down, and the page a few pixels in, clear of the lines.
        const QPoint edge(0, view->height() / 2);
        const auto edgeContrast = [&] {
            const QImage image = drawnImage(view);
            return contrastRatio(image.pixelColor(edge), image.pixelColor(edge.x() + 5, edge.y()));
        };
        auto* last = window->findChild<QPushButton*>(u"openButton"_s);
        last->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        EXPECT_LT(edgeContrast(), 1.1) << "a ring where the keyboard is not";

        QTest::keyClick(last, Qt::Key_Tab);
        ASSERT_TRUE(view->hasFocus()) << "the log is a stop for the keyboard";
        QCoreApplication::processEvents();
        EXPECT_GE(edgeContrast(), 3.0);

        QTest::keyClick(view, Qt::Key_Tab);
        ASSERT_FALSE(view->hasFocus());
        QCoreApplication::processEvents();
        EXPECT_LT(edgeContrast(), 1.1) << "the ring stayed behind";
    }
    QApplication::setPalette(saved);
}
