// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/timing.h"

#include <array>
#include <cstdint>

namespace rs232 {

// The most used speeds, in the order of the preset radio items.
struct PresetSpeed
{
    std::int32_t bps;
};
inline constexpr std::array<PresetSpeed, 6> PresetSpeeds{{
    {9600},
    {19200},
    {38400},
    {57600},
    {115200},
    {230400},
}};

// The index of speed among the presets, or -1.
int presetIndexOf(std::int32_t speed);

// The state behind one channel's three speed controls: the speed field, the unit group and the presets.
struct SpeedEntry
{
    std::int32_t shownValue = 9600; // the number in the speed field, in appliedUnit
    std::int32_t minValue = 100;
    std::int32_t maxValue = 1000000;
    SpeedUnit unit = SpeedUnit::Bps;        // the selected unit item
    SpeedUnit appliedUnit = SpeedUnit::Bps; // the unit shownValue is expressed in
    std::int32_t speedBps = 9600;           // the remembered speed in bits per second
    int preset = 0;                         // selected preset item, -1 for none
    SpeedUnit unitLabel = SpeedUnit::Bps;   // the unit the label beside the field names
};

// The entry of a channel at start-up: channel 2's speed field starts with a lower bound of 1000.
SpeedEntry initialSpeedEntry(int channel);

// What the speed operations do to the controls. The window carries each call out on the real control,
// whose own handler then runs at once, nested, when the call changes what the control shows: a new
// text in the speed field runs SpeedEdited, a newly selected preset runs PresetChosen, a newly selected
// unit runs SpeedUnitChosen. Selecting what is selected already, clearing the preset selection and
// writing the text the field shows already run nothing.
class SpeedControls
{
public:
    virtual ~SpeedControls() = default;
    // The field's value: a typed number as typed; a text that is no number gives the minimum and the
    // field is rewritten with it.
    virtual std::int32_t readSpeed() = 0;
    // Clamped to the field's bounds unless they are equal.
    virtual void setSpeed(std::int32_t value) = 0;
    virtual void setSpeedMinimum(std::int32_t value) = 0; // the shown value stays
    virtual void setSpeedMaximum(std::int32_t value) = 0;
    virtual void selectPreset(int item) = 0; // -1 clears the selection
    virtual void selectUnit(SpeedUnit unit) = 0;
    virtual void setUnitLabel(SpeedUnit unit) = 0;
};

// The speed field's text changed.
void SpeedEdited(SpeedEntry &entry, SpeedControls &controls);
// Preset item k (0..5) became selected.
void PresetChosen(SpeedEntry &entry, SpeedControls &controls, int k);
// The unit item of unit became selected.
void SpeedUnitChosen(SpeedEntry &entry, SpeedControls &controls, SpeedUnit unit);

} // namespace rs232
