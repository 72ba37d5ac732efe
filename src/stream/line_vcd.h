// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Lines in Value Change Dump files: reading one wire or every one-bit wire of any tool's dump, and writing
// a line as a dump.

#include "stream/receiver.h"
#include "stream/stream.h"

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace rs232 {

// A one-bit wire declared in a dump.
struct VcdWire
{
    std::string name; // its whole name: the scopes it sits in and its own name, joined by '.' (tb.dut.tx)
    std::string code; // the identifier code its changes use
    std::string base; // its own name as declared (tx)
};

struct VcdLine
{
    std::vector<VcdWire> wires; // every one-bit wire, in the order declared
    std::string wire;           // the wire read
    double timescale = 0.001;   // microseconds per unit of the file
    Line line;                  // from the file's instant 0 to its last time stamp
};

// Reads the dump's declarations and the changes of one wire: the one named (by its whole name, or by its
// own name where no other wire has that name), or the only one-bit wire.
// Accepts any $timescale from 1 fs to 1 s with a multiplier of 1, 10 or 100, scopes, $dumpvars, scalar
// changes ("0!") and one-bit vector changes ("b0 !"); wider vectors and reals are passed over. x and z
// keep the level the wire had (idle 1 before its first value). A failure says what was wrong in one
// sentence; missingWire is set when the file reads but has no such wire, or several and none named, and
// then wires lists the one-bit wires it has (their whole names), in the file's order.
struct VcdReadError
{
    std::string reason;
    bool missingWire = false;
    std::vector<std::string> wires;
};
struct VcdReadResult
{
    std::optional<VcdLine> value;
    VcdReadError error;
    explicit operator bool() const { return value.has_value(); }
};
VcdReadResult readVcdLine(std::istream &in, const std::string &wire = {});

// Every one-bit wire of a dump, read in one pass: each wire's line beside it.
struct VcdLines
{
    std::vector<VcdWire> wires;
    std::vector<Line> lines;  // one per wire, each from the file's instant 0 to its last time stamp
    double timescale = 0.001; // microseconds per unit of the file
};
struct VcdLinesResult
{
    std::optional<VcdLines> value;
    VcdReadError error; // missingWire set (with no wires listed) when the file declares no one-bit wire
    explicit operator bool() const { return value.has_value(); }
};
VcdLinesResult readVcdLines(std::istream &in);

// A line as a dump with a 1 ns timescale and one wire: every edge at its instant rounded to the nearest
// nanosecond (two edges that meet in one nanosecond vanish together), from instant 0 to the line's end
// (rounded up to the next nanosecond). Given the reception the window shows of the line, the dump decodes
// as that reception, ties included: where one of the receiver's samples falls on an edge (or within a
// rounding of it), the edge is put a few nanoseconds on the side the receiver saw it, so that a reader of
// the dump, whatever its arithmetic, reads the level the window shows there.
std::string writeLineVcd(const Line &line, const std::string &wireName, const std::string &version,
                         const Reception *reading = nullptr);

} // namespace rs232
