// SPDX-License-Identifier: MIT
// What a frame left in the depth buffer, as the gallery shows it: a grey picture and one line
// of figures.
#ifndef GALLERY_DEPTH_PICTURE_H
#define GALLERY_DEPTH_PICTURE_H

#include <string>

#include "depth.h"
#include "image.h"

namespace zbv {

// Grey picture of a depth map: the nearest value present white, the cleared value 1 black,
// linear in between; all black when nothing was stored.
Image depthPicture(const DepthMap& depth);

// One line on the values found: the nearest, the farthest short of 1 (with so many decimals),
// how many pixels keep 1.
std::string describeDepth(const DepthMap& depth, int decimals = 6);

}  // namespace zbv

#endif  // GALLERY_DEPTH_PICTURE_H
