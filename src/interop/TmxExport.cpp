#include "TmxExport.h"

#include "ObjectSheet.h"
#include "TileSetPicture.h"
#include "TmxNames.h"
#include "document/AtomicFile.h"
#include "document/FileErrors.h"
#include "document/KeptCells.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QXmlStreamWriter>
#include <deque>
#include <span>
#include <vector>

namespace krav {

namespace {

struct Anchor {
    int col;
    int row;
    Cell kind;
};

std::vector<Anchor> AnchorsOf(const Cell* cells) {
    std::vector<Anchor> anchors;
    for (int i = 0; i < MAP_CELLS; ++i)
        if (ObjectSheetIndex(cells[i]) >= 0)
            anchors.push_back({i % MAP_SIZE, i / MAP_SIZE, cells[i]});
    return anchors;
}

// Rows of comma-separated gids, as Tiled writes them: every value but the last ends in ",".
QByteArray CsvOfTiles(const Cell* cells) {
    QByteArray csv;
    csv.reserve(MAP_CELLS * 3);
    csv.append('\n');
    for (int i = 0; i < MAP_CELLS; ++i) {
        const Cell v = cells[i];
        csv.append(QByteArray::number(IsTileCell(v) ? v + 1 : 0));
        if (i + 1 < MAP_CELLS)
            csv.append(',');
        if ((i + 1) % MAP_SIZE == 0)
            csv.append('\n');
    }
    return csv;
}

void WriteProperty(QXmlStreamWriter& xml, const char* name, const char* type,
                   const QString& value) {
    xml.writeStartElement(QStringLiteral("properties"));
    xml.writeEmptyElement(QStringLiteral("property"));
    xml.writeAttribute(QStringLiteral("name"), QString::fromUtf8(name));
    if (type)
        xml.writeAttribute(QStringLiteral("type"), QString::fromUtf8(type));
    xml.writeAttribute(QStringLiteral("value"), value);
    xml.writeEndElement();
}

void WriteImage(QXmlStreamWriter& xml, const QString& source, int width, int height) {
    xml.writeEmptyElement(QStringLiteral("image"));
    xml.writeAttribute(QStringLiteral("source"), source);
    xml.writeAttribute(QStringLiteral("width"), QString::number(width));
    xml.writeAttribute(QStringLiteral("height"), QString::number(height));
}

void WriteTileSets(QXmlStreamWriter& xml, const CKRAVDoc& doc, const QString& tmxPath) {
    xml.writeStartElement(QStringLiteral("tileset"));
    xml.writeAttribute(QStringLiteral("firstgid"), QStringLiteral("1"));
    xml.writeAttribute(QStringLiteral("name"), QString::fromUtf8(tmx::TILE_SET));
    xml.writeAttribute(QStringLiteral("tilewidth"), QString::number(TILE_SIZE));
    xml.writeAttribute(QStringLiteral("tileheight"), QString::number(TILE_SIZE));
    xml.writeAttribute(QStringLiteral("tilecount"), QString::number(TILE_COUNT));
    xml.writeAttribute(QStringLiteral("columns"), QString::number(TILES_ACROSS));
    if (!doc.IsDefaultTileSet())
        WriteProperty(xml, tmx::BMP_PROPERTY, nullptr,
                      QString::fromLatin1(BmpPartsOf(*doc.GetTileSet()).toBase64()));
    WriteImage(xml, TileSetPictureName(tmxPath), TILESET_WIDTH, TILESET_HEIGHT);
    xml.writeEndElement();

    const int kinds = static_cast<int>(OBJECT_KINDS.size());
    xml.writeStartElement(QStringLiteral("tileset"));
    xml.writeAttribute(QStringLiteral("firstgid"), QString::number(TILE_COUNT + 1));
    xml.writeAttribute(QStringLiteral("name"), QString::fromUtf8(tmx::OBJECT_TILE_SET));
    xml.writeAttribute(QStringLiteral("tilewidth"), QString::number(OBJECT_TILE_SIZE));
    xml.writeAttribute(QStringLiteral("tileheight"), QString::number(OBJECT_TILE_SIZE));
    xml.writeAttribute(QStringLiteral("tilecount"), QString::number(kinds));
    xml.writeAttribute(QStringLiteral("columns"), QString::number(kinds));
    // An object's position is then its anchor cell's top-left corner.
    xml.writeAttribute(QStringLiteral("objectalignment"), QStringLiteral("topleft"));
    WriteImage(xml, ObjectSheetName(tmxPath), OBJECT_TILE_SIZE * kinds, OBJECT_TILE_SIZE);
    for (int tile = 0; tile < kinds; ++tile) {
        xml.writeStartElement(QStringLiteral("tile"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(tile));
        WriteProperty(xml, tmx::KIND_PROPERTY, "int", QString::number(OBJECT_KINDS[tile]));
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void WriteObjects(QXmlStreamWriter& xml, const std::vector<Anchor>& anchors) {
    xml.writeStartElement(QStringLiteral("objectgroup"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("2"));
    xml.writeAttribute(QStringLiteral("name"), QString::fromUtf8(tmx::OBJECT_GROUP));
    int id = 1;
    for (const Anchor& anchor : anchors) {
        xml.writeStartElement(QStringLiteral("object"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(id++));
        xml.writeAttribute(QStringLiteral("gid"),
                           QString::number(TILE_COUNT + 1 + ObjectSheetIndex(anchor.kind)));
        xml.writeAttribute(QStringLiteral("x"), QString::number(anchor.col * tmx::TILE_PIXELS));
        xml.writeAttribute(QStringLiteral("y"), QString::number(anchor.row * tmx::TILE_PIXELS));
        xml.writeAttribute(QStringLiteral("width"), QString::number(OBJECT_TILE_SIZE));
        xml.writeAttribute(QStringLiteral("height"), QString::number(OBJECT_TILE_SIZE));
        WriteProperty(xml, tmx::KIND_PROPERTY, "int", QString::number(anchor.kind));
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

QByteArray MapXml(const CKRAVDoc& doc, const QString& tmxPath) {
    const std::vector<Anchor> anchors = AnchorsOf(doc.GetCells());
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("map"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.8"));
    xml.writeAttribute(QStringLiteral("orientation"), QStringLiteral("orthogonal"));
    xml.writeAttribute(QStringLiteral("renderorder"), QStringLiteral("right-down"));
    xml.writeAttribute(QStringLiteral("width"), QString::number(MAP_SIZE));
    xml.writeAttribute(QStringLiteral("height"), QString::number(MAP_SIZE));
    xml.writeAttribute(QStringLiteral("tilewidth"), QString::number(tmx::TILE_PIXELS));
    xml.writeAttribute(QStringLiteral("tileheight"), QString::number(tmx::TILE_PIXELS));
    xml.writeAttribute(QStringLiteral("infinite"), QStringLiteral("0"));
    // Empty cells look as they do in the editor.
    xml.writeAttribute(QStringLiteral("backgroundcolor"), QStringLiteral("#000000"));
    xml.writeAttribute(QStringLiteral("nextlayerid"), QStringLiteral("3"));
    xml.writeAttribute(QStringLiteral("nextobjectid"), QString::number(anchors.size() + 1));
    WriteTileSets(xml, doc, tmxPath);

    xml.writeStartElement(QStringLiteral("layer"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("1"));
    xml.writeAttribute(QStringLiteral("name"), QString::fromUtf8(tmx::TILE_LAYER));
    xml.writeAttribute(QStringLiteral("width"), QString::number(MAP_SIZE));
    xml.writeAttribute(QStringLiteral("height"), QString::number(MAP_SIZE));
    xml.writeStartElement(QStringLiteral("data"));
    xml.writeAttribute(QStringLiteral("encoding"), QStringLiteral("csv"));
    const QByteArray csv = CsvOfTiles(doc.GetCells());
    xml.writeCharacters(QLatin1StringView(csv));
    xml.writeEndElement();
    xml.writeEndElement();

    WriteObjects(xml, anchors);
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

struct Output {
    QString path;
    QByteArray bytes;
};

QByteArray PngOf(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        png.clear();
    return png;
}

// Every file is written and flushed before any is put in place, so that a failure leaves
// none of them and every old file as it was. The map comes last, so that a map written in
// place (a pipe) gets its bytes only once its pictures are ready.
std::string WriteTogether(const std::vector<Output>& outputs) {
    std::deque<AtomicFileWriter> files; // each removes its temporary file unless committed
    for (const Output& out : outputs) {
        AtomicFileWriter& file = files.emplace_back();
        const std::span<const std::uint8_t> bytes(
            reinterpret_cast<const std::uint8_t*>(out.bytes.constData()), out.bytes.size());
        if (out.bytes.isEmpty() || file.Open(out.path.toStdString()) != SaveError::None ||
            !file.Write(bytes) || file.Prepare() != SaveError::None)
            return out.path.toStdString() + ": " + WithReason("cannot be written", file.Reason());
    }
    for (std::size_t i = 0; i < outputs.size(); ++i)
        if (files[i].Commit() != SaveError::None)
            return outputs[i].path.toStdString() + ": " +
                   WithReason("cannot be written", files[i].Reason());
    return {};
}

QString PicturePath(const QString& tmxPath, const QString& name) {
    return QFileInfo(tmxPath).dir().filePath(name);
}

QString BaseName(const QString& tmxPath) {
    QString name = QFileInfo(tmxPath).fileName();
    if (name.endsWith(QStringLiteral(".tmx"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

} // namespace

QString TileSetPictureName(const QString& tmxPath) {
    return BaseName(tmxPath) + QStringLiteral("-tiles.png");
}

QString ObjectSheetName(const QString& tmxPath) {
    return BaseName(tmxPath) + QStringLiteral("-objects.png");
}

QStringList ExportTmxFiles(const QString& tmxPath) {
    // The pictures first: a map never names a picture that was not written.
    return {PicturePath(tmxPath, TileSetPictureName(tmxPath)),
            PicturePath(tmxPath, ObjectSheetName(tmxPath)), tmxPath};
}

std::string ExportTmx(const CKRAVDoc& doc, const QString& tmxPath) {
    // A Tiled map has a gid for every tile and object only: the codes of kept cells would be
    // lost on the way back.
    const KeptCellCount kept = CountKeptCells(doc.GetCells());
    if (kept.cells > 0)
        return "the level holds " + std::to_string(kept.cells) + " kept cell" +
               (kept.cells == 1 ? "" : "s") + " (" + CodeList(kept.codes) +
               ", no tile and no object): a Tiled map cannot hold " +
               (kept.cells == 1 ? "it" : "them") + ", so nothing was written";
    const QStringList paths = ExportTmxFiles(tmxPath);
    return WriteTogether({{paths[0], PngOf(TileSetToImage(*doc.GetTileSet()))},
                          {paths[1], PngOf(ObjectSheet())},
                          {paths[2], MapXml(doc, tmxPath)}});
}

} // namespace krav
