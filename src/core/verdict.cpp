// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/verdict.h"

#include <cstdint>
#include <string>

namespace rs232 {

namespace {

std::string digit(std::uint8_t level)
{
    return level == 0 ? "0" : "1";
}

GridRow gridRow(unsigned row, unsigned cellCount, std::uint8_t level)
{
    GridRow out{static_cast<int>(row), FrameSegment::Stop, 0, digit(level)};
    if (row == 1) {
        out.kind = FrameSegment::Start;
    } else if (row <= 9) {
        out.kind = FrameSegment::Data;
        out.dataBit = static_cast<int>(row - 1);
    } else if (row == 10 && cellCount == 11) {
        out.kind = FrameSegment::Parity;
    }
    return out;
}

bool parityFails(int parityCode, std::uint8_t parity, int dataOnes)
{
    const int oddOnes = dataOnes % 2;
    switch (parityCode) {
    case 0:
        return parity != 0;
    case 1:
        return parity != 1;
    case 2:
        return parity != oddOnes;
    case 3:
        return parity == oddOnes;
    default:
        return false;
    }
}

void addMessage(ChannelResult &result, ResultMessage message)
{
    result.messages.push_back(message);
}

} // namespace

ChannelResult EvaluateChannel(const LinkRun &run, int receivingChannel, int partnerDataByte)
{
    const LinkChannel &receiver = run.channel(receivingChannel);
    const LinkChannel &partner = run.partner(receivingChannel);
    const auto &c = receiver.receivedCells.cells;
    const unsigned n = receiver.timing.cellCount;
    const unsigned m = partner.timing.cellCount;

    ChannelResult result;
    result.rows.reserve(n);
    for (unsigned i = 1; i <= n; ++i)
        result.rows.push_back(gridRow(i, n, c[i - 1]));
    result.startText = digit(c[0]);
    int dataOnes = 0;
    for (unsigned k = 1; k <= 8; ++k) {
        result.receivedByte += c[k] << (k - 1);
        dataOnes += c[k];
    }
    if (n == 11) {
        result.parityText = digit(c[9]);
        result.stopText = digit(c[10]);
        result.parityShown = true;
    } else {
        result.stopText = digit(c[9]);
    }
    result.parityView = receiver.parityCode;

    if (c[0] == 1) {
        result.noFrame = true;
        if (partner.sentCells.cells[0] == 1) {
            addMessage(result, ResultMessage::NoTraffic);
        } else if (waitsForHandshake(receiver.settings.handshake, partner.settings.handshake)) {
            addMessage(result, ResultMessage::HandshakeFault);
            result.errorShown = true;
        } else {
            addMessage(result, TransferFault(receivingChannel));
            result.errorShown = true;
        }
        return result;
    }

    if (c[n - 1] != 1) {
        addMessage(result, ResultMessage::FramingFault);
        result.failed = true;
    }
    if (partnerDataByte != result.receivedByte) {
        addMessage(result, ResultMessage::DataFault);
        result.failed = true;
    }
    if (n == 11 && parityFails(receiver.parityCode, c[9], dataOnes)) {
        addMessage(result, ResultMessage::ParityFault);
        result.failed = true;
    }
    result.errorShown = true;
    // A length difference is reported but is no fault by itself: the byte may still arrive intact.
    if (n != m)
        addMessage(result, ResultMessage::LengthMismatch);
    if (!result.failed) {
        result.errorShown = false;
        if (n == m) {
            addMessage(result, ResultMessage::Success);
            result.okShown = true;
        } else {
            addMessage(result, ResultMessage::UnsafeSuccess);
        }
    }
    return result;
}

} // namespace rs232
