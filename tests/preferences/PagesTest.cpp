// The general, appearance and advanced pages: each control writes its key and reaches the
// pet, and each page shows what the managers hold, also values stored out of range.
#include "PreferencesRig.h"

#include "platform/Alerts.h"
#include "platform/FloatingWindow.h"
#include "preferences/AdvancedPreferencesView.h"
#include "preferences/AppearancePreferencesView.h"
#include "preferences/GeneralPreferencesView.h"
#include "support/LogLines.h"
#include "support/Wait.h"
#include "widgets/PlainLabel.h"
#include "widgets/SegmentedPicker.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QJsonArray>
#include <QPushButton>
#include <QSlider>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

template<typename T = QSlider>
T* part(QWidget* page, const char* name)
{
    T* found = page->findChild<T*>(QString::fromLatin1(name));
    EXPECT_TRUE(found) << name;
    return found;
}

QString text(QWidget* page, const char* name)
{
    return part<PlainLabel>(page, name)->fullText();
}

} // namespace

TEST(SpeedLabel, NamesTheRangeOnlyForValuesInsideIt)
{
    const struct
    {
        double value;
        QString label;
    } cases[] = {
        { 0.5, u"慢速 0.5x"_s },
        { 0.7, u"慢速 0.7x"_s },
        { 0.78, u"0.8x"_s },
        { 0.8, u"中速 0.8x"_s },
        { 1.0, u"中速 1.0x"_s },
        { 1.2, u"中速 1.2x"_s },
        { 1.2000000000000002, u"1.2x"_s },
        { 1.3, u"快速 1.3x"_s },
        { 2.0, u"快速 2.0x"_s },
        { 2.5, u"2.5x"_s },
        { 0.2, u"0.2x"_s },
    };
    for (const auto& c : cases)
        EXPECT_EQ(GeneralPreferencesView::speedLabel(c.value), c.label) << c.value;
    // Every value the slider sets carries its word.
    for (int tenths = 5; tenths <= 20; ++tenths)
        EXPECT_TRUE(GeneralPreferencesView::speedLabel(tenths / 10.0).contains(u' ')) << tenths;
}

TEST_F(PreferencesRig, SpeedSliderStoresAndDrivesThePetAtOnceWithOneFileWrite)
{
    GeneralPreferencesView page(petState, systemInfo);
    QSlider* slider = part(&page, "speedSlider");
    EXPECT_EQ(slider->value(), 10);
    EXPECT_EQ(text(&page, "speedLabel"), u"中速 1.0x"_s);

    const int writesBefore = defaults.writeCount();
    for (int tenths = 11; tenths <= 15; ++tenths)
        slider->setValue(tenths);
    EXPECT_EQ(petState.data().moveSpeedMultiplier, 1.5);
    EXPECT_EQ(defaults.doubleValue(PetState::speedKey), 1.5);
    EXPECT_EQ(text(&page, "speedLabel"), u"快速 1.5x"_s);
    ASSERT_TRUE(waitUntil([&] { return defaults.writeCount() > writesBefore; }, 3000));
    EXPECT_EQ(defaults.writeCount(), writesBefore + 1) << "a drag is one write of the file";

    // Changes made elsewhere show at once.
    petState.updateMoveSpeed(0.6);
    EXPECT_EQ(slider->value(), 6);
    EXPECT_EQ(text(&page, "speedLabel"), u"慢速 0.6x"_s);
}

TEST_F(PreferencesRig, SpeedStoredOutOfRangeShowsAtTheSliderEndAndStaysUntilMoved)
{
    for (const double stored : { 7.0, 0.01, 1e300, -3.0 }) {
        petState.updateMoveSpeed(stored);
        GeneralPreferencesView page(petState, systemInfo);
        QSlider* slider = part(&page, "speedSlider");
        EXPECT_EQ(slider->value(), stored > 1 ? 20 : 5) << stored;
        EXPECT_EQ(defaults.doubleValue(PetState::speedKey), stored) << "opening the page rewrites nothing";
    }
}

TEST_F(PreferencesRig, AppearanceSlidersStoreTheirKeysAndReachThePet)
{
    windowManager.createPetWindow();
    FloatingWindow* pet = windowManager.petWindow();
    ASSERT_TRUE(pet);
    AppearancePreferencesView page(opacity, multiPet, doNotDisturb, appearance);
    EXPECT_EQ(text(&page, "opacityValue"), u"100%"_s);
    EXPECT_EQ(text(&page, "cloneValue"), u"3秒"_s);
    EXPECT_EQ(text(&page, "bottomOffsetValue"), u"10px"_s);
    EXPECT_EQ(text(&page, "currentPetPrefix") + part<QLabel>(&page, "currentPetEmoji")->text()
            + text(&page, "currentPetName"),
        u"当前宠物：🐱 小猫"_s);
    EXPECT_EQ(part<QWidget>(&page, "currentPet")->accessibleName(), u"当前宠物：🐱 小猫"_s);

    QSlider* opacitySlider = part(&page, "opacitySlider");
    QList<double> stored;
    QObject::connect(&opacity, &OpacityManager::defaultOpacityChanged, [&](double v) { stored.append(v); });
    for (int tenths = 9; tenths >= 3; --tenths)
        opacitySlider->setValue(tenths);
    EXPECT_EQ(stored, (QList<double> { 0.9, 0.8, 0.7, 0.6, 0.5, 0.4, 0.3 })) << "each step of a drag applies";
    EXPECT_EQ(defaults.doubleValue(OpacityManager::defaultOpacityKey), 0.3);
    EXPECT_EQ(text(&page, "opacityValue"), u"30%"_s);

    part(&page, "cloneSlider")->setValue(7);
    EXPECT_EQ(multiPet.cloneDismissTime(), 7.0);
    EXPECT_EQ(defaults.doubleValue(MultiPetManager::cloneDismissTimeKey), 7.0);
    EXPECT_EQ(text(&page, "cloneValue"), u"7秒"_s);

    // Outside do-not-disturb the offset is only stored; inside it the pet moves at once.
    const QRectF before = pet->modelFrame();
    part(&page, "bottomOffsetSlider")->setValue(-60);
    EXPECT_EQ(defaults.doubleValue(DoNotDisturbManager::bottomOffsetKey), -60.0);
    EXPECT_EQ(text(&page, "bottomOffsetValue"), u"-60px"_s);
    EXPECT_EQ(pet->modelFrame(), before);
    doNotDisturb.setDoNotDisturbMode(true);
    part(&page, "bottomOffsetSlider")->setValue(40);
    EXPECT_EQ(pet->modelFrame().y(), 40.0);
}

TEST_F(PreferencesRig, AppearanceShowsOutsideChangesAndChoosingTheSameTypeDoesNothing)
{
    AppearancePreferencesView page(opacity, multiPet, doNotDisturb, appearance);
    opacity.setDefaultOpacity(0.57);
    EXPECT_EQ(text(&page, "opacityValue"), u"57%"_s) << "0.57 × 100 is held as 56.99…";
    EXPECT_EQ(part(&page, "opacitySlider")->value(), 6);
    // Stored by hand beyond the slider: the slider sits at its end, the text tells the truth.
    opacity.setDefaultOpacity(0.05);
    EXPECT_EQ(part(&page, "opacitySlider")->value(), 3);
    EXPECT_EQ(text(&page, "opacityValue"), u"5%"_s);
    EXPECT_EQ(defaults.doubleValue(OpacityManager::defaultOpacityKey), 0.05);
    multiPet.setCloneDismissTime(9.9);
    EXPECT_EQ(text(&page, "cloneValue"), u"9秒"_s);
    doNotDisturb.setBottomOffset(-0.5);
    EXPECT_EQ(text(&page, "bottomOffsetValue"), u"0px"_s);

    int announced = 0;
    QObject::connect(&appearance, &PetAppearanceManager::currentPetTypeChanged, [&] { ++announced; });
    auto* cat = part<QAbstractButton>(&page, "petType_cat");
    EXPECT_TRUE(cat->isChecked());
    cat->click();
    EXPECT_EQ(announced, 0);
}

TEST_F(PreferencesRig, ResetPutsThePetNearTheMiddleOnlyWhenConfirmed)
{
    windowManager.createPetWindow();
    petState.updatePosition(QPointF(10, 20));
    AdvancedPreferencesView page(petState, windowManager, screens, notifications, [](const QUrl&) { return true; });
    EXPECT_EQ(text(&page, "positionValue"), u"(10, 20)"_s);

    Alerts::setNextAnswers({ 0 });
    part<QPushButton>(&page, "resetButton")->click();
    EXPECT_EQ(Alerts::answeredAlerts().constLast().title, u"确认重置"_s);
    EXPECT_EQ(petState.data().position, QPointF(10, 20));
    EXPECT_FALSE(loggedLines(u"Settings"_s).contains(u"宠物状态已重置"_s));

    Alerts::setNextAnswers({ 1 });
    part<QPushButton>(&page, "resetButton")->click();
    EXPECT_EQ(petState.data().position, QPointF(928, 508));
    EXPECT_EQ(defaults.value(PetState::positionKey).toArray(), (QJsonArray { 928, 508 }));
    EXPECT_EQ(windowManager.getCurrentWindowPosition(), QPointF(928, 508));
    EXPECT_EQ(text(&page, "positionValue"), u"(928, 508)"_s);
    EXPECT_TRUE(loggedLines(u"Settings"_s).contains(u"宠物状态已重置"_s));

    // Without a screen nothing moves, and the reset is still logged.
    screens.setGeometries({});
    petState.updatePosition(QPointF(1.9, -2.7));
    page.resetPetState();
    EXPECT_EQ(petState.data().position, QPointF(1.9, -2.7));
    EXPECT_EQ(text(&page, "positionValue"), u"(1, -2)"_s);
    EXPECT_EQ(loggedLines(u"Settings"_s).count(u"宠物状态已重置"_s), 2);
}

TEST_F(PreferencesRig, AboutBlockOpensTheWebsiteAndCopiesTheContact)
{
    AdvancedPreferencesView page(petState, windowManager, screens, notifications, services().openUrl);
    part<QPushButton>(&page, "websiteButton")->click();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.constFirst(), QUrl(ProductInfo::websiteAddress));
    EXPECT_TRUE(loggedLines(u"UI"_s).contains(u"🌐 打开官网: "_s + opened.constFirst().host()));

    for (int i = 0; i < 2; ++i)
        part<QPushButton>(&page, "copyContactButton")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), ProductInfo::contactId);
    EXPECT_EQ(notifications.notificationHistory().size(), 2);
    EXPECT_EQ(notifications.notificationHistory().constFirst().title, u"已复制"_s);

    QCoreApplication::setApplicationVersion(u"2.3.4"_s);
    EXPECT_EQ(AdvancedPreferencesView::versionLine(), u"Tamsel v2.3.4"_s);
    QCoreApplication::setApplicationVersion({});
    EXPECT_EQ(AdvancedPreferencesView::versionLine(), u"Tamsel v未知"_s);
}

// The value frames have their stated widths at the default font; at a larger one they grow
// with their widest value, and no text of the pages is cut.
TEST_F(PreferencesRig, ValuesKeepTheirWidthsAndNoTextIsCutAtALargerFont)
{
    const QFont standard = QApplication::font();
    for (const bool larger : { false, true }) {
        SCOPED_TRACE(larger ? "12 pt" : "default font");
        if (larger) {
            QFont font = standard;
            font.setPointSizeF(12);
            QApplication::setFont(font);
        }
        GeneralPreferencesView general(petState, systemInfo);
        AppearancePreferencesView appearance(opacity, multiPet, doNotDisturb, this->appearance);
        // The widest value each can show.
        petState.updateMoveSpeed(2.0);
        opacity.setDefaultOpacity(1.0);
        multiPet.setCloneDismissTime(10.0);
        doNotDisturb.setBottomOffset(-60.0);
        const struct
        {
            QWidget* page;
            const char* name;
            int width;
        } values[] = {
            { &general, "speedLabel", 60 },
            { &appearance, "opacityValue", 45 },
            { &appearance, "cloneValue", 45 },
            { &appearance, "bottomOffsetValue", 50 },
        };
        for (const auto& value : values) {
            auto* label = part<PlainLabel>(value.page, value.name);
            if (!larger)
                EXPECT_EQ(label->width(), value.width) << value.name;
            else
                EXPECT_GE(label->width(), value.width) << value.name;
        }
        for (QWidget* page : { static_cast<QWidget*>(&general), static_cast<QWidget*>(&appearance) }) {
            page->resize(page->sizeHint());
            page->grab(); // lays the page out
            if (page == &general) {
                // The resource figures' stack keeps 4 px inside its panel above and below.
                const QWidget* cpuRow = part<QWidget>(page, "cpuValue")->parentWidget();
                const auto* panel = qobject_cast<const QFrame*>(cpuRow->parentWidget());
                ASSERT_TRUE(panel);
                const QList<QLabel*> captions = panel->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
                ASSERT_FALSE(captions.isEmpty());
                EXPECT_EQ(cpuRow->geometry().top() - panel->contentsRect().top(), 4);
                EXPECT_EQ(panel->contentsRect().bottom() - captions.last()->geometry().bottom(), 4);
            }
            for (const QLabel* label : page->findChildren<QLabel*>()) {
                if (label->wordWrap() || label->text().isEmpty())
                    continue;
                EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(label->text()))
                    << label->text().toStdString();
            }
            for (const QAbstractButton* segment : page->findChildren<PickerSegment*>())
                EXPECT_GE(segment->width(), segment->fontMetrics().horizontalAdvance(segment->text()));
        }
    }
    QApplication::setFont(standard);
}
