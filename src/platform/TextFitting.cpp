#include "platform/TextFitting.h"

#include <QFontMetrics>
#include <QStringList>
#include <QTextDocument>
#include <QTextLayout>

QString TextFitting::fitted(const QString& text, const QFont& font, int width, int lines, bool* cut)
{
    if (cut)
        *cut = false;
    const QFontMetrics metrics(font);
    const QStringList paragraphs = text.split(u'\n');
    QStringList shown;
    for (qsizetype p = 0; p < paragraphs.size(); ++p) {
        QTextLayout layout(paragraphs.at(p), font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            if (shown.size() + 1 == lines) {
                // The last line takes the rest, the following paragraphs too, and ends in "…".
                QStringList rest { paragraphs.at(p).mid(line.textStart()) };
                rest += paragraphs.mid(p + 1);
                const QString whole = rest.join(u' ');
                shown << metrics.elidedText(whole, Qt::ElideRight, width);
                if (cut)
                    *cut = shown.constLast() != whole;
                layout.endLayout();
                return shown.join(u'\n');
            }
            shown << paragraphs.at(p).mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
    }
    return shown.join(u'\n');
}

QString TextFitting::plainToolTip(const QString& text)
{
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}
