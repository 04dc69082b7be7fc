// The conversation rows: their texts, and a list that follows refreshes row by row so that
// the scroll position, the hover and the highlighted row survive.
#include "BottleWindowRig.h"

#include "driftbottle/ConversationListModel.h"
#include "driftbottle/ConversationRowView.h"
#include "support/DarkPalette.h"
#include "support/DrawnText.h"
#include "widgets/EmojiLabel.h"

#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

Conversation conversation(std::optional<QString> name, std::optional<QString> emoji, ConversationType type)
{
    Conversation c;
    c.bottleId = u"b1"_s;
    c.otherUserName = std::move(name);
    c.otherUserEmoji = std::move(emoji);
    c.conversationType = type;
    return c;
}

} // namespace

TEST(ConversationRows, NameAndAvatar)
{
    struct Case
    {
        std::optional<QString> name;
        std::optional<QString> emoji;
        ConversationType type;
        QString shownName;
        QString shownAvatar;
    };
    const Case cases[] = {
        { u"鲍勃"_s, u"🐶"_s, ConversationType::received, u"鲍勃"_s, u"🐶"_s },
        { std::nullopt, std::nullopt, ConversationType::sent, u"等待捡起..."_s, u"🐱"_s },
        { std::nullopt, std::nullopt, ConversationType::received, u"未知用户"_s, u"🐱"_s },
        { u""_s, u""_s, ConversationType::sent, u"等待捡起..."_s, u""_s },
        { u""_s, u""_s, ConversationType::received, u"未知用户"_s, u""_s },
        { u"<b>x</b>\u202Eevil"_s, u"🐶"_s, ConversationType::sent, u"<b>x</b>\u202Eevil"_s, u"🐶"_s },
    };
    for (const Case& c : cases) {
        const Conversation row = conversation(c.name, c.emoji, c.type);
        EXPECT_EQ(ConversationListModel::displayName(row), c.shownName) << c.shownName.toStdString();
        EXPECT_EQ(ConversationListModel::avatar(row), c.shownAvatar) << c.shownName.toStdString();
    }
}

namespace {

/// The box around the strongly coloured pixels of `image`: where a colour emoji was drawn.
QRect colourBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).hsvSaturation() > 120)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(ConversationRows, AvatarIsDrawnAtFortyPixelsAndFitsItsRow)
{
    QStandardItemModel model(1, 1);
    const QModelIndex index = model.index(0, 0);
    model.setData(index, u"🐶"_s, ConversationListModel::AvatarRole);
    model.setData(index, u"鲍勃"_s, ConversationListModel::NameRole);
    model.setData(index, true, ConversationListModel::HasReplyRole);
    ConversationRowView delegate;
    QStyleOptionViewItem option;
    option.font = QApplication::font();
    option.palette = QApplication::palette();
    const QSize size = delegate.sizeHint(option, index);
    option.rect = QRect(QPoint(0, 0), QSize(300, size.height()));
    QImage row(option.rect.size(), QImage::Format_RGB32);
    row.fill(Qt::white);
    {
        QPainter painter(&row);
        delegate.paint(&painter, option, index);
    }

    // The same emoji drawn on its own at 40 pixels.
    QFont font = EmojiLabel::emojiFont(QApplication::font());
    font.setPixelSize(40);
    QImage alone(120, 120, QImage::Format_RGB32);
    alone.fill(Qt::white);
    {
        QPainter painter(&alone);
        painter.setFont(font);
        painter.drawText(alone.rect(), Qt::AlignCenter, u"🐶"_s);
    }
    const QRect drawn = colourBox(row);
    const QRect expected = colourBox(alone);
    ASSERT_FALSE(expected.isEmpty()) << "no colour emoji font";
    EXPECT_EQ(drawn.size(), expected.size());
    EXPECT_GE(drawn.top(), 0);
    EXPECT_LT(drawn.bottom(), size.height() - 1) << "inside its row, above the divider";
}

TEST(ConversationRows, TimeIsClockTimeTodayYesterdayOrTheDate)
{
    const QDateTime now(QDate(2026, 3, 1), QTime(0, 30));
    struct Case
    {
        QDateTime time;
        QString shown;
    };
    const Case cases[] = {
        { QDateTime(QDate(2026, 3, 1), QTime(0, 5)), u"00:05"_s },
        { QDateTime(QDate(2026, 3, 1), QTime(21, 40)), u"21:40"_s }, // later today
        { QDateTime(QDate(2026, 2, 28), QTime(23, 59)), u"昨天"_s }, // across a month end
        { QDateTime(QDate(2026, 2, 27), QTime(12, 0)), u"02-27"_s },
        { QDateTime(QDate(2025, 3, 1), QTime(9, 5)), u"03-01"_s }, // a year ago: no year
        { QDateTime(QDate(2026, 3, 2), QTime(8, 0)), u"03-02"_s }, // tomorrow is not today
        { QDateTime(QDate(2026, 2, 28), QTime(23, 0)).toUTC(), u"昨天"_s }, // the server sends UTC
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConversationListModel::formatTime(c.time, now), c.shown) << c.time.toString().toStdString();
}

class ConversationListRig : public BottleWindowRig
{
protected:
    void SetUp() override
    {
        BottleWindowRig::SetUp();
        for (int i = 0; i < 40; ++i) {
            const QString id = server.state().addBottle(bob, u"瓶子 "_s + QString::number(i));
            server.state().pickBottle(id, alice);
            ids.prepend(id); // newest first, as the list comes
        }
    }

    QStringList ids;
};

TEST_F(ConversationListRig, RefreshKeepsScrollAndHighlight)
{
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    QListView* list = window->conversationList();
    ASSERT_EQ(list->model()->rowCount(), 40);
    auto* model = static_cast<ConversationListModel*>(list->model());

    // Select a row in the middle and scroll to it.
    const QString selected = ids.at(20);
    conversations->selectConversation(model->conversationAt(model->rowOf(selected)));
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum() / 2);
    const int scroll = list->verticalScrollBar()->value();
    ASSERT_GT(scroll, 0);

    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy moves(model, &QAbstractItemModel::rowsMoved);
    QSignalSpy changes(model, &QAbstractItemModel::dataChanged);

    // Bob answers in a conversation further down: it moves to the top.
    server.state().addReply(ids.at(30), bob, alice, u"新消息"_s);
    const qsizetype before = server.requests().size();
    refreshTick();
    ASSERT_TRUE(waitUntil([&] { return server.requests().size() > before && !moves.isEmpty(); }));
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(model->conversationAt(0).bottleId, ids.at(30));
    EXPECT_EQ(list->verticalScrollBar()->value(), scroll);

    // The highlight stays on the selected bottle, wherever its row went.
    for (int row = 0; row < model->rowCount(); ++row) {
        const bool highlighted = model->index(row).data(ConversationListModel::SelectedRole).toBool();
        EXPECT_EQ(highlighted, model->conversationAt(row).bottleId == selected) << row;
    }

    // A refresh that brings the same list changes nothing at all.
    changes.clear();
    const qsizetype again = server.requests().size();
    refreshTick();
    ASSERT_TRUE(waitUntil([&] { return server.requests().size() > again; }));
    QTest::qWait(50);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(resets.count(), 0);
}

TEST_F(ConversationListRig, OneRowMoreOrLessIsInsertedOrRemovedNotReset)
{
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    auto* model = static_cast<ConversationListModel*>(window->conversationList()->model());
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removals(model, &QAbstractItemModel::rowsRemoved);

    ASSERT_TRUE(await(conversations->deleteConversation(ids.at(5))).ok());
    EXPECT_EQ(removals.count(), 1);
    EXPECT_EQ(model->rowCount(), 39);
    EXPECT_EQ(model->rowOf(ids.at(5)), -1);

    server.state().addBottle(bob, u"新瓶子"_s);
    ASSERT_TRUE(await(conversations->pickBottle()).ok());
    EXPECT_EQ(inserts.count(), 1);
    EXPECT_EQ(model->rowCount(), 40);
    EXPECT_EQ(resets.count(), 0);
    for (int row = 0; row < model->rowCount(); ++row)
        EXPECT_EQ(model->conversationAt(row).bottleId, conversations->conversations().at(row).bottleId);
}

TEST(ConversationRows, DividerShowsUnderEveryRowInLightAndDarkPalettes)
{
    // A desktop's dark theme may give a mid-light shade next to its base colour: the divider
    // must not depend on it.
    QPalette desktopDark = darkDesktopPalette();
    desktopDark.setColor(QPalette::Base, QColor(35, 38, 41));
    desktopDark.setColor(QPalette::Midlight, QColor(36, 39, 43));
    const struct
    {
        const char* name;
        QPalette palette;
    } cases[] = {
        { "light", QApplication::palette() },
        { "dark", darkDesktopPalette() },
        { "desktop dark", desktopDark },
    };
    QStandardItemModel model(1, 1);
    const QModelIndex index = model.index(0, 0);
    model.setData(index, u"🐶"_s, ConversationListModel::AvatarRole);
    model.setData(index, u"鲍勃"_s, ConversationListModel::NameRole);
    model.setData(index, true, ConversationListModel::HasReplyRole);
    ConversationRowView delegate;
    for (const auto& c : cases) {
        QStyleOptionViewItem option;
        option.font = QApplication::font();
        option.palette = c.palette;
        option.rect = QRect(QPoint(0, 0), QSize(300, delegate.sizeHint(option, index).height()));
        QImage row(option.rect.size(), QImage::Format_RGB32);
        const QColor base = c.palette.color(QPalette::Base);
        row.fill(base);
        {
            QPainter painter(&row);
            delegate.paint(&painter, option, index);
        }
        const int bottom = row.height() - 1;
        const int x = ConversationRowView::dividerInset + 100;
        EXPECT_GE(contrastRatio(row.pixelColor(x, bottom), base), 1.3) << c.name;
        EXPECT_EQ(row.pixelColor(x, bottom - 1), base) << c.name << ": one sharp line";
        EXPECT_EQ(row.pixelColor(ConversationRowView::dividerInset - 2, bottom), base) << c.name << ": inset";
    }
}
