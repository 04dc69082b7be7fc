#include "platform/Defaults.h"

#include "support/Wait.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(Defaults, MissingValuesReadAsZeroFalseAndNull)
{
    QTemporaryDir dir;
    Defaults d(dir.filePath(u"defaults.json"_s));
    EXPECT_EQ(d.integer(u"PetMoveSpeed"_s), 0);
    EXPECT_EQ(d.doubleValue(u"PetMoveSpeed"_s), 0.0);
    EXPECT_FALSE(d.boolean(u"IsLoggedIn"_s));
    EXPECT_TRUE(d.string(u"UserMode"_s).isNull());
    EXPECT_FALSE(d.contains(u"UserMode"_s));

    d.setValue(u"Huge"_s, 1e300);
    EXPECT_EQ(d.integer(u"Huge"_s), 0) << "an out-of-range number must not overflow an int";
}

TEST(Defaults, BurstOfSetsIsOneWriteAndSurvivesReload)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"sub/defaults.json"_s);
    {
        Defaults d(path);
        for (int i = 0; i < 50; ++i)
            d.setValue(u"PetPosition"_s, QJsonObject { { u"x"_s, i }, { u"y"_s, 2 * i } });
        EXPECT_EQ(d.writeCount(), 0) << "sets must not write at once";
        ASSERT_TRUE(waitUntil([&] { return d.writeCount() > 0; }, 3000));
        EXPECT_EQ(d.writeCount(), 1);
        d.setValue(u"IsLoggedIn"_s, true);
    } // destruction writes what is pending
    Defaults reloaded(path);
    EXPECT_EQ(reloaded.object(u"PetPosition"_s).value(u"x"_s).toInt(), 49);
    EXPECT_TRUE(reloaded.boolean(u"IsLoggedIn"_s));
}

TEST(Defaults, RelaxedChangeWaitsUntilASoonChangeTakesItAlong)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"defaults.json"_s);
    Defaults d(path);
    d.setValue(u"PetPosition"_s, QJsonArray { 1, 2 }, Defaults::Write::Relaxed);
    QTest::qWait(Defaults::writeDelayMs + 500);
    EXPECT_EQ(d.writeCount(), 0) << "a relaxed change must not be written after the ordinary delay";

    // A change that must not wait takes the pending position with it, within the ordinary delay.
    d.setValue(u"IsLoggedIn"_s, true);
    ASSERT_TRUE(waitUntil([&] { return d.writeCount() > 0; }, Defaults::writeDelayMs + 1000));
    EXPECT_EQ(
        QJsonDocument::fromJson(readFile(path)).object().value(u"PetPosition"_s).toArray(), (QJsonArray { 1, 2 }));

    // Relaxed changes alone are still written in the end.
    d.setValue(u"PetPosition"_s, QJsonArray { 3, 4 }, Defaults::Write::Relaxed);
    ASSERT_TRUE(waitUntil([&] { return d.writeCount() > 1; }, Defaults::relaxedWriteDelayMs + 2000));
    EXPECT_EQ(
        QJsonDocument::fromJson(readFile(path)).object().value(u"PetPosition"_s).toArray(), (QJsonArray { 3, 4 }));
}

TEST(Defaults, CorruptFileIsMovedAsideNotOverwritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"defaults.json"_s);
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{ not json");
    }
    Defaults d(path);
    EXPECT_FALSE(d.contains(u"anything"_s));
    const QStringList aside = QDir(dir.path()).entryList({ u"defaults.json.corrupt-*"_s });
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(readFile(dir.filePath(aside.first())), QByteArray("{ not json"));

    d.setValue(u"SelectedTheme"_s, u"dark"_s);
    ASSERT_TRUE(d.flush());
    EXPECT_EQ(QJsonDocument::fromJson(readFile(path)).object().value(u"SelectedTheme"_s).toString(), u"dark"_s);
}

TEST(Defaults, TemporariesLeftByAnInterruptedWriteAreClearedAtStart)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"defaults.json"_s);
    const auto touch = [&](const QString& name, const QByteArray& content) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    };
    touch(u"defaults.json"_s, R"({"SelectedTheme":"dark"})");
    touch(u"defaults.json.aB3xY9"_s, R"({"SelectedTheme":)");
    touch(u"defaults.json.Q0w1E2"_s, "");
    // Not ours to remove: a moved-aside corrupt file, another file's temporary, and names
    // that only look alike.
    const QStringList kept { u"defaults.json.corrupt-20260105-140307"_s, u"other.json.aB3xY9"_s,
        u"defaults.json.ab-123"_s, u"defaults.json.abc12"_s };
    for (const QString& name : kept)
        touch(name, "keep");

    Defaults d(path);
    EXPECT_EQ(d.string(u"SelectedTheme"_s), u"dark"_s);
    QStringList expected = kept;
    expected << u"defaults.json"_s;
    expected.sort();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name).join(u' ').toStdString(),
        expected.join(u' ').toStdString());
}
