#include "core/shell.h"

#include <cstdio>

namespace rs232 {

std::string ClockText(const LocalDateTime &t)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d.%02d.%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    std::string text = buf;
    text += "    ";
    if (t.dayOfWeek >= 1 && t.dayOfWeek <= 7)
        text += DayNames[static_cast<std::size_t>(t.dayOfWeek - 1)];
    text += "  ";
    return text;
}

bool ScreenTooSmall(int width, int height)
{
    return width < 1280 || height < 900;
}

} // namespace rs232
