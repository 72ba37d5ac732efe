// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pages/stream/stream_page_settings.h"

rs232::ParityMode StreamPageSettings::parityOf(int index)
{
    switch (index) {
    case 1:
        return rs232::ParityMode::Even;
    case 2:
        return rs232::ParityMode::Odd;
    case 3:
        return rs232::ParityMode::Fixed1;
    case 4:
        return rs232::ParityMode::Fixed0;
    default:
        return rs232::ParityMode::None;
    }
}

int StreamPageSettings::parityIndex(rs232::ParityMode parity)
{
    for (int index = 0; index < 5; ++index)
        if (parityOf(index) == parity)
            return index;
    return 0;
}

std::optional<double> StreamPageSettings::rateOf(const QString &text)
{
    QString digits = text;
    digits.remove(QLatin1Char(' '));
    bool ok = false;
    const qlonglong rate = digits.toLongLong(&ok);
    if (!ok || rate < static_cast<qlonglong>(rs232::kMinRate) || rate > static_cast<qlonglong>(rs232::kMaxRate))
        return std::nullopt;
    return static_cast<double>(rate);
}

rs232::Framing StreamPageSettings::transmitterFraming() const
{
    return {dataBits, parityOf(parity), static_cast<rs232::StopBits>(stopBits)};
}

rs232::Framing StreamPageSettings::receiverFraming() const
{
    if (!ownFormat)
        return transmitterFraming();
    return {rxDataBits, parityOf(rxParity), static_cast<rs232::StopBits>(rxStopBits)};
}

rs232::ReceiverSettings StreamPageSettings::receiver() const
{
    rs232::ReceiverSettings r;
    r.rate = rateOf(rxRate).value_or(0.0);
    r.clockErrorPercent = rxClockError;
    r.framing = receiverFraming();
    r.kind = static_cast<rs232::ReceiverKind>(rxKind);
    return r;
}
