#include "driftbottle/unwired/ReplySheetView.h"

#include "widgets/BusySpinner.h"
#include "widgets/ButtonStyle.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainTextEditor.h"
#include "widgets/SecondaryText.h"
#include "widgets/Spacing.h"
#include "widgets/TextStyle.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

/// The faint grey box, rounded at 8, that the reply is written in.
class ReplyBox final : public QWidget
{
public:
    static inline const QColor tint { 128, 128, 128, 26 };

    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()), 8, 8);
        painter.fillPath(path, tint);
    }
};

} // namespace

ReplySheetView::ReplySheetView(
    QString bottleId, qint64 receiverId, std::function<void(const QString&)> onReply, QWidget* parent)
    : QDialog(parent)
    , m_bottleId(std::move(bottleId))
    , m_receiverId(receiverId)
    , m_onReply(std::move(onReply))
    , m_editor(new PlainTextEditor(this))
    , m_sendingRow(new QWidget(this))
    , m_cancel(new QPushButton(u"取消"_s, this))
    , m_send(new QPushButton(u"发送"_s, this))
{
    setObjectName(u"replySheet"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowTitle(u"回复瓶子"_s);
    setFixedSize(400, 320);

    auto* title = new PlainLabel(u"回复瓶子"_s, this);
    title->setObjectName(u"sheetTitle"_s);
    title->setFont(TextStyle::font(TextStyle::Style::headline));
    title->setAlignment(Qt::AlignCenter);

    // 150 for the text, see-through inside a faint box padded 12 all round. The box is
    // painted, not set by a style sheet, so the editor keeps following the palette.
    auto* box = new ReplyBox(this);
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(editorPadding, editorPadding, editorPadding, editorPadding);
    boxLayout->addWidget(m_editor);
    m_editor->setObjectName(u"replyEditor"_s);
    m_editor->setPlaceholderText(u"写下你的回复..."_s);
    m_editor->setFixedHeight(150);
    m_editor->setFrameShape(QFrame::NoFrame);
    m_editor->viewport()->setAutoFillBackground(false);
    // The placeholder stands on the box's grey over the sheet: it must read there.
    SecondaryText::apply(m_editor, SecondaryText::Part::placeholder, ReplyBox::tint);
    connect(m_editor, &QPlainTextEdit::textChanged, this, &ReplySheetView::updateButtons);

    m_sendingRow->setObjectName(u"sendingRow"_s);
    auto* sendingLayout = new QHBoxLayout(m_sendingRow);
    sendingLayout->setContentsMargins(0, 0, 0, 0);
    sendingLayout->setSpacing(8);
    sendingLayout->addStretch(1);
    sendingLayout->addWidget(new BusySpinner(13, m_sendingRow));
    auto* sendingText = new PlainLabel(u"发送中..."_s, m_sendingRow);
    sendingText->setObjectName(u"sendingText"_s);
    sendingText->setFont(TextStyle::font(TextStyle::Style::caption));
    SecondaryText::apply(sendingText);
    sendingLayout->addWidget(sendingText);
    sendingLayout->addStretch(1);
    m_sendingRow->hide();

    m_cancel->setObjectName(u"cancelButton"_s);
    m_send->setObjectName(u"sendButton"_s);
    for (QPushButton* button : { m_cancel, m_send })
        button->setAutoDefault(false);
    ButtonStyle::apply(m_cancel, ButtonStyle::Style::bordered);
    ButtonStyle::apply(m_send, ButtonStyle::Style::borderedProminent);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_send, &QPushButton::clicked, this, &ReplySheetView::sendReply);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_send);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(
        Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding);
    layout->setSpacing(20);
    layout->addWidget(title);
    layout->addWidget(box);
    layout->addWidget(m_sendingRow);
    layout->addStretch(1);
    layout->addLayout(buttons);
    updateButtons();
}

void ReplySheetView::setContent(const QString& text)
{
    m_editor->setPlainText(text);
    m_editor->moveCursor(QTextCursor::End);
}

QString ReplySheetView::content() const
{
    return m_editor->text();
}

void ReplySheetView::updateButtons()
{
    // Emptiness is tested on the text as typed: a reply of spaces may be sent.
    m_send->setEnabled(!m_isSending && !m_editor->text().isEmpty());
    m_cancel->setEnabled(!m_isSending);
    m_editor->setReadOnly(m_isSending);
}

void ReplySheetView::sendReply()
{
    if (m_isSending || m_editor->text().isEmpty())
        return;
    m_isSending = true;
    m_sendingRow->show();
    updateButtons();
    if (m_onReply)
        m_onReply(m_editor->text());
    // The sheet goes whatever the server answers; the detail screen shows the outcome.
    QTimer::singleShot(closeAfterSendMs, Qt::PreciseTimer, this, &QDialog::accept);
}
