// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/speed_entry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

namespace rs232 {
namespace {

// Three speed controls that keep the event rules of the window: a new text runs SpeedEdited, a newly
// selected preset runs PresetChosen, a newly selected unit runs SpeedUnitChosen, each at once.
class FakeControls : public SpeedControls
{
public:
    explicit FakeControls(int channel) : entry(initialSpeedEntry(channel)), minimum(entry.minValue) {}

    SpeedEntry entry;
    std::string text = "9600";
    int minimum;
    int maximum = 1000000;
    int preset = 0;
    SpeedUnit unit = SpeedUnit::Bps;
    SpeedUnit label = SpeedUnit::Bps;
    int editedRuns = 0;

    // The user types into the field (no clamping until the focus leaves).
    void type(const std::string &typed)
    {
        if (typed != text) {
            text = typed;
            edited();
        }
    }
    void leaveField() { setSpeed(readSpeed()); }
    void clickPreset(int k) { selectPreset(k); }
    void clickUnit(SpeedUnit u) { selectUnit(u); }

    std::int32_t readSpeed() override
    {
        try {
            std::size_t used = 0;
            const int value = std::stoi(text, &used);
            if (used == text.size())
                return value;
        } catch (...) {
        }
        text = std::to_string(minimum); // rewriting the text runs the handler again
        edited();
        return minimum;
    }
    void setSpeed(std::int32_t value) override
    {
        if (minimum != maximum)
            value = std::clamp(value, minimum, maximum);
        const std::string newText = std::to_string(value);
        if (newText != text) {
            text = newText;
            edited();
        }
    }
    void setSpeedMinimum(std::int32_t value) override { minimum = value; }
    void setSpeedMaximum(std::int32_t value) override { maximum = value; }
    void selectPreset(int item) override
    {
        const bool changed = item != preset;
        preset = item;
        if (changed && item >= 0)
            PresetChosen(entry, *this, item);
    }
    void selectUnit(SpeedUnit u) override
    {
        if (u != unit) {
            unit = u;
            SpeedUnitChosen(entry, *this, u);
        }
    }
    void setUnitLabel(SpeedUnit unit) override { label = unit; }

private:
    void edited()
    {
        ++editedRuns;
        SpeedEdited(entry, *this);
    }
};

struct Expect
{
    std::string text;
    int minimum, maximum, preset;
    SpeedUnit unit;
    SpeedUnit label;
    int speedBps;
};

void expectState(const FakeControls &c, const Expect &e)
{
    EXPECT_EQ(c.text, e.text);
    EXPECT_EQ(c.minimum, e.minimum);
    EXPECT_EQ(c.maximum, e.maximum);
    EXPECT_EQ(c.preset, e.preset);
    EXPECT_EQ(c.unit, e.unit);
    EXPECT_EQ(c.label, e.label);
    EXPECT_EQ(c.entry.speedBps, e.speedBps);
    // The entry mirrors the controls after every operation.
    EXPECT_EQ(c.entry.preset, c.preset);
    EXPECT_EQ(c.entry.unit, c.unit);
    EXPECT_EQ(c.entry.appliedUnit, c.unit);
    EXPECT_EQ(c.entry.unitLabel, c.label);
    EXPECT_EQ(c.entry.minValue, c.minimum);
    EXPECT_EQ(c.entry.maxValue, c.maximum);
    EXPECT_EQ(std::to_string(c.entry.shownValue), c.text);
}

TEST(SpeedEntryTest, KbpsAndBackDoesNotRestoreTheTypedSpeed)
{
    FakeControls c(1);
    c.clickUnit(SpeedUnit::Kbps);
    expectState(c, {"10", 1, 1000, -1, SpeedUnit::Kbps, SpeedUnit::Kbps, 10000});
    c.clickUnit(SpeedUnit::Bps);
    expectState(c, {"10000", 100, 1000000, -1, SpeedUnit::Bps, SpeedUnit::Bps, 10000});
}

TEST(SpeedEntryTest, RoundingToWholeKbps)
{
    const struct
    {
        std::string bps;
        std::string kbps;
    } rows[] = {{"100", "1"},      {"1499", "1"},     {"1500", "2"},       {"9600", "10"},
                {"115200", "115"}, {"230400", "230"}, {"1000000", "1000"}, {"999999", "1000"}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.bps);
        FakeControls c(1);
        c.type(row.bps);
        c.leaveField();
        c.clickUnit(SpeedUnit::Kbps);
        EXPECT_EQ(c.text, row.kbps);
        EXPECT_EQ(c.entry.speedBps, std::stoi(row.kbps) * 1000);
    }
    // 100 bps is 0 kbps, shown as the new minimum 1, and comes back as 1000 bps.
    FakeControls c(1);
    c.type("100");
    c.clickUnit(SpeedUnit::Kbps);
    c.clickUnit(SpeedUnit::Bps);
    expectState(c, {"1000", 100, 1000000, -1, SpeedUnit::Bps, SpeedUnit::Bps, 1000});
}

TEST(SpeedEntryTest, PresetWhileInKbpsReturnsToBpsAndStaysSelected)
{
    FakeControls c(1);
    c.clickUnit(SpeedUnit::Kbps);
    c.clickPreset(3);
    expectState(c, {"57600", 100, 1000000, 3, SpeedUnit::Bps, SpeedUnit::Bps, 57600});
}

TEST(SpeedEntryTest, TypedSpeedsSelectTheirPreset)
{
    FakeControls c(1);
    c.type("38400");
    expectState(c, {"38400", 100, 1000000, 2, SpeedUnit::Bps, SpeedUnit::Bps, 38400});
    c.type("38401");
    expectState(c, {"38401", 100, 1000000, -1, SpeedUnit::Bps, SpeedUnit::Bps, 38401});
    // A leading zero disappears once the preset rewrites the field in plain decimal form.
    c.type("019200");
    expectState(c, {"19200", 100, 1000000, 1, SpeedUnit::Bps, SpeedUnit::Bps, 19200});
    c.clickUnit(SpeedUnit::Kbps);
    c.type("9");
    expectState(c, {"9", 1, 1000, -1, SpeedUnit::Kbps, SpeedUnit::Kbps, 9000});
}

TEST(SpeedEntryTest, EmptiedFieldTakesTheCurrentMinimum)
{
    FakeControls one(1), two(2);
    one.type("");
    EXPECT_EQ(one.text, "100");
    EXPECT_EQ(one.entry.speedBps, 100);
    two.type("");
    EXPECT_EQ(two.text, "1000");
    two.clickUnit(SpeedUnit::Kbps);
    two.type("");
    EXPECT_EQ(two.text, "1");
    EXPECT_EQ(two.entry.speedBps, 1000);
}

TEST(SpeedEntryTest, ChannelTwoLowerBoundDropsAfterItsFirstReturnFromKbps)
{
    FakeControls c(2);
    c.type("500");
    c.leaveField();
    EXPECT_EQ(c.text, "1000");
    c.clickUnit(SpeedUnit::Kbps);
    c.clickUnit(SpeedUnit::Bps);
    EXPECT_EQ(c.minimum, 100);
    c.type("500");
    c.leaveField();
    expectState(c, {"500", 100, 1000000, -1, SpeedUnit::Bps, SpeedUnit::Bps, 500});
}

TEST(SpeedEntryTest, HugeTypedNumbersDoNotOverflow)
{
    FakeControls c(1);
    c.clickUnit(SpeedUnit::Kbps);
    c.type("2147483647");
    EXPECT_EQ(c.entry.speedBps, 2147483647);
    c.leaveField();
    EXPECT_EQ(c.text, "1000");
    EXPECT_EQ(c.entry.speedBps, 1000000);
}

} // namespace
} // namespace rs232
