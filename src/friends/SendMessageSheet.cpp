#include "friends/SendMessageSheet.h"

#include "platform/CloseSymbol.h"
#include "server/APIError.h"
#include "server/Tasks.h"
#include "widgets/Divider.h"
#include "widgets/EmojiLabel.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainTextEditor.h"
#include "widgets/ProminentButton.h"
#include "widgets/SecondaryText.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QFont scaled(QFont font, double factor, bool bold)
{
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    return font;
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

} // namespace

SendMessageSheet::SendMessageSheet(Friend friendRecord, OnSend onSend, QWidget* parent)
    : QDialog(parent)
    , m_friend(std::move(friendRecord))
    , m_onSend(std::move(onSend))
    , m_editor(new PlainTextEditor(this))
    , m_error(new PlainLabel({}, this))
    , m_cancel(new QPushButton(u"取消"_s, this))
    , m_send(ProminentButton::create(u"发送"_s, this))
{
    setObjectName(u"sendMessageSheet"_s);
    setWindowTitle(u"发送消息"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(20);

    auto* titleRow = new QHBoxLayout;
    titleRow->setObjectName(u"titleRow"_s);
    titleRow->addWidget(new EmojiLabel(m_friend.avatarEmoji, 26, this));
    auto* title = new PlainLabel(u"发送消息给 "_s + m_friend.nickname, this);
    title->setObjectName(u"sheetTitle"_s);
    title->setFont(scaled(title->font(), 1.15, true));
    title->setElideMode(Qt::ElideRight);
    titleRow->addWidget(title, 1);
    auto* close = new CloseSymbolButton(CloseSymbol::sideFor(font()), QPalette::Window, this);
    close->setObjectName(u"closeButton"_s);
    close->setToolTip(u"关闭"_s);
    titleRow->addWidget(close);
    layout->addLayout(titleRow);

    QFrame* divider = Divider::create(this);
    divider->setObjectName(u"divider"_s);
    layout->addWidget(divider);

    auto* editorBlock = new QVBoxLayout;
    editorBlock->setObjectName(u"editorBlock"_s);
    editorBlock->setSpacing(8);
    auto* caption = new PlainLabel(u"消息内容"_s, this);
    caption->setFont(scaled(caption->font(), 0.85, false));
    SecondaryText::apply(caption);
    editorBlock->addWidget(caption);
    m_editor->setObjectName(u"messageEditor"_s);
    m_editor->setFixedHeight(120);
    m_editor->setStyleSheet(
        u"QPlainTextEdit { padding: 8px; border: 1px solid rgba(128, 128, 128, 77); border-radius: 8px; }"_s);
    editorBlock->addWidget(m_editor);
    layout->addLayout(editorBlock);

    m_error->setObjectName(u"sendError"_s);
    m_error->setWordWrap(true);
    m_error->setFont(scaled(m_error->font(), 0.85, false));
    setTextColour(m_error, QColor(255, 59, 48));
    m_error->setMaximumHeight(2 * m_error->fontMetrics().lineSpacing() + 2);
    m_error->hide();
    layout->addWidget(m_error);

    auto* buttons = new QHBoxLayout;
    buttons->setObjectName(u"buttonRow"_s);
    buttons->setSpacing(12);
    buttons->addStretch(1);
    m_cancel->setObjectName(u"cancelButton"_s);
    m_cancel->setAutoDefault(false);
    m_cancel->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Escape));
    m_send->setObjectName(u"sendButton"_s);
    m_send->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_send);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addStretch(1);

    connect(close, &QToolButton::clicked, this, &QDialog::reject);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_send, &QPushButton::clicked, this, &SendMessageSheet::send);
    connect(m_editor, &QPlainTextEdit::textChanged, this, &SendMessageSheet::updateButtons);
    setFixedSize(sheetWidth, plainHeight);
    updateButtons();
}

SendMessageSheet* SendMessageSheet::present(const Friend& friendRecord, OnSend onSend, QWidget* window)
{
    auto* sheet = new SendMessageSheet(friendRecord, std::move(onSend), window);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
    return sheet;
}

void SendMessageSheet::reject()
{
    if (!m_isSending)
        QDialog::reject();
}

void SendMessageSheet::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_editor->setFocus();
}

void SendMessageSheet::send()
{
    const QString text = m_editor->text().trimmed();
    if (text.isEmpty() || m_isSending)
        return;
    Tasks::start(runSend(text), u"Friend"_s, u"发送消息"_s);
}

QCoro::Task<> SendMessageSheet::runSend(QString text)
{
    const QPointer self(this);
    setErrorMessage({});
    setSending(true);
    QString failure;
    try {
        co_await m_onSend(std::move(text));
    } catch (const std::exception& error) {
        failure = APIError::describe(error);
    }
    if (!self)
        co_return;
    setSending(false);
    if (failure.isEmpty()) {
        accept();
        co_return;
    }
    setErrorMessage(u"发送失败："_s + failure);
}

void SendMessageSheet::setSending(bool sending)
{
    m_isSending = sending;
    m_editor->setReadOnly(sending);
    updateButtons();
}

void SendMessageSheet::setErrorMessage(const QString& message)
{
    m_errorMessage = message;
    m_error->setText(message);
    m_error->setVisible(!message.isEmpty());
    setFixedSize(sheetWidth, message.isEmpty() ? plainHeight : withErrorHeight);
}

void SendMessageSheet::updateButtons()
{
    m_cancel->setEnabled(!m_isSending);
    m_send->setEnabled(!m_isSending && !m_editor->text().trimmed().isEmpty());
    m_send->setText(m_isSending ? u"发送中..."_s : u"发送"_s);
}
