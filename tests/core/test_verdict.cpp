// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/link.h"
#include "core/verdict.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace rs232 {
namespace {

using R = ResultMessage;

ChannelSettings channel(int speed, ParityMode parity, int dataByte)
{
    ChannelSettings settings;
    settings.speed = speed;
    settings.parity = parity;
    setDataByte(settings, dataByte);
    return settings;
}

ChannelSettings silent(ChannelSettings settings)
{
    settings.sending = false;
    return settings;
}

ChannelSettings handshaking(ChannelSettings settings)
{
    settings.handshake = true;
    return settings;
}

// Runs the link with the receiver on channel receivingChannel and evaluates that channel.
ChannelResult evaluate(const ChannelSettings &receiver, const ChannelSettings &partner, int receivingChannel,
                       int codeBefore = 0)
{
    const LinkRun run = receivingChannel == 1 ? runLink(receiver, partner, codeBefore, 0)
                                              : runLink(partner, receiver, 0, codeBefore);
    return EvaluateChannel(run, receivingChannel, partner.dataByte);
}

enum class Picture { Neither, Ok, Error };
using enum Picture;

// Stands for the transfer fault of whichever channel receives.
constexpr std::optional<ResultMessage> TransferFaultOfReceiver = std::nullopt;

struct VerdictCase
{
    const char *name;
    ChannelSettings receiver;
    ChannelSettings partner;
    std::vector<std::optional<ResultMessage>> messages;
    Picture picture;
    bool noFrame;
    int receivedByte;
};

void PrintTo(const VerdictCase &row, std::ostream *out)
{
    *out << row.name;
}

class EvaluateChannelTest : public testing::TestWithParam<std::tuple<VerdictCase, int>>
{
};

// Every situation is played with the receiver on channel 1 and on channel 2: the verdict must not depend
// on which side receives, apart from the wording of the transfer fault.
TEST_P(EvaluateChannelTest, GivesTheMemoLinesAndPictures)
{
    const auto &[row, receivingChannel] = GetParam();
    std::vector<ResultMessage> messages;
    for (const std::optional<ResultMessage> &message : row.messages)
        messages.push_back(message.value_or(TransferFault(receivingChannel)));

    const ChannelResult result = evaluate(row.receiver, row.partner, receivingChannel);
    EXPECT_EQ(result.messages, messages);
    EXPECT_EQ(result.okShown, row.picture == Picture::Ok);
    EXPECT_EQ(result.errorShown, row.picture == Picture::Error);
    EXPECT_EQ(result.noFrame, row.noFrame);
    EXPECT_EQ(result.receivedByte, row.receivedByte);
}

const ChannelSettings Plain65 = channel(9600, ParityMode::None, 65);
const ChannelSettings Plain85 = channel(9600, ParityMode::None, 85);
const ChannelSettings Even85 = channel(9600, ParityMode::Even, 85);
const ChannelSettings Odd85 = channel(9600, ParityMode::Odd, 85);
const ChannelSettings Fast85 = channel(11000, ParityMode::None, 85);
const ChannelSettings Slow85 = channel(4800, ParityMode::None, 85);
const ChannelSettings Silent85 = silent(Plain85);
const ChannelSettings Waiting85 = handshaking(Plain85);
const ChannelSettings Waiting65 = handshaking(Plain65);

// At 9600 bps with delay 0 unless the settings say otherwise; "plain" is without parity.
// clang-format off
const VerdictCase VerdictCases[] = {
    // name, receiver, partner, messages without separators, picture, grid blanked, received byte
    {"both_plain",        Plain65,   Plain65,   {R::Success},                          Ok,      false, 65},
    {"both_even",         Even85,    Even85,    {R::Success},                          Ok,      false, 85},
    {"odd_gets_even",     Odd85,     Even85,    {R::ParityFault},                      Error,   false, 85},
    {"plain_gets_even",   Plain85,   Even85,    {R::FramingFault, R::LengthMismatch},  Error,   false, 85},
    {"plain_gets_odd",    Plain85,   Odd85,     {R::LengthMismatch, R::UnsafeSuccess}, Neither, false, 85},
    {"even_gets_plain",   Even85,    Plain85,   {R::ParityFault, R::LengthMismatch},   Error,   false, 85},
    {"receiver_at_11000", Fast85,    Plain85,   {R::FramingFault, R::DataFault},       Error,   false, 173},
    {"receiver_at_4800",  Slow85,    Plain85,   {TransferFaultOfReceiver},             Error,   true,  255},
    {"partner_silent",    Plain85,   Silent85,  {R::NoTraffic},                        Neither, true,  255},
    {"own_handshake",     Waiting85, Plain85,   {R::HandshakeFault},                   Error,   true,  255},
    {"partner_handshake", Plain85,   Waiting85, {R::NoTraffic},                        Neither, true,  255},
    {"both_handshakes",   Waiting65, Waiting65, {R::Success},                          Ok,      false, 65},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Situations, EvaluateChannelTest,
                         testing::Combine(testing::ValuesIn(VerdictCases), testing::Values(1, 2)),
                         [](const testing::TestParamInfo<std::tuple<VerdictCase, int>> &info) {
                             return std::string(std::get<0>(info.param).name) + "_on_channel_" +
                                    std::to_string(std::get<1>(info.param));
                         });

TEST(EvaluateChannel, TransferFaultNamesTheSenderAndTheReceiver)
{
    EXPECT_EQ(TransferFault(1), R::TransferFaultChannel1);
    EXPECT_EQ(TransferFault(2), R::TransferFaultChannel2);
}

TEST(EvaluateChannel, DecodesATenCellFrameIntoTheGrid)
{
    const ChannelResult result = evaluate(Plain65, Plain65, 1);
    const std::vector<GridRow> expected = {
        {1, FrameSegment::Start, 0, "0"}, {2, FrameSegment::Data, 1, "1"}, {3, FrameSegment::Data, 2, "0"},
        {4, FrameSegment::Data, 3, "0"},  {5, FrameSegment::Data, 4, "0"}, {6, FrameSegment::Data, 5, "0"},
        {7, FrameSegment::Data, 6, "0"},  {8, FrameSegment::Data, 7, "1"}, {9, FrameSegment::Data, 8, "0"},
        {10, FrameSegment::Stop, 0, "1"},
    };
    EXPECT_EQ(result.rows, expected);
    EXPECT_EQ(result.startText, "0");
    EXPECT_EQ(result.receivedByte, 65);
    EXPECT_EQ(result.stopText, "1");
    EXPECT_FALSE(result.parityShown);
}

TEST(EvaluateChannel, DecodesAnElevenCellFrameWithItsParityField)
{
    const ChannelResult result = evaluate(Odd85, Odd85, 2);
    ASSERT_EQ(result.rows.size(), 11u);
    EXPECT_EQ(result.rows[9], (GridRow{10, FrameSegment::Parity, 0, "1"}));
    EXPECT_EQ(result.rows[10], (GridRow{11, FrameSegment::Stop, 0, "1"}));
    EXPECT_TRUE(result.parityShown);
    EXPECT_EQ(result.parityText, "1");
    EXPECT_EQ(result.stopText, "1");
    EXPECT_EQ(result.parityView, 3);
}

// Without parity this run leaves the code alone, so the view keeps the last kind the channel used.
TEST(EvaluateChannel, ParityViewShowsTheRememberedCode)
{
    EXPECT_EQ(evaluate(Plain85, Plain85, 1, 3).parityView, 3);
    EXPECT_EQ(evaluate(Plain85, Plain85, 2, 1).parityView, 1);
    EXPECT_EQ(evaluate(channel(9600, ParityMode::Fixed1, 85), Even85, 1, 3).parityView, 1);
}

// Each fixed or data dependent kind is checked against the parity cell the receiver read.
TEST(EvaluateChannel, ParityCheckOfEveryKind)
{
    struct Row
    {
        ParityMode receiver, partner;
        int dataByte;
        bool fails;
    };
    const Row rows[] = {
        {ParityMode::Fixed0, ParityMode::Fixed0, 85, false},
        {ParityMode::Fixed0, ParityMode::Fixed1, 85, true},
        {ParityMode::Fixed1, ParityMode::Fixed1, 0, false},
        {ParityMode::Fixed1, ParityMode::Fixed0, 0, true},
        {ParityMode::Even, ParityMode::Fixed1, 1, false},
        {ParityMode::Even, ParityMode::Fixed0, 1, true},
        {ParityMode::Odd, ParityMode::Fixed1, 0, false},
        {ParityMode::Odd, ParityMode::Fixed0, 0, true},
        {ParityMode::Odd, ParityMode::Odd, 255, false},
        {ParityMode::Even, ParityMode::Odd, 255, true},
    };
    for (const Row &row : rows) {
        const ChannelResult result =
            evaluate(channel(9600, row.receiver, row.dataByte), channel(9600, row.partner, row.dataByte), 1);
        const bool parityFault = std::find(result.messages.begin(), result.messages.end(), R::ParityFault) !=
                                 result.messages.end();
        EXPECT_EQ(parityFault, row.fails) << static_cast<int>(row.receiver) << " receiving "
                                          << static_cast<int>(row.partner) << ", byte " << row.dataByte;
        EXPECT_EQ(result.failed, row.fails);
    }
}

// ---- Properties over random settings ---------------------------------------------------------------

ChannelSettings randomSettings(std::mt19937 &random)
{
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    static constexpr int presets[] = {9600, 19200, 38400, 57600, 115200, 230400};
    ChannelSettings settings;
    switch (pick(0, 2)) {
    case 0:
        settings.speed = presets[pick(0, 5)];
        break;
    case 1:
        settings.speed = pick(100, 1000000);
        break;
    default:
        settings.speedUnit = SpeedUnit::Kbps;
        settings.speed = pick(1, 1000);
        break;
    }
    settings.delay = pick(0, 999);
    settings.delayUnit = static_cast<DelayUnit>(pick(0, 2));
    settings.handshake = pick(0, 3) == 0;
    settings.sending = pick(0, 5) != 0;
    settings.parity = static_cast<ParityMode>(pick(0, 4));
    setDataByte(settings, pick(0, 255));
    return settings;
}

bool contains(const std::vector<ResultMessage> &messages, ResultMessage message)
{
    return std::find(messages.begin(), messages.end(), message) != messages.end();
}

TEST(EvaluateChannelProperties, MatchingSettingsAlwaysSucceed)
{
    std::mt19937 random(20240611);
    for (int i = 0; i < 3000; ++i) {
        ChannelSettings one = randomSettings(random);
        ChannelSettings two = randomSettings(random);
        two.speed = one.speed;
        two.speedUnit = one.speedUnit;
        two.parity = one.parity;
        one.sending = two.sending = true;
        two.handshake = one.handshake;
        const LinkRun run = runLink(one, two, 0, 0);
        for (int receiving : {1, 2}) {
            const ChannelResult result =
                EvaluateChannel(run, receiving, run.partner(receiving).settings.dataByte);
            ASSERT_EQ(result.messages, std::vector<ResultMessage>{R::Success})
                << "pair " << i << ", channel " << receiving << ", speed " << one.speed;
            ASSERT_TRUE(result.okShown);
            ASSERT_FALSE(result.errorShown);
        }
    }
}

TEST(EvaluateChannelProperties, MemoAndLengthMessageHoldForAnySettings)
{
    std::mt19937 random(77);
    int lengthMismatches = 0;
    for (int i = 0; i < 5000; ++i) {
        const LinkRun run = runLink(randomSettings(random), randomSettings(random), 0, 0);
        for (int receiving : {1, 2}) {
            SCOPED_TRACE("pair " + std::to_string(i) + ", channel " + std::to_string(receiving));
            const LinkChannel &self = run.channel(receiving);
            const LinkChannel &partner = run.partner(receiving);
            const ChannelResult result = EvaluateChannel(run, receiving, partner.settings.dataByte);

            const bool startSeen = self.receivedCells.cells[0] == 0;
            const bool oneSidedParity =
                (self.settings.parity == ParityMode::None) != (partner.settings.parity == ParityMode::None);
            ASSERT_EQ(contains(result.messages, R::LengthMismatch), oneSidedParity && startSeen);
            lengthMismatches += oneSidedParity && startSeen;
            ASSERT_EQ(result.noFrame, !startSeen);

            ASSERT_FALSE(result.messages.empty());
            ASSERT_FALSE(result.okShown && result.errorShown);
            ASSERT_EQ(result.rows.size(), self.timing.cellCount);
        }
    }
    // The random settings must reach the case at all for the property to mean something.
    EXPECT_GT(lengthMismatches, 100);
}

} // namespace
} // namespace rs232
