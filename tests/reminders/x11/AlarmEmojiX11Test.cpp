// Emoji typed into the alarm form come out in colour in its fields and in the saved alarm's
// row, read back from the screen, under the program's own style.
#include "../PagesRig.h"

#include "platform/EmojiStyle.h"
#include "reminders/pages/AlarmForm.h"
#include "reminders/pages/AlarmManagementView.h"
#include "support/Screenshots.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/PlainTextEditor.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QStyleFactory>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

/// Types `text` as an input method (or the emoji picker) hands it over: in one piece.
void typeIn(QWidget* field, const QString& text)
{
    QInputMethodEvent typed;
    typed.setCommitString(text);
    QCoreApplication::sendEvent(field, &typed);
}

/// Where `widget`'s inside (its frame and focus ring left out) lies in a picture of `window`.
QRect insideOf(const QWidget* window, const QWidget* widget)
{
    return inFrame(window, QRect(widget->mapTo(window, QPoint(4, 4)), widget->size() - QSize(8, 8)));
}

} // namespace

TEST(AlarmEmojiOnScreen, TheFormsFieldsAndTheSavedRowDrawEmojiInColour)
{
    if (EmojiStyle::colorEmojiFamily().isEmpty())
        GTEST_SKIP() << "no colour emoji font installed";
    QApplication::setStyle(new EmojiStyle(QStyleFactory::create(u"Fusion"_s)));
    PagesRig rig;
    for (const Alarm& alarm : QList<Alarm>(rig.alarms->alarms()))
        rig.alarms->removeAlarm(alarm.id);
    AlarmManagementView page(*rig.alarms, rig.clock);
    page.resize(600, 500);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    page.showAddAlarm();
    AlarmForm* form = page.openForm();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));

    const QString text = u"A👨‍👩‍👧 ☀️ ⏱️ ✉️ 😀Z"_s;
    auto* title = part<PlainLineEdit>(form, "alarmTitleField");
    auto* message = part<PlainTextEditor>(form, "alarmMessageField");
    title->clear();
    typeIn(title, text);
    typeIn(message, text);
    EXPECT_EQ(form->buildAlarm().title, text);
    EXPECT_EQ(form->buildAlarm().message, text);
    const QImage formShot = grabFromScreen(form, u"alarm-form-emoji"_s);
    EXPECT_GT(colourfulPixels(formShot, insideOf(form, title)), 40) << "title field";
    EXPECT_GT(colourfulPixels(formShot, insideOf(form, message)), 40) << "message field";

    form->saveAlarm();
    ASSERT_EQ(rig.alarms->alarms().size(), 1);
    EXPECT_EQ(rig.alarms->alarms().constFirst().title, text);
    // A twin has the same coloured time and repeat rule, and the one emoji that no text font
    // has (⏱, always drawn in colour): what the others add is colour only if they are drawn
    // in the colour font.
    Alarm twin = rig.alarms->alarms().constFirst();
    twin.id = Alarm::newId();
    twin.title = u"A⏱️Z"_s;
    twin.message = twin.title;
    rig.alarms->addAlarm(twin);
    ManagementListView* list = page.listView();
    const QImage pageShot = grabFromScreen(&page, u"alarm-row-emoji"_s);
    const auto inkOfRow = [&](const QString& rowTitle) {
        for (int r = 0; r < list->model()->rowCount(); ++r) {
            const QModelIndex index = list->model()->index(r, 0);
            if (index.data(ManagementListModel::RowRole).value<ManagementRow>().title != rowTitle)
                continue;
            const QRect box = ManagementRowDelegate::geometry(list->visualRect(index), true).text;
            return colourfulPixels(
                pageShot, inFrame(&page, QRect(list->viewport()->mapTo(&page, box.topLeft()), box.size())));
        }
        ADD_FAILURE() << "no row titled " << rowTitle.toStdString();
        return 0;
    };
    EXPECT_GT(inkOfRow(text) - inkOfRow(twin.title), 40) << "the row's title and message";
}
