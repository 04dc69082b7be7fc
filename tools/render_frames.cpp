// Renders frames of a Lottie file to PNG files, for looking at an animation frame by frame.
//
// Usage: tamsel_render_frames FILE OUTDIR [EVERY] [SIZE]
//   writes OUTDIR/frame_NNN.png for every EVERY-th frame (default 1) at SIZE × SIZE pixels
//   (default: the animation's own size), and always the last frame.
#include "platform/LottieAnimation.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTextStream>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.size() < 3) {
        err << "usage: tamsel_render_frames FILE OUTDIR [EVERY] [SIZE]\n";
        return 2;
    }
    QString error;
    const auto animation = LottieAnimation::load(args.at(1), &error);
    if (!animation) {
        err << "cannot load " << args.at(1) << ": " << error << '\n';
        return 1;
    }
    const int every = args.size() > 3 ? std::max(1, args.at(3).toInt()) : 1;
    const QSize size = args.size() > 4 ? QSize(args.at(4).toInt(), args.at(4).toInt()) : animation->size();
    QDir().mkpath(args.at(2));
    const QDir dir(args.at(2));
    const int last = animation->frameCount() - 1;
    for (int frame = 0; frame <= last; ++frame) {
        if (frame % every != 0 && frame != last)
            continue;
        const QImage image = animation->render(frame, size);
        image.save(dir.filePath(u"frame_%1.png"_s.arg(frame, 3, 10, QLatin1Char('0'))));
    }
    out << args.at(1) << ": " << animation->frameCount() << " frames at " << animation->frameRate() << " fps, "
        << animation->size().width() << "x" << animation->size().height() << '\n';
    return 0;
}
