#include "shell/CMainFrame.h"

#include "frame/CommandIds.h"
#include "frame/StatusPanes.h"
#include "shell/AboutDialog.h"
#include "shell/CChildFrame.h"
#include "shell/CKRAVApp.h"
#include "shell/CommandTable.h"
#include "shell/DockState.h"
#include "shell/MenuLettersFirst.h"
#include "shell/StatusPane.h"
#include "shell/UiUpdateTrigger.h"
#include "shell/WindowMenu.h"
#include "view/CKRAVView.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

// The pictures are compiled into this static library; register them before first use (tests
// make frames without the application object, which does it too).
static void InitialiseResources() {
    Q_INIT_RESOURCE(krav);
}

namespace krav {

namespace {

// Sizing strings of the five view panes of the status bar.
const char* const PANE_SIZES[5] = {"1024, 1024  :: AA99", "999, 999 --> 1024, 1024 :: A20 --> A20",
                                   "999, 999 --> 1024, 1024 :: A20 --> A20", "Zoom 100:100",
                                   "Flags: 99999"};

const QString DETAILED_TILES_KEY = QStringLiteral("View/DetailedTiles");

bool IsLevelFile(const QUrl& url) {
    return url.isLocalFile();
}

} // namespace

CMainFrame::CMainFrame() {
    InitialiseResources();
    setObjectName(QStringLiteral("MainFrame"));
    // The title stays the editor's name: while a level window is maximised, the MDI area adds
    // " - [level]" itself, with the level's modified marker placeholder.
    setWindowTitle(QStringLiteral("Orbalon Map Editor"));
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setBackground(QColor(0x50, 0x50, 0x50));
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
    setAcceptDrops(true);

    LoadPictures();
    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateStatusBar();
    CreatePalettes();
    RestorePaletteLayout();
    m_recent.Load();
    UpdateRecentMenu();
    UpdateMenuBar();
    RestoreDockState(*this,
                     CKRAVApp::Profile()->value(QStringLiteral("MyDockState")).toByteArray());
    m_bDetailedTiles = CKRAVApp::Profile()->value(DETAILED_TILES_KEY, false).toBool();
    StartAutosave();

    // Commands, panes and titles follow the active view after whatever may have changed it;
    // an idle editor does nothing at all.
    m_uiUpdate = new UiUpdateTrigger([this] { UpdateCommandUi(); }, this);
    m_uiUpdate->Request();
    new MenuLettersFirst(this);
}

// Qt hides the MDI area while the frame is torn down; its activation signal must not reach a
// frame that is no longer whole.
CMainFrame::~CMainFrame() {
    disconnect(m_mdiArea, nullptr, this, nullptr);
}

void CMainFrame::CreateActions() {
    for (const CommandInfo& command : CommandTable()) {
        auto* action = new QAction(command.text, this);
        QList<QKeySequence> keys;
        for (const QString& key : command.keys)
            keys.append(QKeySequence(key));
        action->setShortcuts(keys);
        // Palettes are windows of their own: the keys must work while one of them is active.
        action->setShortcutContext(Qt::ApplicationShortcut);
        action->setStatusTip(command.prompt);
        action->setToolTip(command.tooltip.isEmpty() ? command.prompt : command.tooltip);
        if (!command.icon.isEmpty())
            action->setIcon(QIcon(QStringLiteral(":/art/") + command.icon));
        // Menus show a check mark for the toggles and the current tool; beside a picture they
        // would only show the picture pressed in.
        action->setIconVisibleInMenu(false);
        action->setData(command.id);
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        addAction(action); // keys without a menu entry still reach the frame
        m_actions.insert(id, action);
    }
    for (const int id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_TOOLS_TOOLBAR, ID_TOGGLE_GRID,
                         ID_TOGGLE_TILESET, ID_TOGGLE_TILE_INFO, ID_TOGGLE_SPECIAL_OBJECTS,
                         ID_TOGGLE_RADAR, ID_DETAILED_TILES})
        m_actions[id]->setCheckable(true);
    // The tools are one choice: the menu marks the current one as one of a group. The marks
    // themselves follow the frame's current tool (UpdateCommandUi), which may also be none.
    auto* tools = new QActionGroup(this);
    tools->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (int id = ID_TOOL_FIRST; id <= ID_TOOL_LAST; ++id) {
        if (m_actions.contains(id)) {
            m_actions[id]->setCheckable(true);
            tools->addAction(m_actions[id]);
        }
    }
}

void CMainFrame::CreateMenus() {
    const auto add = [this](QMenu* menu, std::initializer_list<int> ids) {
        for (const int id : ids)
            id == 0 ? (void)menu->addSeparator() : menu->addAction(m_actions[id]);
    };
    auto* recentPlaceholder = new QAction(QStringLiteral("Recent File"), this);
    recentPlaceholder->setEnabled(false);
    for (int i = 0; i < RecentFiles::MAX_FILES; ++i) {
        auto* action = new QAction(this);
        connect(action, &QAction::triggered, this, [this, i] {
            if (i < m_recent.Files().size())
                OpenLevel(m_recent.Files().at(i));
        });
        m_recentActions.append(action);
    }
    m_recentActions.prepend(recentPlaceholder);
    const auto addRecent = [this](QMenu* menu) {
        menu->addSeparator();
        menu->addActions(m_recentActions);
        menu->addSeparator();
    };

    auto* fileNoLevel = new QMenu(QStringLiteral("&File"), this);
    add(fileNoLevel, {ID_FILE_NEW, ID_FILE_OPEN, 0, ID_IMPORT_TILED_MAP, 0, ID_FILE_PRINT_SETUP});
    addRecent(fileNoLevel);
    add(fileNoLevel, {ID_APP_EXIT});
    auto* viewNoLevel = new QMenu(QStringLiteral("&View"), this);
    add(viewNoLevel, {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_TOOLS_TOOLBAR});
    auto* help = new QMenu(QStringLiteral("&Help"), this);
    add(help, {ID_APP_ABOUT});
    m_menusNoLevel = {fileNoLevel, viewNoLevel, help};

    auto* file = new QMenu(QStringLiteral("&File"), this);
    add(file, {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0,
               ID_IMPORT_TILESET, ID_EXPORT_TILESET, ID_EXPORT_PICTURE, ID_IMPORT_TILED_MAP});
    add(file->addMenu(QStringLiteral("&Export")), {ID_EXPORT_TILED_MAP});
    add(file, {0, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP});
    addRecent(file);
    add(file, {ID_APP_EXIT});
    auto* edit = new QMenu(QStringLiteral("&Edit"), this);
    add(edit, {ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
               ID_ERASE_MAP, 0, ID_FLOAT_SELECTION, ID_DROP_SELECTION, ID_FILL_SELECTION});
    add(edit->addMenu(QStringLiteral("Flip Selection")), {ID_FLIP_HORIZONTAL, ID_FLIP_VERTICAL});
    auto* view = new QMenu(QStringLiteral("&View"), this);
    add(view->addMenu(QStringLiteral("Toolbars")),
        {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_TOOLS_TOOLBAR});
    add(view->addMenu(QStringLiteral("Palletes")),
        {ID_TOGGLE_TILESET, ID_TOGGLE_TILE_INFO, ID_TOGGLE_SPECIAL_OBJECTS, ID_TOGGLE_RADAR});
    add(view, {0, ID_TOGGLE_GRID, ID_DETAILED_TILES});
    auto* tools = new QMenu(QStringLiteral("Tools"), this);
    add(tools, {ID_TOOL_PENCIL, ID_TOOL_SELECT, ID_TOOL_ERASER, ID_TOOL_DROPPER, ID_TOOL_STAMP,
                ID_TOOL_MAGNIFY, 0, ID_TOOL_LINE, ID_TOOL_CONNECTED_LINE, ID_TOOL_RECTANGLE,
                ID_TOOL_FILLED_RECTANGLE, ID_TOOL_ELLIPSE, ID_TOOL_FILLED_ELLIPSE});
    auto* window = new QMenu(QStringLiteral("&Window"), this);
    add(window, {ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_TILE_VERT});
    m_windowList = std::make_unique<WindowListMenu>(*window, *m_mdiArea);
    m_menusLevel = {file, edit, view, tools, window, help};
}

void CMainFrame::UpdateMenuBar() {
    const bool level = !m_mdiArea->subWindowList().isEmpty();
    if (level == m_showingLevelMenus && !menuBar()->actions().isEmpty())
        return;
    m_showingLevelMenus = level;
    menuBar()->clear();
    for (QMenu* menu : level ? m_menusLevel : m_menusNoLevel)
        menuBar()->addMenu(menu);
}

void CMainFrame::UpdateRecentMenu() {
    const QStringList& files = m_recent.Files();
    m_recentActions[0]->setVisible(files.isEmpty());
    for (int i = 0; i < RecentFiles::MAX_FILES; ++i) {
        QAction* action = m_recentActions[i + 1];
        action->setVisible(i < files.size());
        if (i < files.size())
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(files.at(i)));
    }
}

void CMainFrame::CreateToolBars() {
    const auto make = [this](const QString& name, std::initializer_list<int> ids) {
        QToolBar* bar = addToolBar(name);
        bar->setObjectName(name); // saveState finds the bars by name
        bar->setIconSize(QSize(16, 16));
        for (const int id : ids)
            id == 0 ? (void)bar->addSeparator() : bar->addAction(m_actions[id]);
        return bar;
    };
    m_mainBar =
        make(QStringLiteral("Main"),
             {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE,
              0, ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_FILE_PRINT, ID_APP_ABOUT});
    m_toolsBar = make(QStringLiteral("Tools"), {ID_TOOL_PENCIL,
                                                ID_TOOL_SELECT,
                                                ID_TOOL_ERASER,
                                                ID_TOOL_DROPPER,
                                                ID_TOOL_STAMP,
                                                ID_TOOL_MAGNIFY,
                                                0,
                                                ID_FILL_SELECTION,
                                                ID_FLIP_HORIZONTAL,
                                                ID_FLIP_VERTICAL,
                                                0,
                                                ID_TOOL_LINE,
                                                ID_TOOL_CONNECTED_LINE,
                                                ID_TOOL_RECTANGLE,
                                                ID_TOOL_FILLED_RECTANGLE,
                                                ID_TOOL_ELLIPSE,
                                                ID_TOOL_FILLED_ELLIPSE,
                                                0,
                                                ID_TOGGLE_GRID,
                                                ID_TOGGLE_RADAR,
                                                ID_TOGGLE_SPECIAL_OBJECTS,
                                                ID_TOGGLE_TILESET,
                                                ID_TOGGLE_TILE_INFO});
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    for (int i = 0; i < 5; ++i) {
        m_panes[i] = new StatusPane(QString::fromUtf8(PANE_SIZES[i]), bar);
        m_panes[i]->setObjectName(QStringLiteral("Pane%1").arg(i + 1));
        bar->addPermanentWidget(m_panes[i]);
    }
    // The message pane says "Ready" whenever no prompt is shown.
    connect(bar, &QStatusBar::messageChanged, this, [bar](const QString& message) {
        if (message.isEmpty())
            bar->showMessage(QStringLiteral("Ready"));
    });
    bar->showMessage(QStringLiteral("Ready"));
}

void CMainFrame::OnCommand(int id) {
    if (MainFrameHub::Handles(id)) {
        m_hub.Execute(id);
        if (CKRAVView* view = ActiveView())
            view->UpdateCursor();
    } else {
        CChildFrame* child = qobject_cast<CChildFrame*>(m_mdiArea->currentSubWindow());
        switch (id) {
        case ID_FILE_NEW:
            NewLevel();
            break;
        case ID_FILE_OPEN:
            OpenLevel({});
            break;
        case ID_FILE_CLOSE:
            if (child)
                CloseLevel(child);
            break;
        case ID_FILE_SAVE:
        case ID_FILE_SAVE_AS:
            if (child)
                SaveLevel(child, id == ID_FILE_SAVE_AS);
            break;
        case ID_EXPORT_TILED_MAP:
            if (child)
                ExportTiledMap(child, {});
            break;
        case ID_IMPORT_TILED_MAP:
            ImportTiledMap({});
            break;
        case ID_EXPORT_TILESET:
            if (child)
                ExportTileSet(child, {});
            break;
        case ID_EXPORT_PICTURE:
            if (child)
                ExportPicture(child);
            break;
        case ID_APP_EXIT:
            close();
            break;
        case ID_VIEW_TOOLBAR:
            m_mainBar->setVisible(!m_mainBar->isVisible());
            break;
        case ID_VIEW_STATUS_BAR:
            statusBar()->setVisible(!statusBar()->isVisible());
            break;
        case ID_DETAILED_TILES:
            SetDetailedTiles(!m_bDetailedTiles);
            break;
        case ID_WINDOW_CASCADE:
            CascadeSubWindows(*m_mdiArea);
            break;
        case ID_WINDOW_TILE_HORZ:
            TileSubWindows(*m_mdiArea, true);
            break;
        case ID_WINDOW_TILE_VERT:
            TileSubWindows(*m_mdiArea, false);
            break;
        case ID_APP_ABOUT:
            AboutDialog(this).exec();
            break;
        default:
            break;
        }
    }
    UpdateCommandUi();
}

void CMainFrame::SetDetailedTiles(bool detailed) {
    m_bDetailedTiles = detailed;
    CKRAVApp::Profile()->setValue(DETAILED_TILES_KEY, detailed);
    for (CChildFrame* child : ChildFrames())
        child->View()->viewport()->update();
}

void CMainFrame::RequestCommandUiUpdate() {
    m_uiUpdate->Request();
}

void CMainFrame::UpdateCommandUi() {
    CKRAVView* view = ActiveView();
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        const int id = it.key();
        CommandState state;
        if (MainFrameHub::Handles(id)) {
            state = m_hub.State(id);
        } else {
            switch (id) {
            case ID_FILE_CLOSE:
            case ID_FILE_SAVE:
            case ID_FILE_SAVE_AS:
            case ID_EXPORT_TILED_MAP:
            case ID_EXPORT_TILESET:
            case ID_EXPORT_PICTURE:
            case ID_WINDOW_CASCADE:
            case ID_WINDOW_TILE_HORZ:
            case ID_WINDOW_TILE_VERT:
                state = {view != nullptr, false};
                break;
            case ID_VIEW_TOOLBAR:
                state = {true, m_mainBar->isVisible()};
                break;
            case ID_VIEW_STATUS_BAR:
                state = {true, statusBar()->isVisible()};
                break;
            case ID_DETAILED_TILES:
                state = {true, m_bDetailedTiles};
                break;
            case ID_FILE_PRINT:
            case ID_FILE_PRINT_PREVIEW:
            case ID_FILE_PRINT_SETUP:
                state = {false, false};
                break; // printing is not offered
            default:
                state = {true, false};
                break;
            }
        }
        QAction* action = it.value();
        if (action->isEnabled() != state.enabled)
            action->setEnabled(state.enabled);
        if (action->isCheckable() && action->isChecked() != state.checked)
            action->setChecked(state.checked);
    }
    const auto texts = StatusPaneTexts(view ? &view->Engine() : nullptr);
    for (int i = 0; i < 5; ++i)
        m_panes[i]->Show(QString::fromStdString(texts[i]));
    for (CChildFrame* child : ChildFrames())
        child->UpdateTitle();
    // Each write of a title reaches the window manager: write only what changed.
    auto* active = qobject_cast<CChildFrame*>(m_mdiArea->currentSubWindow());
    const bool modified = active && active->isMaximized() && active->isWindowModified();
    if (isWindowModified() != modified)
        setWindowModified(modified);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The layout is kept even when the user then cancels the closing.
    CKRAVApp::Profile()->setValue(QStringLiteral("MyDockState"), SaveDockState(*this));
    SavePaletteLayout();
    for (CChildFrame* child : ChildFrames()) {
        if (!CloseLevel(child)) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls())
        if (IsLevelFile(url))
            OpenLevel(url.toLocalFile());
    event->acceptProposedAction();
}

CKRAVView* CMainFrame::ActiveView() const {
    auto* child = qobject_cast<CChildFrame*>(m_mdiArea->currentSubWindow());
    return child ? child->View() : nullptr;
}

QList<CChildFrame*> CMainFrame::ChildFrames() const {
    QList<CChildFrame*> frames;
    for (QMdiSubWindow* window : m_mdiArea->subWindowList())
        if (auto* child = qobject_cast<CChildFrame*>(window))
            frames.append(child);
    return frames;
}

} // namespace krav
