// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/frame.h"

#include <array>

namespace rs232 {

// What the views show before the user touches anything.

// The trace of the byte 0 that the three data byte charts start with: nine low points at x = 0..8.
inline constexpr std::array<double, 9> kPlaceholderByteTrace = {0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1};

} // namespace rs232
