#include "driftbottle/ChatView.h"

#include "driftbottle/ChatBubbleView.h"
#include "driftbottle/ChatMessageModel.h"
#include "driftbottle/ConversationManager.h"
#include "driftbottle/EditorBox.h"
#include "driftbottle/InputError.h"
#include "driftbottle/SensitiveWordNotice.h"
#include "platform/LogManager.h"
#include "server/Tasks.h"
#include "widgets/BannerRow.h"
#include "widgets/BusySpinner.h"
#include "widgets/ButtonStyle.h"
#include "widgets/Divider.h"
#include "widgets/EmojiLabel.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainTextEditor.h"
#include "widgets/SecondaryText.h"
#include "widgets/Spacing.h"
#include "widgets/TextStyle.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListView>
#include <QMessageBox>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

const QString ChatView::noNameYet = u"暂无人拾取瓶子"_s;
const QString ChatView::noEmoji = u"🌊"_s;

namespace {

const QString category = u"Conversation"_s;

} // namespace

ChatView::ChatView(ConversationManager& manager, const Conversation& conversation, QWidget* parent)
    : QWidget(parent)
    , m_conversationManager(manager)
    , m_conversation(conversation)
    , m_emoji(new EmojiLabel({}, this))
    , m_name(new PlainLabel({}, this))
    , m_model(new ChatMessageModel(manager, this))
    , m_delegate(new ChatBubbleView(*m_model, this))
    , m_list(new QListView(this))
    , m_error(new BannerRow(BannerRow::Kind::error, this))
    , m_editor(new PlainTextEditor(this))
    , m_send(ButtonStyle::create(
          u"发送"_s, ButtonStyle::Style::borderedProminent, ButtonStyle::ControlSize::regular, this))
    , m_spinner(new BusySpinner(13, m_send))
    , m_follow(new QPropertyAnimation(m_list->verticalScrollBar(), "value", this))
{
    setObjectName(u"chatView"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* header = new QWidget(this);
    header->setBackgroundRole(QPalette::Base);
    header->setAutoFillBackground(true);
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(
        Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding);
    m_emoji->setObjectName(u"chatEmoji"_s);
    m_emoji->setFont(EmojiLabel::emojiFont(TextStyle::systemFont(emojiPixels)));
    m_name->setObjectName(u"chatName"_s);
    m_name->setElideMode(Qt::ElideRight);
    TextStyle::apply(m_name, TextStyle::Style::headline);
    headerLayout->addWidget(m_emoji);
    headerLayout->addWidget(m_name, 1);
    layout->addWidget(header);
    layout->addWidget(Divider::create(this));

    m_list->setObjectName(u"chatMessages"_s);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->viewport()->setBackgroundRole(QPalette::Window);
    // Last: every setting above would otherwise lay out the whole history again.
    m_list->setItemDelegate(m_delegate);
    m_list->setModel(m_model);
    layout->addWidget(m_list, 1);

    m_error->setObjectName(u"chatError"_s);
    m_errorTimer.setSingleShot(true);
    m_errorTimer.setTimerType(Qt::PreciseTimer);
    m_errorTimer.setInterval(errorShownMs);
    // Set in from the pane's edges, as the list's banner is.
    m_errorBox = new QWidget(this);
    auto* errorLayout = new QHBoxLayout(m_errorBox);
    errorLayout->setContentsMargins(12, 8, 12, 8);
    errorLayout->addWidget(m_error);
    m_errorBox->hide();
    connect(&m_errorTimer, &QTimer::timeout, m_errorBox, &QWidget::hide);
    layout->addWidget(m_errorBox);
    layout->addWidget(Divider::create(this));

    auto* bar = new QWidget(this);
    bar->setBackgroundRole(QPalette::Base);
    bar->setAutoFillBackground(true);
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(
        Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding);
    barLayout->setSpacing(12);
    m_editor->setObjectName(u"chatInput"_s);
    m_editor->setTabChangesFocus(true);
    // Page Up and Page Down scroll the history above, as in a chat: the list takes no focus.
    m_editor->installEventFilter(this);
    // No face of its own: the bar's background shows through, inside a faint outline
    // with rounded corners so the field can still be found.
    auto* inputBox = new EditorBox(m_editor, { .fill = {}, .outline = QPalette::Mid, .radius = 8, .padding = 2 }, bar);
    inputBox->setObjectName(u"chatInputBox"_s);
    inputBox->setFixedHeight(60);
    barLayout->addWidget(inputBox, 1);
    m_send->setObjectName(u"sendButton"_s);
    // As wide with the spinner as with its title, so the editor beside it stays put.
    m_send->setFixedWidth(std::max(64, m_send->sizeHint().width()));
    m_spinner->hide();
    barLayout->addWidget(m_send);
    layout->addWidget(bar);

    connect(m_editor, &QPlainTextEdit::textChanged, this, &ChatView::updateSendButton);
    connect(m_send, &QPushButton::clicked, this, &ChatView::sendMessage);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &ChatView::messagesChanged);
    // Lines that went, moved or read differently are measured again (a line can gain or
    // lose its sender's name, and with it a height) and laid out again.
    const auto linesChanged = [this] {
        m_delegate->clearCache();
        m_list->doItemsLayout();
        messagesChanged();
    };
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, linesChanged);
    connect(m_model, &QAbstractItemModel::rowsMoved, this, linesChanged);
    connect(m_model, &QAbstractItemModel::dataChanged, this, linesChanged);
    m_follow->setDuration(followMs);
    m_follow->setEasingCurve(QEasingCurve::InOutQuad);
    // Rows measured while the list glides make it longer: it still ends at the newest.
    connect(m_list->verticalScrollBar(), &QScrollBar::rangeChanged, this, [this](int, int maximum) {
        if (m_follow->state() == QAbstractAnimation::Running)
            m_follow->setEndValue(maximum);
    });
    m_shownCount = m_model->rowCount();
    setConversation(conversation);
    updateSendButton();
}

QString ChatView::messageText() const
{
    return m_editor->text();
}

bool ChatView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_editor || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() != Qt::NoModifier || (key->key() != Qt::Key_PageUp && key->key() != Qt::Key_PageDown))
        return false;
    // The user reads back: a glide to the newest line must not pull the list away.
    m_follow->stop();
    m_list->verticalScrollBar()->triggerAction(
        key->key() == Qt::Key_PageUp ? QAbstractSlider::SliderPageStepSub : QAbstractSlider::SliderPageStepAdd);
    return true;
}

void ChatView::setConversation(const Conversation& conversation)
{
    m_conversation = conversation;
    const QString emoji = conversation.otherUserEmoji.value_or(QString());
    // An avatar is one emoji, yet the server passes on whatever text a user set: a long one
    // is cut to a few glyphs' width, or it would push the name out and widen the window.
    const QFontMetrics metrics(m_emoji->font());
    m_emoji->setText(
        metrics.elidedText(emoji.isEmpty() ? noEmoji : emoji, Qt::ElideRight, maxEmojiWidths * metrics.height()));
    const QString name = conversation.otherUserName.value_or(QString());
    m_name->setText(name.isEmpty() ? noNameYet : name);
    // Nobody has picked the bottle up yet: the name is only a placeholder, shown dimmed.
    SecondaryText::setSecondary(m_name, !conversation.hasReply);
}

void ChatView::messagesChanged()
{
    const qsizetype count = m_model->rowCount();
    if (count == m_shownCount)
        return;
    m_shownCount = count;
    if (count > 0)
        scrollToNewest();
}

void ChatView::scrollToNewest()
{
    QScrollBar* bar = m_list->verticalScrollBar();
    m_follow->stop();
    const int from = bar->value();
    // Lays out the rows still pending, so the end is known, then starts from where the list was.
    m_list->scrollToBottom();
    const int to = bar->value();
    bar->setValue(from);
    if (from == to)
        return;
    m_follow->setStartValue(from);
    m_follow->setEndValue(to);
    m_follow->start();
}

void ChatView::updateSendButton()
{
    // Emptiness is judged on the text as typed: three blanks are a reply too.
    m_send->setEnabled(!m_isSending && !messageText().isEmpty());
}

void ChatView::setSending(bool sending)
{
    m_isSending = sending;
    m_editor->setEnabled(!sending);
    m_send->setText(sending ? QString() : u"发送"_s);
    m_spinner->setVisible(sending);
    m_spinner->move((m_send->width() - m_spinner->width()) / 2, (m_send->height() - m_spinner->height()) / 2);
    updateSendButton();
    if (!sending)
        m_focusHold.giveTo(m_editor);
}

void ChatView::showError(const QString& text)
{
    m_error->setMessage(text);
    m_errorBox->show();
    m_errorTimer.start();
}

void ChatView::sendMessage()
{
    const QString content = messageText();
    if (content.isEmpty() || m_isSending)
        return;
    // While the reply goes out the editor and the button are off (the button already as the
    // editor empties); the keyboard waits on the pane, then goes back to the editor, ready
    // for the next reply or to mend a refused one.
    m_focusHold.take(this, { m_editor, m_send });
    m_editor->clear();
    setSending(true);
    Tasks::start(sendReply(content, m_conversation), category, u"发送消息"_s);
}

QCoro::Task<> ChatView::sendReply(QString content, Conversation conversation)
{
    const QPointer<ChatView> self(this);
    // Set once the server holds the reply: from then on the text must not come back for a
    // second send, even when the reloads after it fail.
    auto stored = std::make_shared<bool>(false);
    const QMetaObject::Connection watch = connect(&m_conversationManager, &ConversationManager::replyStored, this,
        [stored, bottleId = conversation.bottleId](const QString& id) { *stored = *stored || id == bottleId; });
    QString failure;
    try {
        if (!conversation.hasReply)
            throw InputError(category, u"瓶子还未被捡起，无法回复"_s);
        co_await m_conversationManager.sendReply(conversation.bottleId, conversation.otherUserId.value_or(0), content);
    } catch (const std::exception& error) {
        failure = APIError::describe(error);
    }
    QObject::disconnect(watch);
    if (!self)
        co_return;
    setSending(false);
    if (failure.isNull())
        co_return;
    if (SensitiveWordNotice::isRefusal(failure)) {
        restoreText(content);
        if (!m_alert)
            m_alert = SensitiveWordNotice::open(this);
        co_return;
    }
    LogManager::log(u"❌ 发送消息失败: "_s + failure, category);
    if (!*stored && messageText().isEmpty())
        restoreText(content);
    showError(failure);
}

void ChatView::restoreText(const QString& content)
{
    m_editor->setPlainText(content);
    // Typing goes on where it stopped, at the end, not before the text put back.
    m_editor->moveCursor(QTextCursor::End);
}

bool ChatView::showSensitiveWordAlert() const
{
    return m_alert && m_alert->isVisible();
}
