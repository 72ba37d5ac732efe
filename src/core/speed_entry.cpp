// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/speed_entry.h"

#include <algorithm>
#include <climits>

namespace rs232 {

int presetIndexOf(std::int32_t speed)
{
    for (std::size_t k = 0; k < PresetSpeeds.size(); ++k)
        if (PresetSpeeds[k].bps == speed)
            return static_cast<int>(k);
    return -1;
}

SpeedEntry initialSpeedEntry(int channel)
{
    SpeedEntry entry;
    entry.minValue = channel == 2 ? 1000 : 100;
    return entry;
}

namespace {

void selectPreset(SpeedEntry &entry, SpeedControls &controls, int item)
{
    // Remembered before the group is told, so that a handler run nested in the selection sees it.
    entry.preset = item;
    controls.selectPreset(item);
}

// A number still being typed is not yet clamped to the field's bounds; the product saturates instead of
// overflowing.
std::int32_t bpsOfKbps(std::int64_t kbps)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(kbps * 1000, INT32_MIN, INT32_MAX));
}

} // namespace

void SpeedEdited(SpeedEntry &entry, SpeedControls &controls)
{
    const std::int32_t v = controls.readSpeed();
    entry.shownValue = v;
    selectPreset(entry, controls, -1);
    if (entry.unit == SpeedUnit::Bps) {
        entry.speedBps = v;
        const int k = presetIndexOf(v);
        if (k >= 0)
            selectPreset(entry, controls, k);
    } else {
        entry.speedBps = bpsOfKbps(v);
    }
}

void PresetChosen(SpeedEntry &entry, SpeedControls &controls, int k)
{
    if (k < 0 || k >= static_cast<int>(PresetSpeeds.size()))
        return;
    entry.preset = k;
    entry.speedBps = PresetSpeeds[static_cast<std::size_t>(k)].bps;
    controls.selectUnit(SpeedUnit::Bps);
    controls.setSpeed(entry.speedBps);
}

void SpeedUnitChosen(SpeedEntry &entry, SpeedControls &controls, SpeedUnit unit)
{
    entry.unit = unit;
    if (entry.appliedUnit == SpeedUnit::Bps && unit == SpeedUnit::Kbps) {
        // Whole kbps rounded half up, as the truncation of a double sum: 1499 gives 1, 1500 gives 2.
        const auto k = static_cast<std::int64_t>(entry.speedBps * 0.001 + 0.5);
        entry.speedBps = bpsOfKbps(k);
        entry.minValue = 1;
        controls.setSpeedMinimum(1);
        // The upper bound is lowered only afterwards, so a k of 0 shows as 1, not as 1000.
        controls.setSpeed(static_cast<std::int32_t>(k));
        entry.maxValue = 1000;
        controls.setSpeedMaximum(1000);
        entry.appliedUnit = SpeedUnit::Kbps;
        entry.unitLabel = SpeedUnit::Kbps;
        controls.setUnitLabel(entry.unitLabel);
    } else if (entry.appliedUnit == SpeedUnit::Kbps && unit == SpeedUnit::Bps) {
        entry.maxValue = 1000000;
        controls.setSpeedMaximum(1000000);
        controls.setSpeed(entry.speedBps);
        // Both channels come back with the same lower bound, channel 2 too.
        entry.minValue = 100;
        controls.setSpeedMinimum(100);
        entry.appliedUnit = SpeedUnit::Bps;
        entry.unitLabel = SpeedUnit::Bps;
        controls.setUnitLabel(entry.unitLabel);
    }
}

} // namespace rs232
