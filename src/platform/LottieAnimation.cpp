#include "platform/LottieAnimation.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <rlottie.h>

#include <algorithm>
#include <cmath>
#include <exception>

using namespace Qt::StringLiterals;

namespace {

// Anything bigger is not a pet animation; refusing it keeps a stray file from costing
// gigabytes of frame buffers.
constexpr int maxCanvasSide = 4096;
constexpr qint64 maxFileBytes = 16 * 1024 * 1024;

bool isPositiveNumber(const QJsonValue& v)
{
    return v.isDouble() && std::isfinite(v.toDouble()) && v.toDouble() > 0;
}

// The renderer's parser trusts its input more than we would like; only documents that
// have the shape of a Lottie composition reach it.
QString checkShape(const QJsonDocument& doc)
{
    if (!doc.isObject())
        return u"not a JSON object"_s;
    const QJsonObject root = doc.object();
    for (const auto key : { "w"_L1, "h"_L1, "fr"_L1 }) {
        if (!isPositiveNumber(root.value(key)))
            return u"missing or invalid \""_s + key + u"\""_s;
    }
    if (!root.value("ip"_L1).isDouble() || !root.value("op"_L1).isDouble())
        return u"missing in or out point"_s;
    if (root.value("op"_L1).toDouble() <= root.value("ip"_L1).toDouble())
        return u"out point not after in point"_s;
    if (root.value("w"_L1).toDouble() > maxCanvasSide || root.value("h"_L1).toDouble() > maxCanvasSide)
        return u"canvas too large"_s;
    if (!root.value("layers"_L1).isArray())
        return u"no layers"_s;
    return {};
}

} // namespace

LottieAnimation::~LottieAnimation() = default;

std::shared_ptr<LottieAnimation> LottieAnimation::load(const QString& absolutePath, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return std::shared_ptr<LottieAnimation>();
    };

    QFile file(absolutePath);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    if (file.size() > maxFileBytes)
        return fail(u"file too large"_s);
    const QByteArray data = file.readAll();
    if (data.trimmed().isEmpty())
        return fail(u"empty file"_s);

    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(data, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return fail(parseError.errorString());
    if (const QString why = checkShape(doc); !why.isEmpty())
        return fail(why);

    std::unique_ptr<rlottie::Animation> parsed;
    try {
        // Our own cache decides what stays parsed; the renderer's cache would keep every
        // file for the life of the process.
        parsed = rlottie::Animation::loadFromData(data.toStdString(), absolutePath.toStdString(), std::string(), false);
    } catch (const std::exception& e) {
        return fail(QString::fromUtf8(e.what()));
    }
    if (!parsed)
        return fail(u"not a Lottie animation"_s);

    size_t width = 0;
    size_t height = 0;
    parsed->size(width, height);
    const double rate = parsed->frameRate();
    const size_t frames = parsed->totalFrame();
    if (width == 0 || height == 0 || !(rate > 0) || frames == 0 || frames > 100000)
        return fail(u"animation has no frames"_s);

    std::shared_ptr<LottieAnimation> animation(new LottieAnimation);
    animation->m_path = absolutePath;
    animation->m_frameRate = rate;
    animation->m_frameCount = static_cast<int>(frames);
    animation->m_size = QSize(static_cast<int>(width), static_cast<int>(height));
    animation->m_animation = std::move(parsed);
    return animation;
}

QImage LottieAnimation::render(int frame, QSize pixelSize)
{
    if (pixelSize.isEmpty() || pixelSize.width() > maxCanvasSide || pixelSize.height() > maxCanvasSide)
        return {};
    QImage image(pixelSize, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    const int clamped = std::clamp(frame, 0, m_frameCount - 1);
    // The renderer writes premultiplied ARGB32 words, the same layout as the QImage format.
    rlottie::Surface surface(reinterpret_cast<uint32_t*>(image.bits()), static_cast<size_t>(image.width()),
        static_cast<size_t>(image.height()), static_cast<size_t>(image.bytesPerLine()));
    try {
        m_animation->renderSync(static_cast<size_t>(clamped), surface);
    } catch (const std::exception&) {
        return {};
    }
    return image;
}
