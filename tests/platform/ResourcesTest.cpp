#include "platform/Resources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

void touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

TEST(Resources, LooksInTheSubdirectoryFirstThenAtTheRoot)
{
    QTemporaryDir dir;
    const QString catFolder = u"Resources/LottieAnimations/Cat"_s;
    touch(dir.filePath(catFolder + u"/cat_idle.json"_s));
    touch(dir.filePath(u"cat_idle.json"_s));
    touch(dir.filePath(u"cat_walk.json"_s));
    touch(dir.filePath(u"menubar_icon.png"_s));
    QDir().mkpath(dir.filePath(u"hammer.png"_s)); // a folder by that name is no resource
    const Resources resources(dir.path());

    EXPECT_EQ(resources.find(u"cat_idle"_s, u"json"_s, catFolder), dir.filePath(catFolder + u"/cat_idle.json"_s));
    EXPECT_EQ(resources.find(u"cat_walk"_s, u"json"_s, catFolder), dir.filePath(u"cat_walk.json"_s));
    EXPECT_EQ(resources.find(u"menubar_icon"_s, u"png"_s), dir.filePath(u"menubar_icon.png"_s));
    EXPECT_TRUE(resources.find(u"hammer"_s, u"png"_s).isEmpty());
    EXPECT_TRUE(resources.find(u"cat_sleep"_s, u"json"_s, catFolder).isEmpty());
    EXPECT_TRUE(resources.find(QString(), u"json"_s, catFolder).isEmpty());

    // The exact-folder lookup lets a caller tell a misplaced file from a well placed one.
    EXPECT_TRUE(resources.findIn(u"cat_walk"_s, u"json"_s, catFolder).isEmpty());
    EXPECT_EQ(resources.findIn(u"cat_walk"_s, u"json"_s), dir.filePath(u"cat_walk.json"_s));
}

TEST(Resources, LocatedRootIsTheFirstExistingCandidate)
{
    const QStringList candidates = Resources::candidateRoots();
    ASSERT_EQ(candidates.size(), 4);
    // Test binaries run from the build tree, where the copied resources folder exists.
    const QString root = Resources::locateRoot();
    EXPECT_TRUE(QFileInfo(root).isDir()) << root.toStdString();
    for (const QString& candidate : candidates) {
        if (candidate == root)
            break;
        EXPECT_FALSE(QFileInfo(candidate).isDir()) << "an earlier candidate exists: " << candidate.toStdString();
    }
}
