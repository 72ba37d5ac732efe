// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/line_tool.h"

#include "capture/capture.h"
#include "cli/line_commands.h"
#include "cli/record_commands.h"
#include "cli/tool_arguments.h"

#include <new>
#include <ostream>

namespace rs232::cli {

namespace {

constexpr const char *kUsage = R"(Usage: rs232line COMMAND [OPTIONS]

A string of bytes on one serial line: encode it as a logic analyser would record it, decode a
recording as a UART receiver would, and find a receiver's clock tolerance.

Commands:
  encode     write the line of a string of bytes, with impairments, as a VCD file
  decode     read a line from a VCD file or a logic-analyser capture and print every frame a
             receiver decodes
  info       print a capture's channels, sample rate, duration and edges per channel
  tolerance  print the operational range of a receiver for a framing
  devices    list the logic analysers libsigrok finds
  record     record a logic analyser's channels into a sigrok session file

rs232line encode --rate BPS [--clock-error PCT] --format 8N1 [--idle BITS] [--lead BITS]
                 (--text TEXT | --hex "48 65 1FF" | --file PATH)
                 [--glitch START_US:WIDTH_US]... [--break START_US:BITS]
                 [--noise PER_100_BITS [--noise-width MIN:MAX] [--seed N]] -o OUT.vcd
  --rate BPS            nominal rate, 50 to 3000000 bit/s
  --clock-error PCT     the transmitter's clock error, -10 to +10 % (default 0)
  --format FRAMING      data bits 5-9, parity N E O M S, stop bits 1 1.5 2 (8N1, 7E1, 9S2, 8O1.5)
  --idle BITS           idle time between frames, 0 to 1000 bit times (default 0)
  --lead BITS           idle time before the first frame, 0 to 1000 bit times (default 1)
  --text TEXT           the bytes of a text, in the Windows-1250 code page
  --hex VALUES          values in hexadecimal separated by spaces, each below 2^data bits
  --file PATH           the bytes of a file as they are (- for standard input)
  --glitch S:W          flip the line for W microseconds from S microseconds (repeatable)
  --break S:BITS        hold the line at 0 for BITS bit times from S microseconds
  --noise N             random glitches, N per 100 bit times on average (0 to 100)
  --noise-width MIN:MAX glitch widths as fractions of a bit time (default 0.02:0.3)
  --seed N              the seed of the noise (default 1): the same seed gives the same line
  -o, --output PATH     the VCD file to write (- for standard output); 1 ns units, one wire "txd"

rs232line decode --rate BPS|auto [--clock-error PCT] [--format 8N1|auto] [--receiver ideal|x16|x8]
                 [--phase P] [--channel NAME|INDEX] [--invert auto|yes|no] [--sample-rate HZ] FILE
  FILE                  a VCD file, a sigrok session (.sr), a CSV file or another capture libsigrok
                        reads (- for a VCD on standard input)
  --rate auto           tell the rate from the line's pulse widths and print it first, as
                        # rate 9615 (9600), the measured rate and the standard one within 2 %
                        that the line is decoded at (the measured one when none is that close)
  --format FRAMING      the receiver's framing (default 8N1); auto tells it from the line (5-9 data
                        bits, N E O M S, 1 1.5 2 stop bits) and prints it with its evidence, as
                        # format 7E1: 412 frames, parity right in all; read as 8N1 bit 7 would be
                        the parity
  --channel NAME|INDEX  the channel to read, by name or by position from 0 (default: of the
                        channels that change level, those named like TX, RX, UART or serial
                        first, then the one that reads the most frames); a VCD wire by its whole
                        name (tb.dut.tx) or by its own name where no other wire has it; --wire
                        NAME is the same
  --invert WHEN         read the line with its levels swapped: auto (default) where it rests at 0,
                        as behind an RS232 transceiver; yes; no. An inverted reading is said first
  --sample-rate HZ      the sample rate of a CSV file that does not state it
  --receiver KIND       ideal (mid-bit sampler), x16 or x8 (oversampling, majority of three
                        votes; default x16)
  --phase P             where the sample clock's ticks fall within a tick, 0 <= P < 1 (default 0.5)
  --wire NAME           the wire to read; needed when the file has several
  Prints one line per frame: <instant in us>TAB<value in hex>TAB<flags>, the instant being sample 1 of
  the start bit (x16, x8) or the start edge (ideal), the flags "ok" or a list of framing, parity,
  noise, break; a false start prints <instant>TAB--TABfalse-start. The last line counts them all.

rs232line info [--channel NAME|INDEX] [--invert auto|yes|no] [--sample-rate HZ] FILE
  Prints the capture's format, sample rate, samples, duration, its logic channels with the edges,
  the level at rest, the rate and the frames of each, then the channel read, why, and its rate,
  polarity and framing told from its line.

rs232line tolerance --format 8N1 [--receiver ideal|x16|x8]
  Prints "slow <pct> fast <pct>": the range of transmitter/receiver rate ratios over which the
  receiver decodes every frame of a back-to-back string right, found by simulating it; a frame whose
  votes disagreed but whose majority was right counts as right. Then "noise-free slow <pct> fast <pct>":
  the range in which no vote disagrees either, as microcontroller datasheets count it.
)";

// In a build without libsigrok, what it does not read and why, one sentence after the usage.
constexpr const char *kFormatsOfThisBuild =
    capture::readsSigrokFormats() ? ""
                                  : "\nThis build reads captures as VCD only: sigrok sessions and CSV files are read "
                                    "through libsigrok,\nwhich has no Windows build.\n";

} // namespace

int runLineTool(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err)
{
    try {
        if (args.empty())
            usageError(
                "no command given (encode, decode, info, tolerance, devices or record; --help lists them)");
        const std::string &command = args.front();
        for (const std::string &arg : args)
            if (arg == "--help" || arg == "-h") {
                out << kUsage << '\n'
                    << kRecordUsage
                    << "\nExit status: 0 done, 1 a file that cannot be read or written or has no such wire, "
                       "or a device that is not there or fails, 2 bad arguments.\n"
                    << kFormatsOfThisBuild;
                return kDone;
            }
        if (command == "--version") {
            out << kVersion << '\n';
            return kDone;
        }
        if (command == "encode")
            return runEncode(args, in, out);
        if (command == "decode")
            return runDecode(args, in, out);
        if (command == "tolerance")
            return runTolerance(args, out);
        if (command == "info")
            return runInfo(args, in, out);
        if (command == "devices")
            return runDevices(args, out, err);
        if (command == "record")
            return runRecord(args, in, out, err);
        usageError("unknown command \"" + command +
                   "\" (encode, decode, info, tolerance, devices or record; --help lists them)");
    } catch (const ToolError &error) {
        err << "rs232line: " << error.message << '\n';
        return error.code;
    } catch (const std::bad_alloc &) {
        err << "rs232line: out of memory\n";
        return kFileError;
    }
}

} // namespace rs232::cli
