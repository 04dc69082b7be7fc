#pragma once

#include <QString>
#include <QWidget>

class PetState;
class PlainLabel;
class QSlider;
class SystemInfo;

/// The "通用" page: the pet's movement speed and this program's resource use.
class GeneralPreferencesView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GeneralPreferencesView)

public:
    /// The slider counts tenths: 0.5x to 2.0x.
    static constexpr int minimumTenths = 5;
    static constexpr int maximumTenths = 20;

    GeneralPreferencesView(PetState& petState, SystemInfo& systemInfo, QWidget* parent = nullptr);

    /// "慢速 0.5x", "中速 1.0x", "快速 2.0x"; the number alone between and outside the ranges.
    [[nodiscard]] static QString speedLabel(double multiplier);

private:
    void showSpeed();

    PetState& m_petState;
    QSlider* m_slider;
    PlainLabel* m_speedLabel;
};
