// How the alarm and reminder screens are spaced, how their rows grow and whether their
// texts read in a light and a dark palette, measured on the widgets' geometry and the
// pixels they paint.
#include "PagesRig.h"

#include "platform/SystemColours.h"
#include "reminders/AlarmWindowView.h"
#include "reminders/pages/AlarmForm.h"
#include "reminders/pages/AlarmManagementView.h"
#include "reminders/pages/ReminderAndAlarmPreferencesView.h"
#include "reminders/pages/ReminderForm.h"
#include "reminders/pages/ReminderManagementView.h"
#include "support/DrawnText.h"
#include "support/LayoutGaps.h"
#include "support/Screenshots.h"
#include "widgets/SegmentedPicker.h"
#include "widgets/Spacing.h"

#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QToolTip>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;

namespace {

/// The gaps between the shown items of `column`, top to bottom; -1 where a stretch lies
/// between two of them.
QList<int> stackGaps(const QWidget* root, QLayout* column)
{
    QList<int> gaps;
    QLayoutItem* previous = nullptr;
    bool stretch = false;
    for (int i = 0; i < column->count(); ++i) {
        QLayoutItem* item = column->itemAt(i);
        if (item->spacerItem()) {
            stretch = stretch || item->expandingDirections() & Qt::Vertical;
            continue;
        }
        if (item->isEmpty())
            continue;
        if (previous) {
            const QObject* above
                = previous->widget() ? static_cast<const QObject*>(previous->widget()) : previous->layout();
            const QObject* below = item->widget() ? static_cast<const QObject*>(item->widget()) : item->layout();
            gaps.append(stretch ? -1 : verticalGap(root, above, below));
        }
        previous = item;
        stretch = false;
    }
    return gaps;
}

/// Bands of rows in `column` (image coordinates) that hold ink: pixels far from the
/// colour at the band's top left, which is the card's own.
int inkBands(const QImage& image, const QRect& column)
{
    const QColor background(image.pixel(column.left(), column.top()));
    int bands = 0;
    bool inBand = false;
    for (int y = column.top(); y <= column.bottom(); ++y) {
        bool ink = false;
        for (int x = column.left(); x <= column.right() && !ink; ++x) {
            const QColor c(image.pixel(x, y));
            ink = std::abs(c.red() - background.red()) + std::abs(c.green() - background.green())
                    + std::abs(c.blue() - background.blue())
                > 150;
        }
        bands += ink && !inBand;
        inBand = ink;
    }
    return bands;
}

Reminder customReminder(PagesRig& rig, const QString& title, const QString& message)
{
    Reminder r = rig.manager->createDefaultReminder(ReminderType::custom);
    r.title = title;
    r.message = message;
    return r;
}

const QString longTitle = u"下午三点提醒全组把本周的周报、风险清单和下周计划一起整理好发到群里再去开会"_s;
const QString longMessage = u"很长很长的消息，"_s.repeated(12);

} // namespace

TEST(PageSpacing, StacksOfThePagesFormsAndCardsKeepTheirSpacing)
{
    PagesRig rig;
    rig.manager->addReminder(customReminder(rig, u"伸懒腰"_s, u"站起来"_s));
    ReminderManagementView reminders(*rig.manager, rig.clock);
    reminders.resize(600, 500);
    reminders.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&reminders));
    ManagementListView* defaults = reminders.defaultList();
    ASSERT_EQ(defaults->model()->rowCount(), 3);

    struct Gap
    {
        const char* above;
        const char* below;
        int px;
    };
    // Each section is its heading with its rows (or placeholder) 8 px under it; the divider
    // between the sections has 8 px of its own above and below the page's 12.
    const Gap sectionGaps[] = {
        { "defaultReminderHeading", "defaultReminderList", 8 },
        { "defaultReminderList", "sectionDivider", 12 + 8 },
        { "sectionDivider", "customReminderHeading", 8 + 12 },
        { "customReminderHeading", "customReminderList", 8 },
    };
    for (const Gap& gap : sectionGaps)
        EXPECT_EQ(verticalGap(&reminders, part(&reminders, gap.above), part(&reminders, gap.below)), gap.px)
            << gap.above << " / " << gap.below;
    // Rows 8 px apart, and the list ends with its last row.
    for (int row = 0; row + 1 < 3; ++row)
        EXPECT_EQ(defaults->cardRect(row + 1).top() - defaults->cardRect(row).bottom() - 1, 8) << row;
    EXPECT_EQ(defaults->cardRect(2).bottom() + 1, defaults->viewport()->height());
    // With no custom reminder, the placeholder takes the rows' place.
    const QString stretchId = rig.manager->reminders().constLast().id;
    rig.manager->removeReminder(stretchId);
    EXPECT_EQ(verticalGap(
                  &reminders, part(&reminders, "customReminderHeading"), part(&reminders, "customReminderPlaceholder")),
        8);

    // The page switch stands the standard padding below the page's top and above the divider.
    ReminderAndAlarmPreferencesView both(*rig.alarms, *rig.manager, rig.clock);
    both.resize(600, 500);
    both.show();
    QCoreApplication::processEvents();
    const QRect picker = boxIn(&both, both.findChild<SegmentedPicker*>());
    const QRect segments = boxIn(&both, part(&both, "reminderAlarmSegments"));
    EXPECT_EQ(picker.top(), Spacing::standardPadding);
    EXPECT_EQ(segments.bottom() - picker.bottom(), Spacing::standardPadding);

    // The alarm list keeps 12 px between its rows.
    AlarmManagementView alarms(*rig.alarms, rig.clock);
    Alarm second = rig.alarms->alarms().constFirst();
    second.id = Alarm::newId();
    rig.alarms->addAlarm(second);
    alarms.resize(600, 500);
    alarms.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&alarms));
    ManagementListView* alarmList = alarms.listView();
    EXPECT_EQ(alarmList->cardRect(1).top() - alarmList->cardRect(0).bottom() - 1, 12);

    // The forms and the ringing alarm's card: 20 px between the forms' parts, 8 between
    // the card's (a stretch before the forms' buttons keeps them at the foot).
    AddAlarmView addAlarm(rig.clock);
    EditAlarmView editAlarm(rig.alarms->alarms().constFirst(), rig.clock);
    AddReminderView addReminder(ReminderType::custom, rig.clock);
    EditReminderView editReminder(rig.manager->reminders().constFirst(), rig.clock);
    AlarmWindowView card(rig.alarms->alarms().constFirst(), {});
    const std::pair<QWidget*, QList<int>> stacks[] = {
        { &addAlarm, { 20, 20, 20, 20, -1 } },
        { &editAlarm, { 20, 20, 20, 20, -1 } },
        { &addReminder, { 20, 20, 20, 20, -1 } },
        { &editReminder, { 20, 20, 20, 20, -1 } },
        { &card, { 8, 8, 8 } },
    };
    for (const auto& [widget, gaps] : stacks) {
        widget->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widget));
        EXPECT_EQ(stackGaps(widget, widget->layout()), gaps) << widget->metaObject()->className();
        widget->hide();
    }
}

TEST(PageRows, ALongTitleWrapsAndItsRowGrowsWhileALongMessageKeepsToOneLine)
{
    PagesRig rig;
    for (const Alarm& alarm : QList<Alarm>(rig.alarms->alarms()))
        rig.alarms->removeAlarm(alarm.id);
    rig.manager->addReminder(customReminder(rig, longTitle, u"短消息"_s));
    rig.manager->addReminder(customReminder(rig, u"伸懒腰"_s, longMessage));
    Alarm alarm;
    alarm.id = Alarm::newId();
    alarm.title = longTitle;
    alarm.message = u"短消息"_s;
    alarm.time = QDateTime(QDate(2026, 1, 5), QTime(15, 0));
    rig.alarms->addAlarm(alarm);
    Alarm chatty = alarm;
    chatty.id = Alarm::newId();
    chatty.title = u"喝水"_s;
    chatty.message = longMessage;
    rig.alarms->addAlarm(chatty);

    ReminderManagementView reminders(*rig.manager, rig.clock);
    AlarmManagementView alarms(*rig.alarms, rig.clock);
    // The reminder page lays its rows into sections that the page scrolls; the alarm page
    // scrolls its list itself.
    const std::pair<QWidget*, ManagementListView*> pages[]
        = { { &reminders, reminders.customList() }, { &alarms, alarms.listView() } };
    for (const auto& [page, list] : pages) {
        SCOPED_TRACE(page->metaObject()->className());
        page->resize(600, 500);
        page->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page));
        ASSERT_EQ(list->model()->rowCount(), 2);
        const QRect tall = list->cardRect(0);
        const QRect plain = list->cardRect(1);
        EXPECT_GT(tall.height(), ManagementRowDelegate::rowHeight);
        EXPECT_EQ(plain.height(), ManagementRowDelegate::rowHeight) << "the message keeps to one line";
        EXPECT_GT(plain.top(), tall.bottom()) << "the rows do not overlap";

        // Two lines of title, then the message and the details; one line of each in the
        // other row.
        const QImage drawn = list->viewport()->grab().toImage();
        const auto textColumn = [&](const QRect& card) {
            const QRect text = ManagementRowDelegate::geometry(card, true).text;
            return text.intersected(drawn.rect());
        };
        EXPECT_EQ(inkBands(drawn, textColumn(tall)), 4);
        EXPECT_EQ(inkBands(drawn, textColumn(plain)), 3);

        // Narrower, the title takes more lines and its row grows again.
        page->resize(430, 500);
        QCoreApplication::processEvents();
        EXPECT_GT(list->cardRect(0).height(), tall.height());
        EXPECT_EQ(list->cardRect(1).height(), ManagementRowDelegate::rowHeight);
        page->hide();
    }
    // The reminder section is still exactly as tall as its rows.
    ManagementListView* custom = reminders.customList();
    EXPECT_EQ(custom->cardRect(1).bottom() + 1, custom->viewport()->height());
}

// A long title keeps its row to the title's lines, the last ending in "…", and shows, as
// text, in the row's tool tip: whole, or its first part when a tip could not hold it.
TEST(PageRows, AVeryLongTitleKeepsItsRowToItsLinesAndShowsInTheToolTip)
{
    PagesRig rig;
    for (const Alarm& alarm : QList<Alarm>(rig.alarms->alarms()))
        rig.alarms->removeAlarm(alarm.id);
    const QString unit = u"下午三点提醒全组整理周报再去开会 "_s;
    const QString lengthy = u"<b>很长</b>"_s + unit.repeated(20) + u"结尾"_s;
    const QString huge = u"<b>很长</b>"_s + unit.repeated(588) + u"结尾"_s;
    rig.manager->addReminder(customReminder(rig, lengthy, u"短消息"_s));
    Alarm alarm;
    alarm.id = Alarm::newId();
    alarm.title = huge;
    alarm.message = u"短消息"_s;
    alarm.time = QDateTime(QDate(2026, 1, 5), QTime(15, 0));
    rig.alarms->addAlarm(alarm);

    ReminderManagementView reminders(*rig.manager, rig.clock);
    AlarmManagementView alarms(*rig.alarms, rig.clock);
    const std::tuple<QWidget*, ManagementListView*, bool> pages[]
        = { { &reminders, reminders.customList(), true }, { &alarms, alarms.listView(), false } };
    for (const auto& [page, list, whole] : pages) {
        SCOPED_TRACE(page->metaObject()->className());
        page->resize(600, 500);
        page->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page));
        const QRect card = list->cardRect(0);
        EXPECT_LT(card.height(), 200);
        const QImage drawn = list->viewport()->grab().toImage();
        const QRect text = ManagementRowDelegate::geometry(card, true).text.intersected(drawn.rect());
        EXPECT_EQ(inkBands(drawn, text), ManagementRowDelegate::titleLines + 2) << "title lines, message, details";

        QHelpEvent tip(QEvent::ToolTip, text.center(), list->viewport()->mapToGlobal(text.center()));
        QApplication::sendEvent(list->viewport(), &tip);
        EXPECT_TRUE(QToolTip::isVisible());
        const QString shown = QToolTip::text();
        EXPECT_TRUE(shown.contains(u"&lt;b&gt;很长&lt;/b&gt;"_s + unit)) << "as text, not markup";
        EXPECT_EQ(shown.contains(unit + u"结尾"_s), whole);
        EXPECT_LT(shown.size(), ManagementRowDelegate::toolTipCharacters + 200) << "a tip that fits on the screen";
        QToolTip::hideText();
        page->hide();
    }
}

// Drawn pixels, in a light and a dark palette: the chosen segment stands out, and the red
// notes, grey headings and hints and the rows' grey, blue and orange captions read at 4.5:1.
TEST(PageColours, TheChoiceAndEveryCaptionReadInLightAndDark)
{
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "dark" : "light");
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        PagesRig rig;
        Alarm alarm;
        alarm.id = Alarm::newId();
        alarm.title = u"站会"_s;
        alarm.message = u"带上笔记本"_s;
        alarm.time = rig.clock.now();
        alarm.repeatType = AlarmRepeatType::daily;
        rig.alarms->addAlarm(alarm);
        ReminderAndAlarmPreferencesView page(*rig.alarms, *rig.manager, rig.clock);
        page.resize(600, 700);
        page.show();

        const auto segmentsDrawn = [&](const QImage& shot, const char* chosenName, const char* otherName) {
            const QRect chosen = areaIn(page.findChild<QAbstractButton*>(QString::fromLatin1(chosenName)), &page);
            const QRect other = areaIn(page.findChild<QAbstractButton*>(QString::fromLatin1(otherName)), &page);
            const QColor chosenFill = dominantColour(shot, chosen);
            const QColor otherFill = dominantColour(shot, other);
            EXPECT_GT(std::hypot(chosenFill.red() - otherFill.red(), chosenFill.green() - otherFill.green(),
                          chosenFill.blue() - otherFill.blue()),
                100.0)
                << chosenFill.name().toStdString() << " against " << otherFill.name().toStdString();
            EXPECT_GE(drawnContrast(shot, chosen.adjusted(3, 3, -3, -3)), 4.5) << chosenName;
            EXPECT_GE(drawnContrast(shot, other.adjusted(3, 3, -3, -3)), 4.5) << otherName;
        };
        const auto label = [&](const QString& text) {
            for (QLabel* found : page.findChildren<QLabel*>()) {
                if (found->text() == text && found->isVisible())
                    return areaIn(found, &page);
            }
            ADD_FAILURE() << "no label " << text.toStdString();
            return QRect();
        };
        const auto rowCaptions = [&](const QImage& shot, ManagementListView* list, const std::string& what,
                                     std::initializer_list<std::string> details) {
            const QModelIndex index = list->model()->index(0, 0);
            const auto row = index.data(ManagementListModel::RowRole).value<ManagementRow>();
            const QRect text = ManagementRowDelegate::geometry(list->cardRect(0), row.canDelete).text;
            const QRect area(list->viewport()->mapTo(&page, text.topLeft()), text.size());
            const QList<QRect> lines = inkLines(shot, area);
            ASSERT_EQ(lines.size(), 3) << what << ": title, message, details";
            expectReadable(shot, lines[1], what + " message", { "grey" });
            expectReadable(shot, lines[2], what + " details", details);
        };

        // The reminder side: its note, its section headings, the empty custom section, a row.
        auto* reminders = qobject_cast<ReminderManagementView*>(page.currentPage());
        ASSERT_TRUE(reminders);
        QImage shot = drawnImage(&page);
        segmentsDrawn(shot, "reminderSegment", "alarmSegment");
        expectReadable(shot, label(u"提醒内容在几秒后会自动消失"_s), "reminder note", { "red" });
        expectReadable(shot, label(u"默认提醒"_s), "heading", { "grey" });
        expectReadable(shot, label(u"自定义提醒"_s), "heading", { "grey" });
        auto* placeholder = reminders->findChild<QWidget*>(u"customReminderPlaceholder"_s);
        ASSERT_TRUE(placeholder && placeholder->isVisible());
        expectReadable(shot, areaIn(placeholder, &page).adjusted(4, 4, -4, -4), "placeholder", { "grey" });
        rowCaptions(shot, reminders->defaultList(), "reminder row", { "blue" });

        // The alarm side: its note, a row, and the empty state.
        QTest::mouseClick(page.findChild<QAbstractButton*>(u"alarmSegment"_s), Qt::LeftButton);
        QCoreApplication::processEvents(); // the new page shows once the event loop runs
        auto* alarms = qobject_cast<AlarmManagementView*>(page.currentPage());
        ASSERT_TRUE(alarms);
        shot = drawnImage(&page);
        segmentsDrawn(shot, "alarmSegment", "reminderSegment");
        expectReadable(shot, label(u"闹钟会在屏幕右上角弹出显示，必须手动关闭"_s), "alarm note", { "red" });
        rowCaptions(shot, alarms->listView(), "alarm row", { "blue", "orange" });
        // The orange is the desktop's, its hue kept wherever it is drawn, only lighter or darker.
        const auto expectSystemOrange = [&](const QImage& drawn, const QRect& area, const char* what) {
            const QColor orange = strongestInkOfKind(drawn, area, "orange");
            ASSERT_TRUE(orange.isValid()) << what;
            EXPECT_NEAR(orange.hsvHue(), SystemColours::orange().hsvHue(), 5)
                << what << " " << orange.name().toStdString();
        };
        {
            const QRect card = alarms->listView()->cardRect(0);
            expectSystemOrange(
                shot, QRect(alarms->listView()->viewport()->mapTo(&page, card.topLeft()), card.size()), "alarm row");
        }
        for (const Alarm& listed : QList<Alarm>(rig.alarms->alarms())) // the seeded one too
            rig.alarms->removeAlarm(listed.id);
        QCoreApplication::processEvents();
        shot = drawnImage(&page);
        expectReadable(shot, label(u"还没有设置闹钟"_s), "empty title", { "grey" });
        expectReadable(shot, label(u"点击「添加闹钟」按钮创建您的第一个闹钟"_s), "empty hint", { "grey" });
        saveShot(shot, dark ? u"alarms-empty-dark"_s : u"alarms-empty-light"_s);

        // The ringing alarm's card: its message, "·" and repeat rule are secondary.
        AlarmWindowView card(alarm, {});
        card.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&card));
        shot = drawnImage(&card);
        saveShot(shot, dark ? u"alarm-card-dark"_s : u"alarm-card-light"_s);
        const auto part = [&](const QString& name) { return areaIn(card.findChild<QWidget*>(name), &card); };
        for (const QString& name : { u"alarmMessage"_s, u"alarmDot"_s, u"alarmRepeatRule"_s })
            expectSecondary(shot, part(name), part(u"alarmTitle"_s), name.toStdString());
        expectSystemOrange(shot, part(u"alarmTime"_s), "alarm time");
    }
    QApplication::setPalette(lightPalette());
}

// The rows' messages and the forms' placeholders as drawn after the desktop switches its
// palette: at 4.5:1 on the card or the field, yet fainter than the title above them or than
// text typed into the field.
TEST(PageColours, RowMessagesAndFormPlaceholdersAreSecondaryAfterAPaletteSwitch)
{
    PagesRig rig;
    Alarm alarm;
    alarm.id = Alarm::newId();
    alarm.title = u"站会"_s;
    alarm.message = u"带上笔记本"_s;
    alarm.time = rig.clock.now();
    rig.alarms->addAlarm(alarm);
    ReminderAndAlarmPreferencesView reminderPage(*rig.alarms, *rig.manager, rig.clock);
    ReminderAndAlarmPreferencesView alarmPage(*rig.alarms, *rig.manager, rig.clock);
    for (ReminderAndAlarmPreferencesView* page : { &reminderPage, &alarmPage }) {
        page->resize(600, 700);
        page->show();
    }
    QTest::mouseClick(alarmPage.findChild<QAbstractButton*>(u"alarmSegment"_s), Qt::LeftButton);
    QCoreApplication::processEvents();
    auto* reminders = qobject_cast<ReminderManagementView*>(reminderPage.currentPage());
    auto* alarms = qobject_cast<AlarmManagementView*>(alarmPage.currentPage());
    ASSERT_TRUE(reminders && alarms);
    AddAlarmView alarmForm(rig.clock);
    AddReminderView reminderForm(ReminderType::custom, rig.clock);
    for (QWidget* form : { static_cast<QWidget*>(&alarmForm), static_cast<QWidget*>(&reminderForm) })
        form->show();
    // The weekdays show for the custom rule, the last one; none is chosen.
    auto* repeat = alarmForm.findChild<QComboBox*>(u"alarmRepeatPicker"_s);
    repeat->setCurrentIndex(repeat->count() - 1);

    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "dark" : "light");
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        QCoreApplication::processEvents();
        const QImage formShot = drawnImage(&alarmForm);
        for (int day = 1; day <= 7; ++day) {
            auto* button = alarmForm.findChild<QAbstractButton*>(u"weekday"_s + QString::number(day));
            ASSERT_TRUE(button && button->isVisible() && !button->isChecked());
            // Inside the round face, where the label stands.
            const QRect face = areaIn(button, &alarmForm).adjusted(6, 6, -6, -6);
            EXPECT_GE(drawnContrast(formShot, face), 4.5) << "weekday " << day;
        }
        for (const auto& [page, list, what] : { std::tuple<QWidget*, ManagementListView*, std::string>(
                                                    &reminderPage, reminders->defaultList(), "reminder row"),
                 { &alarmPage, alarms->listView(), "alarm row" } }) {
            const QImage shot = drawnImage(page);
            const auto row = list->model()->index(0, 0).data(ManagementListModel::RowRole).value<ManagementRow>();
            const QRect text = ManagementRowDelegate::geometry(list->cardRect(0), row.canDelete).text;
            const QList<QRect> lines
                = inkLines(shot, QRect(list->viewport()->mapTo(page, text.topLeft()), text.size()));
            ASSERT_EQ(lines.size(), 3) << what << ": title, message, details";
            expectSecondary(shot, lines[1], lines[0], what + " message");
        }
        for (const auto& [form, name] :
            { std::pair<QWidget*, QString>(&alarmForm, u"alarmTitleField"_s), { &alarmForm, u"alarmMessageField"_s },
                { &reminderForm, u"reminderTitleField"_s }, { &reminderForm, u"reminderMessageField"_s } })
            expectSecondaryPlaceholder(form, form->findChild<QWidget*>(name), name.toStdString());
    }
    QApplication::setPalette(lightPalette());
}

// At the default font the card is the stated 280 × 120; at 12 pt it grows in proportion, so
// that the larger emoji and lines are not cut.
TEST(AlarmCardLayout, EveryPartFitsWholeInsideThePaddingOfTheCardAtEitherFont)
{
    PagesRig rig;
    Alarm plain;
    plain.id = Alarm::newId();
    plain.title = u"开会"_s;
    plain.message = u"带上笔记本"_s;
    plain.type = AlarmType::meeting;
    plain.time = QDateTime(QDate(2026, 1, 5), QTime(15, 0));
    Alarm crowded = plain;
    crowded.title = longTitle;
    crowded.message = longMessage;
    crowded.repeatType = AlarmRepeatType::custom;
    crowded.customWeekdays = { 2, 4, 6 };
    const QFont standard = QApplication::font();
    // The application font comes back also when a check stops the test early.
    const struct FontBack
    {
        QFont font;
        ~FontBack() { QApplication::setFont(font); }
    } back { standard };
    QFont larger = standard;
    larger.setPointSizeF(12);
    for (const auto& [font, size] : { std::pair(standard, QSize(280, 120)), std::pair(larger, QSize()) }) {
        QApplication::setFont(font);
        for (const Alarm& alarm : { plain, crowded }) {
            SCOPED_TRACE(alarm.title.toStdString() + (size.isValid() ? "" : " at 12 pt"));
            AlarmWindowView card(alarm, {});
            card.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&card));
            if (size.isValid())
                ASSERT_EQ(card.size(), size);
            else
                ASSERT_GT(card.height(), 120);
            EXPECT_EQ(AlarmWindowManager::cardFrame(QRectF(0, 0, 1000, 1000), 1).size(), QSizeF(card.size()));
            const QRect inside = card.rect().adjusted(16, 16, -16, -16);
            // A part squeezed below its natural height, or pushed past the padding, is cut off.
            for (const QWidget* part : card.findChildren<QWidget*>()) {
                if (!part->isVisible())
                    continue;
                const QRect box = boxIn(&card, part);
                EXPECT_TRUE(inside.contains(box)) << part->objectName().toStdString();
                EXPECT_GE(box.height(), part->sizeHint().height()) << part->objectName().toStdString();
            }
            // The stack reaches the padding on every side: the divider spans the width, the
            // header starts at the top and the footer ends at the bottom.
            QLayout* column = card.layout();
            const QRect divider = boxIn(&card, column->itemAt(1)->widget());
            EXPECT_EQ(divider.left(), inside.left());
            EXPECT_EQ(divider.right(), inside.right());
            EXPECT_EQ(divider.height(), 1) << "the line itself, so the spacing either side is the spacing drawn";
            EXPECT_EQ(boxIn(&card, column->itemAt(0)->layout()).top(), inside.top());
            EXPECT_EQ(boxIn(&card, column->itemAt(column->count() - 1)->layout()).bottom(), inside.bottom());
        }
    }
}
