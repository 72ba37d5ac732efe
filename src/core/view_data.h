// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/frame.h"

#include <array>
#include <string_view>

namespace rs232 {

// What the views show before the user touches anything.

// The trace of the byte 0 that the three data byte charts start with: nine low points at x = 0..8.
inline constexpr std::array<double, 9> kPlaceholderByteTrace = {0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1};

// Header row of the three bit grids.
inline constexpr std::array<std::string_view, 3> kBitGridHeader = {"Nr.", "Típus", "Ért."};

// The colour sample panels, in the order they are painted, each with the segment whose colour it shows.
struct SamplePanel
{
    std::string_view name;
    FrameSegment segment;
};

inline constexpr std::array<SamplePanel, 17> kSamplePanels = {{
    {"qel_rs232_acssz_start_szm", FrameSegment::Start},
    {"qel_rs232_acssz_adat_szm", FrameSegment::Data},
    {"qel_rs232_acssz_paritas_szm", FrameSegment::Parity},
    {"qel_rs232_acssz_stop_szm", FrameSegment::Stop},
    {"qel_rs232_avsz_szmagy_start", FrameSegment::Start},
    {"qel_rs232_avsz_szmagy_stop", FrameSegment::Stop},
    {"qel_rs232_avsz_szmagy_adat", FrameSegment::Data},
    {"qel_rs232_avsz_szmagy_paritas", FrameSegment::Parity},
    {"qel_rs232_avsz_szmagy_var", FrameSegment::Idle},
    {"qel_rs232_avsz_cs1_startbitszin", FrameSegment::Start},
    {"qel_rs232_avsz_cs2_startbitszin", FrameSegment::Start},
    {"qel_rs232_avsz_cs1_adatszin", FrameSegment::Data},
    {"qel_rs232_avsz_cs2_adatszin", FrameSegment::Data},
    {"qel_rs232_avsz_cs1_paritasbitszin", FrameSegment::Parity},
    {"qel_rs232_avsz_cs2_paritasbitszin", FrameSegment::Parity},
    {"qel_rs232_avsz_cs1_stopbitszin", FrameSegment::Stop},
    {"qel_rs232_avsz_cs2_stopbitszin", FrameSegment::Stop},
}};

} // namespace rs232
