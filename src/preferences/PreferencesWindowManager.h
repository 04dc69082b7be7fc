#pragma once

#include "platform/Lazy.h"
#include "preferences/PreferenceTab.h"
#include "preferences/PreferencesView.h"
#include "preferences/ProductInfo.h"

#include <QObject>
#include <QPointer>
#include <QSize>

#include <map>
#include <optional>

class APIClient;
class DoNotDisturbManager;
class MultiPetManager;
class NotificationManager;
class OpacityManager;
class PetAppearanceManager;
class PetState;
class PetWindowHost;
class Screens;
class SystemInfo;
class UserManager;

/// What the preferences window's own pages work on.
struct PreferencesServices
{
    PetState& petState;
    OpacityManager& opacity;
    /// Made when the appearance page first shows it.
    Lazy<MultiPetManager> multiPet;
    DoNotDisturbManager& doNotDisturb;
    PetAppearanceManager& appearance;
    PetWindowHost& pet;
    Screens& screens;
    NotificationManager& notifications;
    UserManager& userManager;
    Lazy<APIClient> apiClient;
    SystemInfo& systemInfo;
    UrlOpener openUrl = browserOpener();
};

/// Owns the one preferences window "Tamsel - 偏好设置": builds it on request, brings an
/// open one to the front, and forgets it when the user closes it.
///
/// The window shows a tab only when the tab has a page. The general, account, appearance
/// and advanced pages are this library's own; the pages of other features are handed in
/// with setPage().
class PreferencesWindowManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreferencesWindowManager)

public:
    /// The window asks for 700 × 550 but its content for at least 800 × 550, and the content
    /// wins: the detail column then holds the 600 points wide pages beside the sidebar.
    static constexpr QSize windowSize { 800, 550 };
    static inline const QString windowTitle = QStringLiteral("Tamsel - 偏好设置");

    explicit PreferencesWindowManager(PreferencesServices services, QObject* parent = nullptr);
    /// Closes the window if it is open.
    ~PreferencesWindowManager() override;

    /// Opens the window on the tab titled `initialTab` (the general tab without one, or
    /// when the title names no tab that has a page). An open window only comes to the
    /// front and keeps the tab it shows.
    void showPreferencesWindow(const std::optional<QString>& initialTab = std::nullopt);
    void showPreferencesWindow(PreferenceTab initialTab);

    /// The open window, or null.
    [[nodiscard]] QWidget* preferencesWindow() const { return m_window; }
    [[nodiscard]] PreferencesView* preferencesView() const { return m_view; }

    /// Gives a tab its page, or replaces it; windows opened afterwards show the tab in its
    /// place in the sidebar. The factory builds a fresh page each time the tab is chosen.
    void setPage(PreferenceTab tab, PreferencesView::PageFactory factory);

private:
    [[nodiscard]] PreferencesView::Pages pages() const;

    PreferencesServices m_services;
    std::map<PreferenceTab, PreferencesView::PageFactory> m_pages;
    QPointer<QWidget> m_window;
    QPointer<PreferencesView> m_view;
};
