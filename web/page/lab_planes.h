// SPDX-License-Identifier: MIT
// The depth-precision lab's planes: where the program asks for a perspective projection (its
// reshape calls gluPerspective), the projection is made with the lab's near and far planes
// instead, once the page has set them; the planes asked are kept, for the page to say what the
// program asked for beside what the lab draws with.
#ifndef WEB_PAGE_LAB_PLANES_H
#define WEB_PAGE_LAB_PLANES_H

namespace zbv::web::page {

// Registers the substitution with the GL layer.
void installLab();

// The planes the program last asked for (0 and 0 before it has).
double askedNear();
double askedFar();

}  // namespace zbv::web::page

extern "C" {

// The lab's planes from now on (near 0: the program's own), and the program's reshape called
// again so that its projection is made with them.
void zbv_lab_planes(double near, double far);
}

#endif  // WEB_PAGE_LAB_PLANES_H
