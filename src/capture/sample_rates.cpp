// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The sample rates a device offers, apart from the drivers that report them, so a build without
// libsigrok has them too.

#include "capture/record.h"

#include <algorithm>

namespace rs232::capture {

bool SampleRates::offers(std::uint64_t rate) const
{
    if (std::find(list.begin(), list.end(), rate) != list.end())
        return true;
    return high > 0 && rate >= low && rate <= high && (step == 0 || (rate - low) % step == 0);
}

std::uint64_t SampleRates::highest() const
{
    const std::uint64_t listed = list.empty() ? 0 : *std::max_element(list.begin(), list.end());
    return std::max(listed, high);
}

} // namespace rs232::capture
