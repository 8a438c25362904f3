// What the engine left in an image file: nothing, a picture cut short, or a picture. A picture
// is cut short when its format ends with a marker (PNG, GIF, JPEG, PDF, SVG) that it lacks, as
// after a disk that filled up while the engine wrote.
#pragma once

#include <string>

namespace rizari {

enum class ImageState { Empty, Incomplete, Complete };

// The state of the regular file at the path; a file that cannot be read counts as empty.
ImageState checkImage(const std::string& path);

}  // namespace rizari
