#include "friends/FriendVerificationView.h"

#include "friends/FriendManager.h"
#include "platform/SecondaryColour.h"
#include "platform/SystemColours.h"
#include "server/APIError.h"
#include "server/Tasks.h"
#include "widgets/BusySpinner.h"
#include "widgets/ButtonStyle.h"
#include "widgets/Divider.h"
#include "widgets/GraphemeText.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/ProminentButton.h"
#include "widgets/ReadableColour.h"
#include "widgets/SecondaryText.h"
#include "widgets/SegmentedPicker.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QClipboard>
#include <QFontInfo>
#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <unicode/uchar.h>

using namespace Qt::StringLiterals;
using TextStyle::Style;

namespace {

/// How a label's text is coloured: the primary or secondary text colour, or a hue made as
/// dark or light as it must be to read on the page.
struct Ink
{
    enum Kind { primary, secondary, hue } kind = primary;
    QColor colour = {};
};

PlainLabel* label(const QString& text, QFont font, Ink ink, QWidget* parent)
{
    auto* l = new PlainLabel(text, parent);
    l->setFont(font);
    if (ink.kind == Ink::secondary)
        SecondaryText::apply(l);
    else if (ink.kind == Ink::hue)
        ReadableColour::tint(l, ink.colour);
    return l;
}

/// A 200 px main button whose label gives way to a spinner while its request runs.
QPushButton* mainButton(const QString& objectName, BusySpinner** spinner, QWidget* parent)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(objectName);
    ProminentButton::style(button);
    button->setFixedWidth(200);
    auto* layout = new QHBoxLayout(button);
    layout->setContentsMargins(0, 0, 0, 0);
    // The spinner at four fifths of the label's height.
    *spinner = new BusySpinner(qRound(0.8 * QFontInfo(button->font()).pixelSize()), button);
    // The spinner stands in for the label, in the label's white.
    QPalette white = (*spinner)->palette();
    white.setColor(QPalette::ButtonText, Qt::white);
    (*spinner)->setPalette(white);
    layout->addWidget(*spinner, 0, Qt::AlignCenter);
    (*spinner)->hide();
    return button;
}

const Ink red { Ink::hue, SystemColours::red() };
const Ink green { Ink::hue, SystemColours::green() };
const Ink orange { Ink::hue, SystemColours::orange() };
const Ink secondary { Ink::secondary };

/// The pixel size of `style`: the side of a symbol set in that font.
int sideOf(Style style)
{
    return QFontInfo(TextStyle::font(style)).pixelSize();
}

/// A plain button showing `symbol` alone at `side` pixels.
/// How long the copy confirmation takes to fade out.
constexpr int hintFadeMs = 350;

} // namespace

FriendVerificationView::FriendVerificationView(FriendManager& friends, TimerSource& timers, QWidget* parent)
    : QWidget(parent)
    , m_friendManager(friends)
    , m_timers(timers)
{
    setObjectName(u"friendVerificationView"_s);
    // 350 px hold the page in every state but one, an error under a shown code; then it
    // grows rather than squeeze the code out of sight.
    setFixedWidth(pageWidth);
    setMinimumHeight(pageHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(pageMargin, 12, pageMargin, 12);
    layout->setSpacing(20);

    layout->addLayout(headerView());
    QFrame* divider = Divider::create(this);
    divider->setObjectName(u"divider"_s);
    divider->setFixedHeight(1);
    layout->addWidget(divider);

    auto* segments = new QHBoxLayout;
    segments->setObjectName(u"modeSegments"_s);
    segments->setSpacing(0);
    m_modes = new SegmentedPicker(QString(), this);
    m_modes->addSegment(u"我的验证码"_s, static_cast<int>(Mode::generate))->setObjectName(u"modeGenerate"_s);
    m_modes->addSegment(u"添加好友"_s, static_cast<int>(Mode::add))->setObjectName(u"modeAdd"_s);
    connect(m_modes, &SegmentedPicker::segmentClicked, this, [this](int id) { setMode(static_cast<Mode>(id)); });
    segments->addWidget(m_modes, 0, Qt::AlignHCenter);
    layout->addLayout(segments);

    m_stack = new QStackedWidget(this);
    m_stack->addWidget(generateCodeView());
    m_stack->addWidget(addFriendView());
    layout->addWidget(m_stack, 1);

    layout->addLayout(footerView());

    connect(&m_friendManager, &FriendManager::currentVerificationCodeChanged, this, &FriendVerificationView::refresh);
    refresh();
}

FriendVerificationView::~FriendVerificationView() = default;

QHBoxLayout* FriendVerificationView::headerView()
{
    auto* header = new QHBoxLayout;
    header->setObjectName(u"header"_s);
    auto* title = label(u"👥 好友系统"_s, TextStyle::font(Style::title2, QFont::Bold), {}, this);
    title->setObjectName(u"title"_s);
    header->addWidget(title);
    header->addStretch();
    QPushButton* close = Symbols::closeButton(sideOf(Style::body), this);
    close->setObjectName(u"close"_s);
    connect(close, &QPushButton::clicked, this, &FriendVerificationView::dismissRequested);
    header->addWidget(close);
    return header;
}

QVBoxLayout* FriendVerificationView::footerView()
{
    auto* footer = new QVBoxLayout;
    footer->setObjectName(u"footer"_s);
    footer->setSpacing(4);
    auto* tipTitle = label(u"💡 提示"_s, TextStyle::font(Style::caption, QFont::DemiBold), orange, this);
    tipTitle->setObjectName(u"tipTitle"_s);
    footer->addWidget(tipTitle);
    m_tip = label(QString(), TextStyle::font(TextStyle::Style::caption2), secondary, this);
    m_tip->setObjectName(u"tip"_s);
    footer->addWidget(m_tip);
    return footer;
}

QWidget* FriendVerificationView::generateCodeView()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    auto* intro = label(u"分享验证码给好友，对方输入后即可添加你"_s, TextStyle::font(Style::body), secondary, page);
    intro->setObjectName(u"generateIntro"_s);
    intro->setAlignment(Qt::AlignCenter);
    layout->addWidget(intro);

    m_noCode = label(u"暂无验证码"_s, TextStyle::font(Style::body), secondary, page);
    m_noCode->setObjectName(u"noCode"_s);
    m_noCode->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_noCode);

    // The code with its copy button, and the confirmation of a copy under them.
    m_codeBlock = new QWidget(page);
    m_codeBlock->setObjectName(u"codeBlock"_s);
    auto* block = new QVBoxLayout(m_codeBlock);
    block->setContentsMargins(0, 0, 0, 0);
    block->setSpacing(6);
    auto* codeRow = new QWidget(m_codeBlock);
    codeRow->setObjectName(u"codeRow"_s);
    auto* row = new QHBoxLayout(codeRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    row->addStretch();
    m_code = new PlainLabel(QString(), codeRow);
    m_code->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_code->setObjectName(u"code"_s);
    m_code->setFont(TextStyle::monospacedFont(32, QFont::Bold));
    styleCode();
    // The styled box counts as a frame, for which a label would indent its text further.
    m_code->setIndent(0);
    row->addWidget(m_code);
    QPushButton* copy
        = Symbols::symbolButton(Symbols::Symbol::docOnDocFill, Symbols::Tint::primary, sideOf(Style::title3), codeRow);
    copy->setObjectName(u"copy"_s);
    copy->setToolTip(u"复制验证码"_s);
    copy->setAccessibleName(u"复制验证码"_s);
    connect(copy, &QPushButton::clicked, this, &FriendVerificationView::copyCode);
    row->addWidget(copy);
    row->addStretch();
    block->addWidget(codeRow);

    m_copiedHint = label(u"已复制到剪贴板"_s, TextStyle::font(Style::caption), green, m_codeBlock);
    m_copiedHint->setObjectName(u"copiedHint"_s);
    m_copiedHint->setAlignment(Qt::AlignCenter);
    // Its line is kept while it is hidden, so the button below does not jump when it shows.
    QSizePolicy keep = m_copiedHint->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_copiedHint->setSizePolicy(keep);
    // It comes at once and fades out when it goes.
    m_copiedHintOpacity = new QGraphicsOpacityEffect(m_copiedHint);
    m_copiedHintOpacity->setOpacity(1.0);
    m_copiedHint->setGraphicsEffect(m_copiedHintOpacity);
    m_copiedHintFade = new QPropertyAnimation(m_copiedHintOpacity, "opacity", this);
    m_copiedHintFade->setDuration(hintFadeMs);
    m_copiedHintFade->setStartValue(1.0);
    m_copiedHintFade->setEndValue(0.0);
    m_copiedHintFade->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_copiedHintFade, &QAbstractAnimation::finished, this, [this] {
        m_copiedHint->hide();
        m_copiedHintOpacity->setOpacity(1.0);
    });
    block->addWidget(m_copiedHint);
    layout->addWidget(m_codeBlock);

    m_generateButton = mainButton(u"generate"_s, &m_generateSpinner, page);
    connect(m_generateButton, &QPushButton::clicked, this, &FriendVerificationView::generateCode);
    layout->addWidget(m_generateButton, 0, Qt::AlignHCenter);

    m_generateError = label(QString(), TextStyle::font(Style::caption), red, page);
    m_generateError->setObjectName(u"generateError"_s);
    m_generateError->setAlignment(Qt::AlignCenter);
    m_generateError->setWordWrap(true);
    layout->addWidget(m_generateError);
    layout->addStretch();
    return page;
}

QWidget* FriendVerificationView::addFriendView()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    auto* intro = label(u"输入好友的验证码添加对方"_s, TextStyle::font(Style::body), secondary, page);
    intro->setObjectName(u"addIntro"_s);
    intro->setAlignment(Qt::AlignCenter);
    layout->addWidget(intro);

    auto* field = new QVBoxLayout;
    field->setObjectName(u"codeFieldBlock"_s);
    field->setContentsMargins(16, 0, 16, 0);
    field->setSpacing(8);
    auto* caption = label(u"验证码"_s, TextStyle::font(Style::caption), secondary, page);
    caption->setObjectName(u"codeFieldCaption"_s);
    field->addWidget(caption);
    m_codeField = new PlainLineEdit(page);
    m_codeField->setObjectName(u"codeField"_s);
    m_codeField->setPlaceholderText(u"请输入 6 位验证码"_s);
    SecondaryText::apply(m_codeField, SecondaryText::Part::placeholder);
    m_codeField->setFont(TextStyle::monospacedFont(18));
    m_codeField->setAlignment(Qt::AlignCenter);
    connect(m_codeField, &QLineEdit::textChanged, this, &FriendVerificationView::onCodeEdited);
    field->addWidget(m_codeField);
    layout->addLayout(field);

    m_addButton = mainButton(u"add"_s, &m_addSpinner, page);
    connect(m_addButton, &QPushButton::clicked, this, &FriendVerificationView::addFriend);
    layout->addWidget(m_addButton, 0, Qt::AlignHCenter);

    m_addError = label(QString(), TextStyle::font(Style::caption), red, page);
    m_addError->setObjectName(u"addError"_s);
    m_addError->setAlignment(Qt::AlignCenter);
    m_addError->setWordWrap(true);
    layout->addWidget(m_addError);
    m_successRow = new QWidget(page);
    m_successRow->setObjectName(u"successRow"_s);
    auto* successLayout = new QHBoxLayout(m_successRow);
    successLayout->setContentsMargins(0, 0, 0, 0);
    successLayout->addStretch();
    m_successSymbol = new SymbolView(
        Symbols::Symbol::checkmarkCircleFill, sideOf(Style::caption), Symbols::Tint::green, m_successRow);
    m_successSymbol->setObjectName(u"successSymbol"_s);
    successLayout->addWidget(m_successSymbol);
    m_success = label(QString(), TextStyle::font(Style::caption), green, m_successRow);
    m_success->setObjectName(u"success"_s);
    successLayout->addWidget(m_success);
    successLayout->addStretch();
    layout->addWidget(m_successRow);
    layout->addStretch();
    return page;
}

QString FriendVerificationView::filteredCode(const QString& text)
{
    QString out;
    int kept = 0;
    for (const char32_t c : text.toUcs4()) {
        if (kept == codeLength)
            break;
        // Numerals in the wide sense: also ideographs such as 一 and 万, which Qt's
        // categories file under letters.
        if (u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_NUMERIC_TYPE) != U_NT_NONE) {
            out.append(QStringView(QChar::fromUcs4(c)));
            ++kept;
        }
    }
    return out;
}

QString FriendVerificationView::addFailureMessage(const QString& description)
{
    struct Rule
    {
        QString needle;
        QString message;
    };
    static const Rule rules[] = {
        { u"验证码不存在"_s, u"验证码不存在，请确认后重试"_s },
        { u"已被使用"_s, u"验证码已被使用，请让对方重新生成"_s },
        { u"已经是好友"_s, u"你们已经是好友了"_s },
        { u"不能添加自己"_s, u"不能添加自己为好友"_s },
    };
    for (const Rule& rule : rules) {
        if (description.contains(rule.needle))
            return rule.message;
    }
    return u"添加失败："_s + description;
}

void FriendVerificationView::setMode(Mode mode)
{
    m_mode = mode;
    refresh();
}

void FriendVerificationView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    loadCurrentCode();
    // The keyboard starts on the main action, not on the first button of the header, whose
    // focus ring would stand round the close symbol from the start.
    if (!window()->focusWidget())
        (m_mode == Mode::generate ? m_generateButton : m_addButton)->setFocus();
}

void FriendVerificationView::loadCurrentCode()
{
    Tasks::start(m_friendManager.fetchCurrentCode(), u"Friend"_s, u"获取验证码"_s);
}

void FriendVerificationView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_code)
        styleCode();
}

void FriendVerificationView::styleCode()
{
    // The code in blue on a faint blue box, the blue made as dark or light as it must be to
    // read on the box in the palette of the moment.
    const QColor blue(0, 122, 255);
    QColor faint = blue;
    faint.setAlphaF(0.1F);
    const QColor box = SecondaryColour::opaqueOver(faint, palette().color(QPalette::Window));
    const QString sheet = u"color: %1; background: %2; border-radius: 12px; padding: 12px 24px;"_s.arg(
        ReadableColour::on(blue, box).name(), box.name());
    if (m_code->styleSheet() != sheet)
        m_code->setStyleSheet(sheet);
}

void FriendVerificationView::onCodeEdited(const QString& text)
{
    if (m_filtering)
        return;
    const QString filtered = filteredCode(text);
    if (filtered != text) {
        m_filtering = true;
        m_codeField->setText(filtered);
        m_filtering = false;
    }
    m_inputCode = filtered;
    // Typing anything dismisses the last error, even a character the filter drops;
    // clearing the field leaves it.
    if (!text.isEmpty())
        setError(std::nullopt);
    refresh();
}

void FriendVerificationView::generateCode()
{
    if (m_isLoading)
        return;
    setError(std::nullopt);
    setLoading(true);
    Tasks::start(runGenerate(), u"Friend"_s, u"生成验证码"_s);
}

QCoro::Task<> FriendVerificationView::runGenerate()
{
    QPointer self(this);
    std::optional<QString> failure;
    try {
        co_await m_friendManager.generateVerificationCode();
    } catch (const std::exception& error) {
        failure = u"生成失败："_s + APIError::describe(error);
    }
    if (!self)
        co_return;
    setLoading(false);
    if (failure)
        setError(failure);
}

void FriendVerificationView::copyCode()
{
    const std::optional<QString>& code = m_friendManager.currentVerificationCode();
    if (!code)
        return;
    QGuiApplication::clipboard()->setText(*code);
    m_showingCopiedHint = true;
    // A copy during the fade brings the hint back at once.
    m_copiedHintFade->stop();
    m_copiedHintOpacity->setOpacity(1.0);
    // Every click starts a reset of its own and none cancels another: the hint goes when
    // the first of them runs out, even if the user clicked again meanwhile.
    const quint64 id = m_nextHintTimer++;
    m_hintTimers.emplace(id, m_timers.start(hintMs, false, [this, id] {
        const bool wasShowing = m_showingCopiedHint;
        m_showingCopiedHint = false;
        if (wasShowing && m_copiedHint->isVisible())
            m_copiedHintFade->start();
        refresh();
        m_hintTimers.erase(id);
    }));
    refresh();
}

void FriendVerificationView::addFriend()
{
    if (GraphemeText::count(m_inputCode) != codeLength || m_isLoading)
        return;
    setError(std::nullopt);
    m_successMessage.reset();
    setLoading(true);
    Tasks::start(runAdd(m_inputCode), u"Friend"_s, u"添加好友"_s);
}

QCoro::Task<> FriendVerificationView::runAdd(QString code)
{
    QPointer self(this);
    std::optional<Friend> added;
    QString failure;
    try {
        added = co_await m_friendManager.addFriend(code);
    } catch (const std::exception& error) {
        failure = APIError::describe(error);
    }
    if (!self)
        co_return;
    setLoading(false);
    if (!added) {
        setError(addFailureMessage(failure));
        co_return;
    }
    m_codeField->clear();
    m_successMessage = u"已添加好友："_s + added->nickname;
    refresh();
    m_dismissTimer = m_timers.start(dismissAfterAddMs, false, [this] { Q_EMIT dismissRequested(); });
}

void FriendVerificationView::setLoading(bool loading)
{
    // A disabled button passes its focus along the tab chain, to the close button at the
    // top; the page holds it while the request runs and hands it back afterwards.
    QPushButton* main = m_mode == Mode::generate ? m_generateButton : m_addButton;
    if (loading && main->hasFocus())
        setFocus(Qt::OtherFocusReason);
    m_isLoading = loading;
    refresh();
    if (!loading && hasFocus() && main->isEnabled())
        main->setFocus(Qt::OtherFocusReason);
}

void FriendVerificationView::setError(std::optional<QString> message)
{
    m_errorMessage = std::move(message);
    refresh();
}

void FriendVerificationView::refresh()
{
    const bool generate = m_mode == Mode::generate;
    m_modes->setCurrentId(static_cast<int>(m_mode));
    m_stack->setCurrentIndex(generate ? 0 : 1);
    m_tip->setText(generate ? u"验证码仅可使用一次，使用后将失效"_s : u"添加后即可互发消息"_s);

    const std::optional<QString>& code = m_friendManager.currentVerificationCode();
    m_noCode->setVisible(!code);
    m_codeBlock->setVisible(code.has_value());
    m_code->setText(code.value_or(QString()));
    // A hint going away stays up while it fades out.
    const bool fading = m_copiedHintFade->state() == QAbstractAnimation::Running;
    m_copiedHint->setVisible((m_showingCopiedHint || fading) && code);

    m_generateButton->setText(m_isLoading ? QString() : (code ? u"重新生成"_s : u"生成验证码"_s));
    m_generateSpinner->setVisible(m_isLoading);
    m_generateButton->setEnabled(!m_isLoading);
    m_addButton->setText(m_isLoading ? QString() : u"添加好友"_s);
    m_addSpinner->setVisible(m_isLoading);
    // Six characters, not six UTF-16 units: 𝟙𝟚𝟛 is three.
    m_addButton->setEnabled(!m_isLoading && GraphemeText::count(m_inputCode) == codeLength);

    // One error line belongs to the page: it shows in whichever mode is on screen.
    for (PlainLabel* error : { m_generateError, m_addError }) {
        error->setText(m_errorMessage.value_or(QString()));
        error->setVisible(m_errorMessage.has_value());
    }
    // A long nickname would run past both edges of the fixed-width page and push the symbol
    // out of sight: the line is cut to the room there is, and the tool tip holds it whole.
    const QString success = m_successMessage.value_or(QString());
    const int room
        = pageWidth - 2 * pageMargin - m_successSymbol->sizeHint().width() - m_successRow->layout()->spacing();
    const QString shown = m_success->fontMetrics().elidedText(success, Qt::ElideRight, room);
    m_success->setText(shown);
    m_success->setToolTip(shown == success ? QString() : u"<p>"_s + success.toHtmlEscaped() + u"</p>"_s);
    m_successRow->setVisible(m_successMessage.has_value());
}
