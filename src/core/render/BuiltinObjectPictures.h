#pragma once

#include "render/ObjectPictureSet.h"

namespace krav {

// Our own pictures of the four special objects, in the built-in tile set's colours.
const ObjectPictureSet& BuiltinObjectPictures();

} // namespace krav
