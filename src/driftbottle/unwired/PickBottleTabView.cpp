#include "driftbottle/unwired/PickBottleTabView.h"

#include "driftbottle/ButtonSpinner.h"
#include "driftbottle/DriftBottleManager.h"
#include "driftbottle/unwired/BottleDetailView.h"
#include "server/Tasks.h"
#include "widgets/BannerRow.h"
#include "widgets/BusySpinner.h"
#include "widgets/ButtonStyle.h"
#include "widgets/EmojiLabel.h"
#include "widgets/IconTitleGap.h"
#include "widgets/PlainLabel.h"
#include "widgets/SecondaryText.h"
#include "widgets/Spacing.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

PlainLabel* secondaryLabel(const QString& text, TextStyle::Style style, QWidget* parent)
{
    auto* label = new PlainLabel(text, parent);
    label->setFont(TextStyle::font(style));
    label->setAlignment(Qt::AlignCenter);
    SecondaryText::apply(label);
    return label;
}

/// The pick button's label is this wide, the large control's padding either side of it.
constexpr int labelWidth = 200;
constexpr int largePadding = 16;

} // namespace

PickBottleTabView::PickBottleTabView(
    DriftBottleManager& bottles, UserManager& users, PlayBehavior playBehavior, QWidget* parent)
    : QWidget(parent)
    , m_bottleManager(bottles)
    , m_users(users)
    , m_playBehavior(std::move(playBehavior))
    , m_errorBanner(new BannerRow(BannerRow::Kind::notice, this))
    , m_pickButton(new QPushButton(this))
    , m_spinner(new BusySpinner(13, m_pickButton))
{
    setObjectName(u"pickTab"_s);
    auto* header = new QVBoxLayout;
    header->setSpacing(20);
    auto* wave = new EmojiLabel(u"🌊"_s, this);
    wave->setObjectName(u"waveMark"_s);
    wave->setFont(EmojiLabel::emojiFont(TextStyle::systemFont(80)));
    header->addWidget(wave);
    PlainLabel* title = secondaryLabel(u"海面上漂着许多瓶子"_s, TextStyle::Style::headline, this);
    title->setObjectName(u"pickTitle"_s);
    header->addWidget(title);
    PlainLabel* hint = secondaryLabel(u"点击下方按钮，捡一个试试吧！"_s, TextStyle::Style::subheadline, this);
    hint->setObjectName(u"pickHint"_s);
    header->addWidget(hint);

    m_errorBanner->setObjectName(u"errorBanner"_s);
    m_errorBanner->setMaximumWidth(500);
    m_errorBanner->setFont(TextStyle::font(TextStyle::Style::subheadline));
    m_errorBanner->hide();

    m_pickButton->setObjectName(u"pickButton"_s);
    ButtonStyle::apply(m_pickButton, ButtonStyle::Style::borderedProminent, ButtonStyle::ControlSize::large);
    m_pickButton->setFixedWidth(TextStyle::scaled(labelWidth + 2 * largePadding));
    m_pickButton->setAutoDefault(false);
    connect(m_pickButton, &QPushButton::clicked, this, &PickBottleTabView::pickBottle);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(
        Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding);
    layout->setSpacing(24);
    layout->addStretch(1);
    layout->addLayout(header);
    layout->addWidget(m_errorBanner, 0, Qt::AlignHCenter);
    layout->addWidget(m_pickButton, 0, Qt::AlignHCenter);
    // A spacing beside a stretch takes no layout spacing of its own: this is the whole gap.
    layout->addSpacing(buttonBottomPadding);
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
    const QString text = m_isPicking ? u"捡取中..."_s : u"捡瓶子"_s;
    m_pickButton->setText(text);
    // While picking, the spinner takes the symbol's place before the words; the symbol is in
    // the white of the prominent style's title, which it keeps on its face in every palette.
    const int side = qRound(TextStyle::pixelSizeOf(m_pickButton->font()));
    const QSize square(side, side);
    m_pickButton->setIconSize(IconTitleGap::widenedSize(square, labelSpacing));
    m_pickButton->setIcon(m_isPicking
            ? ButtonSpinner::placeholder(square, labelSpacing)
            : IconTitleGap::widened(
                Symbols::icon(Symbols::Symbol::handPointUpBrailleFill, side, QColor(Qt::white)), square, labelSpacing));
    m_spinner->setVisible(m_isPicking);
    if (m_isPicking)
        ButtonSpinner::placeOnIcon(m_spinner, m_pickButton);
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
        picked = co_await m_bottleManager.pickRandomBottle();
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
    m_sheet = BottleDetailView::openSheet(this, *m_pickedBottle, m_bottleManager, m_users);
}
