#pragma once

#include <QColor>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class Defaults;

enum class AppTheme { light, dark, automatic };

inline constexpr std::array<AppTheme, 3> allAppThemes { AppTheme::light, AppTheme::dark, AppTheme::automatic };

/// "light", "dark", "auto".
[[nodiscard]] QString rawValue(AppTheme theme);
[[nodiscard]] std::optional<AppTheme> appThemeFromRaw(const QString& raw);

/// A palette of the program's own colours.
struct ThemeColors
{
    QColor primary;
    QColor secondary;
    QColor background;
    QColor surface;
    QColor text;
    QColor textSecondary;
    QColor accent;
    QColor warning;
    QColor error;
    QColor success;

    static const ThemeColors& light();
    static const ThemeColors& dark();

    friend bool operator==(const ThemeColors&, const ThemeColors&) = default;
};

/// The user's theme choice ("SelectedTheme", read only) resolved to a light or dark palette
/// once, at creation. The system appearance is not watched while the program runs.
class ThemeManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ThemeManager)

public:
    static inline const QString themeKey = QStringLiteral("SelectedTheme");

    /// Whether the desktop is in a dark appearance.
    using DarkProbe = std::function<bool()>;

    explicit ThemeManager(Defaults& defaults, DarkProbe systemIsDark = {}, QObject* parent = nullptr);
    ~ThemeManager() override;

    [[nodiscard]] AppTheme currentTheme() const { return m_currentTheme; }
    [[nodiscard]] const ThemeColors& colors() const { return m_colors; }
    [[nodiscard]] bool isThemeMonitoringActive() const { return m_isThemeMonitoringActive; }

    void startThemeMonitoring();
    void stopThemeMonitoring();
    /// The chosen theme, or for automatic the system's appearance.
    [[nodiscard]] AppTheme getCurrentActualTheme() const;

    /// The desktop's appearance: the portal's colour-scheme preference when a portal answers,
    /// else whether the application palette draws light text on a dark window.
    [[nodiscard]] static bool systemPrefersDark();

Q_SIGNALS:
    void currentThemeChanged(AppTheme theme);
    void colorsChanged();
    void isThemeMonitoringActiveChanged(bool active);

private:
    void updateColors();
    void loadTheme();

    Defaults& m_userDefaults;
    DarkProbe m_systemIsDark;
    AppTheme m_currentTheme = AppTheme::automatic;
    ThemeColors m_colors = ThemeColors::light();
    bool m_isThemeMonitoringActive = false;
};
