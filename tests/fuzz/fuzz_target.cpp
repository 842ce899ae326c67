// A libFuzzer target for one reader; ZRB_FUZZ_TARGET names which.
#include "FuzzEntry.h"

#include "document/UModelResources.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace {
void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qInstallMessageHandler(quiet);
    // The readers need no screen; a GUI application would only add noise
    // to the leak reports.
    static QCoreApplication application(*argc, *argv);
    UModelResources::registerAll();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    const QString fault = FuzzEntry::entryFor(QStringLiteral(ZRB_FUZZ_TARGET))(bytes);
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(fault));
        std::abort();
    }
    return 0;
}
