// The main frame's side of the palette windows and the views: setting a view up, following
// the active view, and the radar window.
#include "document/CKRAVDoc.h"
#include "palettes/CRadarWnd.h"
#include "palettes/CSpclObjWnd.h"
#include "palettes/FramePlacement.h"
#include "palettes/TileInfoWnd.h"
#include "palettes/TileSetPaletteWnd.h"
#include "render/BuiltinObjectPictures.h"
#include "shell/CChildFrame.h"
#include "shell/CKRAVApp.h"
#include "shell/CMainFrame.h"
#include "shell/PaletteKeys.h"
#include "shell/PaletteLayout.h"
#include "shell/WhenExposed.h"
#include "view/CKRAVView.h"
#include "view/CursorHotSpots.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>
#include <QSettings>
#include <QToolBar>

namespace krav {

namespace {

const QString RADAR_WHOLE_MAP_KEY = QStringLiteral("Radar/WholeMap");

constexpr PaletteWindow ALL_PALETTES[] = {PaletteWindow::TileSet, PaletteWindow::TileInfo,
                                          PaletteWindow::SpecialObjects, PaletteWindow::Radar};

QString PaletteName(PaletteWindow palette) {
    switch (palette) {
    case PaletteWindow::TileSet:
        return QStringLiteral("Tileset");
    case PaletteWindow::SpecialObjects:
        return QStringLiteral("SpecialObjects");
    case PaletteWindow::Radar:
        return QStringLiteral("Radar");
    default:
        return QStringLiteral("TileInfo");
    }
}

QImage PictureImage(const ObjectPictureSet& set, int index) {
    const auto& picture = set.pictures[index];
    QImage image(picture.size, picture.size, QImage::Format_RGB32);
    for (int y = 0; y < picture.size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.size; ++x)
            line[x] = set.colours[picture.pixels[y * picture.size + x]];
    }
    return image;
}

// On a screen of device pixel ratio 2 the cursor is its doubled picture (NAME@2x.xpm), which
// the system shows pixel for pixel.
QCursor CursorFrom(const char* name, Point hotSpot, Qt::CursorShape fallback) {
    const QString path = QStringLiteral(":/art/") + QString::fromUtf8(name);
    QPixmap picture;
    int ratio = 1;
    if (qApp->devicePixelRatio() >= 2.0 && picture.load(QString(path).replace(".xpm", "@2x.xpm"))) {
        ratio = 2;
        picture.setDevicePixelRatio(ratio);
    } else {
        picture.load(path);
    }
    if (picture.isNull())
        return QCursor(fallback);
    // Qt takes the hot spot in pixels of ratio 1, but its X11 cursors hand it to the server
    // unscaled, with the picture's own pixels: there it is given in those.
    const int hotScale = QGuiApplication::platformName() == QLatin1String("xcb") ? ratio : 1;
    return QCursor(picture, hotSpot.x * hotScale, hotSpot.y * hotScale);
}

Rect ViewArea(const MapViewEngine& engine) {
    const ViewGeometry& view = engine.Geometry();
    return {view.LeftCol(), view.TopRow(), view.RightCol(), view.BottomRow()};
}

} // namespace

void CMainFrame::LoadPictures() {
    const ObjectPictureSet& pictures = BuiltinObjectPictures();
    for (int i = 0; i < 4; ++i)
        m_objectPictures[i] = PictureImage(pictures, i);
    m_cursors.insert(ID_TOOL_PENCIL,
                     CursorFrom("cursor_pencil.xpm", PENCIL_HOT_SPOT, Qt::ArrowCursor));
    m_cursors.insert(ID_TOOL_ERASER,
                     CursorFrom("cursor_eraser.xpm", ERASER_HOT_SPOT, Qt::ArrowCursor));
    m_cursors.insert(ID_TOOL_STAMP,
                     CursorFrom("cursor_stamp.xpm", STAMP_HOT_SPOT, Qt::ArrowCursor));
    m_cursors.insert(ID_TOOL_MAGNIFY,
                     CursorFrom("cursor_magnify.xpm", MAGNIFY_HOT_SPOT, Qt::ArrowCursor));
    m_cursors.insert(ID_TOOL_DROPPER,
                     CursorFrom("cursor_dropper.xpm", DROPPER_HOT_SPOT, Qt::ArrowCursor));
    m_moveCursor = CursorFrom("cursor_move.xpm", MOVE_HOT_SPOT, Qt::SizeAllCursor);
}

QCursor CMainFrame::ToolCursor(int tool) const {
    if (m_cursors.contains(tool))
        return m_cursors.value(tool);
    if (tool == ID_TOOL_SELECT || IsShapeTool(tool))
        return QCursor(Qt::CrossCursor);
    return QCursor(Qt::ArrowCursor);
}

QCursor CMainFrame::MoveCursor() const {
    return m_moveCursor;
}

void CMainFrame::CreatePalettes() {
    m_pTileSetPalette = new TileSetPaletteWnd(this);
    m_pTileInfo = new TileInfoWnd(this);
    m_pSpclObj = new CSpclObjWnd(this);
    m_pRadar = new CRadarWnd(this);
    auto* keys = new PaletteKeys(this, [this]() -> QWidget* { return ActiveView(); });
    for (const PaletteWindow palette : ALL_PALETTES)
        keys->Watch(Palette(palette));
    connect(m_pTileSetPalette, &TileSetPaletteWnd::tileChosen, this,
            [this](int index, bool isFore) { m_hub.ChooseTile(index, isFore); });
    connect(m_pSpclObj, &CSpclObjWnd::objectChosen, this, [this](unsigned object) {
        m_hub.SelectStampObject(object);
        if (CKRAVView* view = ActiveView())
            view->UpdateCursor();
    });
    connect(m_pRadar, &CRadarWnd::visibleAreaRequested, this,
            [this](int left, int top, int right, int bottom) {
                if (CKRAVView* view = ActiveView())
                    view->Engine().SetVisibleArea(left, top, right, bottom);
            });
    m_pRadar->SetWholeMap(CKRAVApp::Profile()->value(RADAR_WHOLE_MAP_KEY, false).toBool());
    connect(m_pRadar, &CRadarWnd::wholeMapChosen, this,
            [](bool wholeMap) { CKRAVApp::Profile()->setValue(RADAR_WHOLE_MAP_KEY, wholeMap); });
}

QRect CMainFrame::ViewClientOnScreen(CKRAVView& view) const {
    QWidget* client = view.viewport();
    return QRect(client->mapToGlobal(QPoint(0, 0)), client->size());
}

void CMainFrame::AddChildFrame(std::unique_ptr<CKRAVDoc> doc) {
    auto* child = new CChildFrame(std::move(doc), *this);
    connect(child, &CChildFrame::closeRequested, this,
            [this](CChildFrame* frame) { CloseLevel(frame); });
    m_mdiArea->addSubWindow(child);
    child->showMaximized();
    UpdateMenuBar();
    // Let the new window take its size now: the palettes are placed beside its view.
    QCoreApplication::sendPostedEvents();
    const bool first = !m_palettesPlaced;
    // The palettes the first view shows appear once they have their places beside it.
    if (first)
        m_heldPalettes.emplace();
    m_hub.ViewOpened();
    OnSubWindowActivated(child);
    if (first) {
        // The first view of the run places the palettes beside it, once the window manager
        // has put the main window on the screen: before that its place there is a guess.
        m_palettesPlaced = true;
        // The palette follows whichever view is active by then (several may open at once).
        RunWhenExposed(this, [this] {
            if (CKRAVView* view = ActiveView()) {
                if (!m_keptPlaces.count(PaletteWindow::Radar))
                    m_pRadar->PlaceBesideView(ViewClientOnScreen(*view));
                if (!m_keptPlaces.count(PaletteWindow::TileInfo))
                    m_pTileInfo->PlaceBesideView(ViewClientOnScreen(*view));
                const MapViewEngine& engine = view->Engine();
                m_pTileSetPalette->SetupForView(engine.ForeTile(), engine.BackTile(),
                                                view->TileSetImage(), view,
                                                ViewClientOnScreen(*view));
            }
            const auto held = *m_heldPalettes;
            m_heldPalettes.reset();
            for (const PaletteWindow palette : held)
                ShowPalette(palette, !m_keptHidden.count(palette));
            if (m_objectsShownAtStart)
                ShowObjectsAtStart();
        });
    }
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window) {
    auto* child = qobject_cast<CChildFrame*>(window ? window : m_mdiArea->currentSubWindow());
    CKRAVView* view = child ? child->View() : nullptr;
    if (view == m_lastActiveView)
        return;
    m_lastActiveView = view;
    m_hub.SetActiveView(view ? &view->Engine() : nullptr);
    if (!view) {
        m_pRadar->ShowDocument(nullptr, nullptr, {}); // the radar must not keep a closed map
        return;
    }
    MapViewEngine& engine = view->Engine();
    // The first view's set-up also places the palette, once the view has its size.
    if (m_palettesPlaced)
        m_pTileSetPalette->SetupForView(engine.ForeTile(), engine.BackTile(), view->TileSetImage(),
                                        view, ViewClientOnScreen(*view));
    m_pTileInfo->SetupInfo(engine.ForeTile(), engine.BackTile(), view->TileSetImage());
    m_pTileInfo->ShowKeptCode(-1); // until the pointer is over a kept cell of this view
    RadarShowDocument(*view);
    view->UpdateCursor();
}

// --- FrameHost -----------------------------------------------------------------------------

QWidget* CMainFrame::Palette(PaletteWindow palette) const {
    switch (palette) {
    case PaletteWindow::TileSet:
        return m_pTileSetPalette;
    case PaletteWindow::SpecialObjects:
        return m_pSpclObj;
    case PaletteWindow::Radar:
        return m_pRadar;
    default:
        return m_pTileInfo;
    }
}

bool CMainFrame::IsPaletteVisible(PaletteWindow palette) const {
    if (m_heldPalettes)
        return m_heldPalettes->count(palette) > 0;
    return Palette(palette)->isVisible();
}

void CMainFrame::ShowPalette(PaletteWindow palette, bool show) {
    if (m_heldPalettes) {
        show ? (void)m_heldPalettes->insert(palette) : (void)m_heldPalettes->erase(palette);
        return;
    }
    // The first time it shows, it finds a place of its own, clear of the other palettes.
    if (palette == PaletteWindow::SpecialObjects && show && !m_objectsPlaced) {
        m_objectsPlaced = true;
        PlaceFrameCorner(
            m_pSpclObj, m_pSpclObj->size(), Qt::TopLeftCorner,
            ObjectsPaletteSpot(*m_pSpclObj, *m_pTileSetPalette, *m_pRadar, *m_pTileInfo));
    }
    Palette(palette)->setVisible(show);
}

void CMainFrame::ShowObjectsAtStart() {
    const auto show = [this] { ShowPalette(PaletteWindow::SpecialObjects, true); };
    // Without a kept place it finds one clear of the others: once they are on the screen with
    // their decorations.
    if (m_objectsPlaced || !m_pTileSetPalette->isVisible())
        show();
    else
        RunWhenExposed(m_pTileSetPalette, show);
}

void CMainFrame::RestorePaletteLayout() {
    const auto profile = CKRAVApp::Profile();
    const QRect area = screen() ? screen()->availableGeometry() : QRect();
    for (const PaletteWindow palette : ALL_PALETTES) {
        const KeptPalette kept = LoadKeptPalette(*profile, PaletteName(palette));
        if (kept.visible && !*kept.visible)
            m_keptHidden.insert(palette);
        if (palette == PaletteWindow::SpecialObjects)
            m_objectsShownAtStart = kept.visible.value_or(false);
        if (!kept.frameTopLeft)
            continue;
        m_keptPlaces.insert(palette);
        QWidget* window = Palette(palette);
        const QSize client =
            kept.client->boundedTo(window->maximumSize()).expandedTo(window->minimumSize());
        const QPoint at = *kept.frameTopLeft;
        if (palette == PaletteWindow::TileSet)
            m_pTileSetPalette->PlaceFrame(at, client, area);
        else if (palette == PaletteWindow::Radar)
            m_pRadar->PlaceFrame(at, client, area);
        else
            PlaceFrameInside(window, client, at, area);
        if (palette == PaletteWindow::SpecialObjects)
            m_objectsPlaced = true;
    }
}

void CMainFrame::SavePaletteLayout() {
    const auto profile = CKRAVApp::Profile();
    // Without a view the palettes that go with the views are hidden: what they were while
    // one was open stays kept.
    const bool views = !ChildFrames().isEmpty();
    for (const PaletteWindow palette : ALL_PALETTES) {
        std::optional<bool> visible;
        if (views || palette == PaletteWindow::SpecialObjects)
            visible = IsPaletteVisible(palette);
        SaveKeptPalette(*profile, PaletteName(palette), visible, *Palette(palette));
    }
}

bool CMainFrame::IsToolsToolbarVisible() const {
    return m_toolsBar->isVisible();
}

void CMainFrame::ShowToolsToolbar(bool show) {
    m_toolsBar->setVisible(show);
}

void CMainFrame::TileChoiceChanged(int tile, bool isFore) {
    m_pTileSetPalette->SetTile(tile, isFore);
    m_pTileInfo->UpdateTile(tile, isFore);
}

Cell CMainFrame::SpecialObjectsChoice() const {
    return m_pSpclObj->GetSelectedObject();
}

// --- the radar follows the active view -----------------------------------------------------
// Changed cells and a moved view also change the status panes, the enabling and the modified
// marker, also when a timer (auto-scroll) made the change.

void CMainFrame::RadarCellsChanged(CKRAVView& view, const Rect& cells) {
    RequestCommandUiUpdate();
    if (IsActive(view))
        m_pRadar->UpdateCells(cells);
}

void CMainFrame::RadarCellChanged(CKRAVView& view, int x, int y) {
    RequestCommandUiUpdate();
    if (IsActive(view))
        m_pRadar->UpdateCell(x, y);
}

void CMainFrame::RadarViewScrolled(CKRAVView& view, bool vertical) {
    RequestCommandUiUpdate();
    if (!IsActive(view))
        return;
    const Rect area = ViewArea(view.Engine());
    vertical ? m_pRadar->ScrollViewRows(area.top, area.bottom)
             : m_pRadar->ScrollViewCols(area.left, area.right);
}

void CMainFrame::RadarViewRectChanged(CKRAVView& view) {
    RequestCommandUiUpdate();
    if (IsActive(view))
        m_pRadar->SetViewRect(ViewArea(view.Engine()));
}

void CMainFrame::RadarShowDocument(CKRAVView& view) {
    // During set-up the view is not active yet; activation shows it.
    if (IsActive(view))
        m_pRadar->ShowDocument(&view.Document(), &view.Engine().Radar(), ViewArea(view.Engine()));
}

void CMainFrame::PointerOverCell(CKRAVView& view, Cell v) {
    if (IsActive(view))
        m_pTileInfo->ShowKeptCode(IsKeptCell(v) ? KeptCode(v) : -1);
}

} // namespace krav
