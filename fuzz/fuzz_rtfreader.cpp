// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Feeds arbitrary bytes to the RTF reader and lays the resulting document out, as a view would.
#include "rtf/rtfreader.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>

namespace {
void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    static int argc = 1;
    static char name[] = "fuzz_rtfreader";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QTextDocument document;
    RtfReader reader;
    reader.read(QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)),
                &document);
    document.setTextWidth(273);
    (void)document.size();
    (void)document.toPlainText();
    return 0;
}
