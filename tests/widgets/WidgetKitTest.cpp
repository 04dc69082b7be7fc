// The shared widget kit: text that is never markup, limits that never split an emoji,
// the overlay card's cover and fades, the spinner's life, and the divider's ink.
#include "platform/EmojiStyle.h"
#include "platform/SystemColours.h"
#include "platform/TextFitting.h"
#include "support/DrawnText.h"
#include "support/Wait.h"
#include "widgets/BannerRow.h"
#include "widgets/BusySpinner.h"
#include "widgets/Divider.h"
#include "widgets/EmojiLabel.h"
#include "widgets/GraphemeText.h"
#include "widgets/OverlayCard.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/PlainTextEditor.h"
#include "widgets/TextStyle.h"

#include <QAccessible>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QTest>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cmath>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString family = u"👨‍👩‍👧‍👦"_s; // one character of seven code points
const QString flags = u"🇨🇳🇯🇵"_s;

bool hasLoneSurrogate(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && (i + 1 == text.size() || !text[i + 1].isLowSurrogate()))
            return true;
        if (text[i].isLowSurrogate() && (i == 0 || !text[i - 1].isHighSurrogate()))
            return true;
    }
    return false;
}

} // namespace

TEST(GraphemeText, CountsAndCutsUserPerceivedCharacters)
{
    struct Case
    {
        QString text;
        qsizetype count;
        qsizetype limit;
        QString truncated;
    };
    const QList<Case> cases {
        { u"abc"_s, 3, 2, u"ab"_s },
        { u"中文字"_s, 3, 5, u"中文字"_s },
        { family + u"x"_s, 2, 1, family },
        { flags, 2, 1, u"🇨🇳"_s },
        { u"e\u0301a"_s, 2, 1, u"e\u0301"_s },
        { u"ab"_s, 2, 0, QString() },
        { QString(), 0, 3, QString() },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GraphemeText::count(c.text), c.count) << c.text.toStdString();
        EXPECT_EQ(GraphemeText::truncated(c.text, c.limit), c.truncated) << c.text.toStdString();
    }
}

TEST(PlainEditors, LimitCutsBetweenCharactersAndNoLimitKeepsEverything)
{
    PlainLineEdit line;
    PlainTextEditor editor;
    line.setMaxCharacters(3);
    editor.setMaxCharacters(3);
    const QString input = u"ab"_s + family + family;
    line.setText(input);
    editor.setPlainText(input);
    EXPECT_EQ(line.text(), u"ab"_s + family);
    EXPECT_EQ(editor.text(), u"ab"_s + family);

    // Typed one code unit at a time, a surrogate pair past the limit must not leave half behind.
    line.setText(u"ab"_s);
    line.setMaxCharacters(2);
    line.insert(u"🐱"_s);
    EXPECT_EQ(line.text(), u"ab"_s);
    EXPECT_FALSE(hasLoneSurrogate(line.text()));

    const QString nickname(10000, u'名');
    PlainLineEdit unlimited;
    unlimited.setText(nickname);
    EXPECT_EQ(unlimited.text(), nickname) << "QLineEdit's own limit of 32767 units is the only one";
    PlainTextEditor unlimitedEditor;
    unlimitedEditor.setPlainText(nickname + u"\n"_s + family);
    EXPECT_EQ(unlimitedEditor.text(), nickname + u"\n"_s + family);
}

TEST(PlainText, MarkupFromUsersShowsLiterally)
{
    const QString markup = u"<b>x</b><a href=\"https://evil.example\">点我</a>"_s;
    PlainLabel label(markup);
    EmojiLabel emoji(markup);
    BannerRow banner(BannerRow::Kind::error);
    banner.setMessage(markup);
    const auto* bannerText = banner.findChild<PlainLabel*>();
    ASSERT_TRUE(bannerText);
    for (const QLabel* l : { static_cast<const QLabel*>(&label), static_cast<const QLabel*>(&emoji),
             static_cast<const QLabel*>(bannerText) }) {
        EXPECT_EQ(l->textFormat(), Qt::PlainText);
        EXPECT_EQ(l->text(), markup);
    }
    EXPECT_EQ(banner.message(), markup);
    EXPECT_TRUE(banner.toolTip().isEmpty()) << "nothing was shortened";
}

// The banner's message can be selected, so it is laid out past the style's text drawing.
// Drawn with a pure blue pen on white, a text font leaves nothing but blends of the two; only
// the colour emoji font paints other colours. The message stays plain text and selectable.
TEST(PlainText, BannerEmojiAreInColourAndTheMessageStaysSelectable)
{
    if (EmojiStyle::colorEmojiFamily().isEmpty())
        GTEST_SKIP() << "no colour emoji font installed";
    EmojiStyle style(QStyleFactory::create(u"Fusion"_s));
    for (const QString& emoji : { u"👨‍👩‍👧"_s, u"☀️"_s }) {
        BannerRow banner(BannerRow::Kind::error);
        banner.resize(400, 120);
        banner.setMessage(u"<b>出错</b> "_s + emoji + u" Z"_s);
        auto* text = banner.findChild<PlainLabel*>();
        ASSERT_TRUE(text);
        QFont big = text->font();
        big.setPixelSize(32);
        text->setFont(big);
        QPalette bluePen = text->palette();
        bluePen.setColor(QPalette::Window, Qt::white);
        bluePen.setColor(QPalette::WindowText, Qt::blue);
        text->setPalette(bluePen);
        text->setStyle(&style);
        text->resize(380, 100);
        const QImage image = text->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int notThePen = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                notThePen += std::abs(qRed(c) - qGreen(c)) > 24 || qBlue(c) < 240 ? 1 : 0;
            }
        }
        EXPECT_GT(notThePen, 30) << emoji.toStdString();
        EXPECT_EQ(text->textFormat(), Qt::PlainText);
        EXPECT_TRUE(text->textInteractionFlags() & Qt::TextSelectableByMouse);
        text->setSelection(0, 3);
        EXPECT_EQ(text->selectedText(), u"<b>"_s);
    }
}

TEST(PlainText, LongTextIsShortenedOnScreenOnly)
{
    // A whole error page in a banner stays a few lines; the tool tip keeps every word.
    QString page = u"服务器错误: <html>\n<body>\n"_s;
    for (int i = 0; i < 400; ++i)
        page += u"line "_s + QString::number(i) + u"\n"_s;
    BannerRow banner(BannerRow::Kind::error);
    banner.setMessage(page);
    auto* text = banner.findChild<PlainLabel*>();
    ASSERT_TRUE(text);
    const QString shown = text->text();
    EXPECT_EQ(GraphemeText::count(shown), BannerRow::maxShownCharacters + 1);
    EXPECT_TRUE(shown.startsWith(u"服务器错误: <html> <body> line 0"_s));
    EXPECT_FALSE(text->text().contains(u'\n'));
    EXPECT_EQ(banner.message(), page);
    EXPECT_EQ(QTextDocumentFragment::fromHtml(banner.toolTip()).toPlainText(), page)
        << "shown as text, never as markup";

    // One long word still wraps within the row's width, and the text itself is not changed
    // for it: a screen reader reads, and a copy takes, the message as it came.
    const QString word = u"token="_s + QString(150, u'x') + family;
    banner.setMessage(word);
    EXPECT_EQ(text->text(), word);
    const int width = 300;
    EXPECT_LE(text->minimumSizeHint().width(), width);
    EXPECT_GE(text->heightForWidth(width), 3 * text->fontMetrics().height()) << "the run breaks into lines";
    QAccessibleInterface* readable = QAccessible::queryAccessibleInterface(text);
    ASSERT_TRUE(readable);
    EXPECT_EQ(readable->text(QAccessible::Name), word);
    text->setSelection(0, int(word.size()));
    EXPECT_EQ(text->selectedText(), word);

    const QString address = u"<b>someone.with.a.very.long.address@example-domain-that-goes-on.com"_s;
    PlainLabel label(address);
    label.setElideMode(Qt::ElideMiddle);
    label.show();
    label.resize(120, 20);
    // Cut where it is drawn only: the label looks as one showing the cut text would, while a
    // screen reader reads, and a copy takes, the whole address.
    const QString cut = label.fontMetrics().elidedText(address, Qt::ElideMiddle, label.contentsRect().width());
    ASSERT_TRUE(cut.contains(QChar(0x2026)));
    PlainLabel drawnCut(cut);
    drawnCut.resize(label.size());
    EXPECT_EQ(label.grab().toImage(), drawnCut.grab().toImage()) << "the \"…\" is drawn";
    EXPECT_EQ(label.text(), address);
    EXPECT_EQ(label.fullText(), address);
    QAccessibleInterface* addressReadable = QAccessible::queryAccessibleInterface(&label);
    ASSERT_TRUE(addressReadable);
    EXPECT_EQ(addressReadable->text(QAccessible::Name), address);
    label.setTextInteractionFlags(Qt::TextSelectableByMouse);
    label.setSelection(0, int(address.size()));
    EXPECT_EQ(label.selectedText(), address);
    label.setTextInteractionFlags(Qt::NoTextInteraction);
    EXPECT_EQ(QTextDocumentFragment::fromHtml(label.toolTip()).toPlainText(), address)
        << "shown as text, never as markup";
    // Whether the address fits, and so the tool tip, follows the font as well as the width.
    const QFont font = label.font();
    label.resize(label.fontMetrics().horizontalAdvance(address) + 4, 20);
    EXPECT_TRUE(label.toolTip().isEmpty());
    QFont larger = font;
    larger.setPointSizeF(font.pointSizeF() * 2);
    label.setFont(larger);
    EXPECT_EQ(QTextDocumentFragment::fromHtml(label.toolTip()).toPlainText(), address);
    label.setFont(font);
    EXPECT_TRUE(label.toolTip().isEmpty());
    label.resize(2000, 20);
    EXPECT_EQ(label.text(), address);
    EXPECT_TRUE(label.toolTip().isEmpty());

    // Several lines: Chinese wraps between characters, the last shown line ends in "…", and
    // the label's height caps the lines as the font grows.
    const QString reminder = u"该喝水了！已经工作了两个小时，站起来活动一下，看看窗外，让眼睛休息五分钟吧。"_s;
    const QFontMetrics metrics(label.font());
    const QStringList lines = TextFitting::fitted(reminder, label.font(), 150, 2).split(u'\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(reminder.startsWith(lines.at(0))) << lines.at(0).toStdString();
    EXPECT_TRUE(lines.at(1).endsWith(QChar(0x2026)));
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line), 150);
    EXPECT_EQ(TextFitting::fitted(u"短\n两行"_s, label.font(), 150, 3), u"短\n两行"_s);
    label.setLineLimit(3);
    label.setText(reminder);
    label.resize(150, metrics.lineSpacing() * 3);
    const auto drawnLines = [&label] {
        const QImage drawn = label.grab().toImage();
        return inkLines(drawn, drawn.rect()).size();
    };
    EXPECT_EQ(drawnLines(), 3);
    EXPECT_TRUE(label.isCut());
    EXPECT_EQ(QTextDocumentFragment::fromHtml(label.toolTip()).toPlainText(), reminder)
        << "shown as text, never as markup";
    // The lines break where they are drawn only: what a screen reader reads and what a copy
    // takes is the text as given.
    EXPECT_EQ(label.text(), reminder);
    QAccessibleInterface* labelReadable = QAccessible::queryAccessibleInterface(&label);
    ASSERT_TRUE(labelReadable);
    EXPECT_EQ(labelReadable->text(QAccessible::Name), reminder);
    label.setTextInteractionFlags(Qt::TextSelectableByMouse);
    const int lineMiddle = metrics.lineSpacing() / 2;
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(0, lineMiddle));
    QTest::mouseMove(&label, QPoint(label.width() - 1, lineMiddle + metrics.lineSpacing()));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(label.width() - 1, lineMiddle + metrics.lineSpacing()));
    EXPECT_GT(label.selectedText().size(), 10) << "two drawn lines are selected";
    EXPECT_TRUE(reminder.startsWith(label.selectedText())) << label.selectedText().toStdString();
    label.resize(150, metrics.lineSpacing());
    EXPECT_EQ(drawnLines(), 1) << "only the lines that fit the height";
    // That line ends in "…" and nothing else is drawn under the dots.
    const QImage one = label.grab().toImage();
    const QString elided = metrics.elidedText(reminder, Qt::ElideRight, label.contentsRect().width());
    ASSERT_TRUE(elided.endsWith(QChar(0x2026)));
    const QRect dots(metrics.horizontalAdvance(elided.chopped(1)) + 1, 0, metrics.horizontalAdvance(QChar(0x2026)) - 2,
        one.height());
    const QList<QRect> dotRows = inkLines(one, dots);
    ASSERT_EQ(dotRows.size(), 1);
    EXPECT_LE(dotRows.first().height(), metrics.height() / 4);
    EXPECT_EQ(label.text(), reminder);
    label.setText(u"短\n两行"_s);
    label.resize(150, metrics.lineSpacing() * 3);
    EXPECT_EQ(drawnLines(), 2) << "a selection in the old text marks nothing in the new";
    EXPECT_FALSE(label.hasSelectedText());
    EXPECT_FALSE(label.isCut());
    EXPECT_TRUE(label.toolTip().isEmpty());
}

TEST(PlainText, BannerWithALineLimitShowsItsStartAndKeepsTheRestInTheToolTip)
{
    const QString reply = u"服务器错误："_s + QString(u"请求过于频繁，请稍后再试。"_s).repeated(8);
    QWidget form;
    auto* layout = new QVBoxLayout(&form);
    auto* banner = new BannerRow(BannerRow::Kind::error, &form);
    layout->addWidget(banner);
    layout->addStretch(1);
    banner->setLineLimit(2);
    banner->setMessage(reply);
    form.resize(320, 300);
    form.show();
    QCoreApplication::processEvents();
    auto* text = banner->findChild<PlainLabel*>();
    EXPECT_EQ(text->text(), reply) << "the lines are cut where drawn, not in the text";
    EXPECT_TRUE(text->isCut());
    const QImage drawn = text->grab().toImage();
    const QList<QRect> lines = inkLines(drawn, drawn.rect());
    ASSERT_EQ(lines.size(), 2);
    // The first line is drawn as it is with no limit; nothing else is drawn over it.
    PlainLabel whole(reply);
    whole.setWrapAnywhere(true);
    whole.setFont(text->font());
    whole.setPalette(text->palette());
    whole.setAlignment(text->alignment());
    whole.resize(text->width(), whole.heightForWidth(text->width()));
    const auto inked = [](const QImage& image, const QRect& area) {
        const QColor under = dominantColour(image, area);
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += contrastRatio(image.pixelColor(x, y), under) > 2.0 ? 1 : 0;
        return count;
    };
    const int alone = inked(whole.grab().toImage(), lines.first());
    EXPECT_NEAR(inked(drawn, lines.first()), alone, alone / 20);
    EXPECT_LE(text->height(), 3 * text->fontMetrics().height());
    EXPECT_EQ(QTextDocumentFragment::fromHtml(banner->toolTip()).toPlainText(), reply)
        << "shown as text, never as markup";
    EXPECT_EQ(banner->message(), reply);

    // A short answer is shown whole, with no tool tip.
    banner->setMessage(u"密码错误或登录失败"_s);
    EXPECT_EQ(text->text(), u"密码错误或登录失败"_s);
    EXPECT_TRUE(banner->toolTip().isEmpty());
}

// A banner's message is drawn in the colour its sign is: the desktop's red or green, its hue
// and saturation kept, only made darker or lighter to read on the banner's faint ground.
TEST(PlainText, BannerMessageIsTheDesktopsColourAsItsSignIs)
{
    const struct
    {
        BannerRow::Kind kind;
        const char* ink;
        QColor desktop;
    } kinds[] = {
        { BannerRow::Kind::error, "red", SystemColours::red() },
        { BannerRow::Kind::success, "green", SystemColours::green() },
    };
    for (const auto& k : kinds) {
        for (const bool dark : { false, true }) {
            QWidget form;
            form.setPalette(dark ? darkFusionPalette() : lightPalette());
            auto* layout = new QVBoxLayout(&form);
            auto* banner = new BannerRow(k.kind, &form);
            layout->addWidget(banner);
            banner->setMessage(u"网络连接失败，请稍后再试"_s);
            form.resize(360, 80);
            form.show();
            QCoreApplication::processEvents();
            const QImage shot = drawnImage(&form);
            const QColor drawn = strongestInkOfKind(shot, areaIn(banner->findChild<PlainLabel*>(), &form), k.ink);
            const std::string where = std::string(k.ink) + (dark ? " dark " : " light ") + drawn.name().toStdString();
            ASSERT_TRUE(drawn.isValid()) << where;
            const int apart = std::abs(drawn.hslHue() - k.desktop.hslHue()) % 360;
            EXPECT_LE(std::min(apart, 360 - apart), 4) << where;
            EXPECT_NEAR(drawn.hslSaturationF(), k.desktop.hslSaturationF(), 0.1) << where;
        }
    }
}

TEST(OverlayCard, CoversItsParentTakesItsClicksAndFades)
{
    QWidget window;
    window.resize(300, 200);
    auto* below = new QPushButton(u"下面"_s, &window);
    below->setGeometry(10, 10, 120, 40);
    QSignalSpy pressed(below, &QPushButton::clicked);
    auto* overlay = new OverlayCard(&window);
    overlay->cardLayout()->addWidget(new PlainLabel(u"捡到瓶子！"_s));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, below->geometry().center());
    EXPECT_EQ(pressed.count(), 1) << "the button works while no card shows";

    overlay->fadeIn();
    window.resize(400, 320);
    EXPECT_EQ(overlay->geometry(), window.rect()) << "the card follows its parent's size";
    ASSERT_TRUE(waitUntil([&] { return overlay->opacity() == 1.0; }));
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, below->geometry().center());
    EXPECT_EQ(pressed.count(), 1) << "the card takes the click";

    // A fade-out overtaken by a fade-in must not hide the card when its time would be up.
    QSignalSpy fadedOut(overlay, &OverlayCard::fadedOut);
    overlay->fadeOut();
    QTest::qWait(OverlayCard::fadeMs / 3);
    overlay->fadeIn();
    // The fade-in ends after the overtaken fade-out would have.
    ASSERT_TRUE(waitUntil([&] { return overlay->opacity() == 1.0; }));
    EXPECT_TRUE(overlay->isVisible());
    EXPECT_EQ(fadedOut.count(), 0);

    overlay->fadeOut();
    ASSERT_TRUE(waitUntil([&] { return fadedOut.count() == 1; }));
    EXPECT_FALSE(overlay->isVisible());
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, below->geometry().center());
    EXPECT_EQ(pressed.count(), 2) << "the button works again once the card has gone";
}

TEST(BusySpinner, TurnsOnlyWhileVisible)
{
    QWidget window;
    auto* spinner = new BusySpinner(16, &window);
    EXPECT_FALSE(spinner->isSpinning());
    window.show();
    EXPECT_TRUE(spinner->isSpinning());
    spinner->hide();
    EXPECT_FALSE(spinner->isSpinning());
    spinner->show();
    window.hide();
    EXPECT_FALSE(spinner->isSpinning()) << "a hidden window does not keep a timer running";
}

TEST(Divider, IsAQuietOnePixelLineInLightAndDark)
{
    struct Case
    {
        const char* name;
        QPalette madeIn;
        QPalette shownIn;
        Qt::Orientation orientation;
    };
    const Case cases[] = {
        { "light", lightPalette(), lightPalette(), Qt::Horizontal },
        { "dark", darkFusionPalette(), darkFusionPalette(), Qt::Horizontal },
        { "light, vertical", lightPalette(), lightPalette(), Qt::Vertical },
        { "dark, vertical", darkFusionPalette(), darkFusionPalette(), Qt::Vertical },
        { "made in light, switched to dark", lightPalette(), darkFusionPalette(), Qt::Horizontal },
        { "made in dark, switched to light", darkFusionPalette(), lightPalette(), Qt::Horizontal },
    };
    for (const Case& c : cases) {
        QWidget window;
        window.setPalette(c.madeIn);
        window.setAutoFillBackground(true);
        auto* layout = new QVBoxLayout(&window);
        if (c.orientation == Qt::Vertical)
            layout->setDirection(QBoxLayout::LeftToRight);
        layout->setContentsMargins(10, 10, 10, 10);
        QFrame* divider = Divider::create(&window, c.orientation);
        layout->addWidget(divider);
        layout->addStretch(1);
        window.resize(60, 60);
        window.setPalette(c.shownIn);
        const QImage image = drawnImage(&window);
        const QColor background = image.pixelColor(2, 2);

        // Across the line: exactly one pixel differs from the window (no second, bright
        // highlight line), and it stands out without shouting.
        const QRect area = areaIn(divider, &window);
        const QPoint middle = area.center();
        QList<QColor> across;
        for (int step = -3; step <= 3; ++step)
            across.append(c.orientation == Qt::Horizontal ? image.pixelColor(middle.x(), middle.y() + step)
                                                          : image.pixelColor(middle.x() + step, middle.y()));
        const auto inked = std::count_if(
            across.cbegin(), across.cend(), [&background](const QColor& pixel) { return pixel != background; });
        EXPECT_EQ(inked, 1) << c.name;
        // The line is the divider's whole box across, so it stands exactly where the layout
        // put the divider: the padding above or beside it is the padding drawn.
        const bool horizontal = c.orientation == Qt::Horizontal;
        EXPECT_EQ(horizontal ? area.height() : area.width(), 1) << c.name;
        EXPECT_EQ(horizontal ? divider->sizeHint().height() : divider->sizeHint().width(), 1) << c.name;
        const QPoint first = horizontal ? QPoint(middle.x(), area.top()) : QPoint(area.left(), middle.y());
        EXPECT_NE(image.pixelColor(first), background) << c.name;
        EXPECT_EQ(horizontal ? area.top() : area.left(), 10) << c.name << ": at the margin";
        QColor line = background;
        for (const QColor& pixel : across)
            if (pixel != background)
                line = pixel;
        const double contrast = contrastRatio(line, background);
        EXPECT_GT(contrast, 1.1) << c.name;
        EXPECT_LT(contrast, 3.0) << c.name;
    }
}

// An emoji label follows its emoji; one without any asks for no room, so a screen showing an
// item that has no emoji keeps its size.
TEST(EmojiLabel, AsksForRoomOnlyForItsEmoji)
{
    for (const int pixels : { 14, 50, 60 }) {
        EmojiLabel label;
        label.setFont(EmojiLabel::emojiFont(TextStyle::systemFont(pixels)));
        for (const QSize hint : { label.sizeHint(), label.minimumSizeHint() }) {
            EXPECT_LE(hint.width(), pixels) << pixels;
            EXPECT_LE(hint.height(), 2 * pixels) << pixels;
        }
        label.setText(u"🌊"_s);
        EXPECT_GE(label.sizeHint().width(), pixels / 2) << pixels;
        EXPECT_GE(label.sizeHint().height(), pixels) << pixels;
        label.setText({});
        EXPECT_LE(label.sizeHint().width(), pixels) << "after the emoji is taken away, " << pixels;
    }
}

// A plain font that holds a black-and-white glyph measures it narrower than the colour
// glyph the style draws: a label sized by the plain font would cut its last characters.
TEST(PlainText, AOneLineLabelIsAsWideAsItsColourEmojiDraw)
{
    if (EmojiStyle::colorEmojiFamily().isEmpty())
        GTEST_SKIP() << "no colour emoji font installed";
    PlainLabel label(u"☀️☀️☀️😀😀 未读"_s);
    const double drawn = EmojiStyle::horizontalAdvance(label.text(), label.font());
    EXPECT_GE(label.sizeHint().width(), std::ceil(drawn));
    EXPECT_GE(label.minimumSizeHint().width(), std::ceil(drawn));
}
