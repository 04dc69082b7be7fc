#pragma once

#include "preferences/ProductInfo.h"

#include <QString>
#include <QWidget>

class Clock;
class NotificationManager;
class PetState;
class PetWindowHost;
class PlainLabel;
class Screens;

/// The "高级" page: the pet's stored position with a reset that puts the pet near the
/// middle of the main screen, and the about block (version, website, contact ID).
class AdvancedPreferencesView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AdvancedPreferencesView)

public:
    AdvancedPreferencesView(PetState& petState, PetWindowHost& pet, Screens& screens,
        NotificationManager& notifications, UrlOpener openUrl, QWidget* parent = nullptr);

    /// "Tamsel v" and the version, "未知" when the program carries none.
    [[nodiscard]] static QString versionLine();

    /// Asks for confirmation, then resets when the user agrees.
    void showResetConfirmation();
    /// Puts the pet near the middle of the main screen, stores the place and moves the window.
    void resetPetState();
    void openWebsite();
    void copyToClipboard(const QString& text);

private:
    /// Tells the user, as a notification, that the contact ID is on the clipboard.
    void showCopySuccessNotification();
    void showPosition();

    PetState& m_petState;
    PetWindowHost& m_pet;
    Screens& m_screens;
    NotificationManager& m_notifications;
    UrlOpener m_openUrl;
    PlainLabel* m_position;
};
