#include "driftbottle/ThrowNewBottleSheet.h"

#include "driftbottle/ConversationManager.h"
#include "driftbottle/EditorBox.h"
#include "driftbottle/SensitiveWordNotice.h"
#include "platform/LogManager.h"
#include "platform/SystemColours.h"
#include "platform/TextFitting.h"
#include "server/Tasks.h"
#include "widgets/BusySpinner.h"
#include "widgets/ButtonStyle.h"
#include "widgets/GraphemeText.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainTextEditor.h"
#include "widgets/ReadableColour.h"
#include "widgets/Spacing.h"
#include "widgets/TextStyle.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString category = u"Conversation"_s;
/// A red line under the editor, not a page: a server that answers with a whole web page
/// keeps its text in the tool tip and the log.
constexpr qsizetype maxErrorShown = 120;

} // namespace

ThrowNewBottleSheet::ThrowNewBottleSheet(ConversationManager& manager, QWidget* parent)
    : QDialog(parent)
    , m_conversationManager(manager)
    , m_editor(new PlainTextEditor(this))
    , m_error(new PlainLabel({}, this))
    , m_cancel(ButtonStyle::create(u"取消"_s, ButtonStyle::Style::bordered, ButtonStyle::ControlSize::regular, this))
    , m_send(ButtonStyle::create(
          u"发送"_s, ButtonStyle::Style::borderedProminent, ButtonStyle::ControlSize::regular, this))
{
    setObjectName(u"throwSheet"_s);
    setWindowTitle(u"丢瓶子"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(
        Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding);
    layout->setSpacing(20);

    auto* title = new PlainLabel(u"丢一个新瓶子"_s, this);
    title->setObjectName(u"throwTitle"_s);
    TextStyle::apply(title, TextStyle::Style::headline);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);

    m_editor->setObjectName(u"bottleText"_s);
    // The editor draws no face: gray at a tenth shows behind its text, in rounded corners.
    auto* editorBox = new EditorBox(
        m_editor, { .fill = QColor(142, 142, 147, 26), .outline = QPalette::NoRole, .radius = 8, .padding = 0 }, this);
    editorBox->setObjectName(u"bottleTextBox"_s);
    editorBox->setFixedHeight(150);
    layout->addWidget(editorBox);

    m_error->setObjectName(u"throwError"_s);
    m_error->setWordWrap(true);
    m_error->setAlignment(Qt::AlignCenter);
    TextStyle::apply(m_error, TextStyle::Style::caption);
    ReadableColour::tint(m_error, SystemColours::red());
    m_error->setMaximumHeight(2 * m_error->fontMetrics().lineSpacing() + 2);
    m_error->hide();
    layout->addWidget(m_error);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch(1);
    m_cancel->setObjectName(u"cancelButton"_s);
    m_cancel->setAutoDefault(false);
    m_send->setObjectName(u"sendButton"_s);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_send);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addStretch(1);

    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_send, &QPushButton::clicked, this, &ThrowNewBottleSheet::sendBottle);
    connect(m_editor, &QPlainTextEdit::textChanged, this, &ThrowNewBottleSheet::updateButtons);
    setFixedSize(sheetWidth, plainHeight);
    updateButtons();
}

ThrowNewBottleSheet* ThrowNewBottleSheet::present(ConversationManager& manager, QWidget* window)
{
    auto* sheet = new ThrowNewBottleSheet(manager, window);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
    return sheet;
}

void ThrowNewBottleSheet::reject()
{
    if (!m_isSending)
        QDialog::reject();
}

QString ThrowNewBottleSheet::content() const
{
    return m_editor->text();
}

void ThrowNewBottleSheet::updateButtons()
{
    m_cancel->setEnabled(!m_isSending);
    m_send->setEnabled(!m_isSending && !content().isEmpty());
    m_send->setText(m_isSending ? u"发送中..."_s : u"发送"_s);
}

void ThrowNewBottleSheet::setSending(bool sending)
{
    m_isSending = sending;
    updateButtons();
}

void ThrowNewBottleSheet::setErrorMessage(const QString& message)
{
    m_errorMessage = message;
    const QString head = GraphemeText::count(message) > maxErrorShown
        ? GraphemeText::truncated(message, maxErrorShown) + u"…"_s
        : message;
    // Two lines at most, the second ending in "…" when more was said: a line cut off at the
    // label's edge would not show that anything is missing.
    const QMargins margins = layout()->contentsMargins();
    const QString shown = TextFitting::fitted(head, m_error->font(), sheetWidth - margins.left() - margins.right(), 2);
    m_error->setText(shown);
    m_error->setToolTip(shown == message ? QString() : TextFitting::plainToolTip(message));
    m_error->setVisible(!message.isEmpty());
    setFixedSize(sheetWidth, message.isEmpty() ? plainHeight : withErrorHeight);
}

void ThrowNewBottleSheet::sendBottle()
{
    const QString content = this->content();
    if (content.isEmpty() || m_isSending)
        return;
    setErrorMessage({});
    setSending(true);
    LogManager::log(u"🚀 开始丢瓶子，内容长度: "_s + QString::number(GraphemeText::count(content)), category);
    Tasks::start(throwBottle(content), category, u"丢瓶子"_s);
}

QCoro::Task<> ThrowNewBottleSheet::throwBottle(QString content)
{
    const QPointer<ThrowNewBottleSheet> self(this);
    QString failure;
    try {
        co_await m_conversationManager.sendNewBottle(std::move(content));
    } catch (const std::exception& error) {
        failure = APIError::describe(error);
    }
    if (!self)
        co_return;
    if (failure.isNull()) {
        accept();
        co_return;
    }
    setSending(false);
    if (SensitiveWordNotice::isRefusal(failure)) {
        setErrorMessage({});
        if (!m_alert)
            m_alert = SensitiveWordNotice::open(this);
    } else {
        setErrorMessage(failure);
    }
}

PickBottleSheet::PickBottleSheet(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(u"pickSheet"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(20);
    layout->addStretch(1);
    auto* spinner = new BusySpinner(24, this);
    layout->addWidget(spinner, 0, Qt::AlignCenter);
    layout->addWidget(new PlainLabel(u"正在捡瓶子..."_s, this), 0, Qt::AlignCenter);
    layout->addStretch(1);
    setFixedSize(300, 200);
}

void PickBottleSheet::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QTimer::singleShot(closeAfterMs, Qt::PreciseTimer, this, &QDialog::accept);
}

bool ThrowNewBottleSheet::showSensitiveWordAlert() const
{
    return m_alert && m_alert->isVisible();
}
