// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/link.h"

#include <string>
#include <vector>

namespace rs232 {

// The messages of the result page's memo, each a fact the window words in its own language.
enum class ResultMessage {
    NoTraffic,             // neither side sent anything this way
    HandshakeFault,        // the receiver waited for a handshake that never came
    TransferFaultChannel1, // channel 1 saw no start bit of what channel 2 sent
    TransferFaultChannel2, // channel 2 saw no start bit of what channel 1 sent
    FramingFault,          // the start or stop cell has the wrong level
    DataFault,             // the byte received is not the byte sent
    ParityFault,           // the parity cell does not match the data and the parity kind
    LengthMismatch,        // the two frames have a different number of cells
    Success,
    UnsafeSuccess, // this byte arrived, though the frames differ in length
};

// The transfer fault of the receiving channel (1 or 2).
constexpr ResultMessage TransferFault(int receivingChannel)
{
    return receivingChannel == 2 ? ResultMessage::TransferFaultChannel2
                                 : ResultMessage::TransferFaultChannel1;
}

// One row of the received-bits grid, below its header: the row number (from 1), the kind of cell
// (dataBit 1..8 for a data cell, 0 for the others) and the level received, "0" or "1".
struct GridRow
{
    int number = 0;
    FrameSegment kind = FrameSegment::Start;
    int dataBit = 0;
    std::string value;
    friend bool operator==(const GridRow &, const GridRow &) = default;
};

// Everything the result page shows for one receiving channel.
struct ChannelResult
{
    std::vector<GridRow> rows; // grid rows 1..n; the header row is not part of it
    std::string startText;
    int receivedByte = 0;
    int parityView = 0;     // item of the parity view group: the channel's parity code
    std::string parityText; // written only when parityShown
    bool parityShown = false;
    std::string stopText;
    std::vector<ResultMessage> messages; // in the order the memo lists them
    bool okShown = false;
    bool errorShown = false;
    bool noFrame = false; // no start bit seen: the decoded fields are to be blanked
    bool failed = false;  // a framing, data or parity check failed
};

// Decodes what channel receivingChannel (1 or 2) sampled, with its own frame layout, and judges it against
// the byte its partner meant to send. The checks run in a fixed order (framing, data, parity, length,
// summary), each on its own, so that the memo lists every fault found.
ChannelResult EvaluateChannel(const LinkRun &run, int receivingChannel, int partnerDataByte);

} // namespace rs232
