// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/file_reasons.h"

#include <QCoreApplication>

#include <cerrno>

#ifdef _WIN32
#include <windows.h>

namespace {

// Windows' own number of the causes saveFailureReason words, as errno has them.
int errnoOfWindowsError()
{
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    default:
        return 0;
    }
}

} // namespace
#endif

int lastFileError()
{
#ifdef _WIN32
    // Windows' file calls leave their reason in the thread's last error, not in errno.
    return errnoOfWindowsError();
#else
    return errno;
#endif
}

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
