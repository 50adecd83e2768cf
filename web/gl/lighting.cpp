// SPDX-License-Identifier: MIT
// Per-vertex lighting: for each light that is on, its ambient part, its diffuse part by
// n.l and its specular part, added to the material's emission and the scene's ambient
// light (0.2). Lights have no attenuation and no spot cone (OpenGL's defaults, which this
// layer offers no way to change); the viewer is at infinity; lighting is one-sided.
#include <algorithm>
#include <cmath>

#include "gl/context.h"

namespace zbv::web::gl {

namespace {

constexpr float kSceneAmbient = 0.2f;

}  // namespace

Vec3 unit(const Vec3& v) {
  const float len = std::sqrt(dot(v, v));
  return len > 0 ? Vec3{v[0] / len, v[1] / len, v[2] / len} : v;
}

Vec4 lightVertex(const Vec4& eye, const Vec3& normal, LightTerms* terms) {
  const Context& c = context();
  const Material& m = c.front;
  Vec3 sum;
  for (std::size_t k = 0; k < 3; ++k) sum[k] = m.emission[k] + m.ambient[k] * kSceneAmbient;
  LightTerms parts;
  parts.ambient = sum;
  bool first = true;
  const Vec3 at{eye[0] / eye[3], eye[1] / eye[3], eye[2] / eye[3]};
  for (const Light& l : c.lights) {
    if (!l.on) continue;
    const Vec4& p = l.position;
    // Towards the light: from the vertex to where it stands, or its direction.
    const Vec3 toLight = p[3] != 0
                             ? unit({p[0] / p[3] - at[0], p[1] / p[3] - at[1], p[2] / p[3] - at[2]})
                             : unit({p[0], p[1], p[2]});
    const float ndotl = dot(normal, toLight);
    float highlight = 0;
    if (ndotl > 0) {
      const Vec3 half = unit({toLight[0], toLight[1], toLight[2] + 1});
      const float ndoth = std::max(dot(normal, half), 0.0f);
      highlight = m.shininess == 0 ? 1 : std::pow(ndoth, m.shininess);
    }
    if (first) parts.ndotl = ndotl;
    first = false;
    for (std::size_t k = 0; k < 3; ++k) {
      parts.ambient[k] += m.ambient[k] * l.ambient[k];
      parts.diffuse[k] += std::max(ndotl, 0.0f) * m.diffuse[k] * l.diffuse[k];
      parts.specular[k] += highlight * m.specular[k] * l.specular[k];
    }
  }
  for (std::size_t k = 0; k < 3; ++k)
    sum[k] = parts.ambient[k] + parts.diffuse[k] + parts.specular[k];
  if (terms) *terms = parts;
  return {std::clamp(sum[0], 0.0f, 1.0f), std::clamp(sum[1], 0.0f, 1.0f),
          std::clamp(sum[2], 0.0f, 1.0f), std::clamp(m.diffuse[3], 0.0f, 1.0f)};
}

}  // namespace zbv::web::gl
