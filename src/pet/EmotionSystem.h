#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>

#include <array>
#include <optional>

class QTimer;

/// The pet's mood. There is one.
enum class EmotionType { happy };

inline constexpr std::array<EmotionType, 1> allEmotionTypes { EmotionType::happy };

[[nodiscard]] QString rawValue(EmotionType type);
[[nodiscard]] std::optional<EmotionType> emotionTypeFromRaw(const QString& raw);

struct EmotionData
{
    EmotionType primaryEmotion = EmotionType::happy;

    /// {"primaryEmotion": "happy"}
    [[nodiscard]] QJsonObject toJson() const;
    /// Requires the key and a known mood; anything else yields none.
    [[nodiscard]] static std::optional<EmotionData> fromJson(const QJsonObject& object);

    friend bool operator==(const EmotionData&, const EmotionData&) = default;
};

/// Holds the pet's mood for the whole run. Nothing changes it: no timer runs, and the
/// "EmotionDidChange" event is never posted.
class EmotionSystem final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EmotionSystem)

public:
    explicit EmotionSystem(QObject* parent = nullptr);

    [[nodiscard]] const EmotionData& emotionData() const { return m_emotionData; }
    void setEmotionData(const EmotionData& data);

Q_SIGNALS:
    void emotionDataChanged(const EmotionData& data);

private:
    EmotionData m_emotionData;
    // Room for a mood that changes over time; nothing drives it yet, so no timer runs and
    // every rate is nil.
    QTimer* m_updateTimer = nullptr;
    static constexpr double hungerIncreaseRate = 0.0;
    static constexpr double energyDecreaseRate = 0.0;
    static constexpr double lonelinessIncreaseRate = 0.0;
    static constexpr double happinessDecayRate = 0.0;
};
