#pragma once

#include <QCoreApplication>
#include <QTimer>

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace bench {

/// Steps of a benchmark that drives the whole program, run one after another on its event
/// loop, each after the previous one's delay.
class Script final
{
public:
    void then(int delayMs, std::function<void()> step) { m_steps.push_back({ delayMs, std::move(step) }); }
    void run(std::size_t index = 0)
    {
        if (index >= m_steps.size())
            return;
        QTimer::singleShot(m_steps[index].first, Qt::PreciseTimer, qApp, [this, index] {
            m_steps[index].second();
            run(index + 1);
        });
    }

private:
    std::vector<std::pair<int, std::function<void()>>> m_steps;
};

} // namespace bench
