#include "friends/SendMessageSheet.h"

#include "platform/SystemColours.h"
#include "server/APIError.h"
#include "server/Tasks.h"
#include "widgets/ButtonStyle.h"
#include "widgets/Divider.h"
#include "widgets/EmojiLabel.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainTextEditor.h"
#include "widgets/ProminentButton.h"
#include "widgets/ReadableColour.h"
#include "widgets/SecondaryText.h"
#include "widgets/Spacing.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QEvent>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using TextStyle::Style;

namespace {

/// The padding a sheet keeps from its edges.
using Spacing::standardPadding;
/// The editor's inner padding and the radius of its corners.
constexpr int editorPadding = 8;
constexpr int editorRadius = 8;

} // namespace

SendMessageSheet::SendMessageSheet(Friend friendRecord, OnSend onSend, QWidget* parent)
    : QDialog(parent)
    , m_friend(std::move(friendRecord))
    , m_onSend(std::move(onSend))
    , m_editor(new PlainTextEditor(this))
    , m_error(new PlainLabel({}, this))
    , m_cancel(ButtonStyle::create(u"取消"_s, ButtonStyle::Style::bordered, ButtonStyle::ControlSize::regular, this))
    , m_send(ProminentButton::create(u"发送"_s, this))
{
    setObjectName(u"sendMessageSheet"_s);
    setWindowTitle(u"发送消息"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(standardPadding, standardPadding, standardPadding, standardPadding);
    layout->setSpacing(20);

    auto* titleRow = new QHBoxLayout;
    titleRow->setObjectName(u"titleRow"_s);
    auto* avatar = new EmojiLabel(m_friend.avatarEmoji, this);
    avatar->setObjectName(u"avatar"_s);
    avatar->setFont(EmojiLabel::emojiFont(TextStyle::font(Style::title)));
    titleRow->addWidget(avatar);
    auto* title = new PlainLabel(u"发送消息给 "_s + m_friend.nickname, this);
    title->setObjectName(u"sheetTitle"_s);
    TextStyle::apply(title, Style::title3, QFont::Bold);
    title->setElideMode(Qt::ElideRight);
    titleRow->addWidget(title, 1);
    QPushButton* close = Symbols::closeButton(QFontInfo(TextStyle::font(Style::body)).pixelSize(), this);
    close->setObjectName(u"closeButton"_s);
    titleRow->addWidget(close);
    layout->addLayout(titleRow);

    QFrame* divider = Divider::create(this);
    divider->setObjectName(u"divider"_s);
    layout->addWidget(divider);

    auto* editorBlock = new QVBoxLayout;
    editorBlock->setObjectName(u"editorBlock"_s);
    editorBlock->setSpacing(8);
    auto* caption = new PlainLabel(u"消息内容"_s, this);
    caption->setObjectName(u"caption"_s);
    TextStyle::apply(caption, Style::caption);
    SecondaryText::apply(caption);
    editorBlock->addWidget(caption);
    m_editor->setObjectName(u"messageEditor"_s);
    TextStyle::apply(m_editor, Style::body);
    m_editor->setFixedHeight(120);
    styleEditor();
    editorBlock->addWidget(m_editor);
    layout->addLayout(editorBlock);

    m_error->setObjectName(u"sendError"_s);
    m_error->setWordWrap(true);
    TextStyle::apply(m_error, Style::caption);
    ReadableColour::tint(m_error, SystemColours::red());
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

    connect(close, &QPushButton::clicked, this, &QDialog::reject);
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

void SendMessageSheet::styleEditor()
{
    // The padding lies on the text background, which the rounded corners clip, with the
    // outline drawn along them; the colour follows the palette.
    const QString sheet = u"QPlainTextEdit#messageEditor { background: %1; padding: %2px;"
                          " border: 1px solid rgba(128, 128, 128, 77); border-radius: %3px; }"_s
                              .arg(palette().color(QPalette::Active, QPalette::Base).name())
                              .arg(editorPadding)
                              .arg(editorRadius);
    if (m_editor->styleSheet() != sheet)
        m_editor->setStyleSheet(sheet);
}

void SendMessageSheet::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        styleEditor();
}

void SendMessageSheet::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_editor->setFocus();
}

void SendMessageSheet::send()
{
    const QString text = message().trimmed();
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

QString SendMessageSheet::message() const
{
    return m_editor->text();
}

void SendMessageSheet::updateButtons()
{
    m_cancel->setEnabled(!m_isSending);
    m_send->setEnabled(!m_isSending && !message().trimmed().isEmpty());
    m_send->setText(m_isSending ? u"发送中..."_s : u"发送"_s);
}
