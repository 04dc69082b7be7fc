#include "reminders/ReminderWindowManager.h"

#include "platform/WindowFront.h"
#include "reminders/ReminderManager.h"
#include "widgets/PlainLabel.h"

#include <QVBoxLayout>
#include <QWidget>

using namespace Qt::StringLiterals;

ReminderWindowManager::ReminderWindowManager(ReminderManager& reminders, QObject* parent)
    : QObject(parent)
    , m_reminders(reminders)
{
    connect(&m_reminders, &ReminderManager::remindersChanged, this, &ReminderWindowManager::refresh);
}

ReminderWindowManager::~ReminderWindowManager()
{
    delete m_reminderWindow.data();
}

void ReminderWindowManager::showReminderWindow()
{
    if (!m_reminderWindow) {
        auto* window = new QWidget(nullptr, Qt::Window);
        window->setObjectName(u"reminderWindow"_s);
        window->setWindowTitle(u"⏰ 提醒"_s);
        // Closing frees the window; the pointers clear themselves and the next request
        // builds a new one.
        window->setAttribute(Qt::WA_DeleteOnClose);
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(20, 20, 20, 20);
        m_status = new PlainLabel({}, window);
        m_status->setObjectName(u"reminderStatus"_s);
        layout->addWidget(m_status);
        m_reminderWindow = window;
        refresh();
    }
    WindowFront::bringForward(*m_reminderWindow);
}

void ReminderWindowManager::closeReminderWindow()
{
    if (m_reminderWindow)
        m_reminderWindow->close();
}

void ReminderWindowManager::refresh()
{
    if (m_status)
        m_status->setText(m_reminders.getReminderStatusInfo().join(u'\n'));
}
