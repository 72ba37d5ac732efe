// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/shell.h"

#include <cstdio>

namespace rs232 {

std::string ClockText(const LocalDateTime &t, std::string_view dayName)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d.%02d.%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    std::string text = buf;
    text += "    ";
    text += dayName;
    text += "  ";
    return text;
}

bool ScreenTooSmall(int width, int height)
{
    return width < 1280 || height < 900;
}

std::string DocumentPath(std::string_view fileName)
{
#ifdef _WIN32
    constexpr char separator = '\\';
#else
    constexpr char separator = '/';
#endif
    std::string path(DocumentFolder);
    path += separator;
    path += fileName;
    return path;
}

std::optional<std::string> InfoTopicDocument(int itemIndex)
{
    switch (itemIndex) {
    case 0:
        return DocumentPath(DataPacketDocument);
    case 1:
        return DocumentPath(TransmissionSettingsDocument);
    case 2:
        return DocumentPath(ByteStringDocument);
    default:
        return std::nullopt;
    }
}

bool LoadStartupDocuments(const DocumentLoader &informationView, const DocumentLoader &topologyView,
                          const DocumentLoader &simulationView)
{
    return informationView(DocumentPath(DataPacketDocument)) &&
           topologyView(DocumentPath(TopologyDocument)) && simulationView(DocumentPath(SimulationDocument));
}

} // namespace rs232
