// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Recording from libsigrok's demo device: the session file against sigrok-cli's recording of the same
// device and settings, stopping and cancelling from another thread, and every way a recording can be
// refused, none of which may leave a file behind.

#include "capture/capture.h"
#include "capture/record.h"
#include "support/scratch_folder.h"
#include "support/sigrok_uart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace rs232::capture {
namespace {

namespace fs = std::filesystem;

#define REQUIRE_SIGROK_CLI()                                                                                  \
    do {                                                                                                      \
        if (!sigrok::haveSigrokCli()) {                                                                       \
            if (std::getenv("CI"))                                                                            \
                FAIL() << "sigrok-cli is missing; scripts/setup installs it";                                 \
            GTEST_SKIP() << "sigrok-cli is not installed";                                                    \
        }                                                                                                     \
    } while (false)

class RecordTest : public ScratchFolderTest
{
protected:
    void SetUp() override { makeScratch("rs232record_"); }

    // The names of the files in the scratch folder.
    std::set<std::string> files() const
    {
        std::set<std::string> names;
        for (const fs::directory_entry &entry : fs::directory_iterator(m_dir))
            names.insert(entry.path().filename().string());
        return names;
    }
    static std::string contents(const std::string &file)
    {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};

RecordOptions demo(std::vector<std::string> channels, std::uint64_t rate, std::uint64_t samples)
{
    RecordOptions options;
    options.driver = "demo";
    options.channels = std::move(channels);
    options.sampleRate = rate;
    options.samples = samples;
    return options;
}

// One channel of a session file, or why it could not be read.
LoadResult channelOf(const std::string &file, const std::string &channel)
{
    // The channel as recorded: a line that rests at 0 is not read inverted here.
    LoadOptions options;
    options.channel = channel;
    options.invert = Invert::No;
    return loadCapture(file, options);
}

struct DemoCase
{
    const char *name;
    std::vector<std::string> channels;
    std::uint64_t rate;
    std::uint64_t samples;
    const char *pattern; // of the logic channels; nullptr: the device's own (sigrok's logo, scrolling)
    const char *trigger;
    const char *keep; // the channel whose line the recording returns
    // sigrok-cli sets one channel group's options at a time: with a pattern set on the logic group it
    // cannot set the sample rate, so those cases record at the demo device's own 200 kHz.
};

TEST_F(RecordTest, RecordsTheDemoDeviceEdgeForEdgeAsSigrokCliDoes)
{
    REQUIRE_SIGROK_CLI();
    const DemoCase cases[] = {
        {"its own pattern on all eight channels at 1 MHz", {"D0", "D1", "D2", "D3", "D4", "D5", "D6", "D7"},
         1000000, 100000, nullptr, nullptr, "D1"},
        {"graycode on three channels", {"D0", "D3", "D7"}, 200000, 50000, "graycode", nullptr, "D0"},
        {"graycode from a falling edge of D7", {"D0", "D1", "D2", "D3", "D4", "D5", "D6", "D7"}, 200000, 5000,
         "graycode", "D7=f", "D7"},
        {"walking-one from a rising edge of D5", {"D0", "D1", "D2", "D3", "D4", "D5", "D6", "D7"}, 200000, 3000,
         "walking-one", "D5=r", "D5"},
    };
    for (const DemoCase &c : cases) {
        SCOPED_TRACE(c.name);
        std::string list;
        for (const std::string &channel : c.channels)
            list += (list.empty() ? "" : ",") + channel;
        const std::string theirs = path(std::string("theirs_") + std::to_string(&c - cases) + ".sr");
        std::string command = "sigrok-cli --driver demo --channels " + list + " --samples " + std::to_string(c.samples);
        command += c.pattern ? std::string(" --channel-group Logic --config pattern=") + c.pattern
                             : " --config samplerate=" + std::to_string(c.rate);
        if (c.trigger)
            command += std::string(" --triggers ") + c.trigger;
        ASSERT_EQ(std::system((command + " -o " + theirs + " >/dev/null 2>&1").c_str()), 0) << command;

        RecordOptions options = demo(c.channels, c.rate, c.samples);
        if (c.pattern)
            options.settings.push_back(std::string("pattern=") + c.pattern);
        if (c.trigger)
            options.trigger = c.trigger;
        options.output = path(std::string("ours_") + std::to_string(&c - cases) + ".sr");
        options.keepLine = c.keep;
        const RecordResult ours = record(options);
        ASSERT_TRUE(ours) << int(ours.error.problem) << " " << ours.error.detail;
        EXPECT_EQ(ours.value->channels, c.channels);
        EXPECT_EQ(ours.value->sampleRate, c.rate);
        EXPECT_FALSE(ours.value->stopped);

        for (std::size_t i = 0; i < c.channels.size(); ++i) {
            SCOPED_TRACE(c.channels[i]);
            const LoadResult mine = channelOf(options.output, c.channels[i]);
            const LoadResult reference = channelOf(theirs, c.channels[i]);
            ASSERT_EQ(bool(mine), bool(reference)) << mine.error.reason << " / " << reference.error.reason;
            if (!mine) {
                // A channel that never changes level: both files say so.
                EXPECT_EQ(mine.error.problem, LoadProblem::NoEdges);
                EXPECT_EQ(reference.error.problem, LoadProblem::NoEdges);
                EXPECT_EQ(ours.value->edges[i], 0u);
                continue;
            }
            EXPECT_EQ(mine->samples, reference->samples);
            EXPECT_EQ(mine->sampleRate, reference->sampleRate);
            EXPECT_EQ(mine->line.startLevel, reference->line.startLevel);
            EXPECT_EQ(mine->line.edges, reference->line.edges);
            EXPECT_EQ(ours.value->edges[i], mine->line.edges.size());
        }
        const LoadResult kept = channelOf(options.output, c.keep);
        ASSERT_TRUE(kept) << kept.error.reason;
        EXPECT_EQ(ours.value->samples, kept->samples);
        if (!c.trigger) {
            EXPECT_EQ(ours.value->samples, c.samples);
        }
        // The line kept in memory is the one the file holds.
        ASSERT_TRUE(ours.value->line);
        const Capture &line = *ours.value->line;
        EXPECT_EQ(line.channels[line.channel].name, c.keep);
        EXPECT_EQ(line.samples, kept->samples);
        EXPECT_EQ(line.line.startLevel, kept->line.startLevel);
        EXPECT_EQ(line.line.edges, kept->line.edges);
        EXPECT_DOUBLE_EQ(line.duration, kept->duration);
    }
    // Nothing beside the two files of each case.
    EXPECT_EQ(files().size(), 2 * std::size(cases));
}

TEST_F(RecordTest, ATimeIsACountOfSamplesAndAChannelMayBeRenamed)
{
    RecordOptions options = demo({"D1=tx", "D3"}, 1000000, 0);
    options.milliseconds = 20;
    options.settings = {"pattern=graycode"};
    options.output = path("timed.sr");
    options.keepLine = "tx";
    const RecordResult recorded = record(options);
    ASSERT_TRUE(recorded) << int(recorded.error.problem) << " " << recorded.error.detail;
    EXPECT_EQ(recorded.value->samples, 20000u);
    EXPECT_EQ(recorded.value->channels, (std::vector<std::string>{"tx", "D3"}));
    // With no channel named, the reader picks the one whose name says serial line.
    const LoadResult read = loadCapture(options.output);
    ASSERT_TRUE(read) << read.error.reason;
    EXPECT_EQ(read->channels[read->channel].name, "tx");
    EXPECT_EQ(read->samples, 20000u);
    EXPECT_DOUBLE_EQ(read->duration, 20000.0);
    EXPECT_EQ(read->line.edges, recorded.value->line->line.edges);
    // The second bit of the demo's graycode changes every fourth sample, from the second on.
    EXPECT_EQ(recorded.value->edges[0], 5000u);
}

TEST_F(RecordTest, ALongRecordingIsWrittenWhole)
{
    // 9 million one-byte samples reach the session file in several large pieces: none may be lost,
    // doubled or cut, the last one (shorter) included.
    RecordOptions options = demo({"D0", "D1", "D2", "D3", "D4", "D5", "D6", "D7"}, 1000000000, 9000000);
    options.output = path("long.sr");
    options.keepLine = "D1";
    const RecordResult recorded = record(options);
    ASSERT_TRUE(recorded) << int(recorded.error.problem) << " " << recorded.error.detail;
    // Two channels that change often, read back from the file.
    for (const std::size_t i : {0u, 1u}) {
        SCOPED_TRACE(recorded.value->channels[i]);
        const LoadResult read = channelOf(options.output, recorded.value->channels[i]);
        ASSERT_TRUE(read) << read.error.reason;
        EXPECT_EQ(read->samples, 9000000u);
        EXPECT_EQ(read->line.edges.size(), recorded.value->edges[i]);
        EXPECT_GT(recorded.value->edges[i], 1000000u);
        if (i == 1) {
            EXPECT_EQ(read->line.edges, recorded.value->line->line.edges);
        }
    }
}

// A recording on a worker thread, as a window runs one. Once it has reported samples (or ended), this
// thread sends it `send`, as a window's button would.
struct WorkerRecording
{
    RecordResult result;
    std::thread::id worker;
    std::set<std::thread::id> progressThreads;

    WorkerRecording(const RecordOptions &options, RecordControl send)
    {
        std::atomic<RecordControl> control{RecordControl::Run};
        std::promise<void> recording;
        std::future<void> recorded = recording.get_future();
        std::once_flag once;
        std::mutex lock;
        std::thread thread([&] {
            worker = std::this_thread::get_id();
            result = record(
                options,
                [&](const RecordProgress &progress) {
                    {
                        std::lock_guard<std::mutex> guard(lock);
                        progressThreads.insert(std::this_thread::get_id());
                    }
                    EXPECT_GE(progress.share, 0.0);
                    EXPECT_LE(progress.share, 1.0);
                    if (progress.samples > 0)
                        std::call_once(once, [&] { recording.set_value(); });
                },
                &control);
            std::call_once(once, [&] { recording.set_value(); });
        });
        EXPECT_EQ(recorded.wait_for(std::chrono::seconds(30)), std::future_status::ready);
        control = send;
        thread.join();
    }
};

TEST_F(RecordTest, StopEndsARecordingEarlyAndKeepsWhatWasRecorded)
{
    // 50 s of samples at the pace the demo device keeps: it is stopped long before.
    RecordOptions options = demo({"D0", "D1"}, 1000000, 50000000);
    options.output = path("stopped.sr");
    options.keepLine = "D0";
    const WorkerRecording recording(options, RecordControl::Stop);
    const RecordResult &result = recording.result;
    ASSERT_TRUE(result) << int(result.error.problem) << " " << result.error.detail;
    EXPECT_TRUE(result.value->stopped);
    EXPECT_GT(result.value->samples, 0u);
    EXPECT_LT(result.value->samples, options.samples);
    // Progress comes on the recording's own thread only.
    EXPECT_EQ(recording.progressThreads, std::set<std::thread::id>{recording.worker});
    const LoadResult read = channelOf(options.output, "D0");
    ASSERT_TRUE(read) << read.error.reason;
    EXPECT_EQ(read->samples, result.value->samples);
    EXPECT_EQ(read->line.edges, result.value->line->line.edges);
    EXPECT_EQ(files(), std::set<std::string>{"stopped.sr"});
}

TEST_F(RecordTest, CancelEndsARecordingAndKeepsNothing)
{
    RecordOptions options = demo({"D0"}, 1000000, 50000000);
    options.output = write("cancelled.sr", "an earlier recording");
    const WorkerRecording recording(options, RecordControl::Cancel);
    EXPECT_FALSE(recording.result);
    EXPECT_EQ(recording.result.error.problem, RecordProblem::Cancelled);
    // The file that was there stays as it was, and nothing is left beside it.
    EXPECT_EQ(contents(options.output), "an earlier recording");
    EXPECT_EQ(files(), std::set<std::string>{"cancelled.sr"});
}

TEST_F(RecordTest, ARecordingRefusedLeavesNoFile)
{
    struct Case
    {
        const char *name;
        RecordOptions options;
        RecordProblem problem;
    };
    auto with = [](auto change) {
        RecordOptions options = demo({"D0", "D1"}, 1000000, 1000);
        change(options);
        return options;
    };
    const Case cases[] = {
        {"a driver libsigrok does not have", with([](RecordOptions &o) { o.driver = "no-such-analyser"; }),
         RecordProblem::NoSuchDriver},
        {"a driver argument that names no driver", with([](RecordOptions &o) { o.driver = "Demo"; }), RecordProblem::BadDriverArgument},
        {"a driver argument with an option without a value", with([](RecordOptions &o) { o.driver = "demo:conn"; }),
         RecordProblem::BadDriverArgument},
        {"an empty driver argument", with([](RecordOptions &o) { o.driver.clear(); }), RecordProblem::BadDriverArgument},
        {"a scan option the driver does not take", with([](RecordOptions &o) { o.driver = "demo:conn=1.5"; }),
         RecordProblem::BadDriverOption},
        {"a scan option's value that is no number",
         with([](RecordOptions &o) { o.driver = "demo:logic_channels=many"; }), RecordProblem::BadDriverOption},
        {"an analyser that is not at its conn=", with([](RecordOptions &o) { o.driver = "fx2lafw:conn=99.99"; }),
         RecordProblem::NoDevice},
        {"a channel the device does not have", with([](RecordOptions &o) { o.channels = {"D0", "D8"}; }),
         RecordProblem::NoSuchChannel},
        {"a line kept of a channel not recorded", with([](RecordOptions &o) { o.keepLine = "D2"; }),
         RecordProblem::NoSuchChannel},
        {"a sample rate of 0", with([](RecordOptions &o) { o.sampleRate = 0; }), RecordProblem::BadSampleRate},
        {"a sample rate above the device's", with([](RecordOptions &o) { o.sampleRate = 2000000000; }),
         RecordProblem::BadSampleRate},
        {"no length", with([](RecordOptions &o) { o.samples = 0; }), RecordProblem::BadLimit},
        {"both a time and a count", with([](RecordOptions &o) { o.milliseconds = 5; }), RecordProblem::BadLimit},
        {"a time shorter than a sample",
         with([](RecordOptions &o) {
             o.sampleRate = 100;
             o.samples = 0;
             o.milliseconds = 5;
         }),
         RecordProblem::BadLimit},
        {"a setting the device does not have", with([](RecordOptions &o) { o.settings = {"no_such_key=1"}; }),
         RecordProblem::BadSetting},
        {"a pattern the device does not have", with([](RecordOptions &o) { o.settings = {"pattern=plaid"}; }),
         RecordProblem::BadSetting},
        {"a trigger kind that is none", with([](RecordOptions &o) { o.trigger = "D0=x"; }),
         RecordProblem::BadTrigger},
        {"a trigger without a channel", with([](RecordOptions &o) { o.trigger = "=f"; }), RecordProblem::BadTrigger},
        {"a trigger on a channel not recorded", with([](RecordOptions &o) { o.trigger = "D5=f"; }),
         RecordProblem::BadTrigger},
        {"a trigger that never comes",
         with([](RecordOptions &o) {
             o.settings = {"pattern=all-high"};
             o.trigger = "D0=f";
         }),
         RecordProblem::NoSamples},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        RecordOptions options = c.options;
        options.output = write("target.sr", "kept");
        const RecordResult result = record(options);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.error.problem, c.problem) << result.error.detail;
        EXPECT_EQ(contents(options.output), "kept");
        EXPECT_EQ(files(), std::set<std::string>{"target.sr"});
    }
    // A target that cannot be written is found out before anything is recorded.
    RecordOptions missing = demo({"D0"}, 1000000, 1000);
    missing.output = path("no-such-folder/x.sr");
    EXPECT_EQ(record(missing).error.problem, RecordProblem::FileError);
    RecordOptions folder = missing;
    folder.output = m_dir.string();
    EXPECT_EQ(record(folder).error.problem, RecordProblem::FileError);
    EXPECT_EQ(files(), std::set<std::string>{"target.sr"});
}

TEST_F(RecordTest, ScanFindsTheDemoDeviceAndNamesWhatItOffers)
{
    const ScanResult all = scanDevices();
    ASSERT_TRUE(all) << all.error.detail;
    const auto demoDevice = std::find_if(all.devices.begin(), all.devices.end(),
                                         [](const DeviceInfo &d) { return d.driver == "demo"; });
    ASSERT_NE(demoDevice, all.devices.end());
    EXPECT_EQ(demoDevice->logicChannels,
              (std::vector<std::string>{"D0", "D1", "D2", "D3", "D4", "D5", "D6", "D7"}));
    EXPECT_TRUE(demoDevice->sampleRates.offers(1));
    EXPECT_TRUE(demoDevice->sampleRates.offers(1000000000));
    EXPECT_FALSE(demoDevice->sampleRates.offers(1000000001));
    EXPECT_EQ(demoDevice->sampleRates.highest(), 1000000000u);
    EXPECT_TRUE(demoDevice->triggers);

    const ScanResult three = scanDevices("demo:logic_channels=3");
    ASSERT_TRUE(three) << three.error.detail;
    ASSERT_EQ(three.devices.size(), 1u);
    EXPECT_EQ(three.devices[0].logicChannels, (std::vector<std::string>{"D0", "D1", "D2"}));

    EXPECT_EQ(scanDevices("no-such-analyser").error.problem, RecordProblem::NoSuchDriver);
    EXPECT_EQ(scanDevices("demo:").error.problem, RecordProblem::BadDriverArgument);
    const ScanResult none = scanDevices("fx2lafw:conn=99.99");
    EXPECT_TRUE(none);
    EXPECT_TRUE(none.devices.empty());
}

} // namespace
} // namespace rs232::capture
