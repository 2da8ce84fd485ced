// The settings a track file stores after the light, listed once: each one's field and file type
// in file order, the range its keys keep it in, and how the loader repairs a value the keys could
// never produce. The file format, the loader and the key commands all read this table.
#pragma once

#include "track/TrackView.h"

// What the loader does with a stored value outside what the keys can produce.
enum class Repair {
    None,      // taken as stored (a flag other than 0 or 1 too: each key and reader takes it as it is)
    NotBelow0, // a negative value becomes 0: the train never runs backwards
    KeyRange,  // brought into the range the keys keep (below)
};

struct StoredSetting {
    const char* name;
    int TrackState::*intField;      // the field when the file holds an int32, else null
    float TrackState::*floatField;  // the field when the file holds a float32, else null
    Repair repair;
    // The keys step the value by step while it is above low (down) or below high (up). Each
    // bound is tested before the step and a step is never cut short, so a float can end up to
    // one step beyond a bound; an int, stepped by 1, stops exactly on it.
    float low, high, step;
    // Whether the program itself can make the value infinite (the build and the train's step
    // do on a track of astronomically large coordinates), so a saved file may hold it.
    bool mayBeInfinite;
};

// Indices into kStoredSettings, in file order.
enum StoredSettingIndex {
    kBasisSetting, kSpeedSetting, kRailsSetting, kPointsSetting, kLightingSetting, kTieSpacingSetting,
    kSupportSetting, kPhysicsSetting, kEnergySetting, kReservedSetting, kFocusOffsetSetting, kGravitySetting,
    kNumStoredSettings
};

inline constexpr StoredSetting kStoredSettings[kNumStoredSettings] = {
    {"basis flag", &TrackState::useBSpline, nullptr, Repair::None, 0, 0, 0, false},
    {"train speed", nullptr, &TrackState::trainSpeed, Repair::NotBelow0, 1.0f, 100.0f, 0.5f, true},
    {"rails flag", &TrackState::drawRails, nullptr, Repair::None, 0, 0, 0, false},
    {"points flag", &TrackState::showPoints, nullptr, Repair::None, 0, 0, 0, false},
    {"lighting flag", &TrackState::lightingOn, nullptr, Repair::None, 0, 0, 0, false},
    {"tie spacing", &TrackState::tieSpacing, nullptr, Repair::KeyRange, 1, 50, 1, false},
    {"support interval", &TrackState::supportEvery, nullptr, Repair::KeyRange, 1, 50, 1, false},
    {"physics flag", &TrackState::physicsOn, nullptr, Repair::None, 0, 0, 0, false},
    // The build sets any energy the track's height gives; only the keys keep to their range.
    {"total energy", nullptr, &TrackState::totalEnergy, Repair::None, 1000.0f, 200000.0f, 500.0f, true},
    {"reserved", &TrackState::reservedSetting, nullptr, Repair::None, 0, 0, 0, false},
    {"look-down distance", nullptr, &TrackState::focusViewOffset, Repair::KeyRange, 2.0f, 50.0f, 0.1f, false},
    {"gravity", nullptr, &TrackState::gravity, Repair::KeyRange, -100.0f, -5.0f, 0.5f, false},
};

// The loader rebuilds both curves after the settings before this one, so the stored energy
// replaces the built one and the stored gravity arrives after the build.
constexpr int kFirstSettingAfterBuild = kEnergySetting;
