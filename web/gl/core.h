// SPDX-License-Identifier: MIT
// OpenGL 1.x and GLU for one context, as C++ functions: what GL/gl.h and GL/glu.h declare
// (include/GL), under the names of the calls without their prefix. Enumerations are OpenGL's
// numbers; no GL type is named here, so this header can stand beside a desktop OpenGL's own
// (the native tests set the two side by side).
#ifndef WEB_GL_CORE_H
#define WEB_GL_CORE_H

#include <array>
#include <cstdint>

namespace zbv::web::gl {

using Vec3 = std::array<float, 3>;
using Vec4 = std::array<float, 4>;
using Mat4 = std::array<float, 16>;  // column by column, as OpenGL lists matrices

// Where a lit vertex's colour comes from: emission and every ambient part, every diffuse
// part (material x light x max(0, n.l)), every specular part; n.l of the first light that
// is on. The colour is their sum, each channel clamped to [0, 1].
struct LightTerms {
  Vec3 ambient{0, 0, 0}, diffuse{0, 0, 0}, specular{0, 0, 0};
  float ndotl = 0;
};

// One vertex as it leaves per-vertex processing: clip coordinates, its colour, and (when lit)
// the terms its colour was made of.
struct Vertex {
  Vec4 clip;
  Vec4 colour;
  LightTerms terms;
};

// Capabilities and errors.
void enable(unsigned cap);
void disable(unsigned cap);
bool isEnabled(unsigned cap);
unsigned getError();

// What the rasteriser applies.
void clearColor(float red, float green, float blue, float alpha);
void clear(unsigned mask);
void viewport(int x, int y, int width, int height);
void cullFace(unsigned mode);
void frontFace(unsigned mode);
void flush();

// Matrices.
void matrixMode(unsigned mode);
void loadIdentity();
void multMatrix(const float* m);
void translate(float x, float y, float z);
// The model-view (GL_MODELVIEW) or projection matrix as it stands.
const Mat4& matrix(unsigned mode);
void lookAt(double eyeX, double eyeY, double eyeZ, double centerX, double centerY, double centerZ,
            double upX, double upY, double upZ);
void perspective(double fovy, double aspect, double zNear, double zFar);

// Lights, materials, and the current colour and normal.
void light(unsigned name, unsigned pname, const float* params);
void getLight(unsigned name, unsigned pname, float* params);
void material(unsigned face, unsigned pname, const float* params);
void color(float red, float green, float blue);
void normal(float nx, float ny, float nz);

// Immediate mode, and drawing from arrays.
void begin(unsigned mode);
void vertex(float x, float y, float z);
void end();
// Triangles through the same per-vertex processing as vertex(), in the current colour and
// material: three indices per triangle into vertexCount positions and unit normals.
void drawTriangles(const float* positions, const float* normals, int vertexCount,
                   const std::uint16_t* indices, int indexCount);

// A vertex transformed (and lit, when lighting is on) with the current state.
Vertex processVertex(const Vec3& position, const Vec3& normal);

}  // namespace zbv::web::gl

#endif  // WEB_GL_CORE_H
