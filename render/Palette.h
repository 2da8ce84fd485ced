// Colours of the scene that more than one part of the renderer uses, as glColor3f values.
#pragma once

constexpr float kHighlightYellow[3] = {1.0f, 1.0f, 0.0f};  // selected marker, selected tree
constexpr float kPillarRed[3] = {1.0f, 0.0f, 0.0f};        // support pillars, an empty track's line
constexpr float kRailGrey[3] = {0.3f, 0.3f, 0.3f};         // centre line and rails
constexpr float kTieBrown[3] = {129 / 255.0f, 114 / 255.0f, 61 / 255.0f};
constexpr float kTrainGrey[3] = {0.5f, 0.5f, 0.5f};        // train body, lamp post and plough
constexpr float kLightMarkerWhite[3] = {1.0f, 1.0f, 1.0f};
