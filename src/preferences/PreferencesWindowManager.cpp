#include "preferences/PreferencesWindowManager.h"

#include "platform/MemoryRelease.h"
#include "platform/WindowFront.h"
#include "preferences/AccountPreferencesView.h"
#include "preferences/AdvancedPreferencesView.h"
#include "preferences/AppearancePreferencesView.h"
#include "preferences/GeneralPreferencesView.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

/// A top-level window that says when the user closes it.
class ClosingWindow final : public QWidget
{
public:
    explicit ClosingWindow(std::function<void()> onClose)
        : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint)
        , m_onClose(std::move(onClose))
    {
        setAttribute(Qt::WA_DeleteOnClose);
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        QWidget::closeEvent(event);
        if (m_onClose)
            m_onClose();
    }

private:
    std::function<void()> m_onClose;
};

} // namespace

PreferencesWindowManager::PreferencesWindowManager(PreferencesServices services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services))
{
    PreferencesServices& s = m_services;
    setPage(PreferenceTab::general, [&s] { return new GeneralPreferencesView(s.petState, s.systemInfo); });
    setPage(PreferenceTab::account, [&s] { return new AccountPreferencesView(s.userManager, s.apiClient); });
    setPage(PreferenceTab::appearance,
        [&s] { return new AppearancePreferencesView(s.opacity, s.multiPet.get(), s.doNotDisturb, s.appearance); });
    setPage(PreferenceTab::advanced,
        [&s] { return new AdvancedPreferencesView(s.petState, s.pet, s.screens, s.notifications, s.openUrl); });
}

PreferencesWindowManager::~PreferencesWindowManager()
{
    delete m_window;
}

void PreferencesWindowManager::setPage(PreferenceTab tab, PreferencesView::PageFactory factory)
{
    if (factory)
        m_pages[tab] = std::move(factory);
    else
        m_pages.erase(tab);
}

PreferencesView::Pages PreferencesWindowManager::pages() const
{
    PreferencesView::Pages out;
    for (PreferenceTab tab : allPreferenceTabs) {
        if (const auto it = m_pages.find(tab); it != m_pages.end())
            out.append({ tab, it->second });
    }
    return out;
}

void PreferencesWindowManager::showPreferencesWindow(PreferenceTab initialTab)
{
    showPreferencesWindow(rawValue(initialTab));
}

void PreferencesWindowManager::showPreferencesWindow(const std::optional<QString>& initialTab)
{
    if (!m_window) {
        // Closing forgets the window at once; it is deleted a moment later.
        auto* window = new ClosingWindow([self = QPointer(this)] {
            if (self) {
                self->m_window.clear();
                self->m_view.clear();
            }
            // The window and its pages (and their fonts' caches) go back to the system.
            MemoryRelease::trimSoon();
        });
        window->setObjectName(u"preferencesWindow"_s);
        window->setWindowTitle(windowTitle);
        window->setFixedSize(windowSize);
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        m_view = new PreferencesView(pages(), initialTab, window);
        layout->addWidget(m_view);
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            window->move(screen->availableGeometry().center() - window->rect().center());
        m_window = window;
    }
    WindowFront::bringForward(*m_window);
}
