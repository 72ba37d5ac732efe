// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The process's one libsigrok context. libsigrok keeps drivers, input modules and its log handler
// per process, so every load and every recording shares one context instead of starting and ending
// the library each time.

struct sr_context;

namespace rs232::capture {

// The context, started on first use (safe to call from any thread at once) and ended when the process
// exits. nullptr when libsigrok cannot start; it is not tried again.
struct sr_context *sigrokContext();

} // namespace rs232::capture
