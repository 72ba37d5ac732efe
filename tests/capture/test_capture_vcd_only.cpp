// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The capture library of a build without libsigrok (the Windows one), built and tested on every system:
// it reads VCD as the full library does, and refuses sigrok sessions and CSV files as formats this build
// does not read, so the window and rs232line can say why.

#include "capture/capture.h"
#include "core/utf8_path.h"
#include "stream/line_vcd.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

using namespace rs232;
using capture::LoadProblem;

class VcdOnlyCaptureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("rs232_vcd_only_" + std::to_string(std::random_device{}()));
        // A folder named with Hungarian letters and spaces, as a pupil's folder may be.
        m_dir /= utf8Path("Mérések ősszel");
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir.parent_path()); }

    // Writes the file named (UTF-8) and gives its path as UTF-8, the way the window and the tool pass it.
    std::string write(const std::string &name, const std::string &bytes) const
    {
        const std::filesystem::path path = m_dir / utf8Path(name);
        std::ofstream(path, std::ios::binary) << bytes;
        const std::u8string text = path.u8string();
        return std::string(text.begin(), text.end());
    }

    static Line twoFrames()
    {
        Line line;
        line.startLevel = 1;
        line.edges = {100.0, 204.0, 308.0, 516.0, 1000.0, 1104.0};
        line.end = 2000.0;
        return line;
    }

    std::filesystem::path m_dir;
};

TEST_F(VcdOnlyCaptureTest, ThisBuildSaysItReadsNoSigrokFormats)
{
    EXPECT_FALSE(capture::readsSigrokFormats());
}

TEST_F(VcdOnlyCaptureTest, AVcdUnderAHungarianNameReadsAsItsLine)
{
    const std::string path = write("soros vonal őű.vcd", writeLineVcd(twoFrames(), "uart_tx", "test"));
    capture::LoadOptions options;
    double lastShare = -2.0;
    options.progress = [&lastShare](double share) {
        lastShare = share;
        return true;
    };
    const capture::LoadResult loaded = capture::loadCapture(path, options);
    ASSERT_TRUE(loaded) << loaded.error.reason;
    EXPECT_EQ(loaded->format, "VCD");
    ASSERT_EQ(loaded->channels.size(), 1u);
    EXPECT_EQ(loaded->channels[0].name, "rs232line.uart_tx");
    EXPECT_EQ(loaded->line.edges, twoFrames().edges);
    EXPECT_DOUBLE_EQ(loaded->duration, 2000.0);
    EXPECT_DOUBLE_EQ(lastShare, 1.0);
}

TEST_F(VcdOnlyCaptureTest, OtherFilesAreRefusedWithTheReason)
{
    const struct
    {
        const char *name;
        std::string bytes;
        LoadProblem problem;
        const char *detail;
        const char *reasonStart;
    } cases[] = {
        {"mérés.sr", std::string("PK\x03\x04 zip", 8), LoadProblem::NotReadHere, "sigrok session",
         "mérés.sr is a sigrok session file, which this build does not read"},
        {"a zip under another name.bin", std::string("PK\x03\x04 zip", 8), LoadProblem::NotReadHere,
         "sigrok session", "a zip under another name.bin is a sigrok session file"},
        {"mérés.CSV", "; Samplerate: 1000000\n1\n0\n", LoadProblem::NotReadHere, "CSV",
         "mérés.CSV is a CSV file, which this build does not read"},
        {"jegyzet.txt", "hello\n", LoadProblem::NotCapture, "", "jegyzet.txt is not a VCD file"},
        {"üres.vcd", "", LoadProblem::Empty, "", "üres.vcd is empty"},
    };
    for (const auto &c : cases) {
        const capture::LoadResult loaded = capture::loadCapture(write(c.name, c.bytes));
        ASSERT_FALSE(loaded) << c.name;
        EXPECT_EQ(loaded.error.problem, c.problem) << c.name;
        EXPECT_EQ(loaded.error.detail, c.detail) << c.name;
        EXPECT_TRUE(loaded.error.reason.starts_with(c.reasonStart)) << loaded.error.reason;
        EXPECT_FALSE(loaded.error.cancelled) << c.name;
    }
}

TEST_F(VcdOnlyCaptureTest, AMissingFileAndAFolderAreToldApart)
{
    const std::u8string folder = m_dir.u8string();
    const std::string folderPath(folder.begin(), folder.end());
    const capture::LoadResult missing = capture::loadCapture(folderPath + "/nincs itt ő.vcd");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error.problem, LoadProblem::Unreadable);
    EXPECT_EQ(missing.error.reason.find("cannot read nincs itt ő.vcd"), 0u) << missing.error.reason;
    const capture::LoadResult isFolder = capture::loadCapture(folderPath);
    ASSERT_FALSE(isFolder);
    EXPECT_EQ(isFolder.error.problem, LoadProblem::Folder);
}

TEST_F(VcdOnlyCaptureTest, ACancelledLoadFailsAsCancelled)
{
    const std::string path = write("hosszú.vcd", writeLineVcd(twoFrames(), "txd", "test"));
    capture::LoadOptions options;
    options.progress = [](double) { return false; };
    const capture::LoadResult loaded = capture::loadCapture(path, options);
    ASSERT_FALSE(loaded);
    EXPECT_EQ(loaded.error.problem, LoadProblem::Cancelled);
    EXPECT_TRUE(loaded.error.cancelled);
}

} // namespace
