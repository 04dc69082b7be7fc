// The alarm and reminder screens in the widget kit's vocabulary, judged by what they draw:
// each text in its style of the type scale, each symbol as a glyph in its colour, each
// button in its style, in a light and a dark palette.
#include "PagesRig.h"

#include "reminders/AlarmWindowView.h"
#include "reminders/pages/AlarmForm.h"
#include "reminders/pages/AlarmManagementView.h"
#include "reminders/pages/ReminderForm.h"
#include "reminders/pages/ReminderManagementView.h"
#include "support/DrawnText.h"
#include "support/Screenshots.h"
#include "widgets/ButtonStyle.h"
#include "widgets/TextStyle.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

using namespace Qt::StringLiterals;
using TextStyle::Style;

namespace {

Alarm sampleAlarm(PagesRig& rig, bool enabled)
{
    Alarm alarm;
    alarm.id = Alarm::newId();
    alarm.title = u"站会"_s;
    alarm.message = u"带上笔记本"_s;
    alarm.time = QDateTime(QDate(2026, 1, 5), QTime(9, 30));
    alarm.repeatType = AlarmRepeatType::daily;
    alarm.isEnabled = enabled;
    alarm.createdAt = rig.clock.now();
    return alarm;
}

QLabel* labelWithText(const QWidget* root, const QString& text)
{
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (label->text() == text)
            return label;
    }
    ADD_FAILURE() << "no label " << text.toStdString();
    return nullptr;
}

/// The ink of `text` drawn in `font` on `background`.
QSize referenceInk(const QString& text, const QFont& font, const QColor& background, const QColor& ink)
{
    QImage image(400, 80, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(QRect(10, 0, 380, 80), Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.end();
    return inkIn(image, image.rect(), 1.5).box.size();
}

/// The lines of text inside `area`, top to bottom: bands of pixel rows with ink.
QList<QRect> textLines(const QImage& image, const QRect& area)
{
    const QColor background = dominantColour(image, area);
    QList<QRect> lines;
    bool inLine = false;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        bool inked = false;
        for (int x = area.left(); x <= area.right() && !inked; ++x)
            inked = contrastRatio(image.pixelColor(x, y), background) >= 1.3;
        if (inked && !inLine)
            lines.append(QRect(area.left(), y, area.width(), 1));
        else if (inked)
            lines.last().setBottom(y);
        inLine = inked;
    }
    return lines;
}

/// `rig`'s alarm list emptied, then holding one daily alarm when `enabled` is given.
AlarmManager& alarmsOf(PagesRig& rig, std::optional<bool> enabled)
{
    for (const Alarm& alarm : QList<Alarm>(rig.alarms->alarms()))
        rig.alarms->removeAlarm(alarm.id);
    if (enabled)
        rig.alarms->addAlarm(sampleAlarm(rig, *enabled));
    return *rig.alarms;
}

/// The screens of the area, each shown with its content: the alarm list holds one daily
/// alarm, `enabled` or not, the other alarm page none.
struct AreaScreens
{
    AreaScreens(PagesRig& rig, bool enabled)
        : alarms(alarmsOf(rig, enabled), rig.clock)
        , emptyAlarms(alarmsOf(emptyRig, std::nullopt), emptyRig.clock)
        , reminders(*rig.manager, rig.clock)
        , addAlarm(rig.clock)
        , editReminder(rig.manager->reminders().constFirst(), rig.clock)
        , card(rig.alarms->alarms().constFirst(), {})
    {
        for (QWidget* page :
            { static_cast<QWidget*>(&alarms), static_cast<QWidget*>(&emptyAlarms), static_cast<QWidget*>(&reminders) })
            page->resize(600, 500);
        // The add form with its weekday selector shown.
        part<QComboBox>(&addAlarm, "alarmRepeatPicker")->setCurrentIndex(4);
        for (QWidget* screen :
            { static_cast<QWidget*>(&alarms), static_cast<QWidget*>(&emptyAlarms), static_cast<QWidget*>(&reminders),
                static_cast<QWidget*>(&addAlarm), static_cast<QWidget*>(&editReminder), static_cast<QWidget*>(&card) })
            screen->show();
        QCoreApplication::processEvents();
    }

    PagesRig emptyRig;
    AlarmManagementView alarms;
    AlarmManagementView emptyAlarms; // emptied by the test
    ReminderManagementView reminders;
    AddAlarmView addAlarm;
    EditReminderView editReminder;
    AlarmWindowView card;
};

} // namespace

// Every text is drawn exactly as its style draws it: the same text in the style's font gives
// the same pixels.
TEST(Looks, EveryTextIsDrawnInItsStyleOfTheTypeScale)
{
    QApplication::setPalette(lightPalette());
    PagesRig rig;
    AreaScreens screens(rig, true);

    const QFont body = TextStyle::font(Style::body);
    struct Case
    {
        const char* where;
        QWidget* widget;
        QFont font;
    };
    const QList<Case> cases {
        { "alarm page title", labelWithText(&screens.emptyAlarms, u"⏰ 闹钟管理"_s),
            TextStyle::font(Style::title2, QFont::Bold) },
        { "alarm page note", labelWithText(&screens.emptyAlarms, u"闹钟会在屏幕右上角弹出显示，必须手动关闭"_s),
            TextStyle::font(Style::caption) },
        { "alarm empty title", part(&screens.emptyAlarms, "alarmEmptyTitle"),
            TextStyle::font(Style::title3, QFont::DemiBold) },
        { "alarm empty hint", part(&screens.emptyAlarms, "alarmEmptyHint"), body },
        { "reminder page title", labelWithText(&screens.reminders, u"⏰ 提醒管理"_s),
            TextStyle::font(Style::title2, QFont::Bold) },
        { "reminder page note", labelWithText(&screens.reminders, u"提醒内容在几秒后会自动消失"_s),
            TextStyle::font(Style::caption) },
        { "reminder section heading", part(&screens.reminders, "defaultReminderHeading"),
            TextStyle::font(Style::headline) },
        { "reminder placeholder", part(&screens.reminders, "customReminderPlaceholder")->findChild<QLabel*>(),
            TextStyle::font(Style::caption) },
        { "alarm form heading", labelWithText(&screens.addAlarm, u"添加闹钟"_s),
            TextStyle::font(Style::title2, QFont::Bold) },
        { "weekday caption", part(&screens.addAlarm, "weekdayCaption"), TextStyle::font(Style::caption) },
        { "weekday button", part(&screens.addAlarm, "weekday2"), TextStyle::font(Style::caption) },
        { "reminder form heading", labelWithText(&screens.editReminder, u"编辑提醒"_s),
            TextStyle::font(Style::title2, QFont::Bold) },
        { "card title", part(&screens.card, "alarmTitle"), TextStyle::font(Style::headline) },
        { "card message", part(&screens.card, "alarmMessage"), body },
        { "card time", part(&screens.card, "alarmTime"), TextStyle::font(Style::caption) },
        { "card repeat rule", part(&screens.card, "alarmRepeatRule"), TextStyle::font(Style::caption) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        ASSERT_NE(c.widget, nullptr);
        const QImage drawn = drawnImage(c.widget);
        const QFont own = c.widget->font();
        c.widget->setFont(c.font);
        const QImage styled = drawnImage(c.widget);
        c.widget->setFont(own);
        const QRect area = drawn.rect();
        EXPECT_EQ(inkIn(drawn, area, 1.5).box.size(), inkIn(styled, area, 1.5).box.size());
        EXPECT_TRUE(drawn == styled) << "drawn otherwise than in its style";
    }

    // The painted rows: the title in the body font (medium), the message in the caption.
    ManagementListView* list = screens.alarms.listView();
    const QRect text = ManagementRowDelegate::geometry(list->cardRect(0), true).text;
    const QImage rows = drawnImage(list->viewport());
    const QList<QRect> lines = textLines(rows, text);
    ASSERT_EQ(lines.size(), 3) << "title, message, details";
    const QColor card = dominantColour(rows, text);
    const QPalette palette = list->palette();
    const std::pair<QString, QFont> rowTexts[] = {
        { u"站会"_s, TextStyle::font(Style::body, QFont::Medium) },
        { u"带上笔记本"_s, TextStyle::font(Style::caption) },
    };
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(rowTexts[i].first.toStdString());
        const QSize drawn = inkIn(rows, lines[i], 1.5).box.size();
        const QSize wanted = referenceInk(rowTexts[i].first, rowTexts[i].second, card, palette.color(QPalette::Text));
        EXPECT_NEAR(drawn.width(), wanted.width(), 1);
        EXPECT_NEAR(drawn.height(), wanted.height(), 1);
    }
}

// Symbols are glyphs in the colours the screens give them, standing out from what they are
// drawn on; the ringing card's orange and the switched-off track read in both palettes.
TEST(Looks, EverySymbolIsAGlyphInItsColourInLightAndDark)
{
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "dark" : "light");
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        PagesRig rig;
        AreaScreens screens(rig, false);
        AlarmManagementView& empty = screens.emptyAlarms;
        AlarmManagementView& alarms = screens.alarms;
        AlarmWindowView& card = screens.card;

        const QImage emptyShot = drawnImage(&empty);
        const QImage cardShot = drawnImage(&card);
        ManagementListView* list = alarms.listView();
        const QImage rowShot = drawnImage(list->viewport());
        saveShot(cardShot, dark ? u"looks-card-dark"_s : u"looks-card-light"_s);
        saveShot(rowShot, dark ? u"looks-row-dark"_s : u"looks-row-light"_s);
        const ManagementRowDelegate::Geometry row = ManagementRowDelegate::geometry(list->cardRect(0), true);
        const QColor text = list->palette().color(QPalette::WindowText);
        const auto around = [](const QRect& box, int margin) { return box.adjusted(-margin, -margin, margin, margin); };

        struct Case
        {
            const char* what;
            const QImage* image;
            QRect area;
            std::string ink; ///< its kind, or "primary": the text colour itself
            double least; ///< contrast against what it stands on
        };
        const QList<Case> cases {
            { "empty state's alarm, gray", &emptyShot, around(areaIn(part(&empty, "alarmEmptySymbol"), &empty), 4),
                "grey", 3.0 },
            { "card's close, secondary", &cardShot, around(areaIn(part(&card, "alarmCloseButton"), &card), 6), "grey",
                3.0 },
            // A glyph of hairlines at the caption's size never shows its colour whole: it is
            // made out at 3:1, and its colour is the time's (below).
            { "card's clock, orange", &cardShot, around(areaIn(part(&card, "alarmClock"), &card), 3), "orange", 3.0 },
            { "card's time, orange", &cardShot, areaIn(part(&card, "alarmTime"), &card), "orange", 4.5 },
            { "row's edit, primary", &rowShot, row.edit, "primary", 0 },
            { "row's delete, red", &rowShot, row.remove, "red", 3.0 },
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            const std::map<std::string, double> inks = inkContrasts(*c.image, c.area);
            if (c.ink == "primary") {
                const QColor drawn = strongestInk(*c.image, c.area, c.area.topLeft());
                ASSERT_TRUE(drawn.isValid());
                EXPECT_LT(std::abs(drawn.lightness() - text.lightness()), 24) << drawn.name().toStdString();
                continue;
            }
            ASSERT_TRUE(inks.contains(c.ink)) << "no " << c.ink << " ink";
            EXPECT_GE(inks.at(c.ink), c.least);
        }
        const QColor clock = strongestInk(cardShot, areaIn(part(&card, "alarmClock"), &card),
            areaIn(part(&card, "alarmClock"), &card).topLeft() + QPoint(0, -2));
        const QColor time = strongestInk(
            cardShot, areaIn(part(&card, "alarmTime"), &card), areaIn(part(&card, "alarmTime"), &card).topLeft());
        ASSERT_TRUE(clock.isValid() && time.isValid());
        EXPECT_NEAR(clock.hsvHue(), time.hsvHue(), 8) << "the clock takes the time's orange";

        // Each symbol at its stated size: the empty state's at 60 px, the card's close at 20.
        EXPECT_GE(inkIn(emptyShot, areaIn(part(&empty, "alarmEmptySymbol"), &empty), 1.5).box.height(), 50);
        EXPECT_GE(inkIn(cardShot, around(areaIn(part(&card, "alarmCloseButton"), &card), 2), 1.5).box.height(), 19);
        // The close symbol is quieter than the title beside it.
        const double title = drawnContrast(cardShot, areaIn(part(&card, "alarmTitle"), &card));
        EXPECT_LT(
            inkContrasts(cardShot, around(areaIn(part(&card, "alarmCloseButton"), &card), 6)).at("grey"), 0.9 * title);

        // The card's divider is every screen's: the text colour at 15 % over the card.
        const QRect divider = areaIn(part(&card, "alarmDivider"), &card);
        const QColor under = cardShot.pixelColor(divider.center() - QPoint(0, 3));
        const QColor line = cardShot.pixelColor(divider.center());
        const QColor cardText = card.palette().color(QPalette::WindowText);
        for (const auto& [drawn, ink, ground] : { std::tuple(line.red(), cardText.red(), under.red()),
                 std::tuple(line.green(), cardText.green(), under.green()),
                 std::tuple(line.blue(), cardText.blue(), under.blue()) })
            EXPECT_NEAR(drawn, 0.15 * ink + 0.85 * ground, 2) << line.name().toStdString();

        // The switched-off track of the disabled row: its edge stands out from the row at 3:1,
        // away from the knob.
        const QRect track = row.toggle;
        const QRect edge(track.center().x() + 2, track.top(), track.right() - track.center().x() - 6, 3);
        const QPoint onRow(track.center().x(), track.top() - 3);
        const QColor drawnEdge = strongestInk(rowShot, edge, onRow);
        ASSERT_TRUE(drawnEdge.isValid()) << "no track drawn";
        EXPECT_GE(contrastRatio(drawnEdge, rowShot.pixelColor(onRow)), 3.0);
    }
    QApplication::setPalette(lightPalette());
}

// The pages' add buttons and the forms' save buttons are bordered prominent, their cancel
// buttons bordered; the add buttons lead with a white plus in a circle.
TEST(Looks, EveryButtonHasItsStyle)
{
    QApplication::setPalette(lightPalette());
    PagesRig rig;
    AreaScreens screens(rig, true);
    using ButtonStyle::Style;
    struct Case
    {
        const char* where;
        QWidget* screen;
        const char* name;
        Style style;
    };
    const QList<Case> cases {
        { "alarm page", &screens.alarms, "addAlarmButton", Style::borderedProminent },
        { "reminder page", &screens.reminders, "addReminderButton", Style::borderedProminent },
        { "alarm form", &screens.addAlarm, "cancelButton", Style::bordered },
        { "alarm form", &screens.addAlarm, "saveButton", Style::borderedProminent },
        { "reminder form", &screens.editReminder, "cancelButton", Style::bordered },
        { "reminder form", &screens.editReminder, "saveButton", Style::borderedProminent },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.where) + " " + c.name);
        auto* button = part<QPushButton>(c.screen, c.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->styleSheet(), ButtonStyle::sheetFor(button, c.style, ButtonStyle::ControlSize::regular));
    }
    for (const char* name : { "addAlarmButton", "addReminderButton" }) {
        SCOPED_TRACE(name);
        QWidget* screen = std::string(name) == "addAlarmButton" ? static_cast<QWidget*>(&screens.alarms)
                                                                : static_cast<QWidget*>(&screens.reminders);
        auto* button = part<QPushButton>(screen, name);
        const QImage drawn = drawnImage(button);
        // The plus sits before the title: white ink on the accent face in the button's left part.
        const QRect lead(0, 0, button->width() / 3, button->height());
        int white = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < lead.width(); ++x)
                white += drawn.pixelColor(x, y).lightness() > 245;
        const int side = button->iconSize().height();
        EXPECT_EQ(side, qRound(TextStyle::pixelSizeOf(TextStyle::font(TextStyle::Style::body))));
        EXPECT_GE(white, side * side / 3);
    }
}

// At a 12 pt application font the forms grow with their text: no group is squeezed below
// the height its fields need, and the buttons stay inside.
TEST(Looks, TheFormsGrowWithALargerFont)
{
    const QFont saved = QApplication::font();
    QFont larger = saved;
    larger.setPointSizeF(12);
    QApplication::setFont(larger);
    {
        PagesRig rig;
        AddAlarmView alarm(rig.clock);
        part<QComboBox>(&alarm, "alarmRepeatPicker")->setCurrentIndex(4); // with the weekdays
        AddReminderView reminder(ReminderType::custom, rig.clock);
        for (QDialog* form : { static_cast<QDialog*>(&alarm), static_cast<QDialog*>(&reminder) }) {
            SCOPED_TRACE(form->windowTitle().toStdString());
            form->show();
            QCoreApplication::processEvents();
            for (const QGroupBox* group : form->findChildren<QGroupBox*>())
                EXPECT_GE(group->height(), group->sizeHint().height()) << group->title().toStdString();
            const QWidget* save = part(form, "saveButton");
            EXPECT_TRUE(form->rect().contains(areaIn(save, form)));
        }
    }
    QApplication::setFont(saved);
}
