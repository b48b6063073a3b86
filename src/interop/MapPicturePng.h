#pragma once

#include "document/AtomicFile.h"
#include "render/MapPicture.h"

#include <functional>
#include <string>

namespace krav {

struct PictureWriteResult {
    bool cancelled = false;
    SaveError error = SaveError::None;
    std::string reason; // the system's words for a failed write

    bool Written() const { return !cancelled && error == SaveError::None; }
};

// Told how many of the picture's rows are done after each band; false cancels.
using PictureProgress = std::function<bool(long long rowsDone, long long rowsTotal)>;

// Draws a picture of the map and writes it as PNG, band by band, so that memory stays small
// for any size. The file is written atomically: when cancelled or failed, whatever was at path
// stays as it was and no partial file is left. krav-lvl render and the editor's Export Picture
// both write with it, so they write the same bytes.
PictureWriteResult WriteMapPicturePng(const RenderSource& source, const PictureRequest& request,
                                      const std::string& path,
                                      const PictureProgress& progress = {});
// The same into a file already opened (krav-lvl render's standard output); the file is
// committed when the picture is complete.
PictureWriteResult WriteMapPicturePng(const RenderSource& source, const PictureRequest& request,
                                      AtomicFileWriter& file, const PictureProgress& progress = {});

} // namespace krav
