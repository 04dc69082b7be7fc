// The resource view: the load and memory figures, their colour bands, and that it samples
// only while it is on screen.
#include "PreferencesRig.h"

#include "platform/SystemColours.h"
#include "preferences/SystemResourceView.h"
#include "support/DrawnText.h"
#include "widgets/PlainLabel.h"

#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using Times = SystemInfo::ProcessTimes;

TEST(ResourceFigures, BandsAndBarsChangeExactlyAtTheirBounds)
{
    const struct
    {
        double value;
        UsageBand cpu;
        UsageBand memory;
        int bars;
    } cases[] = {
        { 0.0, UsageBand::green, UsageBand::green, 0 },
        { 9.99, UsageBand::green, UsageBand::green, 1 },
        { 10.0, UsageBand::blue, UsageBand::green, 1 },
        { 20.0, UsageBand::blue, UsageBand::green, 1 },
        { 30.0, UsageBand::orange, UsageBand::green, 2 },
        { 49.9, UsageBand::orange, UsageBand::green, 3 },
        { 50.0, UsageBand::orange, UsageBand::blue, 3 },
        { 60.0, UsageBand::red, UsageBand::blue, 3 },
        { 80.1, UsageBand::red, UsageBand::blue, 5 },
        { 100.0, UsageBand::red, UsageBand::orange, 5 },
        { 200.0, UsageBand::red, UsageBand::red, 5 },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResourceFigures::cpuBand(c.value), c.cpu) << c.value;
        EXPECT_EQ(ResourceFigures::memoryBand(c.value), c.memory) << c.value;
        EXPECT_EQ(ResourceFigures::litBars(c.value), c.bars) << c.value;
    }
}

TEST(ProcessUsage, LoadIsMeasuredBetweenSamplesAndCappedAtOneProcessor)
{
    FakeSystemInfo info;
    info.physical = 8LL * 1024 * 1024 * 1024;
    info.resident = 150LL * 1024 * 1024;
    ProcessUsageSampler sampler(info);

    info.times = Times { 5.0, 100.0 };
    ResourceUsage usage = sampler.getAppResourceUsage();
    EXPECT_DOUBLE_EQ(usage.cpu, 5.0) << "the first sample averages over the program's life";
    EXPECT_DOUBLE_EQ(usage.memoryMB, 150.0);
    EXPECT_NEAR(usage.memory, 150.0 / 8192.0 * 100.0, 1e-9);

    info.times = Times { 6.0, 102.0 };
    EXPECT_DOUBLE_EQ(sampler.getAppResourceUsage().cpu, 50.0);
    info.times = Times { 9.0, 104.0 }; // two busy threads
    EXPECT_DOUBLE_EQ(sampler.getAppResourceUsage().cpu, 100.0);
    info.times = Times { 9.0, 104.0 }; // no time passed
    EXPECT_DOUBLE_EQ(sampler.getAppResourceUsage().cpu, 100.0 * 9.0 / 104.0);

    // Unreadable figures give zeros, each on its own.
    info.times.reset();
    info.physical = 0;
    usage = sampler.getAppResourceUsage();
    EXPECT_EQ(usage.cpu, 0.0);
    EXPECT_DOUBLE_EQ(usage.memoryMB, 150.0);
    EXPECT_EQ(usage.memory, 0.0);
    info.resident.reset();
    EXPECT_EQ(sampler.getAppResourceUsage().memoryMB, 0.0);
}

TEST(SystemResourceViewTest, SamplesOnlyWhileShown)
{
    FakeSystemInfo info;
    info.resident = 200LL * 1024 * 1024;
    info.times = Times { 1.0, 10.0 };
    QWidget window;
    auto* view = new SystemResourceView(info, &window);
    EXPECT_EQ(info.timesRead, 0) << "nothing is sampled before the view shows";

    window.show();
    EXPECT_EQ(info.timesRead, 1);
    EXPECT_TRUE(view->refreshTimer().isActive());
    EXPECT_EQ(view->refreshTimer().interval(), 2000);
    EXPECT_EQ(view->refreshTimer().timerType(), Qt::PreciseTimer);
    auto* cpu = view->findChild<PlainLabel*>(u"cpuValue"_s);
    auto* memory = view->findChild<PlainLabel*>(u"memoryValue"_s);
    // Each figure in its band's colour, as dark or light as it must be to read on the page.
    const auto expectBand = [&](const PlainLabel* label, UsageBand band) {
        const QColor drawn = label->palette().color(QPalette::WindowText);
        EXPECT_LE(std::abs(drawn.hslHue() - SystemResourceView::bandColour(band).hslHue()), 2)
            << drawn.name().toStdString();
        EXPECT_GE(contrastRatio(drawn, window.palette().color(QPalette::Window)), 4.5) << drawn.name().toStdString();
    };
    EXPECT_EQ(cpu->fullText(), u"10.0%"_s);
    expectBand(cpu, UsageBand::blue);
    EXPECT_EQ(memory->fullText(), u"200.0 MB"_s);
    expectBand(memory, UsageBand::red);
    window.setPalette(darkFusionPalette());
    expectBand(cpu, UsageBand::blue);
    expectBand(memory, UsageBand::red);

    info.times = Times { 2.0, 12.0 };
    info.physical = 800LL * 1024 * 1024;
    view->updateResourceUsage();
    EXPECT_EQ(cpu->fullText(), u"50.0%"_s);
    // Each figure is kept on its own, the memory share too though nothing shows it.
    EXPECT_DOUBLE_EQ(view->cpuUsage(), 50.0);
    EXPECT_DOUBLE_EQ(view->memoryMB(), 200.0);
    EXPECT_DOUBLE_EQ(view->memoryUsage(), 25.0);

    window.hide();
    EXPECT_FALSE(view->refreshTimer().isActive());
    const int readWhileShown = info.timesRead;
    window.show();
    EXPECT_EQ(info.timesRead, readWhileShown + 1);
    EXPECT_EQ(cpu->fullText(), u"16.7%"_s) << "a new appearance starts from a fresh sample";
}

TEST(SystemResourceViewTest, LitBarsStandOutInTheirBandsHueAfterEverySwitchOfPalette)
{
    const struct
    {
        double cpu;
        QColor named; // the band's colour as the desktop names it, as every screen draws it
        int lit;
    } cases[] = {
        { 5.0, SystemColours::green(), 1 },
        { 25.0, SystemColours::blue(), 2 },
        { 55.0, SystemColours::orange(), 3 },
        { 95.0, SystemColours::red(), 5 },
    };
    for (const auto& c : cases) {
        FakeSystemInfo info;
        info.times = Times { c.cpu / 100.0, 1.0 };
        QWidget window;
        window.setPalette(lightPalette());
        auto* view = new SystemResourceView(info, &window);
        (new QVBoxLayout(&window))->addWidget(view);
        window.show();
        QCoreApplication::processEvents();
        const QWidget* meter = view->findChild<QWidget*>(u"cpuIndicator"_s);
        ASSERT_NE(meter, nullptr);
        // Built light, then dark, then light again, read on the pixels drawn each time.
        for (const QPalette& palette : { lightPalette(), darkFusionPalette(), lightPalette() }) {
            window.setPalette(palette);
            const QImage drawn = window.grab().toImage();
            const QColor page = palette.color(QPalette::Window);
            const QPoint origin = meter->mapTo(&window, QPoint());
            for (int i = 0; i < 5; ++i) {
                // The middle of bar i: 8 wide, 2 apart.
                const QColor bar = drawn.pixelColor(origin + QPoint(i * 10 + 4, meter->height() / 2));
                const std::string where = std::to_string(c.cpu) + "% bar " + std::to_string(i) + " "
                    + bar.name().toStdString() + " on " + page.name().toStdString();
                if (i < c.lit) {
                    EXPECT_GE(contrastRatio(bar, page), 3.0) << where;
                    EXPECT_LE(std::abs(bar.hslHue() - c.named.hslHue()), 3) << where;
                } else {
                    EXPECT_LT(contrastRatio(bar, page), 2.0) << where << ": an unlit bar stays faint";
                }
            }
        }
    }
}
