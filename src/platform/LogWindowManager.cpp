#include "platform/LogWindowManager.h"

#include "platform/Alerts.h"
#include "platform/FontScale.h"
#include "platform/KeyboardFocus.h"
#include "platform/LogManager.h"
#include "platform/SecondaryColour.h"
#include "platform/WindowFront.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int buttonHeight = 24;

/// The stated size of a toolbar button holds at the default font. A larger application font
/// grows it in proportion, and never leaves the title less room than it takes.
QSize buttonSize(const QPushButton& button, QSize stated, double scale)
{
    if (scale <= 1.0)
        return stated;
    const QFontMetrics metrics(button.font());
    // Room for the style's margins inside the face, either side of the title and above and below.
    const QSize needed(metrics.horizontalAdvance(button.text()) + 16, metrics.height() + 6);
    const QSize grown(int(std::ceil(stated.width() * scale)), int(std::ceil(stated.height() * scale)));
    return grown.expandedTo(needed);
}

/// A ring round the log while it holds the focus, as the lists wear theirs: Tab stops there
/// so that the keyboard can scroll and select the lines, and the view itself shows no mark.
/// It lies over the view as a child on top, so the lines keep their place.
class FocusMark final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int width = 2;
    /// What a graphic must reach against the page, with room for the smoothing of corners.
    static constexpr double contrast = 3.2;

    explicit FocusMark(QWidget* view)
        : QWidget(view)
        , m_view(view)
    {
        setObjectName(u"logFocusMark"_s);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(view->rect());
        hide();
        view->installEventFilter(this);
        KeyboardFocus::whenChanged(this, [this] { setVisible(KeyboardFocus::shows(m_view)); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (watched == m_view && (type == QEvent::FocusIn || type == QEvent::FocusOut || type == QEvent::Resize)) {
            setGeometry(m_view->rect());
            setVisible(KeyboardFocus::shows(m_view));
            raise();
        }
        return false;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const QPalette& palette = m_view->palette();
        const QColor ring = SecondaryColour::readable(
            palette.color(QPalette::Active, QPalette::Highlight), palette.color(QPalette::Base), contrast);
        QPainter painter(this);
        // Whole pixels along the edges, inside the view.
        painter.setPen(QPen(ring, width));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(width / 2.0, width / 2.0, -width / 2.0, -width / 2.0));
    }

private:
    QWidget* m_view;
};

} // namespace

LogWindowManager::LogWindowManager(LogManager& logs, QObject* parent)
    : QObject(parent)
    , m_logs(logs)
    , m_timer(this)
{
    m_timer.setInterval(refreshIntervalMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &LogWindowManager::refreshLogs);
}

LogWindowManager::~LogWindowManager() = default;

void LogWindowManager::showLogWindow()
{
    if (!m_logWindow) {
        buildWindow();
        refreshLogs();
        m_timer.start();
    }
    WindowFront::bringForward(*m_logWindow);
}

void LogWindowManager::buildWindow()
{
    m_logWindow = std::make_unique<QWidget>();
    m_logWindow->setObjectName(u"logWindow"_s);
    m_logWindow->setWindowTitle(u"Tamsel - 调试日志"_s);
    m_logWindow->resize(900, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), m_logWindow->size());
        frame.moveCenter(screen->availableGeometry().center());
        m_logWindow->move(frame.topLeft());
    }

    auto* toolbar = new QWidget(m_logWindow.get());
    toolbar->setFixedHeight(40);
    toolbar->setAutoFillBackground(true);
    toolbar->setBackgroundRole(QPalette::Base);
    // Buttons 24 high at y = 8, starting at x = 10 with 10 between them.
    auto* buttons = new QHBoxLayout(toolbar);
    buttons->setContentsMargins(10, 8, 10, 8);
    buttons->setSpacing(10);
    const struct
    {
        const char16_t* title;
        const char16_t* name;
        int width;
        void (LogWindowManager::*action)();
    } entries[] = {
        { u"📋 复制日志", u"copyButton", 100, &LogWindowManager::copyLogs },
        { u"💾 保存日志", u"saveButton", 100, &LogWindowManager::saveLogs },
        { u"🗑️ 清空日志", u"clearButton", 100, &LogWindowManager::clearLogs },
        { u"🔄 刷新", u"refreshButton", 80, &LogWindowManager::refreshLogs },
        { u"📊 统计", u"statsButton", 80, &LogWindowManager::showStats },
        { u"📂 打开日志文件", u"openButton", 120, &LogWindowManager::openLogFile },
    };
    const double scale = FontScale::ofApplication();
    for (const auto& entry : entries) {
        auto* button = new QPushButton(QString::fromUtf16(entry.title), toolbar);
        button->setObjectName(QString::fromUtf16(entry.name));
        button->setFixedSize(buttonSize(*button, QSize(entry.width, buttonHeight), scale));
        // The bar keeps its 8 above and below the buttons when they grow.
        toolbar->setFixedHeight(std::max(toolbar->height(), button->height() + 16));
        connect(button, &QPushButton::clicked, this, entry.action);
        buttons->addWidget(button);
    }
    buttons->addStretch();

    m_logTextView = new QPlainTextEdit(m_logWindow.get());
    m_logTextView->setObjectName(u"logTextView"_s);
    m_logTextView->setReadOnly(true);
    m_logTextView->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_logTextView->setFrameShape(QFrame::NoFrame);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(std::max(1, int(std::lround(textPixels * scale))));
    m_logTextView->setFont(font);
    m_logTextView->document()->setDocumentMargin(10);
    new FocusMark(m_logTextView);

    auto* layout = new QVBoxLayout(m_logWindow.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(m_logTextView);
}

void LogWindowManager::refreshLogs()
{
    // Queued, so lines logged just before (such as the clearing line) are in the list.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_logTextView)
                return;
            m_logTextView->setPlainText(m_logs.getAllLogsText());
            m_logTextView->verticalScrollBar()->setValue(m_logTextView->verticalScrollBar()->maximum());
        },
        Qt::QueuedConnection);
}

void LogWindowManager::copyLogs()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString text = m_logs.getAllLogsText();
    bool copied = false;
    if (clipboard) {
        clipboard->clear();
        clipboard->setText(text);
        copied = clipboard->text() == text;
    }
    if (copied)
        showAlert(u"成功"_s, u"日志已复制到剪贴板"_s);
    else
        showAlert(u"失败"_s, u"复制日志失败"_s);
}

void LogWindowManager::saveLogs()
{
    const QString path = m_logs.saveLogsToFile();
    if (!path.isEmpty())
        showAlert(u"成功"_s, u"日志已保存到:\n"_s + path);
    else
        showAlert(u"失败"_s, u"保存日志失败"_s);
}

void LogWindowManager::clearLogs()
{
    m_logs.clearLogs();
    refreshLogs();
}

void LogWindowManager::showStats()
{
    showAlert(u"日志统计"_s, m_logs.getLogStats());
}

void LogWindowManager::openLogFile()
{
    const QString path = m_logs.logFilePath();
    const auto openFolder
        = [folder = QFileInfo(path).absolutePath()] { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); };
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openFolder();
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(u"org.freedesktop.FileManager1"_s,
        u"/org/freedesktop/FileManager1"_s, u"org.freedesktop.FileManager1"_s, u"ShowItems"_s);
    call << QStringList { QUrl::fromLocalFile(path).toString() } << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [openFolder](QDBusPendingCallWatcher* finished) {
        if (finished->isError())
            openFolder();
        finished->deleteLater();
    });
}

void LogWindowManager::showAlert(const QString& title, const QString& message)
{
    Alerts::show(Alerts::Style::Informational, title, message, { u"确定"_s }, m_logWindow.get());
}

#include "LogWindowManager.moc"
