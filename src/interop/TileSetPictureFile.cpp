#include "TileSetPictureFile.h"

#include "TileSetPicture.h"
#include "document/ReadError.h"

#include <QFile>
#include <QIODevice>
#include <QImageReader>

namespace krav {

namespace {

// A file's bytes as a read-only device with random access, for QImageReader.
class ByteSourceDevice final : public QIODevice {
public:
    explicit ByteSourceDevice(const ByteSource& source) : m_source(source) {
        open(QIODevice::ReadOnly);
    }
    qint64 size() const override { return static_cast<qint64>(m_source.Size()); }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        try {
            const std::span out(reinterpret_cast<std::uint8_t*>(data),
                                static_cast<std::size_t>(maxSize));
            return static_cast<qint64>(m_source.ReadAt(static_cast<std::uint64_t>(pos()), out));
        } catch (const ReadError&) {
            return -1;
        }
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    const ByteSource& m_source;
};

} // namespace

std::optional<PictureTileSet> ReadTileSetPictureFrom(QIODevice& device) {
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    if (reader.format().isEmpty())
        return std::nullopt;
    TileSetChoice choice = TileSetFromPicture(reader, {});
    return PictureTileSet{std::move(choice.tileSet), std::move(choice.note), !choice.unreadable};
}

std::optional<PictureTileSet> ReadTileSetPicture(const ByteSource& file) {
    ByteSourceDevice device(file);
    return ReadTileSetPictureFrom(device);
}

} // namespace krav
