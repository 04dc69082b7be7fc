#pragma once

#include "core/PetBehavior.h"
#include "server/DriftBottleModels.h"

#include <QPointer>
#include <QWidget>

#include <QCoroTask>

#include <functional>
#include <optional>

class BannerRow;
class BusySpinner;
class DriftBottleManager;
#include <QDialog>
class QPushButton;
class UserManager;

/// The pick page: one button that sets the pet exploring and picks a random bottle, whose
/// detail then opens in a sheet. A failure shows in a banner until the next press.
/// No menu opens it today.
class PickBottleTabView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PickBottleTabView)

public:
    /// Asks the pet on the desktop to play an animation.
    using PlayBehavior = std::function<void(PetBehavior)>;

    PickBottleTabView(
        DriftBottleManager& bottles, UserManager& users, PlayBehavior playBehavior, QWidget* parent = nullptr);

    [[nodiscard]] bool isPicking() const { return m_isPicking; }
    [[nodiscard]] const std::optional<DriftBottle>& pickedBottle() const { return m_pickedBottle; }
    /// The banner's text, empty while it is hidden.
    [[nodiscard]] QString errorMessage() const;
    [[nodiscard]] QDialog* detailSheet() const { return m_sheet; }
    /// The picked bottle's detail sheet is open.
    [[nodiscard]] bool showBottleDetail() const { return !m_sheet.isNull(); }

    void pickBottle();

    /// The room left below the pick button.
    static constexpr int buttonBottomPadding = 40;
    /// Between the button's symbol (or spinner) and its title.
    static constexpr int labelSpacing = 8;

private:
    QCoro::Task<> pick();
    void updateButton();

    DriftBottleManager& m_bottleManager;
    UserManager& m_users;
    PlayBehavior m_playBehavior;
    bool m_isPicking = false;
    std::optional<DriftBottle> m_pickedBottle;
    BannerRow* m_errorBanner;
    QPushButton* m_pickButton;
    BusySpinner* m_spinner;
    QPointer<QDialog> m_sheet;
};
