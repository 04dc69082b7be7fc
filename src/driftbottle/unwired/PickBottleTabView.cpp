#include "driftbottle/unwired/PickBottleTabView.h"

#include "driftbottle/DriftBottleManager.h"
#include "driftbottle/unwired/BottleDetailView.h"
#include "server/Tasks.h"
#include "widgets/BannerRow.h"
#include "widgets/BusySpinner.h"
#include "widgets/EmojiLabel.h"
#include "widgets/PlainLabel.h"
#include "widgets/SecondaryText.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

PlainLabel* secondaryLabel(const QString& text, qreal scale, bool bold, QWidget* parent)
{
    auto* label = new PlainLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    SecondaryText::apply(label);
    return label;
}

} // namespace

PickBottleTabView::PickBottleTabView(
    DriftBottleManager& bottles, UserManager& users, PlayBehavior playBehavior, QWidget* parent)
    : QWidget(parent)
    , m_bottles(bottles)
    , m_users(users)
    , m_playBehavior(std::move(playBehavior))
    , m_errorBanner(new BannerRow(BannerRow::Kind::notice, this))
    , m_pickButton(new QPushButton(this))
    , m_spinner(new BusySpinner(14, m_pickButton))
{
    setObjectName(u"pickTab"_s);
    auto* header = new QVBoxLayout;
    header->setSpacing(20);
    header->addWidget(new EmojiLabel(u"🌊"_s, 60, this));
    header->addWidget(secondaryLabel(u"海面上漂着许多瓶子"_s, 1.0, true, this));
    header->addWidget(secondaryLabel(u"点击下方按钮，捡一个试试吧！"_s, 0.92, false, this));

    m_errorBanner->setObjectName(u"errorBanner"_s);
    m_errorBanner->setMaximumWidth(500);
    QFont subheadline = m_errorBanner->font();
    subheadline.setPointSizeF(subheadline.pointSizeF() * 0.92);
    m_errorBanner->setFont(subheadline);
    m_errorBanner->hide();

    m_pickButton->setObjectName(u"pickButton"_s);
    m_pickButton->setFixedSize(200, 36);
    m_pickButton->setAutoDefault(false);
    QFont prominent = EmojiLabel::emojiFont(m_pickButton->font(), 0);
    prominent.setBold(true);
    m_pickButton->setFont(prominent);
    m_spinner->move(40, (36 - m_spinner->sizeHint().height()) / 2);
    connect(m_pickButton, &QPushButton::clicked, this, &PickBottleTabView::pickBottle);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(24);
    layout->addStretch(1);
    layout->addLayout(header);
    layout->addWidget(m_errorBanner, 0, Qt::AlignHCenter);
    layout->addWidget(m_pickButton, 0, Qt::AlignHCenter);
    layout->addSpacing(40 - layout->spacing());
    layout->addStretch(1);
    updateButton();
}

QString PickBottleTabView::errorMessage() const
{
    return m_errorBanner->isHidden() ? QString() : m_errorBanner->message();
}

void PickBottleTabView::updateButton()
{
    m_pickButton->setEnabled(!m_isPicking);
    m_pickButton->setText(m_isPicking ? u"捡取中..."_s : u"🫳 捡瓶子"_s);
    m_spinner->setVisible(m_isPicking);
}

void PickBottleTabView::pickBottle()
{
    if (m_isPicking)
        return;
    m_isPicking = true;
    m_errorBanner->hide();
    updateButton();
    // The pet goes exploring whatever the pick brings.
    if (m_playBehavior)
        m_playBehavior(PetBehavior::exploring);
    Tasks::start(pick(), u"DriftBottle"_s, u"捡瓶子"_s);
}

QCoro::Task<> PickBottleTabView::pick()
{
    const QPointer<PickBottleTabView> self(this);
    std::optional<DriftBottle> picked;
    QString failure;
    try {
        picked = co_await m_bottles.pickRandomBottle();
    } catch (const std::exception& error) {
        failure = APIError::describe(error);
    }
    // A pick that ends after the page has gone still keeps its bottle in the manager.
    if (!self)
        co_return;
    m_isPicking = false;
    updateButton();
    if (!picked) {
        m_errorBanner->setMessage(failure);
        // As wide as its text on one line, up to 500; longer texts wrap inside it.
        const int oneLine = m_errorBanner->fontMetrics().horizontalAdvance(failure.simplified());
        m_errorBanner->setFixedWidth(qMin(500, oneLine + 64));
        m_errorBanner->show();
        co_return;
    }
    m_pickedBottle = picked;
    if (m_sheet)
        m_sheet->close();
    m_sheet = BottleDetailView::openSheet(this, *m_pickedBottle, m_bottles, m_users);
}
