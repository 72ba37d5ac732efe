// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/shell.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <string>
#include <vector>

using namespace rs232;

TEST(ClockText, DateTimeThenDayName)
{
    struct Case
    {
        LocalDateTime t;
        const char *dayName;
        const char *text;
    };
    const Case cases[] = {
        {{2011, 3, 2, 9, 5, 3, 4}, "szerda", "2011.03.02 09:05:03    szerda  "},
        {{2011, 3, 6, 23, 59, 59, 1}, "vasárnap", "2011.03.06 23:59:59    vasárnap  "},
        {{2011, 3, 5, 0, 0, 0, 7}, "szombat", "2011.03.05 00:00:00    szombat  "},
        {{2011, 3, 5, 0, 0, 0, 0}, "", "2011.03.05 00:00:00      "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ClockText(c.t, c.dayName), c.text);
}

TEST(ScreenTooSmall, ExactlyTheTwoComparisons)
{
    EXPECT_FALSE(ScreenTooSmall(1280, 900));
    EXPECT_FALSE(ScreenTooSmall(1440, 900));
    EXPECT_FALSE(ScreenTooSmall(1920, 1080));
    EXPECT_TRUE(ScreenTooSmall(1280, 899));
    EXPECT_TRUE(ScreenTooSmall(1279, 1024));
}

TEST(InfoTopicDocument, ThreeTopicsAndNothingElse)
{
    // With the system's own separator: a backslash on Windows.
    const auto inInf = [](const char *name) { return (std::filesystem::path("inf") / name).string(); };
    EXPECT_EQ(InfoTopicDocument(0), inInf("rs232_adatcsomag.rtf"));
    EXPECT_EQ(InfoTopicDocument(1), inInf("rs232_adatatvitelbeall.rtf"));
    EXPECT_EQ(InfoTopicDocument(2), inInf("rs232_bajtfolyam.rtf"));
    for (int index : {-1, 3, 100})
        EXPECT_EQ(InfoTopicDocument(index), std::nullopt) << index;
    EXPECT_EQ(DocumentPath("x.rtf").substr(0, 3), "inf");
    EXPECT_EQ(DocumentPath("x.rtf").size(), 9u);
}

TEST(LoadStartupDocuments, FirstFailureEndsTheLoads)
{
    struct Case
    {
        const char *failing; // the one document that fails to load, or nullptr
        bool result;
        std::vector<std::string> attempted;
    };
    const std::string info = DocumentPath("rs232_adatcsomag.rtf");
    const std::string topology = DocumentPath("rs232_topologia.rtf");
    const std::string simulation = DocumentPath("rs232_szimulacio.rtf");
    const Case cases[] = {
        {nullptr, true, {info, topology, simulation}},
        {"rs232_adatcsomag.rtf", false, {info}},
        {"rs232_topologia.rtf", false, {info, topology}},
        {"rs232_szimulacio.rtf", false, {info, topology, simulation}},
    };
    for (const Case &c : cases) {
        std::vector<std::string> attempted;
        const auto loader = [&](const std::string &path) {
            attempted.push_back(path);
            return !c.failing || path != DocumentPath(c.failing);
        };
        EXPECT_EQ(LoadStartupDocuments(loader, loader, loader), c.result);
        EXPECT_EQ(attempted, c.attempted);
    }
}
