#include "preferences/AdvancedPreferencesView.h"

#include "core/AppNotification.h"
#include "pet/PetState.h"
#include "pet/PetWindowHost.h"
#include "platform/Alerts.h"
#include "platform/LogManager.h"
#include "platform/Screens.h"
#include "preferences/FormParts.h"
#include "shell/NotificationManager.h"
#include "widgets/Divider.h"
#include "widgets/PlainLabel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString truncated(double value)
{
    return std::isfinite(value) ? QString::number(std::clamp(std::trunc(value), -1e15, 1e15), 'f', 0) : u"0"_s;
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
    , m_position(FormParts::caption({}, this))
{
    m_position->setObjectName(u"positionValue"_s);
    m_position->setWordWrap(false);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(20, 20, 20, 20);

    QVBoxLayout* state = FormParts::section(u"宠物状态"_s, page);
    auto* positionRow = new QHBoxLayout;
    positionRow->addWidget(new PlainLabel(u"当前位置："_s, this));
    positionRow->addWidget(m_position);
    positionRow->addStretch();
    state->addLayout(positionRow);
    auto* reset = new QPushButton(u"重置宠物状态"_s, this);
    reset->setObjectName(u"resetButton"_s);
    state->addWidget(reset, 0, Qt::AlignLeft);
    connect(reset, &QPushButton::clicked, this, &AdvancedPreferencesView::confirmReset);

    QVBoxLayout* about = FormParts::section(u"关于"_s, page);
    about->setSpacing(8);
    auto* version = new PlainLabel(versionLine(), this);
    version->setObjectName(u"versionLine"_s);
    QFont headline = version->font();
    headline.setBold(true);
    version->setFont(headline);
    about->addWidget(version);
    about->addWidget(FormParts::caption(u"Linux 桌面宠物应用"_s, this));
    about->addWidget(FormParts::caption(u"让可爱的宠物陪伴你的工作和生活！"_s, this));
    about->addWidget(Divider::create(this));

    auto* websiteRow = new QHBoxLayout;
    websiteRow->addWidget(FormParts::caption(u"官网："_s, this));
    auto* website = new QPushButton(QUrl(ProductInfo::websiteAddress).host() + u" ↗"_s, this);
    website->setObjectName(u"websiteButton"_s);
    website->setFlat(true);
    website->setCursor(Qt::PointingHandCursor);
    website->setToolTip(u"在浏览器中打开官网"_s);
    connect(website, &QPushButton::clicked, this, &AdvancedPreferencesView::openWebsite);
    websiteRow->addWidget(website);
    websiteRow->addStretch();
    about->addLayout(websiteRow);
    about->addWidget(Divider::create(this));

    about->addWidget(FormParts::caption(u"开发者联系方式"_s, this));
    auto* contactRow = new QHBoxLayout;
    contactRow->addWidget(new PlainLabel(u"ID："_s + ProductInfo::contactId, this));
    auto* copy = new QPushButton(u"📋"_s, this);
    copy->setObjectName(u"copyContactButton"_s);
    copy->setFlat(true);
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

void AdvancedPreferencesView::confirmReset()
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
    m_notifications.sendNotification(AppNotification::make(u"已复制"_s, u"开发者联系方式 ID 已复制到剪贴板"_s,
        NotificationType::general, NotificationPriority::normal, QDateTime::currentDateTime()));
}

void AdvancedPreferencesView::showPosition()
{
    const QPointF position = m_petState.data().position;
    m_position->setText(u"("_s + truncated(position.x()) + u", "_s + truncated(position.y()) + u")"_s);
}
