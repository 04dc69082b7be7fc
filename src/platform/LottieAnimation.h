#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

namespace rlottie {
class Animation;
}

/// One parsed Lottie file. Renders single frames synchronously on the calling thread;
/// players share it through LottieCache rather than parsing a file twice.
class LottieAnimation final
{
public:
    ~LottieAnimation();
    LottieAnimation(const LottieAnimation&) = delete;
    LottieAnimation& operator=(const LottieAnimation&) = delete;

    /// Parses the file at absolutePath. Returns nullptr and sets error when the file is
    /// missing, empty, not a Lottie document or refused by the renderer.
    [[nodiscard]] static std::shared_ptr<LottieAnimation> load(const QString& absolutePath, QString* error = nullptr);

    [[nodiscard]] QString path() const { return m_path; }
    [[nodiscard]] double frameRate() const { return m_frameRate; }
    /// Frames 0 .. frameCount() - 1 are distinct; the composition's out-point is not drawn.
    [[nodiscard]] int frameCount() const { return m_frameCount; }
    /// The composition's own canvas size.
    [[nodiscard]] QSize size() const { return m_size; }

    /// Draws one frame scaled to pixelSize (premultiplied ARGB32, transparent background).
    [[nodiscard]] QImage render(int frame, QSize pixelSize);

private:
    LottieAnimation() = default;

    QString m_path;
    double m_frameRate = 0;
    int m_frameCount = 0;
    QSize m_size;
    std::unique_ptr<rlottie::Animation> m_animation;
};
