// SPDX-License-Identifier: MIT
// The lab's presets (scene/facts.json): the start-up frame drawn off the screen with each
// preset's near and far planes into a depth buffer of its format, as the gallery saves them.
#ifndef GALLERY_LAB_H
#define GALLERY_LAB_H

#include <string>
#include <vector>

#include "depth.h"
#include "image.h"
#include "outcome.h"
#include "scene_facts.h"

namespace zbv {

// The start-up frame of the default size drawn with the preset's planes and depth format;
// leaves the window in the start-up state.
Outcome<Frame> drawPreset(const facts::LabPreset& preset);

// Each of facts::kLabPresets drawn so, in order.
Outcome<std::vector<Frame>> drawPresets();

// A depth format as the lab names it: "16-bit integers", "24-bit integers", "32-bit floats".
std::string formatName(facts::DepthFormat format);

// How far one picture is allowed from another drawn by the same renderer: nothing at 8 bits
// per channel; on a coarser visual, where the picture on the screen keeps fewer bits than
// one drawn off it, facts::kSameRendererSteps steps of the visual's channels.
int sameRendererTolerance(int bits);

// One line on a preset's depth: its format and planes, how many distinct values are stored
// short of the cleared 1, their range and the distances they stand for.
std::string describePreset(const facts::LabPreset& preset, const DepthMap& depth);

}  // namespace zbv

#endif  // GALLERY_LAB_H
