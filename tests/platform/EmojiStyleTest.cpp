#include "platform/EmojiStyle.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStyleFactory>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Ink
{
    int colourful = 0; // clearly coloured pixels: only a colour emoji glyph paints those
    int left = -1;
    int right = -1;
};

Ink inkOf(QWidget& widget)
{
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QColor background = image.pixelColor(0, 0);
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c == background)
                continue;
            if (c.hsvSaturation() > 60 && c.value() > 60)
                ++ink.colourful;
            ink.left = ink.left < 0 ? x : std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
        }
    }
    return ink;
}

struct EmojiDrawing : ::testing::Test
{
    void SetUp() override
    {
        if (EmojiStyle::colorEmojiFamily().isEmpty())
            GTEST_SKIP() << "no colour emoji font installed";
    }

    std::unique_ptr<EmojiStyle> style = std::make_unique<EmojiStyle>(QStyleFactory::create(u"Fusion"_s));

    Ink labelInk(const QString& text, bool wrapped = false)
    {
        QLabel label;
        label.setWordWrap(wrapped);
        label.setStyle(style.get());
        label.setTextFormat(Qt::PlainText);
        label.setText(text);
        QFont font = label.font();
        font.setPixelSize(32);
        label.setFont(font);
        label.resize(400, 60);
        return inkOf(label);
    }
};

} // namespace

TEST(EmojiRuns, SequencesAreFoundWhole)
{
    using Runs = QList<EmojiStyle::Run>;
    const struct
    {
        QString text;
        Runs runs;
    } cases[] = {
        { u"😉 眨眼"_s, { { 0, 2 } } },
        { u"🏃🏻\u200d♀️"_s, { { 0, 7 } } }, // runner, skin tone, joiner, female sign, selector
        { u"看 👁️"_s, { { 2, 3 } } },
        { u"⏰ 闹钟"_s, { { 0, 1 } } },
        { u"a⚙️b"_s, { { 1, 2 } } },
        { u"1️⃣"_s, { { 0, 3 } } },
        { u"🇨🇳🇯🇵"_s, { { 0, 4 }, { 4, 4 } } },
        { u"😉😉"_s, { { 0, 2 }, { 2, 2 } } },
        { u"♀ 1 # abc 中文"_s, {} }, // text symbols stay text without a selector
        { u"🏃\u200d"_s, { { 0, 2 } } },
        { u"✌🏽 ⛹🏽\u200d♀️"_s, { { 0, 3 }, { 4, 6 } } }, // a text-default base takes its skin tone
        { u"a🏽"_s, { { 1, 2 } } }, // a letter takes none: the tone stands alone
        { u""_s, {} },
    };
    for (const auto& c : cases)
        EXPECT_EQ(EmojiStyle::emojiRuns(c.text), c.runs) << c.text.toStdString();
}

TEST_F(EmojiDrawing, EmojiInLabelsAreInColourAndSequencesJoin)
{
    // DejaVu Sans has its own black-and-white 😉.
    EXPECT_GT(labelInk(u"😉 眨眼"_s).colourful, 50);
    EXPECT_GT(labelInk(u"一段会折行的消息 😉 一段会折行的消息"_s, true).colourful, 50);

    const Ink runner = labelInk(u"🏃"_s);
    const Ink sequence = labelInk(u"🏃🏻\u200d♀️"_s);
    EXPECT_GT(sequence.colourful, 50);
    const int width = sequence.right - sequence.left;
    EXPECT_LT(width, (runner.right - runner.left) * 1.3) << "the sequence fell apart into several glyphs";

    // Text without emoji is drawn as before.
    EXPECT_EQ(labelInk(u"abc 中文"_s).colourful, 0);
}

namespace {

/// What a menu of `texts` at 32 px draws in each of its rows.
struct MenuRow
{
    int colourful = 0;
    int colourRight = -1; ///< the last clearly coloured column
    int wordsLeft = -1; ///< the first dark column right of the coloured ones
};

QList<MenuRow> menuRows(QStyle* style, const QStringList& texts)
{
    QMenu menu;
    menu.setStyle(style);
    QFont font = menu.font();
    font.setPixelSize(32);
    menu.setFont(font);
    for (const QString& text : texts)
        menu.addAction(text);
    menu.adjustSize();
    const QImage image = menu.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QList<MenuRow> rows;
    for (QAction* action : menu.actions()) {
        const QRect item = menu.actionGeometry(action);
        MenuRow row;
        for (int x = item.left(); x <= item.right(); ++x) {
            for (int y = item.top(); y <= item.bottom(); ++y) {
                const QColor c = image.pixelColor(x, y);
                if (c.hsvSaturation() > 60 && c.value() > 60) {
                    ++row.colourful;
                    row.colourRight = x;
                }
            }
        }
        for (int x = row.colourRight + 1; x <= item.right() && row.wordsLeft < 0; ++x)
            for (int y = item.top(); y <= item.bottom() && row.wordsLeft < 0; ++y)
                if (image.pixelColor(x, y).value() < 100)
                    row.wordsLeft = x;
        rows << row;
    }
    return rows;
}

} // namespace

// A menu item's label starts where the style starts labels, whatever way its first emoji
// stands into its advance, and the menu is wide enough for the label as drawn: DejaVu's
// black-and-white 😉, by which the menu would measure it, is narrower than the colour one.
TEST_F(EmojiDrawing, EmojiInMenusAreInColourWhereTheLabelsStartAndFit)
{
    // Every emoji of the colour font is as wide as the next: the words after one start at
    // the same place in every row.
    const QStringList texts { u"🚶 走路"_s, u"😉 &眨眼"_s, u"🎮 玩耍"_s };
    const QList<MenuRow> rows = menuRows(style.get(), texts);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(texts.at(i).toStdString());
        EXPECT_GT(rows.at(i).colourful, 20);
        EXPECT_NEAR(rows.at(i).wordsLeft, rows.first().wordsLeft, 1) << "the label moved by its emoji's bearing";
    }
    // Every emoji of the colour font is as wide as the next, a joined sequence one of them:
    // menus of four are as wide, whichever font the menu measured them by (DejaVu's 😉 is
    // narrower, the sequence's parts from several fonts far wider).
    const auto menuWidth = [&](const QString& text) {
        QMenu menu;
        menu.setStyle(style.get());
        QFont font = menu.font();
        font.setPixelSize(32);
        menu.setFont(font);
        menu.addAction(text);
        menu.adjustSize();
        return menu.width();
    };
    const int bottles = menuWidth(u"🍾🍾🍾🍾"_s);
    EXPECT_NEAR(menuWidth(u"😉😉😉😉"_s), bottles, 1);
    EXPECT_NEAR(
        menuWidth(u"🏃🏻\u200d♀️🏃🏻\u200d♀️🏃🏻\u200d♀️🏃🏻\u200d♀️"_s), bottles, 1);
}

// Fields and painted rows lay out their own text. Drawn with a pure blue pen on white, a
// glyph of a text font has nothing but blends of the two; a colour emoji keeps its own colours
// (Noto's family is dark figures on a grey tile, its envelope light blue lines). The family, emoji made so
// by their presentation selector (DejaVu Sans has a black-and-white ☀ and ✉) and DejaVu's own
// 😀 all come out in the colour font, also after the text changed around them.
TEST_F(EmojiDrawing, EmojiInTextFieldsAndPaintedRowsAreInColour)
{
    const auto notThePen = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                count += std::abs(qRed(c) - qGreen(c)) > 24 || qBlue(c) < 240 ? 1 : 0;
            }
        }
        return count;
    };
    QFont big = QApplication::font();
    big.setPixelSize(32);
    QPalette bluePen = QApplication::palette();
    bluePen.setColor(QPalette::Base, Qt::white);
    bluePen.setColor(QPalette::Text, Qt::blue);
    bluePen.setColor(QPalette::Window, Qt::white);
    bluePen.setColor(QPalette::WindowText, Qt::blue);
    const auto inkOfField = [&](QWidget& field) {
        field.setStyle(style.get());
        field.setFont(big);
        field.setPalette(bluePen);
        field.resize(400, 100);
        if (auto* area = qobject_cast<QAbstractScrollArea*>(&field)) {
            area->setFrameShape(QFrame::NoFrame);
            area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        }
        return notThePen(field.grab().toImage());
    };
    const auto inkOfRow = [&](const QString& text) {
        QImage row(400, 60, QImage::Format_RGB32);
        row.fill(Qt::white);
        QPainter painter(&row);
        painter.setFont(big);
        painter.setPen(Qt::blue);
        EmojiStyle::drawText(painter, row.rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        painter.end();
        return notThePen(row);
    };
    for (const QString& text : { u"A👨‍👩‍👧Z"_s, u"A☀️Z"_s, u"A✉️Z"_s, u"A😀Z"_s }) {
        const std::string name = text.toStdString();
        QLineEdit line;
        line.setFrame(false);
        line.setText(text);
        EXPECT_GT(inkOfField(line), 30) << "line edit " << name;
        line.setCursorPosition(0);
        line.insert(u"前面"_s);
        line.end(false);
        line.insert(u"后面"_s);
        EXPECT_GT(inkOfField(line), 30) << "line edit after typing " << name;
        QPlainTextEdit plain;
        plain.setPlainText(u"第一行\n"_s + text);
        EXPECT_GT(inkOfField(plain), 30) << "plain text edit " << name;
        QTextEdit rich;
        rich.setPlainText(text);
        EXPECT_GT(inkOfField(rich), 30) << "text edit " << name;
        EXPECT_GT(inkOfRow(text), 30) << "painted row " << name;
        // A selectable label lays its text out in a document of its own, made anew as the
        // text or the flags change.
        QLabel selectable;
        selectable.setTextFormat(Qt::PlainText);
        selectable.setWordWrap(true);
        selectable.setTextInteractionFlags(Qt::TextSelectableByMouse);
        selectable.setText(u"<b>x</b> "_s + text);
        EXPECT_GT(inkOfField(selectable), 30) << "selectable label " << name;
        selectable.setText(u"前面 "_s + text);
        selectable.setTextInteractionFlags(Qt::NoTextInteraction);
        selectable.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        EXPECT_GT(inkOfField(selectable), 30) << "selectable label after changing " << name;
        EXPECT_EQ(selectable.text(), u"前面 "_s + text);
    }
    EXPECT_EQ(inkOfRow(u"abc 中文"_s), 0) << "text without emoji is drawn as before";
    QLabel plainSelectable(u"abc 中文"_s);
    plainSelectable.setTextInteractionFlags(Qt::TextSelectableByMouse);
    EXPECT_EQ(inkOfField(plainSelectable), 0) << "a selectable label without emoji keeps the pen";
    // A password field never shows what it holds.
    QLineEdit password;
    password.setFrame(false);
    password.setEchoMode(QLineEdit::Password);
    password.setText(u"☀️😀"_s);
    EXPECT_EQ(inkOfField(password), 0);
    EXPECT_EQ(password.text(), u"☀️😀"_s);
}
