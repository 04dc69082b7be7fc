// Plays one animation in a pet-like floating window and reports what it costs: the share
// of one core and the resident memory of the whole process, measured after a warm-up.
//
// Usage: tamsel_play_animation FILE [SPEED] [SECONDS] [--plain]
//   --plain renders every frame anew on each tick, as a player without a frame cache does,
//   for comparison.
#include "platform/FloatingWindow.h"
#include "platform/LottieAnimation.h"
#include "platform/LottiePlayer.h"
#include "platform/Screens.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>

#include <sys/resource.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The baseline: a timer, a fresh rlottie render and a repaint on every frame.
class PlainPlayer final : public QWidget
{
public:
    PlainPlayer(std::shared_ptr<LottieAnimation> animation, double speed, QWidget* parent)
        : QWidget(parent)
        , m_animation(std::move(animation))
    {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] {
            m_frame = (m_frame + 1) % m_animation->frameCount();
            update();
        });
        timer->start(qRound(1000.0 / (m_animation->frameRate() * speed)));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(QPoint(0, 0), m_animation->render(m_frame, size()));
    }

private:
    std::shared_ptr<LottieAnimation> m_animation;
    int m_frame = 0;
};

double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QString statusField(const QByteArray& name)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name))
            return QString::fromLatin1(line.mid(name.size()).trimmed());
    }
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool plain = args.removeAll(u"--plain"_s) > 0;
    QTextStream out(stdout);
    if (args.size() < 2) {
        out << "usage: tamsel_play_animation FILE [SPEED] [SECONDS] [--plain]\n";
        return 2;
    }
    const double speed = args.size() > 2 ? args.at(2).toDouble() : 1.0;
    const int seconds = args.size() > 3 ? args.at(3).toInt() : 20;
    constexpr int warmUpMs = 5000;

    Screens screens;
    FloatingWindow window(FloatingWindow::Focus::Refuse, screens);
    window.resize(128, 128);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    if (plain) {
        auto animation = LottieAnimation::load(args.at(1));
        if (!animation)
            return 1;
        layout->addWidget(new PlainPlayer(animation, speed, &window));
    } else {
        auto* player = new LottiePlayer(&window);
        if (!player->setAnimation(args.at(1)))
            return 1;
        player->setLoopMode(true);
        player->setSpeed(speed);
        layout->addWidget(player);
        player->play();
    }
    window.show();

    double cpuAtStart = 0;
    QElapsedTimer clock;
    QTimer::singleShot(warmUpMs, &app, [&] {
        cpuAtStart = cpuSeconds();
        clock.start();
    });
    QTimer::singleShot(warmUpMs + seconds * 1000, &app, [&] {
        const double share = (cpuSeconds() - cpuAtStart) / (static_cast<double>(clock.elapsed()) / 1000.0);
        out << (plain ? "plain" : "cached") << " player, " << args.at(1).section(u'/', -1) << " at speed " << speed
            << ": " << QString::number(share * 100, 'f', 2) << " % of one core over " << seconds << " s; resident "
            << statusField("VmRSS:") << " (peak " << statusField("VmHWM:") << ")\n";
        app.quit();
    });
    return app.exec();
}
