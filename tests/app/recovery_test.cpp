// The main frame's autosave and recovery offer, the recovery dialog, and an editor killed in
// the middle of its work.
#include "app/RecoveryHelpers.h"
#include "document/CKRAVDoc.h"
#include "document/Messages.h"
#include "palettes/TileSetPaletteWnd.h"
#include "shell/CChildFrame.h"
#include "shell/CKRAVApp.h"
#include "shell/CMainFrame.h"
#include "shell/RecoveryDialog.h"
#include "shell/RecoveryStore.h"
#include "support/FakePrompt.h"
#include "support/LevelBytes.h"
#include "view/CKRAVView.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace krav {
namespace {

using namespace recovery_test;

std::unique_ptr<CKRAVDoc> ReadDoc(const std::string& path) {
    auto doc = std::make_unique<CKRAVDoc>();
    test::FakePrompt quiet;
    EXPECT_TRUE(doc->OnOpenDocument(path, quiet)) << path;
    return doc;
}

bool SameCells(const CKRAVDoc& a, const CKRAVDoc& b) {
    return std::equal(a.GetCells(), a.GetCells() + MAP_CELLS, b.GetCells());
}

void ExpectSameTileSet(const CKRAVDoc& actual, const CKRAVDoc& expected) {
    ASSERT_NE(actual.GetTileSet(), nullptr);
    EXPECT_EQ(actual.IsDefaultTileSet(), expected.IsDefaultTileSet());
    const TileSetBitmap& a = *actual.GetTileSet();
    const TileSetBitmap& b = *expected.GetTileSet();
    EXPECT_EQ(a.fileHeader, b.fileHeader);
    EXPECT_EQ(a.infoHeader, b.infoHeader);
    EXPECT_EQ(a.colourTable, b.colourTable);
    EXPECT_EQ(a.pixels, b.pixels);
    EXPECT_EQ(a.topDown, b.topDown);
    EXPECT_EQ(a.trailingBytes, b.trailingBytes);
}

// --- the main frame ----------------------------------------------------------------------

class RecoveryFrame : public ::testing::Test {
protected:
    void SetUp() override {
        CKRAVApp::Profile()->clear();
        ClearRecovery();
        frame = MakeFrame();
    }
    void TearDown() override {
        if (frame)
            for (CChildFrame* child : frame->ChildFrames())
                child->Document().SetModifiedFlag(false);
        frame.reset();
        ClearRecovery();
    }

    // Copies this process wrote, and any a crash left (ours or an earlier run's).
    static void ClearRecovery() {
        RecoveryStore store;
        for (const RecoveryEntry& entry : store.Entries())
            if (!entry.writerRunning || entry.pid == ::getpid())
                store.Remove(entry.id);
    }

    std::unique_ptr<CMainFrame> MakeFrame() {
        auto made = std::make_unique<CMainFrame>();
        made->SetPromptForTesting(prompt);
        made->resize(1000, 700);
        made->show();
        return made;
    }

    // Copies this process keeps now.
    std::vector<RecoveryEntry> OwnEntries() const {
        std::vector<RecoveryEntry> entries = RecoveryStore().Entries();
        std::erase_if(entries, [](const RecoveryEntry& entry) { return entry.pid != ::getpid(); });
        return entries;
    }

    CChildFrame* Child(int index) { return frame->ChildFrames().at(index); }

    // A copy a crashed run left of a level.
    QString LeaveCopy(const QString& originalPath, const QString& title, const Bytes& bytes) {
        RecoveryStore crashed(RecoveryStore::DefaultFolder(), GoneWriter());
        const QString id = crashed.NewId();
        EXPECT_TRUE(crashed.Write(id, originalPath, title, bytes));
        return id;
    }

    RecoveryDecision Choose(RecoveryDecision::Action action, const QStringList& ids) {
        return {action, ids};
    }

    test::FakePrompt prompt;
    test::ScratchFolder folder;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(RecoveryFrame, AutosaveKeepsModifiedLevelsAndLeavesTheirFilesAlone) {
    const Bytes original = LevelWithTileSet();
    const std::string path = folder.Write("sector.lvl", original);
    ASSERT_TRUE(frame->OpenLevel(Q(path)));
    ASSERT_TRUE(frame->NewLevel());
    frame->AutosaveNow();
    EXPECT_TRUE(OwnEntries().empty()) << "nothing changed yet";

    CKRAVDoc& doc = Child(0)->Document();
    doc.SetCell(30, 40, 77);
    frame->AutosaveNow();
    const std::vector<RecoveryEntry> entries = OwnEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries.front().originalPath, Q(path));
    EXPECT_EQ(entries.front().title, "sector.lvl");
    EXPECT_EQ(
        test::ScratchFolder::Read(RecoveryStore().LevelPath(entries.front().id).toStdString()),
        doc.Serialize())
        << "the whole level file, its tile set included";
    EXPECT_EQ(test::ScratchFolder::Read(path), original) << "the user's file is not written";
    EXPECT_TRUE(doc.IsModified());

    // Later changes replace the same copy.
    doc.SetCell(31, 40, 78);
    frame->AutosaveNow();
    ASSERT_EQ(OwnEntries().size(), 1u);
    EXPECT_EQ(OwnEntries().front().id, entries.front().id);
    EXPECT_EQ(
        test::ScratchFolder::Read(RecoveryStore().LevelPath(entries.front().id).toStdString()),
        doc.Serialize());
}

TEST_F(RecoveryFrame, SavingOrClosingALevelDropsItsCopy) {
    ASSERT_TRUE(frame->OpenLevel(Q(folder.Write("a.lvl", LevelWithTileSet()))));
    ASSERT_TRUE(frame->NewLevel());
    ASSERT_TRUE(frame->NewLevel());
    for (int i = 0; i < 3; ++i)
        Child(i)->Document().SetCell(1, i, 5);
    frame->AutosaveNow();
    ASSERT_EQ(OwnEntries().size(), 3u);

    ASSERT_TRUE(frame->SaveLevel(Child(0), false));
    EXPECT_EQ(OwnEntries().size(), 2u);

    prompt.threeWayAnswers = {Prompt::Answer::Cancel};
    EXPECT_FALSE(frame->CloseLevel(Child(1)));
    EXPECT_EQ(OwnEntries().size(), 2u) << "a level still open keeps its copy";
    prompt.threeWayAnswers = {Prompt::Answer::No};
    EXPECT_TRUE(frame->CloseLevel(Child(1)));
    ASSERT_EQ(OwnEntries().size(), 1u);
    EXPECT_EQ(OwnEntries().front().title, "KRAV2");

    // Closing the main window closes the rest.
    prompt.threeWayAnswers = {Prompt::Answer::No};
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(OwnEntries().empty());
}

TEST_F(RecoveryFrame, TheTimerFollowsTheProfile) {
    CKRAVApp::Profile()->setValue("Autosave/IntervalSeconds", 1);
    frame = MakeFrame();
    ASSERT_TRUE(frame->NewLevel());
    Child(0)->Document().SetCell(2, 2, 9);
    for (int i = 0; i < 60 && OwnEntries().empty(); ++i)
        QTest::qWait(50);
    EXPECT_EQ(OwnEntries().size(), 1u);

    prompt.threeWayAnswers = {Prompt::Answer::No};
    frame->close();
    CKRAVApp::Profile()->setValue("Autosave/IntervalSeconds", 0);
    frame = MakeFrame();
    const QList<QTimer*> timers = frame->findChildren<QTimer*>(Qt::FindDirectChildrenOnly);
    EXPECT_TRUE(std::none_of(timers.begin(), timers.end(), [](QTimer* timer) {
        return timer->isActive() && timer->interval() >= 1000;
    })) << "0 turns the autosave off";
}

TEST_F(RecoveryFrame, LaterKeepsTheCopiesAndDiscardRemovesTheChosenOnes) {
    const QString first = LeaveCopy({}, "KRAV1", LevelWithTileSet());
    const QString second = LeaveCopy({}, "KRAV2", LevelWithTileSet());
    int asked = 0;
    EXPECT_EQ(frame->OfferRecovery([&](const std::vector<RecoveryEntry>& entries) {
        ++asked;
        EXPECT_EQ(entries.size(), 2u);
        return Choose(RecoveryDecision::Action::Later, Ids(entries));
    }),
              0);
    EXPECT_EQ(RecoveryStore().LeftOver().size(), 2u);

    frame->OfferRecovery([&](const std::vector<RecoveryEntry>&) {
        ++asked;
        return Choose(RecoveryDecision::Action::Discard, {first});
    });
    EXPECT_EQ(Ids(RecoveryStore().LeftOver()), QStringList{second});
    EXPECT_TRUE(frame->ChildFrames().isEmpty());
    EXPECT_EQ(asked, 2);
}

TEST_F(RecoveryFrame, LevelsNotChosenForOpeningStayForTheNextStart) {
    const QString first = LeaveCopy({}, "KRAV1", LevelWithTileSet());
    const QString second = LeaveCopy({}, "KRAV2", LevelWithTileSet());
    EXPECT_EQ(frame->OfferRecovery([&](const std::vector<RecoveryEntry>&) {
        return Choose(RecoveryDecision::Action::Open, {second});
    }),
              1);
    ASSERT_EQ(frame->ChildFrames().size(), 1);
    EXPECT_EQ(Child(0)->Document().GetTitle(), "KRAV2");
    EXPECT_EQ(Ids(RecoveryStore().LeftOver()), QStringList{first});
}

TEST_F(RecoveryFrame, ARecoveredLevelKeepsItsFileWhichOnlySavingWrites) {
    const Bytes original = LevelWithTileSet();
    const std::string path = folder.Write("sector.lvl", original);
    auto edited = ReadDoc(path);
    edited->SetCell(5, 6, 33);
    edited->SetCell(22, 13, EMPTY_CELL);
    const QString id = LeaveCopy(Q(path), "sector.lvl", edited->Serialize());

    ASSERT_EQ(frame->OfferRecovery([&](const std::vector<RecoveryEntry>& entries) {
        EXPECT_EQ(Ids(entries), QStringList{id});
        return Choose(RecoveryDecision::Action::Open, {id});
    }),
              1);
    ASSERT_EQ(frame->ChildFrames().size(), 1);
    CKRAVDoc& doc = Child(0)->Document();
    EXPECT_EQ(doc.GetTitle(), "sector.lvl");
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_TRUE(doc.IsModified());
    frame->UpdateCommandUi();
    EXPECT_TRUE(Child(0)->isWindowModified());
    EXPECT_TRUE(SameCells(doc, *edited));
    ExpectSameTileSet(doc, *edited);
    EXPECT_EQ(test::ScratchFolder::Read(path), original);
    EXPECT_TRUE(RecoveryStore().LeftOver().empty()) << "this run looks after the copy now";
    ASSERT_EQ(OwnEntries().size(), 1u);

    // A crash now would offer it again: the copy is this run's.
    EXPECT_EQ(frame->OfferRecovery([](const std::vector<RecoveryEntry>&) -> RecoveryDecision {
        ADD_FAILURE() << "nothing to offer";
        return {};
    }),
              0);

    ASSERT_TRUE(frame->SaveLevel(Child(0), false));
    EXPECT_EQ(test::ScratchFolder::Read(path), edited->Serialize());
    EXPECT_TRUE(OwnEntries().empty());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(RecoveryFrame, ARecoveredNewLevelKeepsItsNameAndGoesWhenClosed) {
    auto edited = std::make_unique<CKRAVDoc>();
    ASSERT_TRUE(edited->OnNewDocument(prompt));
    edited->SetCell(9, 9, 12);
    const QString id = LeaveCopy({}, "KRAV3", edited->Serialize());
    ASSERT_EQ(frame->OfferRecovery([&](const std::vector<RecoveryEntry>& entries) {
        return Choose(RecoveryDecision::Action::Open, Ids(entries));
    }),
              1);
    CKRAVDoc& doc = Child(0)->Document();
    EXPECT_EQ(doc.GetTitle(), "KRAV3");
    EXPECT_TRUE(doc.GetPathName().empty()) << "Save asks for a name";
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.IsDefaultTileSet());
    EXPECT_EQ(doc.GetCell(9, 9), 12u);

    ASSERT_TRUE(frame->NewLevel());
    EXPECT_EQ(Child(1)->Document().GetTitle(), "KRAV4") << "no second KRAV3";

    prompt.threeWayAnswers = {Prompt::Answer::No};
    ASSERT_TRUE(frame->CloseLevel(Child(0)));
    EXPECT_EQ(prompt.messages.back(), "Save changes to KRAV3?");
    EXPECT_TRUE(RecoveryStore().Entries().empty()) << "closed without saving on purpose";
}

TEST_F(RecoveryFrame, TheTileSetPaletteShowsTheTilesOfTheActiveRecoveredLevel) {
    auto builtIn = std::make_unique<CKRAVDoc>();
    ASSERT_TRUE(builtIn->OnNewDocument(prompt));
    builtIn->SetCell(1, 1, 3);
    LeaveCopy({}, "KRAV1", builtIn->Serialize());
    QTest::qWait(20); // the newer copy is opened first
    LeaveCopy(Q(folder.Write("own.lvl", {})), "own.lvl", LevelWithTileSet());
    ASSERT_EQ(frame->OfferRecovery([&](const std::vector<RecoveryEntry>& entries) {
        return Choose(RecoveryDecision::Action::Open, Ids(entries));
    }),
              2);
    QTest::qWait(50);
    CKRAVView* active = frame->ActiveView();
    ASSERT_NE(active, nullptr);
    const QImage shown =
        frame->TileSetPalette()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage tiles = active->TileSetImage().convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int y = 20; y < 36; ++y)
        for (int x = 20; x < 36; ++x)
            differing += shown.pixel(x, y) != tiles.pixel(x, y);
    EXPECT_EQ(differing, 0) << active->Document().GetTitle();
}

TEST_F(RecoveryFrame, ACopyThatCannotBeReadStaysToBeDiscarded) {
    Bytes bad;
    test::AppendRecord(bad, 0, 0, 0);
    const QString id = LeaveCopy({}, "KRAV1", bad);
    prompt.answers.push_back(false);
    EXPECT_EQ(frame->OfferRecovery([&](const std::vector<RecoveryEntry>& entries) {
        return Choose(RecoveryDecision::Action::Open, Ids(entries));
    }),
              0);
    EXPECT_TRUE(frame->ChildFrames().isEmpty());
    // The reader's words, where the record is, and the offer to open it keeping it (declined).
    EXPECT_EQ(prompt.messages.back().rfind(messages::TILE_ID_OUT_OF_RANGE, 0), 0u);
    EXPECT_NE(prompt.messages.back().find(messages::OPEN_KEEPING_UNKNOWN), std::string::npos);
    EXPECT_EQ(Ids(RecoveryStore().LeftOver()), QStringList{id});
}

// --- the dialog --------------------------------------------------------------------------

TEST_F(RecoveryFrame, TheRecoveryDialogActsOnTheCheckedLevels) {
    std::vector<RecoveryEntry> entries(2);
    entries[0] = {"a", "/maps/a.lvl", "a.lvl", QDateTime::currentDateTimeUtc(), 1, {}, false};
    entries[1] = {"b", {}, "KRAV2", QDateTime::currentDateTimeUtc(), 1, {}, false};
    {
        RecoveryDialog dialog(entries, prompt);
        auto* list = dialog.findChild<QTreeWidget*>("RecoveryList");
        ASSERT_EQ(list->topLevelItemCount(), 2);
        EXPECT_EQ(list->topLevelItem(0)->text(1), "/maps/a.lvl");
        EXPECT_EQ(list->topLevelItem(1)->text(0), "KRAV2");
        EXPECT_EQ(dialog.Decision().action, RecoveryDecision::Action::Later)
            << "closing decides nothing";
        list->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        dialog.findChild<QPushButton*>("Open")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Decision().action, RecoveryDecision::Action::Open);
        EXPECT_EQ(dialog.Decision().ids, QStringList{"b"});
    }
    {
        RecoveryDialog dialog(entries, prompt);
        dialog.show();
        auto* list = dialog.findChild<QTreeWidget*>("RecoveryList");
        auto* discard = dialog.findChild<QPushButton*>("Discard");
        prompt.answers = {false};
        discard->click();
        EXPECT_TRUE(dialog.isVisible()) << "not confirmed";
        EXPECT_EQ(dialog.Decision().action, RecoveryDecision::Action::Later);
        prompt.answers = {true};
        discard->click();
        EXPECT_EQ(dialog.Decision().action, RecoveryDecision::Action::Discard);
        EXPECT_EQ(dialog.Decision().ids, (QStringList{"a", "b"}));

        // Nothing checked: nothing to open or discard.
        for (int i = 0; i < 2; ++i)
            list->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
        EXPECT_FALSE(discard->isEnabled());
        EXPECT_FALSE(dialog.findChild<QPushButton*>("Open")->isEnabled());
    }
    {
        RecoveryDialog dialog(entries, prompt);
        dialog.findChild<QPushButton*>("Later")->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(dialog.Decision().action, RecoveryDecision::Action::Later);
    }
}

// --- an editor killed at work --------------------------------------------------------------

class RecoveryAfterKill : public RecoveryFrame {
protected:
    // The level the helper edits, and what it paints: two new tiles and one over a tile of
    // the file.
    void SetUp() override {
        RecoveryFrame::SetUp();
        path = folder.Write("sector.lvl", LevelWithTileSet());
        expected = ReadDoc(path);
        for (const auto& [x, y, tile] : paints) {
            ASSERT_NE(expected->GetCell(y, x), static_cast<Cell>(tile));
            expected->SetCell(y, x, static_cast<Cell>(tile));
        }
    }

    QStringList HelperArguments(const QString& mode) const {
        QStringList arguments{mode, Q(path)};
        for (const auto& [x, y, tile] : paints)
            arguments.append(QStringLiteral("%1,%2,%3").arg(x).arg(y).arg(tile));
        return arguments;
    }

    // Opens what the killed editor left and checks it is the edited level.
    void ExpectRecovered() {
        int offered = 0;
        ASSERT_EQ(frame->OfferRecovery([&](const std::vector<RecoveryEntry>& entries) {
            offered = static_cast<int>(entries.size());
            EXPECT_EQ(entries.size(), 1u);
            EXPECT_EQ(entries.front().originalPath, Q(path));
            EXPECT_EQ(entries.front().title, "sector.lvl");
            return Choose(RecoveryDecision::Action::Open, Ids(entries));
        }),
                  1);
        EXPECT_EQ(offered, 1);
        ASSERT_EQ(frame->ChildFrames().size(), 1);
        const CKRAVDoc& doc = Child(0)->Document();
        EXPECT_TRUE(SameCells(doc, *expected)) << "the cells the killed editor painted";
        ExpectSameTileSet(doc, *expected);
        EXPECT_FALSE(doc.IsDefaultTileSet());
        EXPECT_EQ(doc.GetPathName(), path);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(test::ScratchFolder::Read(path), LevelWithTileSet())
            << "the user's file is untouched";
    }

    struct Paint {
        int x, y, tile;
    };
    const std::vector<Paint> paints{{3, 2, 37}, {13, 22, 5}, {15, 9, 120}};
    std::string path;
    std::unique_ptr<CKRAVDoc> expected;
};

TEST_F(RecoveryAfterKill, AKilledEditorsLevelComesBackWithItsCellsAndTileSet) {
    QProcess helper;
    helper.start(KRAV_CRASH_HELPER, HelperArguments("crash"));
    ASSERT_TRUE(helper.waitForFinished(60000));
    EXPECT_EQ(helper.exitStatus(), QProcess::CrashExit)
        << helper.readAllStandardError().toStdString();

    frame.reset(); // the next start
    frame = MakeFrame();
    ExpectRecovered();
}

TEST_F(RecoveryAfterKill, ARunningEditorsCopiesAreOfferedOnlyOnceItIsKilled) {
    QProcess helper;
    helper.start(KRAV_CRASH_HELPER, HelperArguments("wait"));
    ASSERT_TRUE(helper.waitForStarted(10000));
    while (!helper.readAllStandardOutput().contains("saved"))
        ASSERT_TRUE(helper.waitForReadyRead(60000)) << helper.readAllStandardError().toStdString();
    ASSERT_EQ(RecoveryStore().Entries().size(), 1u) << "its copy is there";
    EXPECT_EQ(frame->OfferRecovery([](const std::vector<RecoveryEntry>&) -> RecoveryDecision {
        ADD_FAILURE() << "the other editor is still at work";
        return {};
    }),
              0);

    helper.kill(); // SIGKILL
    ASSERT_TRUE(helper.waitForFinished(10000));
    ExpectRecovered();
}

} // namespace
} // namespace krav
