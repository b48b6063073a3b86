// The store of recovery copies on its own: what it writes, what it lists as left over by an
// editor that died, and what it skips.
#include "app/RecoveryHelpers.h"
#include "shell/RecoveryStore.h"
#include "support/LevelBytes.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace krav {
namespace {

using namespace recovery_test;

class RecoveryStoreTest : public ::testing::Test {
protected:
    QString Folder() const { return Q(folder.Path("recovery")); }

    test::ScratchFolder folder;
    RecoveryStore store{Folder()};
};

TEST_F(RecoveryStoreTest, WritesTheLevelAndARecordOfWhereItBelongs) {
    const Bytes level = LevelWithTileSet();
    const QString id = store.NewId();
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    ASSERT_TRUE(store.Write(id, QStringLiteral("/maps/sector 7.lvl"),
                            QStringLiteral("sector 7.lvl"), level));

    EXPECT_EQ(test::ScratchFolder::Read(store.LevelPath(id).toStdString()), level);
    const std::vector<RecoveryEntry> entries = store.Entries();
    ASSERT_EQ(entries.size(), 1u);
    const RecoveryEntry& entry = entries.front();
    EXPECT_EQ(entry.id, id);
    EXPECT_EQ(entry.originalPath, "/maps/sector 7.lvl");
    EXPECT_EQ(entry.title, "sector 7.lvl");
    EXPECT_EQ(entry.pid, ::getpid());
    EXPECT_GE(entry.savedAt, before);
    EXPECT_LE(entry.savedAt, QDateTime::currentDateTimeUtc().addSecs(1));
    EXPECT_TRUE(entry.writerRunning);
    EXPECT_TRUE(store.LeftOver().empty()) << "a running editor's copies are not left over";

    // The record is plain JSON beside the level.
    QFile record(Folder() + "/" + id + ".json");
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    const QJsonObject json = QJsonDocument::fromJson(record.readAll()).object();
    EXPECT_EQ(json.value("original").toString(), "/maps/sector 7.lvl");
    EXPECT_EQ(json.value("title").toString(), "sector 7.lvl");
    EXPECT_EQ(json.value("pid").toInteger(), ::getpid());
    EXPECT_FALSE(json.value("saved").toString().isEmpty());
}

TEST_F(RecoveryStoreTest, RewritingAnEntryReplacesItsCopy) {
    const QString id = store.NewId();
    ASSERT_TRUE(store.Write(id, {}, QStringLiteral("KRAV1"), Bytes{1, 2, 3, 4}));
    ASSERT_TRUE(store.Write(id, {}, QStringLiteral("KRAV1"), Bytes{5, 6, 7, 8}));
    EXPECT_EQ(store.Entries().size(), 1u);
    EXPECT_EQ(test::ScratchFolder::Read(store.LevelPath(id).toStdString()), (Bytes{5, 6, 7, 8}));
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden).size(), 2)
        << "no temporary files stay";
    EXPECT_NE(store.NewId(), id);
}

TEST_F(RecoveryStoreTest, CopiesOfAnEditorThatDiedAreLeftOver) {
    const pid_t child = ::fork();
    if (child == 0) {
        for (;;)
            ::pause();
    }
    RecoveryStore other(Folder(), RecoveryStore::Writer::Of(child));
    const QString id = other.NewId();
    ASSERT_TRUE(other.Write(id, {}, QStringLiteral("KRAV2"), Bytes{1, 2, 3, 4}));
    ASSERT_EQ(store.Entries().size(), 1u);
    EXPECT_TRUE(store.Entries().front().writerRunning);
    EXPECT_TRUE(store.LeftOver().empty()) << "another editor at work";

    ::kill(child, SIGKILL);
    // Dead but not yet reaped by its parent: it will never write again either.
    for (int i = 0; i < 200 && store.Entries().front().writerRunning; ++i)
        QTest::qWait(5);
    EXPECT_FALSE(store.Entries().front().writerRunning);
    ::waitpid(child, nullptr, 0);
    const std::vector<RecoveryEntry> left = store.LeftOver();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left.front().id, id);
    EXPECT_EQ(left.front().pid, child);
}

TEST_F(RecoveryStoreTest, APidTakenOverByAnotherProcessIsNotTheWriter) {
    // Our own pid, but a different start: the writer is gone and the number reused.
    RecoveryStore reused(Folder(), {::getpid(), QStringLiteral("an earlier boot/1234")});
    ASSERT_TRUE(reused.Write(reused.NewId(), {}, QStringLiteral("KRAV1"), Bytes{1}));
    EXPECT_EQ(store.LeftOver().size(), 1u);
    EXPECT_TRUE(RecoveryStore::Writer::Current().IsRunning());
    EXPECT_FALSE(GoneWriter().IsRunning());
}

TEST_F(RecoveryStoreTest, AdoptingAndRemovingEntries) {
    RecoveryStore gone(Folder(), GoneWriter());
    const QString first = gone.NewId();
    ASSERT_TRUE(gone.Write(first, QStringLiteral("/maps/a.lvl"), QStringLiteral("a.lvl"),
                           Bytes{1, 2, 3, 4}));
    const QString second = gone.NewId();
    ASSERT_TRUE(gone.Write(second, {}, QStringLiteral("KRAV1"), Bytes{5, 6, 7, 8}));
    EXPECT_EQ(store.LeftOver().size(), 2u);

    ASSERT_TRUE(store.Adopt(first));
    EXPECT_EQ(Ids(store.LeftOver()), QStringList{second});
    const std::vector<RecoveryEntry> entries = store.Entries();
    const auto adopted =
        std::find_if(entries.begin(), entries.end(), [&](auto& e) { return e.id == first; });
    ASSERT_NE(adopted, entries.end());
    EXPECT_EQ(adopted->pid, ::getpid());
    EXPECT_EQ(adopted->originalPath, "/maps/a.lvl") << "adopting keeps what the copy belongs to";

    store.Remove(first);
    store.Remove(second);
    EXPECT_TRUE(store.Entries().empty());
    EXPECT_TRUE(QDir(Folder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_FALSE(store.Adopt(first));
}

TEST_F(RecoveryStoreTest, RecordsThatCannotBeReadOrLostTheirLevelAreSkipped) {
    const QString id = store.NewId();
    ASSERT_TRUE(store.Write(id, {}, QStringLiteral("KRAV1"), Bytes{1, 2, 3, 4}));
    folder.Write("recovery/broken.json", {'{', 'n', 'o'});
    folder.Write("recovery/broken.lvl", {1, 2, 3, 4});
    const QString lost = store.NewId();
    ASSERT_TRUE(store.Write(lost, {}, QStringLiteral("KRAV2"), Bytes{1, 2, 3, 4}));
    QFile::remove(store.LevelPath(lost));
    EXPECT_EQ(Ids(store.Entries()), QStringList{id});
}

TEST_F(RecoveryStoreTest, NothingToListBeforeTheFirstCopy) {
    EXPECT_TRUE(store.Entries().empty());
    EXPECT_FALSE(QDir(Folder()).exists());
}

} // namespace
} // namespace krav
