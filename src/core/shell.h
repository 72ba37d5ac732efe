// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace rs232 {

struct LocalDateTime
{
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    int dayOfWeek = 1; // 1 = Sunday .. 7 = Saturday
};

// "yyyy.mm.dd hh:nn:ss", four spaces, the day's name as the caller words it, two spaces.
std::string ClockText(const LocalDateTime &t, std::string_view dayName);

// The window needs at least 1280 x 900 pixels of screen.
bool ScreenTooSmall(int width, int height);

// The description documents live in the folder "inf" under the working directory.
inline constexpr std::string_view DocumentFolder = "inf";
inline constexpr std::string_view DataPacketDocument = "rs232_adatcsomag.rtf";
inline constexpr std::string_view TransmissionSettingsDocument = "rs232_adatatvitelbeall.rtf";
inline constexpr std::string_view TopologyDocument = "rs232_topologia.rtf";
inline constexpr std::string_view SimulationDocument = "rs232_szimulacio.rtf";
inline constexpr std::string_view ByteStringDocument = "rs232_bajtfolyam.rtf";

// "inf" and the file name joined with the platform's directory separator.
std::string DocumentPath(std::string_view fileName);

// The document of a topic of the information panel: item 0 the data packet, item 1 the transmission
// settings, item 2 the byte string page; no document for any other index.
std::optional<std::string> InfoTopicDocument(int itemIndex);

// Loads one document into one view; false when it cannot.
using DocumentLoader = std::function<bool(const std::string &path)>;

// Loads the data packet document into the information view, then the topology and the simulation
// descriptions into their pages. The first failing load ends it: the loads after it are not tried.
// Returns false when a load failed.
bool LoadStartupDocuments(const DocumentLoader &informationView, const DocumentLoader &topologyView,
                          const DocumentLoader &simulationView);

} // namespace rs232
