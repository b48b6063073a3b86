// Where the file dialogs start: each in the folder it was last used in, kept in the profile,
// with sensible places when that folder is gone; and a full path typed into a dialog is where
// the file goes, whatever folder the dialog started in.
#include "shell/DialogFolders.h"
#include "support/FrameFixture.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <filesystem>
#include <functional>

namespace krav {
namespace {

class DialogFolders : public ::testing::Test {
protected:
    std::string Folder(const std::string& name) {
        std::filesystem::create_directories(scratch.Path(name));
        return scratch.Path(name);
    }

    test::ScratchFolder scratch;
    QSettings profile{QString::fromStdString(scratch.Path("krav.ini")), QSettings::IniFormat};
};

TEST_F(DialogFolders, EachDialogStartsWhereItWasLastUsed) {
    const QString levels = QString::fromStdString(Folder("levels"));
    const QString pictures = QString::fromStdString(Folder("pictures"));
    const QString tiles = QString::fromStdString(Folder("tiles"));
    const QString level = levels + QStringLiteral("/a.lvl");
    RememberFolder(profile, FileDialogKind::Open, level);
    RememberFolder(profile, FileDialogKind::ExportPicture, pictures + QStringLiteral("/a.png"));
    RememberFolder(profile, FileDialogKind::ImportTileset, tiles + QStringLiteral("/t.bmp"));
    EXPECT_EQ(StartFolder(profile, FileDialogKind::Open, {}), levels);
    EXPECT_EQ(StartFolder(profile, FileDialogKind::ExportPicture, level), pictures);
    EXPECT_EQ(StartFolder(profile, FileDialogKind::ImportTileset, level), tiles);
    // Not used yet: the active level's folder, else for Save As where levels were opened.
    EXPECT_EQ(StartFolder(profile, FileDialogKind::ExportTileset, tiles + "/b.lvl"), tiles);
    EXPECT_EQ(StartFolder(profile, FileDialogKind::ExportTiledMap, {}), QDir::homePath());
    EXPECT_EQ(StartFolder(profile, FileDialogKind::SaveAs, {}), levels)
        << "a new level's Save As starts where levels were opened";
    profile.sync();
    const QSettings again(profile.fileName(), QSettings::IniFormat);
    EXPECT_EQ(StartFolder(again, FileDialogKind::ExportPicture, {}), pictures)
        << "kept in the profile";
}

TEST_F(DialogFolders, AFolderThatIsGoneOrNeverWasFallsBack) {
    const std::string home = QDir::homePath().toStdString();
    const std::string level = Folder("levels") + "/a.lvl";
    const std::string file = scratch.Write("levels/old.lvl", {});
    struct Case {
        std::string remembered;
        std::string level; // the active level's path
        std::string expected;
    } cases[] = {
        {scratch.Path("gone/deeper"), {}, scratch.Path("")},
        {Folder("levels") + "/removed", level, Folder("levels")},
        {file, level, Folder("levels")}, // a file where a folder was
        {"relative/path", level, Folder("levels")},
        {"", level, Folder("levels")},
        {"/proc/no-such-folder-of-krav/x", {}, "/proc"},
        {"/no-such-top-folder-of-krav", level, Folder("levels")}, // only the root left
        {"/no-such-top-folder-of-krav", scratch.Path("gone/a.lvl"), home},
        {std::string("\0\n\x01", 3), {}, home},
    };
    for (const Case& c : cases) {
        profile.setValue(QStringLiteral("Folders/ExportPicture"),
                         QString::fromStdString(c.remembered));
        const QString start =
            StartFolder(profile, FileDialogKind::ExportPicture, QString::fromStdString(c.level));
        EXPECT_EQ(QDir::cleanPath(start).toStdString(),
                  QDir::cleanPath(QString::fromStdString(c.expected)).toStdString())
            << "remembered '" << c.remembered << "', level '" << c.level << "'";
        EXPECT_TRUE(QFileInfo(start).isDir()) << start.toStdString();
    }
}

// Runs `inDialog` on the file dialog the next call opens, once it shows.
void OnNextFileDialog(std::function<void(QFileDialog&)> inDialog) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, inDialog] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        inDialog(*dialog);
    });
    poll->start(10);
}

// Types a name into the dialog's name field and accepts it, noting the folder it showed. A
// dialog that does not take the name (it names no file there) is closed with a failure
// rather than left waiting for a user.
void TypeAndAccept(QFileDialog& dialog, const QString& name, QString* shown) {
    *shown = dialog.directory().absolutePath();
    auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(field, nullptr);
    field->setText(name);
    // Set before accepting: a dialog that refuses the name asks in a box of its own first.
    QTimer::singleShot(500, &dialog, [&dialog, name] {
        if (!dialog.isVisible())
            return;
        ADD_FAILURE() << "the dialog did not take " << name.toStdString();
        // First the message box the dialog may be showing about the name.
        for (QWidget* box : QApplication::topLevelWidgets())
            if (auto* modal = qobject_cast<QDialog*>(box); modal && modal != &dialog)
                if (modal->isVisible() && modal->parentWidget() &&
                    modal->parentWidget()->window() == &dialog)
                    modal->reject();
        dialog.reject();
    });
    static_cast<QDialog&>(dialog).accept(); // as the dialog's own button does
}

class DialogFoldersInTheEditor : public test::FrameFixture {};

TEST_F(DialogFoldersInTheEditor, ATypedFullPathIsWhereTheLevelGoesAndIsRememberedForSaveAs) {
    std::filesystem::create_directories(folder.Path("remembered"));
    std::filesystem::create_directories(folder.Path("elsewhere"));
    const QString remembered = QString::fromStdString(folder.Path("remembered"));
    const QString typed = QString::fromStdString(folder.Path("elsewhere/typed.lvl"));
    RememberFolder(*CKRAVApp::Profile(), FileDialogKind::SaveAs, remembered + "/old.lvl");
    ASSERT_TRUE(frame->NewLevel());
    CChildFrame* child = frame->ChildFrames().front();
    QString shown;
    OnNextFileDialog([&](QFileDialog& dialog) { TypeAndAccept(dialog, typed, &shown); });
    ASSERT_TRUE(frame->SaveLevel(child, true));
    EXPECT_EQ(shown, remembered) << "the new level's Save As starts in its last folder";
    EXPECT_TRUE(QFileInfo::exists(typed));
    EXPECT_FALSE(QFileInfo::exists(remembered + "/typed.lvl"));
    EXPECT_TRUE(QDir(remembered).isEmpty());
    EXPECT_EQ(QString::fromStdString(child->Document().GetPathName()), typed);

    // A bare name then goes to the folder of the typed path, which Save As now starts in.
    OnNextFileDialog([&](QFileDialog& dialog) { TypeAndAccept(dialog, "second.lvl", &shown); });
    ASSERT_TRUE(frame->SaveLevel(child, true));
    EXPECT_EQ(shown, QFileInfo(typed).absolutePath());
    EXPECT_TRUE(QFileInfo::exists(QFileInfo(typed).absolutePath() + "/second.lvl"));
    // Open was not used: it keeps no folder of Save As's.
    EXPECT_FALSE(CKRAVApp::Profile()->contains(QStringLiteral("Folders/Open")));
}

TEST_F(DialogFoldersInTheEditor, AMissingRememberedFolderStillOpensTheDialog) {
    const QString level = QString::fromStdString(folder.Write("a.lvl", {}));
    RememberFolder(*CKRAVApp::Profile(), FileDialogKind::Open,
                   QString::fromStdString(folder.Path("gone/deeper/x.lvl")));
    QString shown;
    OnNextFileDialog([&](QFileDialog& dialog) { TypeAndAccept(dialog, "a.lvl", &shown); });
    ASSERT_TRUE(frame->OpenLevel({}));
    EXPECT_EQ(shown, QFileInfo(level).absolutePath());
    ASSERT_EQ(frame->ChildFrames().size(), 1);
    EXPECT_EQ(QString::fromStdString(frame->ChildFrames().front()->Document().GetPathName()),
              QFileInfo(level).absoluteFilePath());
    EXPECT_EQ(StartFolder(*CKRAVApp::Profile(), FileDialogKind::Open, {}),
              QFileInfo(level).absolutePath());
}

} // namespace
} // namespace krav
