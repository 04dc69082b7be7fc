#include "widgets/IconTitleGap.h"

#include "widgets/ButtonFollower.h"

#include <QAbstractButton>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace IconTitleGap {

namespace {

constexpr qreal scales[] = { 1.0, 2.0 };

/// Keeps the button's widened symbol in the colour its surroundings call for.
class SpacedSymbolKeeper final : public ButtonFollower
{
public:
    SpacedSymbolKeeper(QAbstractButton* button, Symbols::Symbol symbol, Symbols::Tint tint, int side, int spacing)
        : ButtonFollower(button, true)
    {
        setObjectName(QStringLiteral("spacedSymbolKeeper"));
        set(symbol, tint, side, spacing);
    }

    void set(Symbols::Symbol symbol, Symbols::Tint tint, int side, int spacing)
    {
        m_symbol = symbol;
        m_tint = tint;
        m_side = side;
        m_spacing = spacing;
        m_drawn = QColor(); // set again, also where the button's owner had cleared the icon
        refresh();
    }

protected:
    void refresh() override
    {
        QAbstractButton* shown = button();
        const QWidget* under = shown->parentWidget() ? shown->parentWidget() : shown;
        const QColor background = under->palette().color(under->backgroundRole());
        const QColor text = shown->palette().color(QPalette::ButtonText);
        const QColor drawn = Symbols::colourOn(m_tint, background, text, shown->palette().color(QPalette::Highlight));
        const QSize side(m_side, m_side);
        if (drawn == m_drawn && shown->iconSize() == widenedSize(side, m_spacing))
            return;
        m_drawn = drawn;
        shown->setIconSize(widenedSize(side, m_spacing));
        shown->setIcon(widened(Symbols::icon(m_symbol, m_side, drawn), side, m_spacing));
    }

private:
    Symbols::Symbol m_symbol {};
    Symbols::Tint m_tint {};
    int m_side = 0;
    int m_spacing = 0;
    QColor m_drawn;
};

} // namespace

QSize widenedSize(QSize side, int spacing)
{
    return { side.width() + std::max(0, spacing - styleGap), side.height() };
}

QIcon widened(const QIcon& icon, QSize side, int spacing)
{
    const QSize whole = widenedSize(side, spacing);
    QIcon out;
    for (const QIcon::Mode mode : { QIcon::Normal, QIcon::Disabled }) {
        for (const qreal scale : scales) {
            QPixmap pixmap(whole * scale);
            pixmap.setDevicePixelRatio(scale);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            icon.paint(&painter, QRect(QPoint(0, 0), side), Qt::AlignCenter, mode);
            painter.end();
            out.addPixmap(pixmap, mode);
        }
    }
    return out;
}

namespace {

SpacedSymbolKeeper* keeperOf(const QAbstractButton* button)
{
    return button->findChild<SpacedSymbolKeeper*>(QStringLiteral("spacedSymbolKeeper"), Qt::FindDirectChildrenOnly);
}

} // namespace

void setButtonSymbol(QAbstractButton* button, Symbols::Symbol symbol, Symbols::Tint tint, int side, int spacing)
{
    if (SpacedSymbolKeeper* keeper = keeperOf(button))
        keeper->set(symbol, tint, side, spacing);
    else
        new SpacedSymbolKeeper(button, symbol, tint, side, spacing);
}

void clearButtonSymbol(QAbstractButton* button)
{
    delete keeperOf(button);
    button->setIcon(QIcon());
}

} // namespace IconTitleGap
