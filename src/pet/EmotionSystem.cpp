#include "pet/EmotionSystem.h"

#include "core/EnumFromRaw.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

QString rawValue(EmotionType type)
{
    switch (type) {
    case EmotionType::happy:
        return u"happy"_s;
    }
    return {};
}

std::optional<EmotionType> emotionTypeFromRaw(const QString& raw)
{
    return enumFromRaw(allEmotionTypes, raw);
}

QJsonObject EmotionData::toJson() const
{
    return QJsonObject { { u"primaryEmotion"_s, rawValue(primaryEmotion) } };
}

std::optional<EmotionData> EmotionData::fromJson(const QJsonObject& object)
{
    const QJsonValue value = object.value(u"primaryEmotion"_s);
    if (!value.isString())
        return std::nullopt;
    const auto type = emotionTypeFromRaw(value.toString());
    if (!type)
        return std::nullopt;
    return EmotionData { *type };
}

EmotionSystem::EmotionSystem(QObject* parent)
    : QObject(parent)
{
}

void EmotionSystem::setEmotionData(const EmotionData& data)
{
    m_emotionData = data;
    Q_EMIT emotionDataChanged(m_emotionData);
}
