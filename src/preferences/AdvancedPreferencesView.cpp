#include "preferences/AdvancedPreferencesView.h"

#include "core/AppNotification.h"
#include "pet/PetState.h"
#include "pet/PetWindowHost.h"
#include "platform/Alerts.h"
#include "platform/LogManager.h"
#include "platform/Screens.h"
#include "preferences/FormParts.h"
#include "shell/NotificationManager.h"
#include "widgets/ButtonStyle.h"
#include "widgets/Divider.h"
#include "widgets/PlainLabel.h"
#include "widgets/ReadableColour.h"
#include "widgets/SecondaryText.h"
#include "widgets/Spacing.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString truncated(double value)
{
    return std::isfinite(value) ? QString::number(std::clamp(std::trunc(value), -1e15, 1e15), 'f', 0) : u"0"_s;
}

int pixelsOf(TextStyle::Style style)
{
    return qRound(TextStyle::pixelSizeOf(TextStyle::font(style)));
}

/// Keeps a label's text in the accent colour of where it stands, readable there, through
/// changes of palette. Inside a button drawn from a style sheet only a sheet of its own
/// colours the label.
class AccentText final : public QObject
{
public:
    explicit AccentText(PlainLabel* label)
        : QObject(label)
        , m_label(label)
    {
        label->installEventFilter(this);
        apply();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_label && (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange))
            apply();
        if (watched == m_label && event->type() == QEvent::ApplicationPaletteChange)
            QTimer::singleShot(0, this, [this] { apply(); }); // once the window has its new colours too
        return false;
    }

private:
    void apply()
    {
        const QWidget* under = m_label->parentWidget();
        const QPalette around = under ? under->palette() : m_label->palette();
        const QColor accent = ReadableColour::on(around.color(QPalette::Highlight), SecondaryText::backdrop(m_label));
        const QString sheet = u"color: %1;"_s.arg(accent.name());
        if (m_label->styleSheet() != sheet)
            m_label->setStyleSheet(sheet);
    }

    PlainLabel* m_label;
};

/// A plain button whose label is laid out inside it (a text and a symbol); its size is
/// that of its label.
class LabelButton final : public QPushButton
{
public:
    using QPushButton::QPushButton;

    [[nodiscard]] QSize sizeHint() const override { return layout() ? layout()->sizeHint() : QPushButton::sizeHint(); }
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }
};

/// The website link: the host name in the accent colour and, 4 pixels after it, the
/// arrow that says it leaves the program.
QPushButton* websiteButton(const QString& host, QWidget* parent)
{
    auto* button = new LabelButton(parent);
    ButtonStyle::apply(button, ButtonStyle::Style::plain);
    button->setAccessibleName(host);
    auto* layout = new QHBoxLayout(button);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);
    auto* name = FormParts::text(host, TextStyle::Style::subheadline, button);
    name->setObjectName(u"websiteHost"_s);
    new AccentText(name);
    auto* arrow = new SymbolView(
        Symbols::Symbol::arrowUpForwardSquare, pixelsOf(TextStyle::Style::caption), Symbols::Tint::accent, button);
    arrow->setObjectName(u"websiteArrow"_s);
    // The press belongs to the button, wherever on it the user clicks.
    for (QWidget* part : { static_cast<QWidget*>(name), static_cast<QWidget*>(arrow) }) {
        part->setAttribute(Qt::WA_TransparentForMouseEvents);
        layout->addWidget(part, 0, Qt::AlignVCenter);
    }
    return button;
}

} // namespace

AdvancedPreferencesView::AdvancedPreferencesView(PetState& petState, PetWindowHost& pet, Screens& screens,
    NotificationManager& notifications, UrlOpener openUrl, QWidget* parent)
    : QWidget(parent)
    , m_petState(petState)
    , m_pet(pet)
    , m_screens(screens)
    , m_notifications(notifications)
    , m_openUrl(std::move(openUrl))
    , m_position(FormParts::secondary({}, TextStyle::Style::body, this))
{
    m_position->setObjectName(u"positionValue"_s);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(
        Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding);

    QVBoxLayout* state = FormParts::section(u"宠物状态"_s, page);
    auto* positionRow = new QHBoxLayout;
    positionRow->addWidget(new PlainLabel(u"当前位置："_s, this));
    positionRow->addWidget(m_position);
    positionRow->addStretch();
    state->addLayout(positionRow);
    auto* reset
        = ButtonStyle::create(u"重置宠物状态"_s, ButtonStyle::Style::bordered, ButtonStyle::ControlSize::regular, this);
    reset->setObjectName(u"resetButton"_s);
    state->addWidget(reset, 0, Qt::AlignLeft);
    connect(reset, &QPushButton::clicked, this, &AdvancedPreferencesView::showResetConfirmation);

    QVBoxLayout* about = FormParts::section(u"关于"_s, page);
    about->setSpacing(8);
    auto* version = FormParts::text(versionLine(), TextStyle::Style::headline, this);
    version->setObjectName(u"versionLine"_s);
    about->addWidget(version);
    auto* description = FormParts::secondary(u"Linux 桌面宠物应用"_s, TextStyle::Style::body, this);
    description->setObjectName(u"description"_s);
    about->addWidget(description);
    about->addWidget(FormParts::caption(u"让可爱的宠物陪伴你的工作和生活！"_s, this));
    about->addWidget(Divider::create(this));

    auto* websiteRow = new QHBoxLayout;
    auto* websiteTitle = FormParts::secondary(u"官网："_s, TextStyle::Style::subheadline, this);
    websiteTitle->setObjectName(u"websiteTitle"_s);
    websiteRow->addWidget(websiteTitle);
    QPushButton* website = websiteButton(QUrl(ProductInfo::websiteAddress).host(), this);
    website->setObjectName(u"websiteButton"_s);
    website->setToolTip(u"在浏览器中打开官网"_s);
    connect(website, &QPushButton::clicked, this, &AdvancedPreferencesView::openWebsite);
    websiteRow->addWidget(website);
    websiteRow->addStretch();
    about->addLayout(websiteRow);
    about->addWidget(Divider::create(this));

    auto* contactTitle = FormParts::secondary(u"开发者联系方式"_s, TextStyle::Style::subheadline, this);
    contactTitle->setObjectName(u"contactTitle"_s);
    about->addWidget(contactTitle);
    auto* contactRow = new QHBoxLayout;
    auto* contact = FormParts::text(u"ID："_s + ProductInfo::contactId, TextStyle::Style::body, this);
    contact->setObjectName(u"contactId"_s);
    contactRow->addWidget(contact);
    auto* copy = ButtonStyle::create({}, ButtonStyle::Style::plain, ButtonStyle::ControlSize::regular, this);
    copy->setObjectName(u"copyContactButton"_s);
    Symbols::setButtonSymbol(copy, Symbols::Symbol::docOnDoc, Symbols::Tint::accent, pixelsOf(TextStyle::Style::body));
    copy->setToolTip(u"点击复制开发者联系方式 ID"_s);
    connect(copy, &QPushButton::clicked, this, [this] { copyToClipboard(ProductInfo::contactId); });
    contactRow->addWidget(copy);
    contactRow->addStretch();
    about->addLayout(contactRow);
    page->addStretch();

    connect(&m_petState, &PetState::dataChanged, this, &AdvancedPreferencesView::showPosition);
    showPosition();
}

QString AdvancedPreferencesView::versionLine()
{
    const QString version = ProductInfo::appVersion();
    return u"Tamsel v"_s + (version.isEmpty() ? u"未知"_s : version);
}

void AdvancedPreferencesView::showResetConfirmation()
{
    const int answer = Alerts::show(Alerts::Style::Warning, u"确认重置"_s, u"这将重置宠物的位置和状态，是否继续？"_s,
        { u"取消"_s, u"重置"_s }, window(), 1);
    if (answer == 1)
        resetPetState();
}

void AdvancedPreferencesView::resetPetState()
{
    if (const std::optional<QRectF> frame = m_screens.mainFrame()) {
        // The middle is the same measured from the top or from the bottom.
        const QPointF position(frame->center().x() - 32.0, frame->center().y() - 32.0);
        m_petState.updatePosition(position);
        m_pet.updateWindowPosition(position);
    }
    LogManager::log(u"宠物状态已重置"_s, u"Settings"_s);
}

void AdvancedPreferencesView::openWebsite()
{
    const QUrl url(ProductInfo::websiteAddress, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return;
    m_openUrl(url);
    LogManager::log(u"🌐 打开官网: "_s + url.host(), u"UI"_s);
}

void AdvancedPreferencesView::copyToClipboard(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
    LogManager::log(u"✅ 开发者联系方式 ID 已复制到剪贴板: "_s + text, u"UI"_s);
    showCopySuccessNotification();
}

void AdvancedPreferencesView::showCopySuccessNotification()
{
    m_notifications.sendNotification(AppNotification::make(u"已复制"_s, u"开发者联系方式 ID 已复制到剪贴板"_s,
        NotificationType::general, NotificationPriority::normal, QDateTime::currentDateTime()));
}

void AdvancedPreferencesView::showPosition()
{
    const QPointF position = m_petState.data().position;
    m_position->setText(u"("_s + truncated(position.x()) + u", "_s + truncated(position.y()) + u")"_s);
}
