#include "widgets/SegmentedPicker.h"
#include "widgets/ReadableColour.h"
#include "widgets/SecondaryText.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(SegmentedPicker, OneSegmentIsChosenAndOnlyTheUsersChoiceIsAnnounced)
{
    SegmentedPicker picker(u"难度"_s);
    ASSERT_NE(picker.titleLabel(), nullptr);
    EXPECT_EQ(picker.titleLabel()->text(), u"难度"_s);
    EXPECT_EQ(SegmentedPicker().titleLabel(), nullptr);
    for (const auto& [text, id] : { std::pair { u"简单"_s, 7 }, { u"中等"_s, 8 }, { u"困难"_s, 9 } })
        picker.addSegment(text, id);
    EXPECT_EQ(picker.currentId(), -1);
    QSignalSpy clicked(&picker, &SegmentedPicker::segmentClicked);

    picker.setCurrentId(8);
    EXPECT_EQ(picker.currentId(), 8);
    EXPECT_TRUE(clicked.isEmpty());
    picker.segment(9)->click();
    EXPECT_EQ(picker.currentId(), 9);
    EXPECT_FALSE(picker.segment(8)->isChecked());
    picker.segment(9)->click(); // the chosen one again: still chosen, and announced
    EXPECT_TRUE(picker.segment(9)->isChecked());
    ASSERT_EQ(clicked.size(), 2);
    EXPECT_EQ(clicked.at(1).at(0).toInt(), 9);
    picker.setCurrentId(42);
    EXPECT_EQ(picker.currentId(), 9) << "an unknown id changes nothing";
}

TEST(ReadableColour, KeepsTheHueAndReachesTheRatioOnAnyBackground)
{
    const QColor red(0xD9, 0x30, 0x25);
    const QColor green(0x2E, 0xA0, 0x43);
    const struct
    {
        QColor wanted;
        QColor background;
    } cases[] = {
        { red, QColor(239, 239, 239) },
        { red, QColor(53, 53, 53) },
        { green, QColor(239, 239, 239) },
        { green, QColor(40, 40, 42) },
        { green, Qt::white },
        { QColor(128, 128, 128), QColor(120, 120, 120) },
    };
    for (const auto& c : cases) {
        const QColor readable = ReadableColour::on(c.wanted, c.background);
        EXPECT_GE(SecondaryText::contrast(readable, c.background), 4.5)
            << c.wanted.name().toStdString() << " on " << c.background.name().toStdString();
        if (c.wanted.hslSaturation() > 0) {
            EXPECT_NEAR(readable.hslHue(), c.wanted.hslHue(), 4) << c.wanted.name().toStdString();
        }
    }
    const QColor dark(0x11, 0x63, 0x29);
    EXPECT_EQ(ReadableColour::on(dark, Qt::white), dark) << "a colour that reads already stays";
}

TEST(ReadableColour, ATintedLabelFollowsThePalette)
{
    QLabel label(u"昵称不能为空"_s);
    ReadableColour::tint(&label, QColor(0xD9, 0x30, 0x25));
    for (const QColor& window : { QColor(239, 239, 239), QColor(53, 53, 53), QColor(239, 239, 239) }) {
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Window, window);
        QApplication::setPalette(palette);
        QCoreApplication::processEvents();
        const QColor text = label.palette().color(QPalette::WindowText);
        EXPECT_GE(SecondaryText::contrast(text, window), 4.5) << window.name().toStdString();
        EXPECT_GT(text.red(), text.green() + 40) << "still red";
    }
    QApplication::setPalette(QPalette());
}
