#pragma once

#include <array>
#include <string>
#include <string_view>

namespace rs232 {

// Hungarian day names, indexed by day of week - 1 where the week runs 1 = Sunday .. 7 = Saturday.
inline constexpr std::array<std::string_view, 7> DayNames = {
    "vasárnap", "hétfő", "kedd", "szerda", "csütörtök", "péntek", "szombat",
};

struct LocalDateTime
{
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    int dayOfWeek = 1; // 1 = Sunday .. 7 = Saturday
};

// "yyyy.mm.dd hh:nn:ss", four spaces, the day name, two spaces.
std::string ClockText(const LocalDateTime &t);

// The window needs at least 1280 x 900 pixels of screen.
bool ScreenTooSmall(int width, int height);

} // namespace rs232
