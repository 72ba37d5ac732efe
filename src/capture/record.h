// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Recording from a logic analyser through libsigrok: the devices its drivers find, and a recording of
// some of a device's logic channels into a sigrok session file (the srzip format other sigrok programs
// open), with the line of one channel kept for decoding.
//
// A recording runs libsigrok's session on a GLib main context of its own, made for the calling thread,
// so it may run on any thread (a window runs it on a worker) and never runs another thread's loop. It
// reports progress through a callback on that thread and watches a flag another thread may set: Stop
// ends it early and keeps what was recorded, Cancel ends it and keeps nothing. Failures come back as a
// kind and a detail, never as an exception and never as a sentence: the caller words its own message.

#include "capture/capture.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace rs232::capture {

// The sample rates a device offers: a list, or a range from low to high in steps.
struct SampleRates
{
    std::vector<std::uint64_t> list;
    std::uint64_t low = 0, high = 0, step = 0; // a range when high > 0
    bool offers(std::uint64_t rate) const;
    std::uint64_t highest() const;
};

// A device a driver found.
struct DeviceInfo
{
    std::string driver;     // the driver's name, as a driver argument starts ("demo", "fx2lafw")
    std::string connection; // where it is ("1.5" on USB, a serial port), empty when the driver does not say
    std::string vendor, model, version;
    std::vector<std::string> logicChannels;
    SampleRates sampleRates;
    bool triggers = false; // it takes a trigger on a logic channel
};

// What went wrong, for a program that words its own messages.
enum class RecordProblem {
    None,
    Cancelled,          // the caller cancelled it; nothing was kept
    LibraryFailed,      // libsigrok could not start; detail: what it said
    BadDriverArgument,  // not NAME[:key=value]...; detail: the argument
    NoSuchDriver,       // libsigrok has no driver of that name; detail: the name
    BadDriverOption,    // a key of the argument the driver does not take, or a bad value; detail: key=value
    NoDevice,           // the driver found no device (none plugged in, or not at conn=); detail: the argument
    OpenFailed,         // the device would not open (permissions, busy); detail: what libsigrok said
    NoLogicChannel,     // the device has no logic channel
    NoSuchChannel,      // detail: the channel named that the device does not have
    BadSampleRate,      // 0, or a rate the device does not offer; detail: the rate
    BadLimit,           // neither or both of a time and a sample count, or 0, or one the device refuses
    BadSetting,         // a device setting (KEY=VALUE) it does not take; detail: the setting
    BadTrigger,         // not CH=0|1|r|f|e, a channel not recorded, or a kind the device cannot; detail
    AcquisitionFailed,  // it would not start, or ended on an error (unplugged); detail: what libsigrok said
    NoSamples,          // it ended without one sample (stopped before the trigger came)
    FileError,          // the session file cannot be written or moved into place; detail: the reason
};

struct RecordError
{
    RecordProblem problem = RecordProblem::None;
    std::string detail;
};

// The devices libsigrok's drivers find: every driver that scans without being told where to look, or
// one driver argument. Devices that need a connection (serial ones) appear only when the argument
// gives conn=.
struct ScanResult
{
    std::vector<DeviceInfo> devices;
    RecordError error; // a failure of the scan itself (a bad argument, no such driver, no library)
    explicit operator bool() const { return error.problem == RecordProblem::None; }
};
ScanResult scanDevices(const std::string &driverArgument = {});

enum class RecordControl { Run, Stop, Cancel };

struct RecordProgress
{
    std::uint64_t samples = 0; // recorded so far
    double share = 0.0;        // of the samples or the time asked for, 0..1
    bool waiting = false;      // a trigger is set and has not come yet
};

struct RecordOptions
{
    std::string driver;                // NAME[:key=value]..., e.g. "fx2lafw" or "fx2lafw:conn=1.5"
    std::vector<std::string> channels; // the logic channels to record by name; empty: all of them
    std::uint64_t sampleRate = 0;      // samples per second
    std::uint64_t samples = 0;         // how long: a number of samples,
    std::uint64_t milliseconds = 0;    // or a time (exactly one of the two)
    // Device settings as KEY=VALUE with libsigrok's key names ("pattern=graycode" on the demo device);
    // one the device takes only per channel group is set on the group of its logic channels.
    std::vector<std::string> settings;
    std::string trigger;   // CH=KIND with KIND 0, 1, r (rising), f (falling) or e (either); empty: none
    std::string output;    // the session file to write; empty: none
    std::string keepLine;  // a recorded channel whose line to return; empty: none
};

struct Recording
{
    std::uint64_t sampleRate = 0;
    std::uint64_t samples = 0;
    std::vector<std::string> channels;  // the channels recorded, in the device's order
    std::vector<std::size_t> edges;     // per channel: how often it changed level
    bool stopped = false;               // ended by Stop before the time or count asked for
    std::optional<Capture> line;        // the channel keepLine names, as a capture read from a file is
};

struct RecordResult
{
    std::optional<Recording> value;
    RecordError error;
    explicit operator bool() const { return value.has_value(); }
};

// Records as the options say. progress is called on this thread every few packets and every 50 ms while
// waiting; control is read as often. Nothing is written to options.output unless the whole recording
// succeeds: the session file is written beside it and renamed into place.
RecordResult record(const RecordOptions &options, const std::function<void(const RecordProgress &)> &progress = {},
                    const std::atomic<RecordControl> *control = nullptr);

} // namespace rs232::capture
