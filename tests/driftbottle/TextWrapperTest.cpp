// Breaking chat text into lines from remembered character widths: nothing is lost, no line
// is wider than asked, and the breaks fall where a text layout would put them.
#include "driftbottle/TextWrapper.h"

#include <QApplication>
#include <QFontMetricsF>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(TextWrapper, KeepsEveryCharacterAndStaysWithinTheWidth)
{
    TextWrapper wrapper(QApplication::font());
    const QFontMetricsF metrics(QApplication::font());
    constexpr int width = 200;
    struct Case
    {
        QString text;
        QStringList paragraphs; // the text without its line breaks
        bool wraps; // else the lines are exactly the paragraphs
    };
    const QString family = u"👨‍👩‍👧‍👦"_s;
    const Case cases[] = {
        { u""_s, { u""_s }, false },
        { u"短"_s, { u"短"_s }, false },
        { u"第一行\n\n第三行\r\n第四行"_s, { u"第一行"_s, u""_s, u"第三行"_s, u"第四行"_s }, false },
        { QString(300, u'x'), { QString(300, u'x') }, true }, // one run longer than a line
        { QString(40, u'海'), { QString(40, u'海') }, true },
        { family.repeated(30), { family.repeated(30) }, true }, // emoji never split
        { u"the quick brown fox jumps over the lazy dog again and again and again"_s,
            { u"the quick brown fox jumps over the lazy dog again and again and again"_s }, true },
        { u"<b>不是标记</b> \u202Eevil"_s, { u"<b>不是标记</b> \u202Eevil"_s }, false },
    };
    for (const Case& c : cases) {
        const TextWrapper::Wrapped wrapped = wrapper.wrap(c.text, width);
        if (c.wraps)
            EXPECT_GT(wrapped.lines.size(), c.paragraphs.size()) << c.text.toStdString();
        else
            EXPECT_EQ(wrapped.lines, c.paragraphs);
        EXPECT_EQ(wrapped.height, wrapped.lines.size() * wrapper.lineHeight());
        EXPECT_LE(wrapped.width, width);
        QString rest = wrapped.lines.join(QString());
        for (const QString& p : c.paragraphs) {
            ASSERT_EQ(rest.left(p.size()), p) << c.text.toStdString();
            rest = rest.mid(p.size());
        }
        EXPECT_TRUE(rest.isEmpty()) << c.text.toStdString();
        for (const QString& line : wrapped.lines) {
            EXPECT_LE(metrics.horizontalAdvance(line.trimmed()), width + 2) << line.toStdString();
            if (!line.isEmpty()) {
                EXPECT_FALSE(line.back().isHighSurrogate()) << line.toStdString();
                EXPECT_NE(line.back(), QChar(0x200D)) << line.toStdString(); // inside a joined emoji
            }
        }
    }
    // Words stay whole where they fit.
    const TextWrapper::Wrapped words = wrapper.wrap(u"alpha beta gamma delta epsilon zeta eta theta"_s, 120);
    for (const QString& line : words.lines)
        EXPECT_FALSE(line.trimmed().contains(u"  "_s));
    EXPECT_TRUE(words.lines.first().startsWith(u"alpha "_s));
    EXPECT_FALSE(words.lines.first().endsWith(u"bet"_s));
}
