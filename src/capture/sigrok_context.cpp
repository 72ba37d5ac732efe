// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/sigrok_context.h"

#include <libsigrok/libsigrok.h>

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

} // namespace rs232::capture
