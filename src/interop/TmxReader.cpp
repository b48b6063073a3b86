#include "TmxReader.h"

#include "TmxLayerData.h"
#include "TmxNames.h"
#include "document/TileCodes.h"

#include <QXmlStreamReader>

namespace krav {

namespace {

using Attributes = QXmlStreamAttributes;

int IntOf(const Attributes& attributes, const char* name) {
    return attributes.value(QLatin1String(name)).toInt();
}

std::optional<double> NumberOf(const Attributes& attributes, const char* name) {
    if (!attributes.hasAttribute(QLatin1String(name)))
        return std::nullopt;
    return attributes.value(QLatin1String(name)).toDouble();
}

bool IsStart(const QXmlStreamReader& xml, const char* name) {
    return xml.isStartElement() && xml.name() == QLatin1String(name);
}

// Reads the <properties> element the reader is on; a value may be an attribute or, when it
// spans lines, the element's text.
std::map<QString, QString> ReadProperties(QXmlStreamReader& xml) {
    std::map<QString, QString> properties;
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("property")) {
            xml.skipCurrentElement();
            continue;
        }
        const Attributes attributes = xml.attributes();
        const QString name = attributes.value(QLatin1String("name")).toString();
        if (attributes.hasAttribute(QLatin1String("value"))) {
            properties[name] = attributes.value(QLatin1String("value")).toString();
            xml.skipCurrentElement();
        } else {
            properties[name] = xml.readElementText(QXmlStreamReader::SkipChildElements);
        }
    }
    return properties;
}

std::optional<QString> Property(const std::map<QString, QString>& properties, const char* name) {
    const auto found = properties.find(QString::fromUtf8(name));
    if (found == properties.end())
        return std::nullopt;
    return found->second;
}

TmxTileSet ReadTileSet(QXmlStreamReader& xml) {
    const Attributes attributes = xml.attributes();
    TmxTileSet tileSet;
    tileSet.firstGid = attributes.value(QLatin1String("firstgid")).toUInt();
    tileSet.name = attributes.value(QLatin1String("name")).toString();
    tileSet.externalSource = attributes.value(QLatin1String("source")).toString();
    tileSet.tileWidth = IntOf(attributes, "tilewidth");
    tileSet.tileHeight = IntOf(attributes, "tileheight");
    tileSet.objectAlignment = attributes.value(QLatin1String("objectalignment")).toString();
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("properties")) {
            const auto parts = Property(ReadProperties(xml), tmx::BMP_PROPERTY);
            if (parts)
                tileSet.bmpParts = QByteArray::fromBase64(parts->toLatin1());
        } else if (xml.name() == QLatin1String("image")) {
            tileSet.imageSource = xml.attributes().value(QLatin1String("source")).toString();
            xml.skipCurrentElement();
        } else if (xml.name() == QLatin1String("tile")) {
            const int id = IntOf(xml.attributes(), "id");
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("properties")) {
                    if (const auto kind = Property(ReadProperties(xml), tmx::KIND_PROPERTY))
                        tileSet.tileKinds[id] = *kind;
                } else {
                    xml.skipCurrentElement();
                }
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    return tileSet;
}

// The gids of the <layer> the reader is on; an error names the layer.
LayerGids ReadLayer(QXmlStreamReader& xml, const QString& name) {
    LayerGids result;
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("data")) {
            xml.skipCurrentElement();
            continue;
        }
        const Attributes attributes = xml.attributes();
        const QString encoding = attributes.value(QLatin1String("encoding")).toString();
        if (encoding.isEmpty()) {
            // The oldest form: one <tile gid="..."/> per cell.
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("tile"))
                    result.gids.push_back(xml.attributes().value(QLatin1String("gid")).toUInt());
                xml.skipCurrentElement();
            }
            if (result.gids.size() != static_cast<std::size_t>(MAP_CELLS))
                result.error = "its data holds " + std::to_string(result.gids.size()) +
                               " cells; a level has " + std::to_string(MAP_CELLS);
        } else {
            const QString text = xml.readElementText(QXmlStreamReader::SkipChildElements);
            result =
                DecodeLayerData(encoding, attributes.value(QLatin1String("compression")).toString(),
                                text.toLatin1(), MAP_CELLS);
        }
    }
    if (!result.error.empty())
        result.error = "tile layer \"" + name.toStdString() + "\": " + result.error;
    else if (result.gids.empty())
        result.error = "tile layer \"" + name.toStdString() + "\" has no data";
    return result;
}

std::vector<TmxObject> ReadObjects(QXmlStreamReader& xml) {
    std::vector<TmxObject> objects;
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("object")) {
            xml.skipCurrentElement();
            continue;
        }
        const Attributes attributes = xml.attributes();
        TmxObject object;
        object.id = IntOf(attributes, "id");
        object.gid = attributes.value(QLatin1String("gid")).toUInt();
        object.x = NumberOf(attributes, "x").value_or(0);
        object.y = NumberOf(attributes, "y").value_or(0);
        object.width = NumberOf(attributes, "width");
        object.height = NumberOf(attributes, "height");
        object.rotation = NumberOf(attributes, "rotation").value_or(0);
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("properties"))
                object.kind = Property(ReadProperties(xml), tmx::KIND_PROPERTY);
            else
                xml.skipCurrentElement();
        }
        objects.push_back(object);
    }
    return objects;
}

std::string Pair(int a, int b) {
    return std::to_string(a) + " x " + std::to_string(b);
}

// Why a level cannot be made of a map of this shape, or empty.
std::string ShapeError(const TmxMap& map) {
    if (map.orientation != QLatin1String("orthogonal"))
        return "is an " + map.orientation.toStdString() + " map; a level is orthogonal";
    if (map.infinite)
        return "is an infinite map; a level is 1024 x 1024 cells";
    if (map.width != MAP_SIZE || map.height != MAP_SIZE)
        return "is " + Pair(map.width, map.height) + " cells; a level is 1024 x 1024";
    if (map.tileWidth != tmx::TILE_PIXELS || map.tileHeight != tmx::TILE_PIXELS)
        return "has tiles of " + Pair(map.tileWidth, map.tileHeight) +
               " pixels; a level's are 16 x 16";
    return {};
}

} // namespace

TmxReadResult ReadTmx(const QByteArray& bytes) {
    TmxReadResult result;
    TmxMap& map = result.map;
    QXmlStreamReader xml(bytes);
    bool sawMap = false;
    while (!xml.atEnd() && result.error.empty()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (IsStart(xml, "map") && !sawMap) {
            sawMap = true;
            const Attributes attributes = xml.attributes();
            map.orientation = attributes.value(QLatin1String("orientation")).toString();
            map.width = IntOf(attributes, "width");
            map.height = IntOf(attributes, "height");
            map.tileWidth = IntOf(attributes, "tilewidth");
            map.tileHeight = IntOf(attributes, "tileheight");
            map.infinite = IntOf(attributes, "infinite") != 0;
            result.error = ShapeError(map); // before any layer data is decoded
        } else if (!sawMap) {
            result.error =
                "is not a Tiled map: it starts with <" + xml.name().toString().toStdString() + ">";
        } else if (IsStart(xml, "tileset")) {
            map.tileSets.push_back(ReadTileSet(xml));
        } else if (IsStart(xml, "layer")) {
            const QString name = xml.attributes().value(QLatin1String("name")).toString();
            const bool named = name == QLatin1String(tmx::TILE_LAYER);
            if (map.hasTileLayer && (!named || map.tileLayerName == name)) {
                xml.skipCurrentElement();
                continue;
            }
            LayerGids layer = ReadLayer(xml, name);
            result.error = layer.error;
            map.hasTileLayer = true;
            map.tileLayerName = name;
            map.tiles = std::move(layer.gids);
        } else if (IsStart(xml, "objectgroup")) {
            if (xml.attributes().value(QLatin1String("name")) == QLatin1String(tmx::OBJECT_GROUP)) {
                auto objects = ReadObjects(xml);
                map.objects.insert(map.objects.end(), objects.begin(), objects.end());
            } else {
                xml.skipCurrentElement();
            }
        }
    }
    // A broken document explains whatever else went wrong while reading it.
    if (xml.hasError())
        result.error = "is not a readable Tiled map: " + xml.errorString().toStdString() +
                       " (line " + std::to_string(xml.lineNumber()) + ")";
    else if (result.error.empty() && !sawMap)
        result.error = "is not a Tiled map: it has no <map>";
    return result;
}

} // namespace krav
