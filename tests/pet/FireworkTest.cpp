#include "pet/SimpleFireworkView.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

TEST(Firework, ThirtySixParticlesEveryTenDegreesWithCyclingColours)
{
    SimpleFireworkView view;
    const auto& particles = view.particles();
    ASSERT_EQ(particles.size(), SimpleFireworkView::particleCount);
    const QList<QColor> colors = SimpleFireworkView::palette();
    for (int i = 0; i < particles.size(); ++i) {
        const auto& p = particles.at(i);
        EXPECT_NEAR(p.angle, i * 10.0 * std::numbers::pi / 180.0, 1e-12);
        EXPECT_GE(p.distance, 20.0);
        EXPECT_LE(p.distance, 40.0);
        EXPECT_GE(p.size, 3.0);
        EXPECT_LE(p.size, 6.0);
        EXPECT_EQ(p.color, colors.at(i % 7));
        EXPECT_FALSE(p.id.isNull());
    }
    EXPECT_EQ(particles.last().color, colors.first());
    EXPECT_NE(particles.at(0).id, particles.at(1).id);
}

TEST(Firework, DotsTravelTheirDistanceAndTheBurstRunsOnce)
{
    SimpleFireworkView view;
    const auto& right = view.particles().at(0);
    const auto& down = view.particles().at(9);
    EXPECT_EQ(SimpleFireworkView::offset(right, 0.0), QPointF(0, 0));
    EXPECT_NEAR(SimpleFireworkView::offset(right, 1.0).x(), right.distance, 1e-9);
    EXPECT_NEAR(SimpleFireworkView::offset(down, 1.0).y(), down.distance, 1e-9);
    EXPECT_NEAR(SimpleFireworkView::offset(down, 1.0).x(), 0.0, 1e-9);

    EXPECT_EQ(view.phase(), 0.0);
    view.show();
    ASSERT_TRUE(waitUntil([&] { return view.phase() >= 1.0; }, 3000));
    view.hide();
    view.show();
    EXPECT_EQ(view.phase(), 1.0);
}
