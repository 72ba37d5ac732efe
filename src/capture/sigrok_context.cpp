// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/sigrok_context.h"

#include <libsigrok/libsigrok.h>

#include <cstdio>

namespace rs232::capture {

namespace {

// Starts libsigrok when constructed and ends it when static objects are destroyed at exit.
class SigrokContext
{
public:
    SigrokContext()
    {
        if (sr_init(&m_context) != SR_OK)
            m_context = nullptr;
    }
    ~SigrokContext()
    {
        if (m_context)
            sr_exit(m_context);
    }
    SigrokContext(const SigrokContext &) = delete;
    SigrokContext &operator=(const SigrokContext &) = delete;

    sr_context *get() const { return m_context; }

private:
    sr_context *m_context = nullptr;
};

} // namespace

sr_context *sigrokContext()
{
    // A function-local static is initialised once, the first caller running the constructor while
    // any other waits for it.
    static SigrokContext context;
    return context.get();
}

SigrokLog::SigrokLog()
{
    sr_log_callback_set(&SigrokLog::log, this);
}

SigrokLog::~SigrokLog()
{
    sr_log_callback_set_default();
}

std::string SigrokLog::said() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_firstError.empty() ? m_lastWarning : m_firstError;
}

bool SigrokLog::errorSaid() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return !m_firstError.empty();
}

void SigrokLog::clear()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_firstError.clear();
    m_lastWarning.clear();
}

std::string SigrokLog::saidOr(int code) const
{
    std::string text = said();
    return text.empty() ? std::string(sr_strerror(code)) : text;
}

int SigrokLog::log(void *data, int level, const char *format, va_list args) noexcept
{
    auto *self = static_cast<SigrokLog *>(data);
    try {
        char buffer[512];
        std::vsnprintf(buffer, sizeof buffer, format, args);
        std::lock_guard<std::mutex> lock(self->m_lock);
        if (level <= SR_LOG_ERR && self->m_firstError.empty())
            self->m_firstError = buffer;
        else if (level == SR_LOG_WARN)
            self->m_lastWarning = buffer;
    } catch (...) {
        // A message that cannot be kept is left out; the work goes on.
    }
    return SR_OK;
}

ThreadMainContext::ThreadMainContext() : m_context(g_main_context_new())
{
    g_main_context_push_thread_default(m_context);
}

ThreadMainContext::~ThreadMainContext()
{
    g_main_context_pop_thread_default(m_context);
    g_main_context_unref(m_context);
}

} // namespace rs232::capture
