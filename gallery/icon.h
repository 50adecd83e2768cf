// SPDX-License-Identifier: MIT
// The program's icon: its own start-up picture, scaled down to the sizes desktops and
// Windows ask for.
#ifndef GALLERY_ICON_H
#define GALLERY_ICON_H

#include <string>

#include "image.h"
#include "outcome.h"

namespace zbv {

// Square sizes in pixels: 48, 128 and 256 for the desktop's icon theme; with 16 and 32 also
// for the Windows .exe.
inline constexpr int kIconSizes[] = {16, 32, 48, 128, 256};

// The file name of the icon of one size: "zbuffer-viewer-48.png".
std::string iconFile(int size);

// The picture scaled down to size x size, each pixel the average of the part of the picture
// it covers; as fine as the picture (its bits per channel).
Outcome<Image> makeIcon(const Image& picture, int size);

}  // namespace zbv

#endif  // GALLERY_ICON_H
