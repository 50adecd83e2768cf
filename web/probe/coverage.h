// SPDX-License-Identifier: MIT
// Where a recorded triangle meets a pixel's centre, as the rasteriser finds it: vertices
// snapped to its sub-pixel grid, culling as the draw had it, the part between the near and
// far planes, and the weights the colours are interpolated with there (perspective-correct).
#ifndef WEB_PROBE_COVERAGE_H
#define WEB_PROBE_COVERAGE_H

#include <cstdint>

#include "frame_record.h"

namespace zbv::web::probe {

struct Hit {
  double weight[3];
  double depth;  // window z
};

// A centre exactly on an edge of a triangle within the depth range, or near the edge of one
// that must be clipped, is the rasteriser's own to decide: `ask`. A centre outside by less
// than half a pixel is `near`: only where the rasteriser says the draw covers the pixel and
// no triangle does by these tests is one of those taken.
enum class Cover { no, yes, ask, near };

// Whether triangle v of a draw covers window point (px, py) (a pixel's centre), is not culled
// and lies within the depth range; the weights and the depth where it may. The rasteriser
// places vertices to 1 / snap of a pixel.
Cover covers(const Draw& d, const FrameRecord& r, const gl::Vec4* const v[3], double px, double py,
             double snap, Hit* hit);

// The vertices (indices into its vertices) of triangle t of the primitive; false past the
// last.
bool triangle(const gl::Primitive& d, std::size_t t, std::uint32_t out[3]);
// The triangle of the primitive whose last vertex, in the order the primitive takes them, is
// the nth; or a number past the last where none is.
std::size_t triangleEndingAt(const gl::Primitive& d, std::size_t n);

// Where the ray through window point (px, py) meets the plane of triangle v: its weights and
// depth there, however the triangle lies; false where the ray runs along it or meets it
// behind the eye.
bool onRay(const FrameRecord& r, const gl::Vec4* const v[3], double px, double py, Hit* hit);

}  // namespace zbv::web::probe

#endif  // WEB_PROBE_COVERAGE_H
