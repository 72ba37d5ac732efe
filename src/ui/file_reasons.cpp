// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/file_reasons.h"

#include <QCoreApplication>

#include <cerrno>

QString saveFailureReason(int errorNumber, const QString &systemText)
{
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        return QCoreApplication::translate("FileReasons", "nincs ilyen mappa vagy fájl");
    case EACCES:
    case EPERM:
        return QCoreApplication::translate("FileReasons", "nincs hozzá írási jogosultság");
    case ENOSPC:
        return QCoreApplication::translate("FileReasons", "betelt a lemez");
    case EROFS:
        return QCoreApplication::translate("FileReasons", "a fájlrendszer csak olvasható");
    default:
        return systemText;
    }
}
