// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/verdict.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace rs232 {

namespace {

std::string digit(std::uint8_t level)
{
    return level == 0 ? "0" : "1";
}

std::string kindOfRow(unsigned row, unsigned cellCount)
{
    if (row == 1)
        return "start bit";
    if (row <= 9)
        return "adat bit " + std::to_string(row - 1) + ".";
    if (row == 10 && cellCount == 11)
        return "paritás bit";
    return "stop bit";
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

void addMessage(ChannelResult &result, std::string_view message)
{
    result.lines.emplace_back(message);
    result.lines.emplace_back(ResultMessages::Separator);
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
        result.rows.push_back({std::to_string(i) + ".", kindOfRow(i, n), digit(c[i - 1])});
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
            addMessage(result, ResultMessages::NoTraffic);
        } else if (waitsForHandshake(receiver.settings.handshake, partner.settings.handshake)) {
            addMessage(result, ResultMessages::HandshakeFault);
            result.errorShown = true;
        } else {
            addMessage(result, ResultMessages::TransferFault(receivingChannel));
            result.errorShown = true;
        }
        return result;
    }

    if (c[n - 1] != 1) {
        addMessage(result, ResultMessages::FramingFault);
        result.failed = true;
    }
    if (partnerDataByte != result.receivedByte) {
        addMessage(result, ResultMessages::DataFault);
        result.failed = true;
    }
    if (n == 11 && parityFails(receiver.parityCode, c[9], dataOnes)) {
        addMessage(result, ResultMessages::ParityFault);
        result.failed = true;
    }
    result.errorShown = true;
    // A length difference is reported but is no fault by itself: the byte may still arrive intact.
    if (n != m)
        addMessage(result, ResultMessages::LengthMismatch);
    if (!result.failed) {
        result.errorShown = false;
        if (n == m) {
            addMessage(result, ResultMessages::Success);
            result.okShown = true;
        } else {
            addMessage(result, ResultMessages::UnsafeSuccess);
        }
    }
    return result;
}

} // namespace rs232
