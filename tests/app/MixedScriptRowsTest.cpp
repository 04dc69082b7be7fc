// Painted rows and cards draw a line that mixes Chinese and Latin text whole. The Chinese
// comes from a fallback font whose line is taller than the base font's; drawn into a box one
// base line tall, such a line lost the bottom of its glyphs, an underscore among them.
#include "driftbottle/ConversationListModel.h"
#include "driftbottle/ConversationRowView.h"
#include "driftbottle/unwired/BottleListModel.h"
#include "driftbottle/unwired/BottleRowView.h"
#include "friends/FriendListModel.h"
#include "friends/FriendManager.h"
#include "friends/FriendRowView.h"
#include "platform/Defaults.h"
#include "reminders/pages/ManagementListModel.h"
#include "reminders/pages/ManagementRowDelegate.h"
#include "support/DrawnText.h"
#include "support/Screenshots.h"

#include <QApplication>
#include <QPainter>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

/// `delegate` painting row 0 of `model`, 400 pixels wide, on white.
QImage paintedRow(const QStyledItemDelegate& delegate, const QAbstractItemModel& model)
{
    QStyleOptionViewItem option;
    option.font = QApplication::font();
    option.palette = lightPalette();
    const QModelIndex index = model.index(0, 0);
    option.rect = QRect(QPoint(0, 0), QSize(400, 1));
    option.rect.setHeight(delegate.sizeHint(option, index).height());
    QImage image(option.rect.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    delegate.paint(&painter, option, index);
    return image;
}

/// The box around the pixels where `a` and `b` differ.
QRect difference(const QImage& a, const QImage& b)
{
    QRect box;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

QImage conversationRow(const QString& name, const QString& message)
{
    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), name, ConversationListModel::NameRole);
    model.setData(model.index(0, 0), message, ConversationListModel::LastMessageRole);
    model.setData(model.index(0, 0), true, ConversationListModel::HasReplyRole);
    return paintedRow(ConversationRowView(), model);
}

QImage bottleCard(const QString& content)
{
    DriftBottle bottle;
    bottle.id = u"b"_s;
    bottle.senderName = u"鲍勃"_s;
    bottle.content = content;
    BottleListModel model;
    model.setBottles({ bottle });
    return paintedRow(BottleRowView(false), model);
}

QImage friendCard(const QString& nickname)
{
    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), nickname, FriendListModel::NicknameRole);
    QTemporaryDir dir;
    Defaults defaults(dir.filePath(u"defaults.json"_s));
    FriendManager friends({}, defaults);
    return paintedRow(FriendRowView(friends), model);
}

QImage managementRow(const QString& message, const QString& details)
{
    ManagementRow row;
    row.title = u"站会"_s;
    row.message = message;
    row.details = { { details, {} } };
    row.accent = RowColours::blue;
    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), QVariant::fromValue(row), ManagementListModel::RowRole);
    return paintedRow(ManagementRowDelegate(8, false), model);
}

} // namespace

TEST(MixedScriptRows, EveryPaintedLineKeepsTheUnderscoreOfItsLatinWords)
{
    const struct
    {
        const char* what;
        std::function<QImage(const QString&)> paint;
    } rows[] = {
        { "conversation name", [](const QString& text) { return conversationRow(text, u"好"_s); } },
        { "conversation message", [](const QString& text) { return conversationRow(u"鲍勃"_s, text); } },
        { "bottle card preview", bottleCard },
        { "friend nickname", friendCard },
        { "reminder message", [](const QString& text) { return managementRow(text, u"每天"_s); } },
        { "alarm details", [](const QString& text) { return managementRow(u"带上笔记本"_s, text); } },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        // The same row with and without an underscore closing the line: only the underscore
        // tells them apart.
        const QImage underscored = row.paint(u"中文 下划线 a_"_s);
        const QImage plain = row.paint(u"中文 下划线 a"_s);
        saveShot(underscored, u"mixed-script-"_s + QString::fromLatin1(row.what).replace(u' ', u'-'));
        const QRect underscore = difference(underscored, plain);
        if (underscore.isEmpty()) {
            ADD_FAILURE() << "no underscore drawn";
            continue;
        }
        // A thin stroke just under the letter beside it.
        const QRect letter
            = inkIn(plain, QRect(underscore.left() - 8, underscore.top() - 10, underscore.width() + 16, 10), 1.49).box;
        EXPECT_LE(underscore.height(), 3) << ::testing::PrintToString(underscore);
        EXPECT_FALSE(letter.isEmpty());
        EXPECT_GE(underscore.top(), letter.bottom() - 1)
            << ::testing::PrintToString(underscore) << " under " << ::testing::PrintToString(letter);
    }
}
