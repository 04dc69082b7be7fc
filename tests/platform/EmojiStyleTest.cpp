#include "platform/EmojiStyle.h"

#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QStyleFactory>

#include <gtest/gtest.h>

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

TEST_F(EmojiDrawing, EmojiInMenusAreInColour)
{
    QMenu menu;
    menu.setStyle(style.get());
    menu.addAction(u"😉 &眨眼"_s);
    menu.adjustSize();
    EXPECT_GT(inkOf(menu).colourful, 50);
}
