#include "driftbottle/unwired/SegmentedSwitch.h"

#include "widgets/EmojiLabel.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>

using namespace Qt::StringLiterals;

SegmentedSwitch::SegmentedSwitch(const QList<Segment>& segments, QWidget* parent)
    : QWidget(parent)
    , m_group(new QButtonGroup(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const QString first = u"border-top-left-radius: 6px; border-bottom-left-radius: 6px;"_s;
    const QString last = u"border-top-right-radius: 6px; border-bottom-right-radius: 6px;"_s;
    for (qsizetype i = 0; i < segments.size(); ++i) {
        auto* button = new QPushButton(segments[i].emoji + u" "_s + segments[i].title, this);
        button->setObjectName(u"segment%1"_s.arg(i));
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
        button->setMinimumHeight(28);
        button->setFont(EmojiLabel::emojiFont(button->font(), 0));
        button->setStyleSheet(
            u"QPushButton { border: 1px solid palette(mid); background: palette(button); padding: 3px 14px; %1 }"
            " QPushButton:checked { background: palette(highlight); color: palette(highlighted-text); }"_s.arg(
                (i == 0 ? first : QString()) + (i == segments.size() - 1 ? last : QString())));
        m_group->addButton(button, int(i));
        layout->addWidget(button);
    }
    if (!segments.isEmpty())
        m_group->button(0)->setChecked(true);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        // A click on the segment already chosen changes nothing.
        if (id != m_lastIndex) {
            m_lastIndex = id;
            Q_EMIT currentIndexChanged(id);
        }
    });
}

int SegmentedSwitch::currentIndex() const
{
    return m_group->checkedId();
}

void SegmentedSwitch::setCurrentIndex(int index)
{
    if (QAbstractButton* button = m_group->button(index)) {
        button->setChecked(true);
        if (index != m_lastIndex) {
            m_lastIndex = index;
            Q_EMIT currentIndexChanged(index);
        }
    }
}

int SegmentedSwitch::count() const
{
    return int(m_group->buttons().size());
}

QString SegmentedSwitch::segmentText(int index) const
{
    const QAbstractButton* button = m_group->button(index);
    return button ? button->text() : QString();
}
