// The benchmarks run without a display: the map view's paint on the offscreen platform,
// chosen before QApplication.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

// The offscreen platform says on every shown window that it cannot raise it; nothing else is
// dropped.
void QuietAboutRaise(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.contains(QStringLiteral("does not support raise()")))
        qt_message_output(type, context, text);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietAboutRaise);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
