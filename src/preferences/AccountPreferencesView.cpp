#include "preferences/AccountPreferencesView.h"

#include "account/UserRegistrationView.h"
#include "platform/LogManager.h"
#include "preferences/FormParts.h"
#include "server/APIClient.h"
#include "server/Tasks.h"
#include "server/UserManager.h"
#include "widgets/ButtonStyle.h"
#include "widgets/EmojiLabel.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/ReadableColour.h"
#include "widgets/SecondaryText.h"
#include "widgets/Spacing.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

const QStringList AccountPreferencesView::availableEmojis { u"🐱"_s, u"🐶"_s, u"🐭"_s, u"🐹"_s, u"🐰"_s, u"🦊"_s, u"🐻"_s,
    u"🐼"_s, u"🐨"_s, u"🐯"_s, u"🦁"_s, u"🐮"_s, u"🐷"_s, u"🐸"_s, u"🐵"_s, u"🐔"_s, u"🐧"_s, u"🐦"_s, u"🐤"_s, u"🦄"_s,
    u"🐺"_s, u"🦇"_s, u"🦉"_s, u"🦆"_s, u"🦅"_s };

namespace {

const QString userCategory = u"User"_s;
const QColor errorRed(0xD9, 0x30, 0x25);
const QColor confirmGreen(0x2E, 0xA0, 0x43);

/// A symbol that stands beside text at the body size, as the text font's own symbols would.
int symbolSide()
{
    return qRound(TextStyle::pixelSizeOf(TextStyle::font(TextStyle::Style::body)));
}

/// The colour-emoji font at "the system font at size `size`".
QFont emojiAt(int size)
{
    return EmojiLabel::emojiFont(TextStyle::systemFont(size));
}

PlainLabel* rowLabel(const QString& text, QWidget* parent)
{
    auto* label = new PlainLabel(text, parent);
    label->setFixedWidth(80);
    return label;
}

/// A mouse wheel turns vertically; the one-row avatar strip scrolls sideways. Each notch
/// moves it by about one avatar, so every avatar can be reached without a trackpad.
class SidewaysWheel final : public QObject
{
public:
    SidewaysWheel(QScrollArea* area, int step)
        : QObject(area)
        , m_area(area)
        , m_step(step)
    {
        area->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel)
            return QObject::eventFilter(watched, event);
        const QPoint delta = static_cast<QWheelEvent*>(event)->angleDelta();
        const int turn = delta.x() != 0 ? delta.x() : delta.y();
        QScrollBar* bar = m_area->horizontalScrollBar();
        bar->setValue(bar->value() - turn * m_step / QWheelEvent::DefaultDeltasPerStep);
        return true;
    }

private:
    QScrollArea* m_area;
    int m_step;
};

} // namespace

AccountPreferencesView::AccountPreferencesView(UserManager& userManager, Lazy<APIClient> client, QWidget* parent)
    : QWidget(parent)
    , m_userManager(userManager)
    , m_client(std::move(client))
{
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(
        Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding);

    QVBoxLayout* account = FormParts::section(u"账号信息"_s, page);
    // One of the four shows at a time; the hidden ones take no room.
    m_profile = buildProfile();
    m_editForm = buildEditForm();
    m_signedOut = buildNotice(Symbols::Symbol::personCropCircleBadgeQuestionmark, u"未登录"_s, u"signedOutNotice"_s);
    m_standAlone = buildNotice(Symbols::Symbol::desktopComputer, u"单机模式"_s, u"standAloneNotice"_s);
    for (QWidget* content : { m_profile, m_editForm, m_signedOut, m_standAlone })
        account->addWidget(content);

    page->addSpacing(8);
    QVBoxLayout* online = FormParts::section({}, page);
    m_onlineSection = online->parentWidget();
    m_onlineSection->setObjectName(u"onlineSection"_s);
    m_signedInBlock = buildSignedInBlock();
    m_signInPrompt = buildSignInPrompt();
    online->addWidget(m_signedInBlock);
    online->addWidget(m_signInPrompt);
    page->addStretch();

    connect(&m_userManager, &UserManager::userModeChanged, this, &AccountPreferencesView::refresh);
    connect(&m_userManager, &UserManager::currentUserChanged, this, &AccountPreferencesView::refresh);
    connect(&m_userManager, &UserManager::isLoggedInChanged, this, &AccountPreferencesView::refresh);
    dimEmail();
    refresh();
}

AccountPreferencesView::Content AccountPreferencesView::content() const
{
    if (m_userManager.isLoggedIn() && m_userManager.currentUser())
        return m_isEditingProfile ? Content::editing : Content::profile;
    return m_userManager.userMode() == UserMode::online ? Content::signedOut : Content::standAlone;
}

QWidget* AccountPreferencesView::buildProfile()
{
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* nicknameRow = new QHBoxLayout;
    nicknameRow->addWidget(rowLabel(u"昵称："_s, box));
    m_nickname = new PlainLabel({}, box);
    m_nickname->setObjectName(u"nicknameValue"_s);
    m_nickname->setElideMode(Qt::ElideRight);
    nicknameRow->addWidget(m_nickname, 1);
    m_edit = ButtonStyle::create(u"修改"_s, ButtonStyle::Style::bordered, ButtonStyle::ControlSize::small, box);
    m_edit->setObjectName(u"editProfileButton"_s);
    connect(m_edit, &QPushButton::clicked, this, &AccountPreferencesView::startEditing);
    nicknameRow->addWidget(m_edit);
    layout->addLayout(nicknameRow);

    auto* avatarRow = new QHBoxLayout;
    avatarRow->addWidget(rowLabel(u"头像："_s, box));
    m_avatar = new EmojiLabel({}, box);
    m_avatar->setFont(emojiAt(30));
    m_avatar->setObjectName(u"avatarValue"_s);
    avatarRow->addWidget(m_avatar);
    avatarRow->addStretch();
    layout->addLayout(avatarRow);

    auto* emailRow = new QHBoxLayout;
    emailRow->addWidget(rowLabel(u"邮箱："_s, box));
    m_email = FormParts::text({}, TextStyle::Style::caption, box);
    m_email->setObjectName(u"emailValue"_s);
    m_email->setWordWrap(false);
    m_email->setElideMode(Qt::ElideMiddle);
    emailRow->addWidget(m_email, 1);
    layout->addLayout(emailRow);
    return box;
}

void AccountPreferencesView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        dimEmail();
}

void AccountPreferencesView::dimEmail()
{
    // An address is thin Latin letters at the caption size: their smoothed strokes never
    // reach the colour they are drawn in and read about a sixth fainter than it (4.2:1 for
    // an aim of 5:1), so the secondary grey is taken that much further from the box behind it.
    constexpr double thinStrokesContrast = 5.6;
    const QPalette around = palette();
    const QColor window = around.color(QPalette::Window);
    const QColor secondary = SecondaryText::colour(around.color(QPalette::WindowText), window);
    QPalette shown = m_email->palette();
    shown.setColor(QPalette::WindowText, ReadableColour::on(secondary, window, thinStrokesContrast));
    m_email->setPalette(shown);
}

QWidget* AccountPreferencesView::buildEditForm()
{
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);

    auto* nicknameRow = new QHBoxLayout;
    nicknameRow->addWidget(rowLabel(u"昵称："_s, box));
    m_nicknameField = new PlainLineEdit(box);
    m_nicknameField->setObjectName(u"nicknameField"_s);
    m_nicknameField->setPlaceholderText(u"请输入昵称"_s);
    SecondaryText::apply(m_nicknameField, SecondaryText::Part::placeholder);
    nicknameRow->addWidget(m_nicknameField, 1);
    layout->addLayout(nicknameRow);
    connect(m_nicknameField, &QLineEdit::textChanged, this, &AccountPreferencesView::refresh);

    // The avatar block keeps its items closer together than the form's.
    auto* avatarBlock = new QVBoxLayout;
    avatarBlock->setSpacing(8);
    layout->addLayout(avatarBlock);
    avatarBlock->addWidget(new PlainLabel(u"头像："_s, box));
    auto* chosenRow = new QHBoxLayout;
    chosenRow->addWidget(FormParts::caption(u"当前选择："_s, box));
    m_chosenAvatar = new EmojiLabel({}, box);
    m_chosenAvatar->setFont(emojiAt(40));
    m_chosenAvatar->setObjectName(u"chosenAvatar"_s);
    chosenRow->addWidget(m_chosenAvatar);
    chosenRow->addStretch();
    avatarBlock->addLayout(chosenRow);

    auto* strip = new QWidget;
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(0, 4, 0, 4);
    stripLayout->setSpacing(12);
    for (const QString& emoji : availableEmojis) {
        auto* button = new QToolButton(strip);
        button->setObjectName(u"avatar_"_s + emoji);
        button->setText(emoji);
        button->setFont(emojiAt(32));
        // 50 square, and as much larger as a larger font needs for its emoji.
        button->setFixedSize(TextStyle::scaled(50), TextStyle::scaled(50));
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this, [this, emoji] { chooseAvatar(emoji); });
        stripLayout->addWidget(button);
        m_avatarButtons.append(button);
    }
    auto* scroller = new QScrollArea(box);
    scroller->setWidget(strip);
    // Tab goes from one avatar to the next, and the strip scrolls to it; the strip itself
    // would be a stop that shows nothing.
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setFixedHeight(strip->sizeHint().height());
    new SidewaysWheel(scroller, TextStyle::scaled(50) + stripLayout->spacing());
    // The strip scrolls; it must not widen the page.
    scroller->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    avatarBlock->addWidget(scroller);

    m_error = FormParts::tintedCaption({}, errorRed, box);
    m_error->setObjectName(u"profileError"_s);
    m_error->hide();
    layout->addWidget(m_error);

    auto* buttons = new QHBoxLayout;
    m_cancel = ButtonStyle::create(u"取消"_s, ButtonStyle::Style::bordered, ButtonStyle::ControlSize::regular, box);
    m_cancel->setObjectName(u"cancelEditButton"_s);
    m_save
        = ButtonStyle::create(u"保存"_s, ButtonStyle::Style::borderedProminent, ButtonStyle::ControlSize::regular, box);
    m_save->setObjectName(u"saveProfileButton"_s);
    connect(m_cancel, &QPushButton::clicked, this, &AccountPreferencesView::cancelEditing);
    connect(m_save, &QPushButton::clicked, this, &AccountPreferencesView::saveProfile);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_save);
    buttons->addStretch();
    layout->addLayout(buttons);
    return box;
}

QWidget* AccountPreferencesView::buildNotice(Symbols::Symbol symbol, const QString& text, const QString& name)
{
    auto* box = new QWidget(this);
    box->setObjectName(name);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* glyph = new SymbolView(symbol, symbolSide(), Symbols::Tint::secondary, box);
    glyph->setObjectName(name + u"Symbol"_s);
    layout->addWidget(glyph);
    auto* label = FormParts::secondary(text, TextStyle::Style::body, box);
    label->setObjectName(name + u"Text"_s);
    layout->addWidget(label, 1);
    return box;
}

QWidget* AccountPreferencesView::buildSignedInBlock()
{
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    auto* noteRow = new QHBoxLayout;
    auto* check = new SymbolView(Symbols::Symbol::checkmarkCircleFill, symbolSide(), Symbols::Tint::green, box);
    check->setObjectName(u"signedInSymbol"_s);
    noteRow->addWidget(check);
    auto* note = FormParts::tintedCaption(u"您已登录，可以使用所有在线功能"_s, confirmGreen, box);
    note->setObjectName(u"signedInNote"_s);
    noteRow->addWidget(note, 1);
    layout->addLayout(noteRow);
    auto* logout = new QPushButton(u"退出登录"_s, box);
    logout->setObjectName(u"logoutButton"_s);
    ButtonStyle::apply(logout, ButtonStyle::Style::bordered, ButtonStyle::ControlSize::regular, errorRed);
    // The symbol in the title's own red, which the style has already made to read on the
    // button's face: the face, not the page, is what the symbol stands on.
    Symbols::setButtonSymbol(
        logout, Symbols::Symbol::rectanglePortraitAndArrowRight, Symbols::Tint::primary, symbolSide());
    connect(logout, &QPushButton::clicked, this, [this] {
        m_userManager.logout();
        LogManager::log(u"🚪 用户退出登录"_s, userCategory);
    });
    layout->addWidget(logout, 0, Qt::AlignLeft);
    return box;
}

QWidget* AccountPreferencesView::buildSignInPrompt()
{
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(FormParts::caption(u"登录后可使用完整的漂流瓶功能"_s, box));
    auto* login = ButtonStyle::create(
        u"立即登录"_s, ButtonStyle::Style::borderedProminent, ButtonStyle::ControlSize::regular, box);
    login->setObjectName(u"loginButton"_s);
    // In the title's white, which the prominent face is always deep enough to carry.
    login->setIconSize(QSize(symbolSide(), symbolSide()));
    login->setIcon(Symbols::icon(Symbols::Symbol::envelopeFill, symbolSide(), Qt::white));
    connect(login, &QPushButton::clicked, this, &AccountPreferencesView::showRegistrationView);
    layout->addWidget(login, 0, Qt::AlignLeft);
    return box;
}

void AccountPreferencesView::showRegistrationView()
{
    UserRegistrationView::openSheet(window(), m_userManager, m_client);
}

QString AccountPreferencesView::editingNickname() const
{
    return m_nicknameField->text();
}

void AccountPreferencesView::startEditing()
{
    const std::optional<DriftUser>& user = m_userManager.currentUser();
    if (!user)
        return;
    m_nicknameField->setText(user->nickname);
    m_editingAvatarEmoji = user->avatarEmoji;
    setErrorMessage({});
    m_isEditingProfile = true;
    refresh();
}

void AccountPreferencesView::cancelEditing()
{
    if (m_isSaving)
        return;
    m_isEditingProfile = false;
    setErrorMessage({});
    refresh();
}

void AccountPreferencesView::saveProfile()
{
    if (m_isSaving)
        return;
    // Only an empty nickname is refused here; the server judges everything else.
    if (editingNickname().isEmpty()) {
        setErrorMessage(u"昵称不能为空"_s);
        return;
    }
    setErrorMessage({});
    m_isSaving = true;
    refresh();
    Tasks::start(sendProfile(editingNickname(), m_editingAvatarEmoji), userCategory, u"更新用户信息"_s);
}

QCoro::Task<> AccountPreferencesView::sendProfile(QString nickname, QString avatarEmoji)
{
    const QPointer<AccountPreferencesView> self(this);
    QString failure;
    try {
        co_await m_userManager.updateUserInfo(nickname, avatarEmoji, std::nullopt);
    } catch (const std::exception& error) {
        failure = APIError::describe(error);
    }
    if (!failure.isEmpty())
        LogManager::log(u"❌ 更新用户信息失败: "_s + failure, userCategory);
    else
        LogManager::log(u"✅ 用户信息已更新"_s, userCategory);
    if (!self)
        co_return;
    m_isSaving = false;
    if (failure.isEmpty())
        m_isEditingProfile = false;
    setErrorMessage(failure);
    refresh();
}

void AccountPreferencesView::chooseAvatar(const QString& emoji)
{
    m_editingAvatarEmoji = emoji;
    refresh();
}

QString AccountPreferencesView::errorMessage() const
{
    return m_error->isHidden() ? QString() : m_error->fullText();
}

void AccountPreferencesView::setErrorMessage(const QString& message)
{
    m_error->setText(message);
    m_error->setVisible(!message.isEmpty());
}

void AccountPreferencesView::refresh()
{
    const Content shown = content();
    if (const std::optional<DriftUser>& user = m_userManager.currentUser()) {
        m_nickname->setText(user->nickname);
        m_avatar->setText(user->avatarEmoji);
        m_email->setText(user->email);
    }
    m_chosenAvatar->setText(m_editingAvatarEmoji);
    for (QToolButton* button : std::as_const(m_avatarButtons)) {
        const bool chosen = button->text() == m_editingAvatarEmoji;
        button->setStyleSheet(chosen ? u"QToolButton { background: rgba(0, 122, 255, 51); border-radius: 8px; }"_s
                                     : u"QToolButton { background: rgba(128, 128, 128, 26); border-radius: 8px; }"_s);
        button->setProperty("chosen", chosen);
    }
    // While saving, the field keeps the focus and the text: it only stops taking keys.
    m_nicknameField->setReadOnly(m_isSaving);
    m_save->setText(m_isSaving ? u"保存中..."_s : u"保存"_s);

    // A control that is hidden or disabled while it has the focus hands the focus to the next
    // one in the window, which can be the sign-out button, where a Space would sign the user
    // out. So the content to be shown comes first, the focus moves into it, and only then is
    // anything hidden or disabled.
    const bool online = m_userManager.userMode() == UserMode::online;
    const bool loggedIn = m_userManager.isLoggedIn();
    const bool canCancel = !m_isSaving;
    const bool canSave = !m_isSaving && !editingNickname().isEmpty();
    const std::pair<QWidget*, bool> parts[]
        = { { m_profile, shown == Content::profile }, { m_editForm, shown == Content::editing },
              { m_signedOut, shown == Content::signedOut }, { m_standAlone, shown == Content::standAlone },
              { m_onlineSection, online }, { m_signedInBlock, loggedIn }, { m_signInPrompt, !loggedIn } };
    for (const auto& [widget, visible] : parts) {
        if (visible)
            widget->show();
    }
    if (QWidget* const focused = window()->focusWidget(); focused && isAncestorOf(focused)) {
        bool losing = (focused == m_cancel && !canCancel) || (focused == m_save && !canSave);
        for (const auto& [widget, visible] : parts)
            losing = losing || (!visible && widget->isAncestorOf(focused));
        if (QWidget* target = focusTarget(shown); losing && target)
            target->setFocus(Qt::OtherFocusReason);
    }
    for (const auto& [widget, visible] : parts) {
        if (!visible)
            widget->hide();
    }
    m_cancel->setEnabled(canCancel);
    m_save->setEnabled(canSave);
}

QWidget* AccountPreferencesView::focusTarget(Content shown) const
{
    switch (shown) {
    case Content::profile:
        return m_edit;
    case Content::editing:
        return m_nicknameField;
    case Content::signedOut:
    case Content::standAlone:
        return nullptr;
    }
    return nullptr;
}
