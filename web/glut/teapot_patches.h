// SPDX-License-Identifier: MIT
// The teapot's Bezier patches: 4x4 control points each, by number into one shared table.
#ifndef WEB_TEAPOT_PATCHES_H
#define WEB_TEAPOT_PATCHES_H

namespace zbv::teapot {

inline constexpr int kPatchCount = 10;
inline constexpr int kControlPointCount = 129;
// Patches 0-5 (rim, body, lid, bottom) cover one quadrant and repeat in the other three;
// patches 6-9 (handle, spout) cover the half y <= 0 and repeat mirrored in y.
inline constexpr int kFirstHalfPatch = 6;

extern const int kPatches[kPatchCount][16];
extern const float kControlPoints[kControlPointCount][3];

}  // namespace zbv::teapot

#endif  // WEB_TEAPOT_PATCHES_H
