#pragma once

#include <QString>
#include <QWidget>

class DoNotDisturbManager;
class InkWideLabel;
class MultiPetManager;
class OpacityManager;
class PetAppearanceManager;
class PlainLabel;
class SegmentedPicker;
class QSlider;

/// The "外观" page: the pet type and three settings of the pet engine (resting opacity,
/// clone lifetime, do-not-disturb height). Every control writes straight to its manager,
/// which stores and applies the value; the page follows the managers' changes.
class AppearancePreferencesView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AppearancePreferencesView)

public:
    AppearancePreferencesView(OpacityManager& opacityManager, MultiPetManager& multiPetManager,
        DoNotDisturbManager& doNotDisturbManager, PetAppearanceManager& petAppearanceManager,
        QWidget* parent = nullptr);

    /// The value texts: whole numbers cut toward zero ("100%", "3秒", "-60px").
    [[nodiscard]] static QString opacityText(double opacity);
    [[nodiscard]] static QString cloneTimeText(double seconds);
    [[nodiscard]] static QString bottomOffsetText(double offset);

private:
    void buildPetTypeSection(class QVBoxLayout* page);
    void showValues();
    void showPetType();

    OpacityManager& m_opacityManager;
    MultiPetManager& m_multiPetManager;
    DoNotDisturbManager& m_doNotDisturbManager;
    PetAppearanceManager& m_petAppearanceManager;

    SegmentedPicker* m_petTypes = nullptr;
    QWidget* m_currentPet = nullptr;
    InkWideLabel* m_currentPetEmoji = nullptr;
    PlainLabel* m_currentPetName = nullptr;
    QSlider* m_opacitySlider = nullptr;
    PlainLabel* m_opacityValue = nullptr;
    QSlider* m_cloneSlider = nullptr;
    PlainLabel* m_cloneValue = nullptr;
    QSlider* m_offsetSlider = nullptr;
    PlainLabel* m_offsetValue = nullptr;
};
