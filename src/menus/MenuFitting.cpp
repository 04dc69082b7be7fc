#include "menus/MenuFitting.h"

#include "platform/EmojiStyle.h"
#include "platform/TextFitting.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <QProxyStyle>
#include <QWidgetAction>

using namespace Qt::StringLiterals;

namespace {

/// The program's style, except that a menu too tall for its screen scrolls. A proxy style
/// takes over the style it wraps, so it cannot wrap the application's own: it wraps one of the
/// same kind, which draws the menu's emoji in the colour font as every other text is drawn
/// (a bare proxy would fall back to the desktop's plain style, where a text font with a
/// black-and-white 😉 or ⚙ wins).
class ScrollingMenuStyle final : public QProxyStyle
{
public:
    ScrollingMenuStyle()
        : QProxyStyle(new EmojiStyle)
    {
    }

    int styleHint(
        StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* returnData) const override
    {
        if (hint == SH_Menu_Scrollable)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

/// A menu reads a single "&" as a mnemonic marker and shows "&&" as "&".
QString shownText(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size())
            ++i;
        shown += text.at(i);
    }
    return shown;
}

void fitItems(QMenu* menu)
{
    const int widest = MenuFitting::maximumTextWidth(menu);
    bool cut = false;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator() || qobject_cast<QWidgetAction*>(action))
            continue;
        const QString shown = shownText(action->text());
        const QFontMetrics metrics(action->font().resolve(menu->font()));
        const QString elided = metrics.elidedText(shown, Qt::ElideRight, widest);
        if (elided == shown)
            continue;
        action->setText(QString(elided).replace(u"&"_s, u"&&"_s));
        action->setToolTip(TextFitting::plainToolTip(shown));
        cut = true;
    }
    if (cut)
        menu->setToolTipsVisible(true);
}

} // namespace

namespace MenuFitting {

int maximumTextWidth(const QMenu* menu)
{
    return 20 * menu->fontMetrics().height();
}

void fit(QMenu* menu)
{
    if (!menu)
        return;
    if (!dynamic_cast<ScrollingMenuStyle*>(menu->style())) {
        auto* style = new ScrollingMenuStyle;
        style->setParent(menu);
        menu->setStyle(style);
    }
    fitItems(menu);
    for (QAction* action : menu->actions()) {
        if (QMenu* submenu = action->menu())
            fit(submenu);
    }
}

} // namespace MenuFitting
