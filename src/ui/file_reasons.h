// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// A system's reason for a failed file operation ("No such file or directory") in Hungarian for the
// common cases: no such folder, no permission, disk full, read-only file system. Other reasons keep the
// system's own text.
QString hungarianReason(const QString &reason);
