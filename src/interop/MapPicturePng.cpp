#include "MapPicturePng.h"

#include "PngRowWriter.h"

namespace krav {

namespace {

bool FitsInPng(const PictureRequest& request) {
    const long long width = request.Width();
    const long long height = request.Height();
    return width >= 1 && height >= 1 && width <= PICTURE_MAX_SIDE && height <= PICTURE_MAX_SIDE;
}

} // namespace

PictureWriteResult WriteMapPicturePng(const RenderSource& source, const PictureRequest& request,
                                      const std::string& path, const PictureProgress& progress) {
    PictureWriteResult result;
    if (!FitsInPng(request)) {
        result.error = SaveError::Failed;
        return result;
    }
    AtomicFileWriter file;
    result.error = file.Open(path);
    if (result.error == SaveError::None)
        result = WriteMapPicturePng(source, request, file, progress);
    result.reason = file.Reason();
    return result;
}

PictureWriteResult WriteMapPicturePng(const RenderSource& source, const PictureRequest& request,
                                      AtomicFileWriter& file, const PictureProgress& progress) {
    PictureWriteResult result;
    if (!FitsInPng(request)) {
        result.error = SaveError::Failed;
        return result;
    }
    const long long width = request.Width();
    const long long height = request.Height();
    PngRowWriter png([&file](std::span<const std::uint8_t> bytes) { return file.Write(bytes); });
    bool encoded = png.Start(width, height);
    const bool drawn =
        encoded &&
        DrawMapPicture(source, request, [&](const std::uint32_t* pixels, int firstRow, int rows) {
            encoded = png.WriteRows(pixels, rows, static_cast<int>(width));
            if (!encoded)
                return false;
            if (progress && !progress(firstRow + rows, height)) {
                result.cancelled = true;
                return false;
            }
            return true;
        });
    if (result.cancelled)
        return result; // the writer removes its temporary file
    if (!drawn || !encoded || !png.Finish()) {
        // The file's own failure says why (a full disk); otherwise the encoder failed. The
        // writer removes its temporary file.
        const SaveError fileError = file.WriteError();
        result.error = fileError != SaveError::None ? fileError : SaveError::Failed;
        return result;
    }
    result.error = file.Commit();
    return result;
}

} // namespace krav
