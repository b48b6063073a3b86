// What krav-lvl writes: never over one of its inputs, never a pipe or device replaced by a
// file, several files together or none, and every failure an exit 1 that says why.
#include "support/CommandRun.h"
#include "support/Devices.h"
#include "support/LevelBytes.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace krav {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

// A file as the commands must leave it: the same inode and type (a rename would change them)
// and the same bytes.
struct FileState {
    mode_t type = 0;
    dev_t device = 0;
    ino_t inode = 0;
    dev_t rdev = 0;
    Bytes bytes;
    bool operator==(const FileState&) const = default;
};

FileState StateOf(const std::string& path, bool followLinks = false) {
    struct stat info {};
    const int result = followLinks ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    if (result != 0)
        return {};
    FileState state{
        static_cast<mode_t>(info.st_mode & S_IFMT), info.st_dev, info.st_ino, info.st_rdev, {}};
    if (S_ISREG(info.st_mode))
        state.bytes = test::ScratchFolder::Read(path);
    return state;
}

using Snapshot = std::map<std::string, FileState>;

class Outputs : public ::testing::Test {
protected:
    void SetUp() override {
        Bytes level;
        test::AppendRecord(level, 7, 1, 2);
        test::AppendRecord(level, 170, 3, 4);
        test::AppendRecord(level, 219, 10, 10);
        folder.Write("a.lvl", level);
        folder.Write("s.play", Text("tool 32100\ntile fore 5\ndown left 8 8\nup left 8 8\n"));
        ASSERT_EQ(Lvl("tileset a.lvl t.bmp").exitCode, 0);
        ASSERT_EQ(Lvl("export-tmx a.lvl m.tmx").exitCode, 0);
    }

    static Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

    // krav-lvl run in the folder, so that paths are as a user types them.
    test::Run Lvl(const std::string& arguments) {
        return Shell(std::string(KRAV_LVL) + " " + arguments);
    }

    test::Run Shell(const std::string& commandLine) {
        return test::RunCommand("cd " + folder.Path("") + " && { " + commandLine + "; }", folder);
    }

    // Every file in the folder but the caught standard error.
    Snapshot Files() const {
        Snapshot files;
        for (const auto& entry : fs::directory_iterator(folder.Path("")))
            if (entry.path().filename() != "stderr.txt")
                files[entry.path().filename().string()] = StateOf(entry.path().string());
        return files;
    }

    test::ScratchFolder folder;
};

TEST_F(Outputs, NoCommandWritesOverOneOfItsInputs) {
    fs::create_symlink("a.lvl", folder.Path("link.png"));
    fs::create_hard_link(folder.Path("a.lvl"), folder.Path("hard.png"));
    // export-tmx x.tmx would write x-tiles.png, which is the level.
    fs::create_hard_link(folder.Path("a.lvl"), folder.Path("x-tiles.png"));
    folder.Write("saves-itself.play", Text("save saves-itself.play\n"));
    struct Case {
        std::string arguments;
        std::string output, input; // named in the refusal
    };
    const Case cases[] = {
        {"render a.lvl a.lvl", "a.lvl", "a.lvl"},
        {"render a.lvl ./a.lvl", "./a.lvl", "a.lvl"},
        {"render a.lvl link.png", "link.png", "a.lvl"},
        {"render a.lvl hard.png", "hard.png", "a.lvl"},
        {"tileset a.lvl a.lvl", "a.lvl", "a.lvl"},
        {"export-tmx a.lvl a.lvl", "a.lvl", "a.lvl"},
        {"export-tmx a.lvl x.tmx", "./x-tiles.png", "a.lvl"},
        {"import-tmx m.tmx m-tiles.png", "m-tiles.png", "./m-tiles.png"},
        {"import-tmx m.tmx m.tmx", "m.tmx", "m.tmx"},
        {"play s.play a.lvl s.play", "s.play", "s.play"},
        {"play saves-itself.play a.lvl out.lvl", "saves-itself.play", "saves-itself.play"},
        {"import-tileset a.lvl t.bmp t.bmp", "t.bmp", "t.bmp"},
        {"import-tileset a.lvl m-tiles.png m-tiles.png", "m-tiles.png", "m-tiles.png"},
    };
    const Snapshot before = Files();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const test::Run run = Lvl(c.arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "krav-lvl: " + c.output + ": is the same file as the input " + c.input +
                               "; nothing was written\n");
        EXPECT_EQ(Files(), before);
    }
}

// A level saved over the level it was read from is what Save does.
TEST_F(Outputs, ALevelMayBeSavedOverTheLevelItWasReadFrom) {
    const Bytes level = test::ScratchFolder::Read(folder.Path("a.lvl"));
    EXPECT_EQ(Lvl("resave a.lvl a.lvl").exitCode, 0);
    EXPECT_EQ(test::ScratchFolder::Read(folder.Path("a.lvl")), level);
    // The Pencil puts tile 5 on cell (0, 0): one cell more than the 38 the level had.
    const test::Run played = Lvl("play s.play a.lvl a.lvl");
    EXPECT_EQ(played.exitCode, 0) << played.err;
    EXPECT_NE(Lvl("info a.lvl").out.find("cells: 39\n"), std::string::npos);
    EXPECT_EQ(Lvl("import-tileset a.lvl t.bmp a.lvl").exitCode, 0);
    EXPECT_EQ(Lvl("info a.lvl").out.rfind("tileset: embedded\n", 0), 0u);
}

// A pipe or a character device is written in place and stays what it is; /dev/full reports
// the full disk. As root a rename could replace even /dev/full.
TEST_F(Outputs, PipesAndDevicesAreWrittenInPlaceNeverReplaced) {
    const std::string fullDevice = test::FullDevice(folder);
    const std::string nullDevice = test::NullDevice(folder);
    if (fullDevice.empty() || nullDevice.empty())
        GTEST_SKIP() << "cannot make devices of our own here";
    ASSERT_EQ(::mkfifo(folder.Path("pipe").c_str(), 0600), 0);
    fs::create_symlink(fullDevice, folder.Path("full.tmx"));
    const FileState full = StateOf(fullDevice, true);
    const FileState null = StateOf(nullDevice, true);
    ASSERT_EQ(full.type, S_IFCHR);
    const char* const commands[] = {
        "render a.lvl OUT --area 0,0,8,8 --zoom 1:1",
        "tileset a.lvl OUT",
        "resave a.lvl OUT",
        "import-tileset a.lvl t.bmp OUT",
        "import-tmx m.tmx OUT",
        "export-tmx a.lvl OUT",
    };
    for (const std::string command : commands) {
        const auto with = [&](const std::string& out) {
            return command.substr(0, command.find("OUT")) + out +
                   command.substr(command.find("OUT") + 3);
        };
        SCOPED_TRACE(command);
        const bool tmx = command.rfind("export-tmx", 0) == 0;
        const Snapshot before = Files();
        // Through a link for the map, whose pictures go beside it.
        const test::Run onFull = Lvl(with(tmx ? "full.tmx" : fullDevice));
        EXPECT_EQ(onFull.exitCode, 1);
        EXPECT_NE(onFull.err.find("No space left on device"), std::string::npos) << onFull.err;
        EXPECT_EQ(StateOf(fullDevice, true), full);
        EXPECT_EQ(Files(), before) << "nothing of a failed export stays";

        if (!tmx) {
            EXPECT_EQ(Lvl(with(nullDevice)).exitCode, 0);
            EXPECT_EQ(StateOf(nullDevice, true), null);
        }
        // Through the pipe, the bytes a regular file gets (a map names its own pictures).
        ASSERT_EQ(Lvl(with("regular.out")).exitCode, 0);
        const test::Run piped = Shell("timeout 20 cat pipe > piped.out & " + std::string(KRAV_LVL) +
                                      " " + with("pipe") + "; status=$?; wait; exit $status");
        EXPECT_EQ(piped.exitCode, 0) << piped.err;
        EXPECT_EQ(StateOf(folder.Path("pipe")).type, S_IFIFO);
        const Bytes got = test::ScratchFolder::Read(folder.Path("piped.out"));
        if (tmx) {
            EXPECT_NE(std::string(got.begin(), got.end()).find("source=\"pipe-tiles.png\""),
                      std::string::npos);
        } else {
            EXPECT_EQ(got, test::ScratchFolder::Read(folder.Path("regular.out")));
        }
        for (const char* made : {"piped.out", "regular.out", "regular.out-tiles.png",
                                 "regular.out-objects.png", "pipe-tiles.png", "pipe-objects.png"})
            fs::remove(folder.Path(made));
    }
}

TEST_F(Outputs, DashWritesToStandardOutput) {
    for (const std::string command :
         {"render a.lvl OUT --area 0,0,8,8 --zoom 1:1", "tileset a.lvl OUT", "resave a.lvl OUT"}) {
        SCOPED_TRACE(command);
        const std::string head = command.substr(0, command.find("OUT"));
        const std::string tail = command.substr(command.find("OUT") + 3);
        ASSERT_EQ(Lvl(head + "file.out" + tail).exitCode, 0);
        const test::Run run = Lvl(head + "-" + tail);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const Bytes file = test::ScratchFolder::Read(folder.Path("file.out"));
        EXPECT_EQ(Bytes(run.out.begin(), run.out.end()), file);
        EXPECT_FALSE(fs::exists(folder.Path("-")));
    }
}

// The map and its two pictures appear together or not at all; old ones stay as they were.
TEST_F(Outputs, AFailedTiledMapExportLeavesNothingBehind) {
    fs::create_directory(folder.Path("dir.tmx"));
    Snapshot before = Files();
    const test::Run onFolder = Lvl("export-tmx a.lvl dir.tmx");
    EXPECT_EQ(onFolder.exitCode, 1);
    EXPECT_EQ(onFolder.err, "krav-lvl: dir.tmx: cannot be written (Is a directory)\n");
    EXPECT_EQ(Files(), before);

    // A disk with room for the pictures but not for the map. Old files of the same names
    // keep their bytes.
    const std::string disk = folder.Path("disk");
    fs::create_directory(disk);
    if (::mount("krav-test", disk.c_str(), "tmpfs", MS_NOSUID | MS_NODEV | MS_NOEXEC,
                "size=256k") != 0)
        GTEST_SKIP() << "cannot mount a small filesystem here (" << std::strerror(errno) << ")";
    struct Unmount {
        std::string path;
        ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } unmount{disk};
    for (const char* name : {"disk/old.tmx", "disk/old-tiles.png", "disk/old-objects.png"})
        folder.Write(name, Text(name));
    const Snapshot oldFiles = [&] {
        Snapshot files;
        for (const auto& entry : fs::directory_iterator(disk))
            files[entry.path().filename().string()] = StateOf(entry.path().string());
        return files;
    }();
    for (const char* out : {"disk/new.tmx", "disk/old.tmx"}) {
        SCOPED_TRACE(out);
        const test::Run run = Lvl("export-tmx a.lvl " + std::string(out));
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "krav-lvl: " + std::string(out) +
                               ": cannot be written (No space left on device)\n");
        Snapshot files;
        for (const auto& entry : fs::directory_iterator(disk))
            files[entry.path().filename().string()] = StateOf(entry.path().string());
        EXPECT_EQ(files, oldFiles);
    }
}

TEST_F(Outputs, FailuresExitWithOneAndSayWhy) {
    fs::create_directory(folder.Path("maps"));
    folder.Write("bad-save.play", Text("save nodir/x.lvl\n"));
    struct Case {
        std::string arguments;
        std::string err;
        std::string out;
    };
    const std::string noSuchFile = " (No such file or directory)\n";
    const Case cases[] = {
        {"play maps a.lvl out.lvl", "krav-lvl: maps: cannot read the script (Is a directory)\n",
         ""},
        {"play none.play a.lvl out.lvl", "krav-lvl: none.play: cannot read the script" + noSuchFile,
         ""},
        {"play bad-save.play a.lvl out.lvl",
         "krav-lvl: nodir/x.lvl: Failed to save document." + noSuchFile,
         "message: Failed to save document. (No such file or directory)\n"},
        {"play s.play a.lvl nodir/out.lvl",
         "krav-lvl: nodir/out.lvl: Failed to save document." + noSuchFile,
         "message: Failed to save document. (No such file or directory)\n"},
        {"resave a.lvl nodir/out.lvl",
         "krav-lvl: nodir/out.lvl: Failed to save document." + noSuchFile, ""},
        {"info maps", "krav-lvl: maps: Couldn't open file. (Is a directory)\n", ""},
        {"play s.play maps out.lvl", "krav-lvl: maps: Couldn't open file. (Is a directory)\n", ""},
        {"tileset a.lvl nodir/t.bmp", "krav-lvl: nodir/t.bmp: cannot be written" + noSuchFile, ""},
        {"dump a.lvl > /dev/full", // the shell opens it: nothing can replace it
         "krav-lvl: standard output: cannot be written (No space left on device)\n", ""},
    };
    const Snapshot before = Files();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const test::Run run = Lvl(c.arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(Files(), before);
    }
}

TEST_F(Outputs, HelpAndVersionPrintAndSucceed) {
    const test::Run help = Lvl("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("usage: krav-lvl info LEVEL\n", 0), 0u);
    EXPECT_NE(help.out.find("dump [--textconv] LEVEL"), std::string::npos);
    const test::Run version = Lvl("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("krav-lvl ", 0), 0u);
    EXPECT_EQ(version.err, "");
}

} // namespace
} // namespace krav
