// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Why a file could not be written, in Hungarian for the common causes (no such folder, no permission, a
// full disk, a read-only file system), told by the system's error number taken right after the failure;
// any other cause in the system's own words.
QString saveFailureReason(int errorNumber, const QString &systemText);
