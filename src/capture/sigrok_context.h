// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The process's one libsigrok context. libsigrok keeps drivers, input modules and its log handler
// per process, so every load and every recording shares one context instead of starting and ending
// the library each time.

#include <cstdarg>
#include <mutex>
#include <string>

struct sr_context;
struct _GMainContext;

namespace rs232::capture {

// The context, started on first use (safe to call from any thread at once) and ended when the process
// exits. nullptr when libsigrok cannot start; it is not tried again.
struct sr_context *sigrokContext();

// libsigrok's messages while a load, scan or recording runs: the first error, else the last warning, is
// the detail of a failure. It also keeps them off standard error. libsigrok's log handler is one per
// process: one of these lives at a time.
class SigrokLog
{
public:
    SigrokLog();
    ~SigrokLog();
    SigrokLog(const SigrokLog &) = delete;
    SigrokLog &operator=(const SigrokLog &) = delete;

    // The first error, else the last warning; empty when libsigrok said neither.
    std::string said() const;
    bool errorSaid() const;
    // Forgets what was said so far: a setting tried one way and then set another logs an error that is
    // none of the recording's.
    void clear();
    // What libsigrok said, else the name of the code it returned.
    std::string saidOr(int code) const;

private:
    static int log(void *data, int level, const char *format, va_list args) noexcept;

    mutable std::mutex m_lock; // libsigrok may log from a thread of its own (USB transfers)
    std::string m_firstError, m_lastWarning;
};

// The calling thread's own GLib main context while it lives: a libsigrok session runs the thread's
// default context, which on a program's main thread is its event loop (Qt's, in the window), and would
// otherwise run the sources of a window on another thread.
class ThreadMainContext
{
public:
    ThreadMainContext();
    ~ThreadMainContext();
    ThreadMainContext(const ThreadMainContext &) = delete;
    ThreadMainContext &operator=(const ThreadMainContext &) = delete;
    _GMainContext *get() const { return m_context; }

private:
    _GMainContext *m_context;
};

} // namespace rs232::capture
