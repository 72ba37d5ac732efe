// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// rs232line devices and record on libsigrok's demo device: what they print, --decode, and one error
// line with the right exit code and no file for every argument, device or file that is wrong.

#include "cli/line_tool.h"
#include "support/scratch_folder.h"
#include "support/tool_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace rs232::cli {
namespace {

namespace fs = std::filesystem;

class RecordCommandTest : public ScratchFolderTest
{
protected:
    void SetUp() override { makeScratch("rs232line_record_"); }
    bool empty() const { return fs::is_empty(m_dir); }
};

TEST_F(RecordCommandTest, DevicesListsTheDemoDeviceWithItsSpecChannelsAndRates)
{
    const ToolRun all = run({"devices"});
    EXPECT_EQ(all.code, kDone) << all.err;
    EXPECT_NE(all.out.find("demo\tDemo device\tD0,D1,D2,D3,D4,D5,D6,D7\t1 Hz to 1 GHz\n"), std::string::npos)
        << all.out;
    const ToolRun two = run({"devices", "--driver", "demo:logic_channels=2"});
    EXPECT_EQ(two.code, kDone) << two.err;
    EXPECT_EQ(two.out, "demo\tDemo device\tD0,D1\t1 Hz to 1 GHz\n");
    const ToolRun none = run({"devices", "--driver", "fx2lafw:conn=99.99"});
    EXPECT_EQ(none.code, kFileError);
    EXPECT_EQ(none.err, "rs232line: no device found with --driver fx2lafw:conn=99.99\n");
}

TEST_F(RecordCommandTest, RecordsIntoASessionFileAndDecodesIt)
{
    const std::string file = path("demo.sr");
    const ToolRun recorded = run({"record", "--driver", "demo", "--channels", "D0,D1=tx", "--samplerate", "1M",
                                  "--time", "10ms", "--config", "pattern=graycode", "-o", file});
    EXPECT_EQ(recorded.code, kDone) << recorded.err;
    EXPECT_EQ(recorded.out, "# recorded 10000 samples at 1 MHz on D0, tx into " + file + "\n");
    EXPECT_EQ(recorded.err, "");
    const ToolRun info = run({"info", file});
    EXPECT_NE(info.out.find("samples: 10000\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("  1 tx: 2500 edges, "), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("read: tx, named like a serial line\n"), std::string::npos) << info.out;

    // --decode prints what decode prints on the file, after the line that says what was recorded.
    const std::string again = path("again.sr");
    const ToolRun decoded =
        run({"record", "--driver", "demo", "--channels", "D0,D1=tx", "--samplerate", "1M", "--samples", "10k",
             "--config", "pattern=graycode", "-o", again, "--decode", "--rate", "250000", "--format", "8N1"});
    EXPECT_EQ(decoded.code, kDone) << decoded.err;
    const ToolRun reference = run({"decode", "--rate", "250000", "--format", "8N1", again});
    EXPECT_EQ(decoded.out, "# recorded 10000 samples at 1 MHz on D0, tx into " + again + "\n" + reference.out);
    EXPECT_NE(reference.out.find("\nframes "), std::string::npos) << reference.out;
}

TEST_F(RecordCommandTest, EveryMistakeIsOneLineAnExitCodeAndNoFile)
{
    struct Case
    {
        const char *name;
        std::vector<std::string> args; // after record and before -o
        int code;
        const char *message;
    };
    const Case cases[] = {
        {"no driver", {"--samplerate", "1M", "--samples", "100"}, kUsageError, "--driver is missing"},
        {"a driver libsigrok does not have", {"--driver", "nosuch", "--samplerate", "1M", "--samples", "100"},
         kUsageError, "libsigrok has no driver \"nosuch\""},
        {"a driver argument that names no driver", {"--driver", "demo:", "--samplerate", "1M", "--samples", "100"}, kUsageError,
         "--driver must be NAME[:key=value]"},
        {"a scan option the driver does not take",
         {"--driver", "demo:conn=x", "--samplerate", "1M", "--samples", "100"}, kUsageError,
         "the driver does not take conn=x"},
        {"an analyser that is not there", {"--driver", "fx2lafw:conn=99.99", "--samplerate", "1M", "--samples", "100"},
         kFileError, "no device found with --driver fx2lafw:conn=99.99"},
        {"no sample rate", {"--driver", "demo", "--samples", "100"}, kUsageError, "--samplerate is missing"},
        {"a sample rate that is no number", {"--driver", "demo", "--samplerate", "fast", "--samples", "100"},
         kUsageError, "--samplerate takes a rate above 0"},
        {"a sample rate the device does not offer", {"--driver", "demo", "--samplerate", "2G", "--samples", "100"},
         kUsageError, "the device does not offer a sample rate of 2000000000 Hz"},
        {"no length", {"--driver", "demo", "--samplerate", "1M"}, kUsageError, "give how long to record"},
        {"both lengths", {"--driver", "demo", "--samplerate", "1M", "--samples", "100", "--time", "5"}, kUsageError,
         "give how long to record"},
        {"a count of 0", {"--driver", "demo", "--samplerate", "1M", "--samples", "0"}, kUsageError,
         "--samples takes a count above 0"},
        {"a time shorter than a sample", {"--driver", "demo", "--samplerate", "100", "--time", "5"}, kUsageError,
         "the device does not record 5 ms"},
        {"a channel the device does not have",
         {"--driver", "demo", "--channels", "D0,D9", "--samplerate", "1M", "--samples", "100"}, kUsageError,
         "the device has no logic channel \"D9\""},
        {"a trigger that is none", {"--driver", "demo", "--samplerate", "1M", "--samples", "100", "--trigger", "D0"},
         kUsageError, "--trigger must be CH=0, 1, r, f or e"},
        {"a setting the device does not take",
         {"--driver", "demo", "--samplerate", "1M", "--samples", "100", "--config", "pattern=plaid"}, kUsageError,
         "the device does not take --config pattern=plaid"},
        {"a trigger that never comes",
         {"--driver", "demo", "--channels", "D0", "--samplerate", "1M", "--samples", "100", "--config",
          "pattern=all-low", "--trigger", "D0=r"},
         kFileError, "the recording ended without a sample (the trigger never came)"},
        {"decode's options without --decode", {"--driver", "demo", "--samplerate", "1M", "--samples", "100", "--rate",
                                               "9600"},
         kUsageError, "--rate goes with --decode"},
        {"--decode without a framing",
         {"--driver", "demo", "--samplerate", "1M", "--samples", "100", "--decode", "--rate", "9600"}, kUsageError,
         "--decode needs --rate BPS|auto and --format"},
        {"--decode with a framing that is none",
         {"--driver", "demo", "--samplerate", "1M", "--samples", "100", "--decode", "--rate", "9600", "--format",
          "8X1"},
         kUsageError, "--format must be"},
        {"an option record does not have", {"--driver", "demo", "--samplerate", "1M", "--samples", "100", "--fast"},
         kUsageError, "unknown option --fast"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args{"record"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.insert(args.end(), {"-o", path("x.sr")});
        const ToolRun result = run(args);
        EXPECT_EQ(result.code, c.code) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.rfind(std::string("rs232line: ") + c.message, 0), 0u) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_TRUE(empty());
    }
    // No file to write to, or one that cannot be written.
    const ToolRun noFile = run({"record", "--driver", "demo", "--samplerate", "1M", "--samples", "100"});
    EXPECT_EQ(noFile.code, kUsageError);
    EXPECT_EQ(noFile.err, "rs232line: -o FILE.sr is missing: a recording goes into a sigrok session file\n");
    const ToolRun badFolder =
        run({"record", "--driver", "demo", "--samplerate", "1M", "--samples", "100", "-o", path("none/x.sr")});
    EXPECT_EQ(badFolder.code, kFileError);
    EXPECT_EQ(badFolder.err, "rs232line: cannot write " + path("none/x.sr") + ": No such file or directory\n");
    EXPECT_TRUE(empty());
}

} // namespace
} // namespace rs232::cli
