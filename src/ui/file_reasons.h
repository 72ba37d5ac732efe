// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Why a file could not be written, in Hungarian for the common causes (no such folder, no permission, a
// full disk, a read-only file system), told by the system's error number taken right after the failure;
// any other cause in the system's own words.
QString saveFailureReason(int errorNumber, const QString &systemText);

// The system's error number of the file call that just failed, as errno numbers it (Windows keeps its
// own, which is turned into errno's for the causes above).
int lastFileError();
