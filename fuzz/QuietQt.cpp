// Linked into the fuzzers of Qt-based importers: Qt's warnings about broken inputs (libpng's
// among them) would fill the log and slow the run.
#include <QtGlobal>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}
