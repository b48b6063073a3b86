#pragma once

#include "frame/FrameHost.h"
#include "frame/MainFrameHub.h"
#include "render/MapPicture.h"
#include "shell/DialogFolders.h"
#include "shell/MessageBoxPrompt.h"
#include "shell/RecentFiles.h"
#include "shell/RecoveryDialog.h"
#include "shell/RecoveryStore.h"
#include "view/ViewFrame.h"

#include <QHash>
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QTimer;
class QToolBar;

namespace krav {

class StatusPane;
class TileSetChooser;

class CChildFrame;
class CKRAVDoc;
class CKRAVView;
class CRadarWnd;
class CSpclObjWnd;
class TileInfoWnd;
class TileSetPaletteWnd;
class UiUpdateTrigger;
class WindowListMenu;

// The editor's main window: menus, toolbars, status bar, the palettes and one child window
// per open level. Its decisions (tools, commands, enabling) are the core hub's; it maps them
// onto Qt.
class CMainFrame : public QMainWindow, public FrameHost, public ViewFrame {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    // File commands; false when nothing was opened or saved.
    bool NewLevel();
    bool OpenLevel(const QString& path);
    bool SaveLevel(CChildFrame* child, bool askForName);
    // Closes a level's window, asking to save a modified level first; false if cancelled.
    bool CloseLevel(CChildFrame* child);
    // Files a later `krav FILE...` handed over: opens them (a new level for none) and comes
    // to the front.
    void OpenHandedOver(const QStringList& files);
    // Tiled maps: the active level written as one, and a new untitled level made of one.
    bool ExportTiledMap(CChildFrame* child, const QString& path);
    bool ImportTiledMap(const QString& path);
    // Tile sets: the chooser's choice applied to the active level (every view of it takes the
    // new tile set; true when it changed), and the level's tile set written as a BMP.
    bool ApplyTileSetChoice(TileSetChooser& chooser);
    bool ExportTileSet(CChildFrame* child, const QString& path);
    // File > Export Picture: the active level as a PNG, as chosen in its dialog (or given),
    // with a progress dialog that can cancel it; false when cancelled or not written.
    bool ExportPicture(CChildFrame* child, std::optional<PictureRequest> chosen = {},
                       const QString& path = {});

    QAction* Action(int id) const { return m_actions.value(id); }
    CKRAVView* ActiveView() const;
    QList<CChildFrame*> ChildFrames() const;
    // Enables and checks every action, refreshes the status panes from the active view and
    // the titles from the levels; writes only what changed.
    void UpdateCommandUi();
    // Asks for that update once the current event has been handled.
    void RequestCommandUiUpdate();
    const RecentFiles& Recent() const { return m_recent; }
    TileSetPaletteWnd* TileSetPalette() const { return m_pTileSetPalette; }
    // Tests answer the frame's questions instead of message boxes.
    void SetPromptForTesting(Prompt& prompt) { m_prompt.SetTarget(prompt); }
    CRadarWnd* Radar() const { return m_pRadar; }
    TileInfoWnd* TileInfo() const { return m_pTileInfo; }
    // View > Detailed Tiles When Zoomed Out: kept in the profile, every view repainted.
    void SetDetailedTiles(bool detailed);

    // Crash recovery: what the autosave timer does, on demand.
    void AutosaveNow();
    // Offers the levels a crashed run left behind, choose deciding (by default the recovery
    // dialog asks the user); returns how many were opened.
    using RecoveryChooser = std::function<RecoveryDecision(const std::vector<RecoveryEntry>&)>;
    int OfferRecovery(const RecoveryChooser& choose);
    int OfferRecovery();

    // FrameHost
    bool IsPaletteVisible(PaletteWindow palette) const override;
    void ShowPalette(PaletteWindow palette, bool show) override;
    bool IsToolsToolbarVisible() const override;
    void ShowToolsToolbar(bool show) override;
    void TileChoiceChanged(int tile, bool isFore) override;
    Cell SpecialObjectsChoice() const override;
    void RunImportTileset() override;

    // ViewFrame
    MainFrameHub& Hub() override { return m_hub; }
    Prompt& UserPrompt() override { return m_prompt; }
    const QImage& ObjectPicture(int index) const override { return m_objectPictures[index]; }
    QCursor ToolCursor(int tool) const override;
    QCursor MoveCursor() const override;
    void RadarCellsChanged(CKRAVView& view, const Rect& cells) override;
    void RadarCellChanged(CKRAVView& view, int x, int y) override;
    void RadarViewScrolled(CKRAVView& view, bool vertical) override;
    void RadarViewRectChanged(CKRAVView& view) override;
    void RadarShowDocument(CKRAVView& view) override;
    bool DetailedTilesWhenZoomedOut() const override { return m_bDetailedTiles; }
    void PointerOverCell(CKRAVView& view, Cell v) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateStatusBar();
    void CreatePalettes();
    // The palettes' visibility and places kept in the profile: put back at the start (the
    // places at once, the visibility with the first view), written when the frame closes and
    // when the last view closes (before that hides them).
    void RestorePaletteLayout();
    void SavePaletteLayout();
    void ShowObjectsAtStart();
    QWidget* Palette(PaletteWindow palette) const;
    void LoadPictures();
    void OnCommand(int id);
    void OnSubWindowActivated(QMdiSubWindow* window);
    void AddChildFrame(std::unique_ptr<CKRAVDoc> doc);
    void UpdateMenuBar();
    void UpdateRecentMenu();
    CChildFrame* FrameOfPath(const QString& path) const;
    // The folder the file dialog starts in, and remembering where a file was chosen in it.
    QString DialogFolder(FileDialogKind kind) const;
    void RememberDialogFolder(FileDialogKind kind, const QString& chosen);
    // Where to export a level: `chosen` when given (tests and scripts name the file), else
    // asked with its title and the suffix in the dialog's folder. The suffix is added to a name
    // typed without one; empty when the user cancelled.
    QString ExportPath(const QString& chosen, const CKRAVDoc& doc, FileDialogKind kind,
                       const QString& title, const QString& suffix, const QString& filter);
    bool IsActive(const CKRAVView& view) const { return ActiveView() == &view; }
    QRect ViewClientOnScreen(CKRAVView& view) const;
    void StartAutosave();
    // The level is saved or closed on purpose: its recovery copy has served.
    void DropRecoveryCopy(CChildFrame* child);
    bool OpenRecovered(const RecoveryEntry& entry);

    MessageBoxPrompt m_boxes{this};
    ForwardingPrompt m_prompt{m_boxes};
    MainFrameHub m_hub{*this, m_prompt};
    RecentFiles m_recent;
    QMdiArea* m_mdiArea = nullptr;
    QHash<int, QAction*> m_actions;
    QMenu* m_recentMenu = nullptr;
    std::unique_ptr<WindowListMenu> m_windowList;
    UiUpdateTrigger* m_uiUpdate = nullptr;
    QList<QAction*> m_recentActions;
    QList<QMenu*> m_menusNoLevel; // the menu bar while no level is open
    QList<QMenu*> m_menusLevel;   // and while one is
    bool m_showingLevelMenus = false;
    QToolBar* m_mainBar = nullptr;
    QToolBar* m_toolsBar = nullptr;
    std::array<StatusPane*, 5> m_panes{};
    TileSetPaletteWnd* m_pTileSetPalette = nullptr;
    TileInfoWnd* m_pTileInfo = nullptr;
    CRadarWnd* m_pRadar = nullptr;
    CSpclObjWnd* m_pSpclObj = nullptr;
    std::array<QImage, 4> m_objectPictures;
    QHash<int, QCursor> m_cursors;
    QCursor m_moveCursor;
    int m_nextUntitled = 1;
    bool m_palettesPlaced = false;
    bool m_bDetailedTiles = false;
    // Palettes to show once the first view has placed them; empty (no set) from then on.
    std::optional<std::set<PaletteWindow>> m_heldPalettes;
    // Palettes whose place came from the profile (the first view does not place them), and
    // those kept hidden or shown there; the Special Objects palette once it has a place.
    std::set<PaletteWindow> m_keptPlaces;
    std::set<PaletteWindow> m_keptHidden;
    bool m_objectsShownAtStart = false;
    bool m_objectsPlaced = false;
    CKRAVView* m_lastActiveView = nullptr;
    RecoveryStore m_recovery;
    struct RecoveryCopy {
        QString id;
        std::size_t hash = 0; // of the bytes last written, to skip unchanged levels
    };
    QHash<CChildFrame*, RecoveryCopy> m_recoveryCopies;
    QTimer* m_autosaveTimer = nullptr;
};

} // namespace krav
