#pragma once

#include "document/TileSetChooser.h"

#include <QFileDialog>
#include <QImage>

class QLabel;

namespace krav {

// File > Import Tileset: an open-file dialog (Qt's own, so that it can be extended) with an
// area beside the files that previews the tile set the selected file would give. The choice
// is the chooser's; the caller applies it after OK.
class ImportTileSetDialog final : public QFileDialog {
    Q_OBJECT
public:
    ImportTileSetDialog(QWidget* parent, const QString& folder);

    TileSetChooser& Chooser() { return m_chooser; }
    // What the preview area shows, for tests.
    QString NoteText() const;
    bool ShowsPlaceholder() const;

    void accept() override;

private:
    void OnCurrentChanged(const QString& path);
    void ShowChoice();

    TileSetChooser m_chooser;
    QImage m_placeholder;
    QLabel* m_picture;
    QLabel* m_note;
};

} // namespace krav
