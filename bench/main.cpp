// The benchmarks run with the program's real windows on the offscreen platform.
#include "RatioReporter.h"
#include "app/ConfigFile.h"
#include "app/qt/Startup.h"
#include "app/qt/VoxaApplication.h"
#include "app/qt/Windows.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    VoxaApplication app(argc, argv);
    QTemporaryDir dir;
    ProgramDir = dir.path().toStdString() + "/";
    CommandLine = {"voxa32vw", "/Init", "/:"};
    CreateWindows();
    LoadSettings();
    const std::string format = BenchmarkFormatOf(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter("BM_LogFloor", format);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
