#pragma once

#include "document/CKRAVDoc.h"

#include <string>
#include <vector>

namespace krav {

// What an opened level holds that the editor would not have made, and that Open keeps,
// settles or passes over in silence: objects that overlapped each other or tiles, objects
// reaching past the map's edge, cells of unknown codes kept, bytes kept verbatim after the
// tile set's pixels. One phrase each, in that order; none for a level the editor could have
// saved.
std::vector<std::string> StrictFindings(const CKRAVDoc& doc);

} // namespace krav
