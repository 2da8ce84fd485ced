// The bounds and steps of the settings the keys change, shared by the key commands and by the
// track-file loader, which keeps loaded settings inside what the keys could produce.
#pragma once

// Each bound is tested before its step and a step is never cut short, so a value can end one
// step beyond its bound (gravity -100.3 when stepped down from -20.8).
constexpr int kMinTieSpacing = 1, kMaxTieSpacing = 50;
constexpr int kMinSupportEvery = 1, kMaxSupportEvery = 50;
constexpr float kGravityStrongest = -100.0f, kGravityWeakest = -5.0f, kGravityStep = 0.5f;
constexpr float kMinTrainSpeed = 1.0f, kMaxTrainSpeed = 100.0f, kTrainSpeedStep = 0.5f;
constexpr float kMinEnergy = 1000.0f, kMaxEnergy = 200000.0f, kEnergyStep = 500.0f;
constexpr float kMinFocusViewOffset = 2.0f, kMaxFocusViewOffset = 50.0f, kFocusViewStep = 0.1f;
constexpr int kNumCameraModes = 6;  // 0 the free view, 1..5 the ride views
