#pragma once

#include "ReminderRig.h"

#include "platform/Screens.h"
#include "reminders/AlarmManager.h"
#include "reminders/AlarmWindowManager.h"
#include "reminders/pages/ManagementListModel.h"
#include "reminders/pages/ManagementListView.h"
#include "reminders/pages/ManagementRowDelegate.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

/// Both managers over one fake clock and defaults file, for the management pages.
struct PagesRig : ReminderRig
{
    Screens screens { QList<ScreenGeometry> { { QRect(0, 0, 1440, 900), QRect(0, 30, 1440, 870) } } };
    AlarmWindowManager windows { screens };
    std::unique_ptr<AlarmManager> alarms;

    PagesRig()
    {
        create();
        alarms = std::make_unique<AlarmManager>(clock, defaults, ticker, windows);
    }

    /// A beat of the ticker at `time`, and the cards it queued.
    void ringAt(const QDateTime& time)
    {
        beatAt(time);
        QCoreApplication::sendPostedEvents();
    }
};

/// Clicks a part (switch, edit, delete) of a painted row, as the user would.
inline void clickRowPart(ManagementListView* view, int row, ManagementRowDelegate::Part part)
{
    const QModelIndex index = view->model()->index(row, 0);
    const auto content = index.data(ManagementListModel::RowRole).value<ManagementRow>();
    const ManagementRowDelegate::Geometry g = ManagementRowDelegate::geometry(view->cardRect(row), content.canDelete);
    QRect target;
    switch (part) {
    case ManagementRowDelegate::Part::toggle:
        target = g.toggle;
        break;
    case ManagementRowDelegate::Part::edit:
        target = g.edit;
        break;
    case ManagementRowDelegate::Part::remove:
        target = g.remove;
        break;
    case ManagementRowDelegate::Part::none:
        target = g.text;
        break;
    }
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, target.center());
}

template<typename T = QWidget>
T* part(const QObject* root, const char* name)
{
    T* found = root->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}
