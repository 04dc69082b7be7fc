// The drift-bottle window, its sheets, its chat and the sign-in form in the widget kit's
// vocabulary, as drawn: each text in its step of the type scale (at the default font and a
// larger one), each symbol in its tint (light and dark), each button in its style.
#include "BottleWindowRig.h"

#include "account/UserRegistrationView.h"
#include "driftbottle/ThrowNewBottleSheet.h"
#include "support/DrawnText.h"
#include "support/Screenshots.h"
#include "widgets/BannerRow.h"
#include "widgets/ButtonStyle.h"
#include "widgets/EmojiLabel.h"
#include "widgets/OverlayCard.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/PlainTextEditor.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QFontDatabase>
#include <QGraphicsEffect>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;
using TextStyle::Style;

namespace {

using Visit = std::function<void(const QString& screen, QWidget* root)>;

/// The visible label of `root` showing exactly `text`.
QLabel* showing(QWidget* root, const QString& text)
{
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (label->isVisibleTo(root) && QString(label->text()).remove(QChar(0x200B)) == text)
            return label;
    }
    return nullptr;
}

/// `text` as a label draws it in `font` and `colour` on `background`.
Ink referenceInk(QLabel* label, const QFont& font, const QColor& colour, const QColor& background)
{
    QPalette palette = lightPalette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
    label->setFont(font);
    label->setContentsMargins(4, 4, 4, 4);
    label->adjustSize();
    const QImage image = drawnImage(label);
    return inkIn(image, image.rect());
}

/// The kind of `colour` as the eye names it: "grey" when it has little hue, else its hue.
std::string kindOf(const QColor& colour)
{
    if (colour.hslSaturation() < 50)
        return "grey";
    const int hue = colour.hslHue();
    if (hue < 15 || hue >= 340)
        return "red";
    if (hue < 45)
        return "orange";
    if (hue >= 90 && hue < 170)
        return "green";
    if (hue >= 190 && hue < 250)
        return "blue";
    return "other";
}

/// Restores the application font when a test has changed it.
struct FontScope
{
    QFont saved = QApplication::font();
    ~FontScope() { QApplication::setFont(saved); }
};

} // namespace

/// Walks every screen of the window and the sign-in form, each in the state where the parts
/// checked show, and hands each to `visit` with its top-level widget.
class WindowVocabularyRig : public BottleWindowRig
{
protected:
    void walk(const Visit& visit)
    {
        UserRegistrationView address(*users, *client);
        address.show();
        address.findChild<PlainLineEdit*>(u"emailField"_s)->setText(u"x@y.io"_s);
        visit(u"sign-in address"_s, &address);

        UserRegistrationView password(*users, *client);
        password.show();
        typeAndReturn(&password, "emailField", u"alice@x.io"_s);
        ASSERT_TRUE(waitUntil(
            [&] { return password.currentStep() == UserRegistrationView::RegistrationStep::loginWithPassword; }));
        password.findChild<PlainLineEdit*>(u"loginPasswordField"_s)->setText(u"p"_s);
        visit(u"sign-in password"_s, &password);

        UserRegistrationView registration(*users, *client);
        registration.show();
        typeAndReturn(&registration, "emailField", u"new@x.io"_s);
        ASSERT_TRUE(waitUntil(
            [&] { return registration.currentStep() == UserRegistrationView::RegistrationStep::registerWithInfo; }));
        registration.findChild<PlainLineEdit*>(u"passwordField"_s)->setText(u"a"_s);
        server.scriptNext(ScriptedReply { 500, "boom", 0, false });
        typeAndReturn(&registration, "confirmPasswordField", u"a"_s);
        auto* failed = registration.findChild<BannerRow*>(u"errorBanner"_s);
        ASSERT_TRUE(waitUntil([&] { return !registration.isLoading() && failed->isVisible(); }));
        registration.findChild<PlainLineEdit*>(u"confirmPasswordField"_s)->setText(u"ab"_s);
        visit(u"sign-in registration"_s, &registration);

        BottleChatView* window = openWindow();
        ASSERT_TRUE(window);
        visit(u"empty window"_s, window);

        // Nothing to pick yet: the reason shows above the list for three seconds.
        find<QPushButton>(window, u"pickButton"_s)->click();
        ASSERT_TRUE(waitUntil([&] { return !window->isPicking(); }));
        visit(u"pick notice"_s, window);

        find<QPushButton>(window, u"throwButton"_s)->click();
        auto* sheet = window->findChild<ThrowNewBottleSheet*>();
        ASSERT_TRUE(sheet);
        find<PlainTextEditor>(sheet, u"bottleText"_s)->setPlainText(QString(1001, u'浪'));
        find<QPushButton>(sheet, u"sendButton"_s)->click();
        ASSERT_TRUE(waitUntil([&] { return !sheet->isSending(); }));
        visit(u"throw sheet"_s, sheet);
        sheet->close();

        server.state().addBottle(bob, u"海风"_s);
        find<QPushButton>(window, u"pickButton"_s)->click();
        auto* overlay = find<OverlayCard>(window, u"pickOverlay"_s);
        ASSERT_TRUE(waitUntil([&] { return !window->isPicking() && overlay->isVisible(); }));
        // The card alone, without the shadow its effect draws around it.
        overlay->card()->graphicsEffect()->setEnabled(false);
        visit(u"pick card"_s, overlay->card());
        overlay->card()->graphicsEffect()->setEnabled(true);

        ASSERT_TRUE(waitUntil([&] { return window->chatView() != nullptr && !overlay->isVisible(); }, 3000));
        find<PlainTextEditor>(window, u"chatInput"_s)->setPlainText(u"你好"_s);
        visit(u"chat"_s, window);
    }

    static void typeAndReturn(QWidget* form, const char* field, const QString& text)
    {
        auto* edit = form->findChild<PlainLineEdit*>(QString::fromLatin1(field));
        ASSERT_TRUE(edit);
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    /// Each text of the table drawn as the same text in its style would be: as tall, as wide
    /// and as heavy.
    void expectTypeScale(const QString& shot)
    {
        struct Row
        {
            const char* screen;
            QString text; ///< the label showing it; empty: the one named `object`
            const char* object;
            QFont font;
        };
        const QList<Row> rows {
            { "sign-in address", u"登录 / 注册"_s, "", TextStyle::font(Style::title, QFont::Bold) },
            { "sign-in address", u"填写邮箱和昵称即可登录或创建账号"_s, "", TextStyle::font(Style::subheadline) },
            { "sign-in address", u"邮箱地址"_s, "", TextStyle::font(Style::headline) },
            { "sign-in address", u"邮箱将作为你的唯一标识"_s, "", TextStyle::font(Style::caption) },
            { "sign-in password", u"找到账号：alice@x.io"_s, "", TextStyle::font(Style::caption) },
            { "sign-in registration", u"创建新账号：new@x.io"_s, "", TextStyle::font(Style::caption) },
            { "sign-in registration", u"两次密码不一致"_s, "", TextStyle::font(Style::caption) },
            { "sign-in registration", u"服务器错误: boom"_s, "", TextStyle::font(Style::caption) },
            { "empty window", u"还没有对话"_s, "", TextStyle::font(Style::headline) },
            { "empty window", u"点击上方按钮丢瓶子或捡瓶子"_s, "", TextStyle::font(Style::caption) },
            { "empty window", u"选择一个对话开始聊天"_s, "", TextStyle::font(Style::headline) },
            { "empty window", u"或者丢一个新瓶子"_s, "", TextStyle::font(Style::caption) },
            { "empty window", {}, "emptyEmoji", EmojiLabel::emojiFont(TextStyle::systemFont(60)) },
            { "pick notice", u"没有挖到瓶子，你先丢个瓶子出去吧！"_s, "", TextStyle::font(Style::caption) },
            { "throw sheet", u"丢一个新瓶子"_s, "", TextStyle::font(Style::headline) },
            { "throw sheet", u"瓶子内容不能超过 1000 字符"_s, "", TextStyle::font(Style::caption) },
            { "pick card", u"捡到瓶子！"_s, "", TextStyle::font(Style::title2, QFont::Bold) },
            { "pick card", u"海风"_s, "", TextStyle::font(Style::body) },
            { "chat", u"鲍勃"_s, "", TextStyle::font(Style::headline) },
            { "chat", {}, "chatEmoji", EmojiLabel::emojiFont(TextStyle::systemFont(ChatView::emojiPixels)) },
        };
        int seen = 0;
        walk([&](const QString& screen, QWidget* root) {
            root->setPalette(lightPalette());
            QCoreApplication::processEvents();
            const QImage image = drawnImage(root);
            saveShot(image, QString(u"dbwin-type-%1-%2"_s).arg(screen, shot).replace(u' ', u'-'));
            for (const Row& row : rows) {
                if (screen != QLatin1String(row.screen))
                    continue;
                ++seen;
                SCOPED_TRACE(
                    std::string(row.screen) + ": " + (row.text.isEmpty() ? row.object : row.text.toStdString()));
                QLabel* label = row.text.isEmpty() ? root->findChild<QLabel*>(QString::fromLatin1(row.object))
                                                   : showing(root, row.text);
                ASSERT_TRUE(label) << "not shown";
                const QRect area = areaIn(label, root);
                const Ink drawn = inkIn(image, area);
                ASSERT_GT(drawn.pixels, 0) << "nothing drawn";
                const QColor colour = strongestInk(image, area, area.topLeft());
                std::unique_ptr<QLabel> reference(
                    qobject_cast<EmojiLabel*>(label) ? new EmojiLabel(label->text()) : new QLabel(label->text()));
                reference->setTextFormat(Qt::PlainText);
                const Ink wanted = referenceInk(reference.get(), row.font, colour, dominantColour(image, area));
                EXPECT_NEAR(drawn.box.height(), wanted.box.height(), 1);
                EXPECT_NEAR(drawn.box.width(), wanted.box.width(), std::max(2.0, wanted.box.width() * 0.03));
                // A colour emoji has no weight; its lighter parts come and go with the background.
                if (!qobject_cast<EmojiLabel*>(label)) {
                    EXPECT_NEAR(drawn.pixels, wanted.pixels, wanted.pixels * 0.12) << "a weight other than the style's";
                }
            }
        });
        EXPECT_EQ(seen, rows.size());
    }
};

TEST_F(WindowVocabularyRig, EveryTextIsDrawnInItsStyleOfTheTypeScale)
{
    FontScope scope;
    QApplication::setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    expectTypeScale(u"default"_s);
}

TEST_F(WindowVocabularyRig, EveryTextKeepsItsStyleAtALargerApplicationFont)
{
    FontScope scope;
    QFont larger = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    larger.setPointSizeF(12);
    QApplication::setFont(larger);
    expectTypeScale(u"12pt"_s);
}

TEST_F(WindowVocabularyRig, EverySymbolIsAGlyphInItsTintInLightAndDark)
{
    struct Row
    {
        const char* screen;
        const char* object; ///< the symbol's name; a banner's sign when it names a banner
        std::string ink;
        int side; ///< at the default font; 0: as tall as its text
    };
    const QList<Row> rows {
        { "sign-in address", "headerIcon", "blue", UserRegistrationView::headerSymbolPixels },
        { "sign-in address", "emailFieldSymbol", "grey", 0 },
        { "sign-in password", "foundAccountSymbol", "green", 0 },
        { "sign-in password", "loginPasswordFieldSymbol", "grey", 0 },
        { "sign-in registration", "newAccountSymbol", "blue", 0 },
        { "sign-in registration", "nicknameFieldSymbol", "grey", 0 },
        { "sign-in registration", "confirmPasswordFieldSymbol", "grey", 0 },
        { "sign-in registration", "passwordMatchIcon", "red", 0 },
        { "sign-in registration", "errorBanner", "red", 0 },
        { "empty window", "placeholderSymbol", "grey", 60 },
        { "pick notice", "listError", "orange", 0 },
        { "pick card", "pickSymbol", "green", 60 },
    };
    int seen = 0;
    walk([&](const QString& screen, QWidget* root) {
        for (const bool dark : { false, true }) {
            root->setPalette(dark ? darkFusionPalette() : lightPalette());
            QCoreApplication::processEvents();
            const QImage image = drawnImage(root);
            saveShot(image, u"dbwin-symbols-%1-%2"_s.arg(screen, dark ? u"dark"_s : u"light"_s).replace(u' ', u'-'));
            for (const Row& row : rows) {
                if (screen != QLatin1String(row.screen))
                    continue;
                seen += dark ? 0 : 1;
                SCOPED_TRACE(std::string(row.screen) + ": " + row.object + (dark ? " (dark)" : " (light)"));
                QWidget* named = root->findChild<QWidget*>(QString::fromLatin1(row.object));
                ASSERT_TRUE(named) << "not there";
                auto* symbol = qobject_cast<SymbolView*>(named);
                if (!symbol)
                    symbol = named->findChild<SymbolView*>();
                ASSERT_TRUE(symbol) << "no symbol glyph";
                ASSERT_TRUE(symbol->isVisibleTo(root));
                if (row.side > 0) {
                    EXPECT_EQ(symbol->width(), TextStyle::scaled(row.side));
                }
                // The glyph's solid pixels against what it stands on, just outside its box.
                const QRect area = areaIn(symbol, root);
                const QPoint outside = area.topLeft() - QPoint(1, 0);
                const QColor ink = strongestInk(image, area, outside);
                ASSERT_TRUE(ink.isValid()) << "nothing drawn";
                EXPECT_EQ(kindOf(ink), row.ink) << ink.name().toStdString();
                EXPECT_GE(contrastRatio(ink, image.pixelColor(outside)), Symbols::minimumContrast);
            }
        }
    });
    EXPECT_EQ(seen, rows.size());
}

TEST_F(WindowVocabularyRig, EveryButtonHasTheStyleItsScreenNames)
{
    struct Row
    {
        const char* screen;
        const char* object;
        ButtonStyle::Style style;
        ButtonStyle::ControlSize size;
    };
    using S = ButtonStyle::Style;
    using C = ButtonStyle::ControlSize;
    const QList<Row> rows {
        { "sign-in address", "primaryButton", S::borderedProminent, C::regular },
        { "empty window", "throwButton", S::borderedProminent, C::large },
        { "empty window", "pickButton", S::bordered, C::large },
        { "throw sheet", "sendButton", S::borderedProminent, C::regular },
        { "chat", "sendButton", S::borderedProminent, C::regular },
    };
    // The desktop switching to dark: the application's palette changes under the screens.
    struct PaletteScope
    {
        QPalette saved = QApplication::palette();
        ~PaletteScope() { QApplication::setPalette(saved); }
    } scope;
    int seen = 0;
    walk([&](const QString& screen, QWidget* root) {
        for (const bool dark : { false, true }) {
            QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            const QImage image = drawnImage(root);
            saveShot(image, u"dbwin-buttons-%1-%2"_s.arg(screen, dark ? u"dark"_s : u"light"_s).replace(u' ', u'-'));
            for (const Row& row : rows) {
                if (screen != QLatin1String(row.screen))
                    continue;
                seen += dark ? 0 : 1;
                SCOPED_TRACE(std::string(row.screen) + ": " + row.object + (dark ? " (dark)" : " (light)"));
                auto* button = root->findChild<QPushButton*>(QString::fromLatin1(row.object));
                ASSERT_TRUE(button);
                ASSERT_TRUE(button->isEnabled());
                const QRect area = areaIn(button, root);
                const QColor face = dominantColour(image, area);
                const QColor around = image.pixelColor(area.left() - 2, area.center().y());
                // The title reads on the face.
                const QColor title = strongestInk(image, area, area.topLeft() + QPoint(area.width() / 2, 3));
                EXPECT_GE(contrastRatio(title, face), 4.5)
                    << title.name().toStdString() << " on " << face.name().toStdString();
                if (row.style == S::borderedProminent) {
                    // The accent under the title.
                    const QColor accent = root->palette().color(QPalette::Highlight);
                    EXPECT_LE(std::abs(face.hslHue() - accent.hslHue()), 8) << face.name().toStdString();
                    EXPECT_GT(face.hslSaturation(), 100) << face.name().toStdString();
                } else {
                    // A quiet grey face, a shade off what it stands on, in the dark as in the light.
                    EXPECT_LT(face.hslSaturation(), 40) << face.name().toStdString();
                    EXPECT_NE(face.rgb(), around.rgb());
                    EXPECT_LT(contrastRatio(face, around), 1.6)
                        << face.name().toStdString() << " on " << around.name().toStdString();
                }
                // As tall as the kit's button of that size with the same title.
                std::unique_ptr<QPushButton> kit(ButtonStyle::create(button->text(), row.style, row.size));
                kit->setIcon(button->icon());
                EXPECT_NEAR(button->height(), kit->sizeHint().height(), 1);
            }
        }
    });
    EXPECT_EQ(seen, rows.size());
}
