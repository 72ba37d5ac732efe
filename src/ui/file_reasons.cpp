// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/file_reasons.h"

QString hungarianReason(const QString &reason)
{
    static const struct
    {
        const char *system;
        const char *hungarian;
    } reasons[] = {
        {"No such file or directory", "nincs ilyen mappa vagy fájl"},
        {"Permission denied", "nincs hozzá írási jogosultság"},
        {"No space left on device", "betelt a lemez"},
        {"Read-only file system", "a fájlrendszer csak olvasható"},
    };
    QString text = reason;
    for (const auto &r : reasons)
        text.replace(QLatin1String(r.system), QString::fromUtf8(r.hungarian), Qt::CaseInsensitive);
    return text;
}
