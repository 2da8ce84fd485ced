// The key commands' own constants; the limits of the stored settings are in StoredSettings.h.
#pragma once

constexpr int kNumCameraModes = 6;  // 0 the free view, 1..5 the ride views
