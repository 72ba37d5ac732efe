// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The least a program can do to read a sigrok session through libsigrok: start it, load the session and
// play it into a callback that does nothing. bench/capture.sh times it beside rs232line and sigrok-cli,
// as the floor under any reader that uses libsigrok.
#include <libsigrok/libsigrok.h>

#include <stdio.h>

static void ignore(const struct sr_dev_inst *device, const struct sr_datafeed_packet *packet, void *data)
{
    (void)device;
    (void)packet;
    (void)data;
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: sigrok_floor SESSION.sr\n");
        return 2;
    }
    struct sr_context *context = NULL;
    struct sr_session *session = NULL;
    if (sr_init(&context) != SR_OK)
        return 1;
    int result = 1;
    if (sr_session_load(context, argv[1], &session) == SR_OK) {
        sr_session_datafeed_callback_add(session, ignore, NULL);
        if (sr_session_start(session) == SR_OK && sr_session_run(session) == SR_OK)
            result = 0;
        sr_session_destroy(session);
    }
    sr_exit(context);
    return result;
}
