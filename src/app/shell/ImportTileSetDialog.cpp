#include "shell/ImportTileSetDialog.h"

#include "TileSetPicture.h"
#include "TileSetPictureFile.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTreeView>
#include <QVBoxLayout>

namespace krav {

namespace {

// Room for a folder's path and the names of its files beside the 304 x 160 preview.
constexpr QSize FIRST_SIZE(960, 540);

} // namespace

ImportTileSetDialog::ImportTileSetDialog(QWidget* parent, const QString& folder)
    : QFileDialog(parent, QStringLiteral("Import Tile Set"), folder), m_chooser(ReadTileSetPicture),
      m_placeholder(QStringLiteral(":/art/tileset_placeholder.xpm")), m_picture(new QLabel),
      m_note(new QLabel) {
    // The platform's own dialog could not take the preview area.
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    setDefaultSuffix(QStringLiteral("lvl"));
    // First everything that can give a tile set, so that a typed name is not filtered out.
    setNameFilters({QStringLiteral("Tile Sets (*.lvl *.bmp *.png *.gif *.tif *.tiff *.ppm *.xpm)"),
                    QStringLiteral("Level Files (*.lvl)"), QStringLiteral("Bitmap Files (*.bmp)"),
                    QStringLiteral("Pictures (*.png *.gif *.tif *.tiff *.ppm *.xpm)")});

    auto* frame = new QGroupBox(QStringLiteral("Preview"));
    auto* column = new QVBoxLayout(frame);
    m_picture->setFixedSize(304, 160);
    m_note->setWordWrap(true);
    m_note->setMaximumWidth(304);
    m_note->setObjectName(QStringLiteral("tileSetNote"));
    column->addWidget(m_picture);
    column->addWidget(m_note);
    column->addStretch();
    // Qt's own dialog lays its parts out on a grid; the preview takes a column of its own.
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(frame, 0, grid->columnCount(), grid->rowCount(), 1);
    else if (layout())
        layout()->addWidget(frame);

    // Qt's own size leaves the folder's path and the file names squeezed beside the preview.
    QSize size = sizeHint().expandedTo(FIRST_SIZE);
    if (const QScreen* shown = parent ? parent->screen() : screen())
        size = size.boundedTo(shown->availableSize() * 9 / 10);
    resize(size);
    // The names take what is left once size, type and date show whole.
    if (auto* details = findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* columns = details->header();
        columns->setStretchLastSection(false);
        columns->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < columns->count(); ++column)
            columns->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }

    connect(this, &QFileDialog::currentChanged, this, &ImportTileSetDialog::OnCurrentChanged);
    // A name typed into the name field selects nothing in the list; preview it all the same.
    if (auto* nameField = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        connect(nameField, &QLineEdit::textChanged, this, [this](const QString& text) {
            const QFileInfo typed(directory(), text);
            if (!text.isEmpty() && typed.isFile())
                OnCurrentChanged(typed.absoluteFilePath());
        });
    ShowChoice();
}

void ImportTileSetDialog::OnCurrentChanged(const QString& path) {
    m_chooser.Select(path.toStdString());
    ShowChoice();
}

void ImportTileSetDialog::ShowChoice() {
    const TileSetBitmap* tileSet = m_chooser.Preview();
    m_picture->setPixmap(QPixmap::fromImage(tileSet ? TileSetToImage(*tileSet) : m_placeholder));
    m_note->setText(QString::fromStdString(m_chooser.Note()));
}

// OK on a file that gives no tile set would change nothing and say nothing: the dialog stays,
// with the reason beside the file. Names of folders and of files still to be found go to
// Qt's own handling.
void ImportTileSetDialog::accept() {
    const QStringList files = selectedFiles();
    if (files.size() == 1 && QFileInfo(files.front()).isFile()) {
        OnCurrentChanged(files.front());
        if (m_chooser.Choice() == TILESET_NONE) {
            QApplication::beep();
            return;
        }
    }
    QFileDialog::accept();
}

QString ImportTileSetDialog::NoteText() const {
    return m_note->text();
}

bool ImportTileSetDialog::ShowsPlaceholder() const {
    return m_chooser.Preview() == nullptr;
}

} // namespace krav
