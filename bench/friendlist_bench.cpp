// Scrolling the friends page's list of 1,000 cards: the time to lay the list out once, and
// to paint the visible cards after each 40 px scroll step, as the page does while the user
// scrolls. Prints the median and the 99th percentile of 500 steps.
#include "friends/FriendListModel.h"
#include "friends/FriendManager.h"
#include "friends/FriendRowView.h"
#include "platform/Defaults.h"
#include "platform/LogManager.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QPixmap>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    constexpr int friends = 1000;
    QStandardItemModel model(friends, 1);
    for (int i = 0; i < friends; ++i) {
        auto* item = new QStandardItem;
        item->setData(i + 1, FriendListModel::FriendIdRole);
        item->setData(QString(u"朋友 "_s + QString::number(i) + u" 🐾 <b>nick</b>"_s), FriendListModel::NicknameRole);
        item->setData(i % 2 ? u"🐶"_s : u"🐱"_s, FriendListModel::AvatarRole);
        item->setData(QDateTime(QDate(2024, 1 + i % 12, 1 + i % 28), QTime(8, 0)), FriendListModel::FriendSinceRole);
        item->setData(i % 7 == 0, FriendListModel::PinnedRole);
        model.setItem(i, item);
    }

    QTemporaryDir dir;
    LogManager log(dir.path()); // the friend manager logs as it starts
    const ScopedSharedInstance<LogManager> installLog(log);
    Defaults defaults(dir.filePath(u"defaults.json"_s));
    FriendManager friendManager({}, defaults);
    QListView view;
    FriendRowView delegate(friendManager);
    view.setUniformItemSizes(true);
    view.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view.setItemDelegate(&delegate);
    view.resize(560, 420);
    view.show();
    QApplication::processEvents();

    QElapsedTimer layout;
    layout.start();
    view.setModel(&model);
    QApplication::processEvents(); // the view lays its rows out on the next turn
    view.viewport()->grab();
    std::printf("%-34s %9.2f ms\n", "set 1,000 rows and paint once", static_cast<double>(layout.nsecsElapsed()) / 1e6);

    constexpr int steps = 500;
    std::vector<double> ms;
    ms.reserve(steps);
    QScrollBar* bar = view.verticalScrollBar();
    for (int i = 0; i < steps; ++i) {
        QElapsedTimer timer;
        timer.start();
        bar->setValue((bar->value() + 40) % std::max(1, bar->maximum()));
        const QPixmap frame = view.viewport()->grab();
        Q_ASSERT(!frame.isNull());
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-34s %d x %d px, scroll range %d px\n", "viewport", view.viewport()->width(),
        view.viewport()->height(), bar->maximum());
    std::printf("%-34s median %6.2f ms  p99 %6.2f ms  (%d px rows, %d rows)\n", "scroll 40 px and paint",
        ms[ms.size() / 2], ms[ms.size() * 99 / 100], FriendRowView::cardHeight + FriendRowView::rowSpacing,
        model.rowCount());
    return 0;
}
