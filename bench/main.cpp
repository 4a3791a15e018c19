// mirel-bench: times what the user of a large site waits for (opening the project, saving it,
// checking every loop) against the time libxml2's own xmllint needs merely to pass over the same
// file, and weighs the opened project in memory. Run by hand from the build tree, since it reads
// the factory definitions beside it; the site file is generated into a temporary folder.

#include "bench/lcbenchreporter.h"
#include "bench/lcprocessmemory.h"
#include "bench/lcsampleproject.h"
#include "bench/lcshuffledruns.h"
#include "bench/lcstreamprojectwriter.h"
#include "calc/lcloopcalculator.h"
#include "definitions/lcdatastore.h"
#include "model/lccontroller.h"
#include "model/lcloop.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <optional>

#include <unistd.h>

namespace
{
// The largest site the program is meant for: a hundred panels of twenty full loops.
constexpr int kPanels = 100;
constexpr int kLoopsPerPanel = 20;
constexpr int kDevicesPerLoop = 241;

// Each large figure is the median of this many runs, so one disturbed run does not decide it.
constexpr int kRepetitions = 9;
constexpr int kIterationsPerRepetition = 1;

// Targets, as multiples of the time xmllint needs to stream through the file, and in memory.
// Its tree-building parse is shown beside them, but its time swings with the machine's memory.
constexpr double kMaxLoadRatio = 3.0;
constexpr double kMaxSaveRatio = 1.5;
constexpr double kMaxCalculateAllRatio = 1.0;
constexpr double kMaxBytesPerDevice = 400.0;

constexpr double kBytesPerMegabyte = 1024.0 * 1024.0;

const char *const kCalculateOneLoop = "calculate_one_loop";
const char *const kXmllintParse = "xmllint_parse";
const char *const kXmllintStream = "xmllint_stream";
const char *const kLoadProject = "load_project";
const char *const kSaveProject = "save_project";
const char *const kCalculateEveryLoop = "calculate_every_loop";

const QString kXmllintProgram = QStringLiteral("xmllint");
const QString kXmllintNoOutput = QStringLiteral("--noout");
const QString kXmllintStreaming = QStringLiteral("--stream");
const QString kSiteFile = QStringLiteral("site.xml");
const QString kSavedFile = QStringLiteral("saved.xml");

// What the summary needs besides the times.
struct Site {
    QString path;
    QString savePath;
    qint64 fileBytes = 0;
    qint64 devices = 0;
    std::optional<double> bytesPerDevice;
    // the program's writer gave the bytes QXmlStreamWriter gives for the same project
    bool writtenAsByStreamWriter = false;
};

// One run per repetition: these take seconds, and a warm second run would hide nothing.
benchmark::internal::Benchmark *asLargeRun(benchmark::internal::Benchmark *benchmark)
{
    return benchmark->Iterations(kIterationsPerRepetition)
        ->Repetitions(kRepetitions)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
}

qint64 deviceCount(const LCProject &project)
{
    qint64 count = 0;
    for (int i = 0; i < project.childCount(); ++i) {
        const LCObject &panel = *project.child(i);
        for (int k = 0; k < panel.childCount(); ++k) {
            count += panel.child(k)->childCount();
        }
    }
    return count;
}

void calculateEveryLoop(const LCLoopCalculator &calculator, LCProject &project)
{
    for (int i = 0; i < project.childCount(); ++i) {
        const LCController *const panel = project.panel(i);
        for (int k = 0; panel && k < panel->childCount(); ++k) {
            if (LCLoop *const loop = panel->loop(k)) {
                calculator.calculateLoop(*loop);
            }
        }
    }
}

void registerXmllint(
    const char *name, const QStringList &arguments, const Site &site, const QString &xmllint)
{
    asLargeRun(
        benchmark::RegisterBenchmark(name, [arguments, site, xmllint](benchmark::State &state) {
            for (auto _ : state) {
                QProcess process;
                process.start(xmllint, arguments);
                if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit
                    || process.exitCode() != 0) {
                    state.SkipWithError("xmllint did not parse the file");
                    break;
                }
            }
            state.SetBytesProcessed(state.iterations() * site.fileBytes);
        }));
}

void registerBenchmarks(const Site &site, LCLoop *oneLoop, const QString &xmllint)
{
    LCDataStore *const store = LCDataStore::instance();

    benchmark::RegisterBenchmark(kCalculateOneLoop,
        [oneLoop](benchmark::State &state) {
            const LCLoopCalculator calculator = LCLoopCalculator::fromLibrary();
            for (auto _ : state) {
                calculator.calculateLoop(*oneLoop);
            }
            state.SetItemsProcessed(state.iterations() * oneLoop->childCount());
        })
        ->Repetitions(kRepetitions)
        ->Unit(benchmark::kMicrosecond);

    if (!xmllint.isEmpty()) {
        // for comparison: libxml2 parsing the file into its tree
        registerXmllint(kXmllintParse, {kXmllintNoOutput, site.path}, site, xmllint);
        // the reference: libxml2 passing over the file without building anything
        registerXmllint(
            kXmllintStream, {kXmllintNoOutput, kXmllintStreaming, site.path}, site, xmllint);
    }

    asLargeRun(benchmark::RegisterBenchmark(kLoadProject, [site, store](benchmark::State &state) {
        for (auto _ : state) {
            // the user opens a site with none of this size open before it
            state.PauseTiming();
            store->setProject(nullptr);
            // as in a program that has not held such a site before: what the last one freed
            // would otherwise be found in the heap's lists in a different order every time
            LCProcessMemory::releaseFreedMemory();
            state.ResumeTiming();
            if (!store->loadProject(site.path).projectRead) {
                state.SkipWithError("the site file was not read");
                break;
            }
        }
        state.SetBytesProcessed(state.iterations() * site.fileBytes);
        state.SetItemsProcessed(state.iterations() * site.devices);
    }));

    asLargeRun(benchmark::RegisterBenchmark(kSaveProject, [site, store](benchmark::State &state) {
        for (auto _ : state) {
            if (!store->saveProject(site.savePath)) {
                state.SkipWithError("the site file was not saved");
                break;
            }
        }
        state.SetBytesProcessed(state.iterations() * site.fileBytes);
        state.SetItemsProcessed(state.iterations() * site.devices);
    }));

    asLargeRun(
        benchmark::RegisterBenchmark(kCalculateEveryLoop, [site, store](benchmark::State &state) {
            for (auto _ : state) {
                if (!store->project()) {
                    state.SkipWithError("no project loaded");
                    break;
                }
                calculateEveryLoop(LCLoopCalculator::fromLibrary(), *store->project());
            }
            state.SetItemsProcessed(state.iterations() * site.devices);
        }));
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The references of the ratio columns.
struct References {
    std::optional<LCBenchReporter::Figure> parse;
    std::optional<LCBenchReporter::Figure> stream;
};

std::optional<double> ratio(
    const LCBenchReporter::Figure &figure, const std::optional<LCBenchReporter::Figure> &reference)
{
    if (!reference || reference->medianMilliseconds <= 0.0) {
        return std::nullopt;
    }
    return figure.medianMilliseconds / reference->medianMilliseconds;
}

void printRatio(std::optional<double> value)
{
    if (value) {
        std::printf(" %10.2f", *value);
    } else {
        std::printf(" %10s", "");
    }
}

void printTimeRow(const char *label,
    const std::optional<LCBenchReporter::Figure> &figure,
    const References &references,
    std::optional<double> maxRatio)
{
    if (!figure) {
        std::printf("%-36s %12s\n", label, "not run");
        return;
    }
    std::printf("%-36s %12.3f %12.3f", label, figure->medianMilliseconds, figure->bestMilliseconds);
    printRatio(ratio(*figure, references.parse));
    const std::optional<double> toStream = ratio(*figure, references.stream);
    printRatio(toStream);
    if (toStream && maxRatio) {
        std::printf("   <= %-6.1f %s", *maxRatio, *toStream <= *maxRatio ? "met" : "MISSED");
    }
    std::printf("\n");
}

void printSummary(const LCBenchReporter &reporter, const Site &site)
{
    const References references{reporter.figure(kXmllintParse), reporter.figure(kXmllintStream)};
    std::printf("\nMirel benchmark summary: %d panels x %d loops x %d devices = %lld devices, "
                "file %.1f MB, %d runs each\n",
        kPanels, kLoopsPerPanel, kDevicesPerLoop, static_cast<long long>(site.devices),
        double(site.fileBytes) / kBytesPerMegabyte, kRepetitions);
    std::printf("%-36s %12s %12s %10s %10s   %s\n", "", "median ms", "best ms", "x xmllint",
        "x stream", "target (x stream)");
    printTimeRow("xmllint --noout", references.parse, references, std::nullopt);
    printTimeRow(
        "xmllint --noout --stream (reference)", references.stream, references, std::nullopt);
    printTimeRow(
        "load: file -> current project", reporter.figure(kLoadProject), references, kMaxLoadRatio);
    printTimeRow(
        "save: project -> file on disk", reporter.figure(kSaveProject), references, kMaxSaveRatio);
    printTimeRow("calculate every loop", reporter.figure(kCalculateEveryLoop), references,
        kMaxCalculateAllRatio);
    printTimeRow("calculate one full loop", reporter.figure(kCalculateOneLoop), {}, std::nullopt);
    if (site.bytesPerDevice) {
        std::printf("%-36s %12.0f bytes                                   <= %-6.0f %s\n",
            "resident memory per loaded device", *site.bytesPerDevice, kMaxBytesPerDevice,
            *site.bytesPerDevice <= kMaxBytesPerDevice ? "met" : "MISSED");
    } else {
        std::printf("%-36s %12s\n", "resident memory per loaded device", "not measured");
    }
    std::printf("written file %s QXmlStreamWriter's for the same project\n",
        site.writtenAsByStreamWriter ? "is byte-identical to" : "DIFFERS from");
    if (reporter.figure(kSaveProject)) {
        const bool identical = fileBytes(site.path) == fileBytes(site.savePath);
        std::printf("saved file %s the generated one\n",
            identical ? "is byte-identical to" : "DIFFERS from");
    }
}
} // namespace

int main(int argc, char *argv[])
{
    LCShuffledRuns runs(argc, argv);
    benchmark::Initialize(&runs.count(), runs.arguments());
    QCoreApplication application(runs.count(), runs.arguments());
    if (benchmark::ReportUnrecognizedArguments(runs.count(), runs.arguments())) {
        return 1;
    }

    LCDataStore *const store = LCDataStore::instance();
    if (!store->loadDefaults()) {
        std::fprintf(
            stderr, "mirel-bench: cannot read %s\n", qPrintable(store->defaultsFilePath()));
        return 1;
    }
    const QTemporaryDir directory;
    if (!directory.isValid()) {
        std::fprintf(
            stderr, "mirel-bench: no temporary folder: %s\n", qPrintable(directory.errorString()));
        return 1;
    }

    Site site;
    site.path = directory.filePath(kSiteFile);
    site.savePath = directory.filePath(kSavedFile);
    store->setProject(LCSampleProject::build({kPanels, kLoopsPerPanel, kDevicesPerLoop}));
    site.devices = deviceCount(*store->project());
    QString error;
    if (!store->saveProject(site.path, &error)) {
        std::fprintf(
            stderr, "mirel-bench: cannot write %s: %s\n", qPrintable(site.path), qPrintable(error));
        return 1;
    }
    site.fileBytes = QFileInfo(site.path).size();
    site.writtenAsByStreamWriter = fileBytes(site.path)
        == LCStreamProjectWriter::write(
            *store->project(), {store->deviceTypes(), store->wireTypes(), store->cardTypes()});
    store->setProject(nullptr);

    // weigh the project as the user gets it from the file, before any benchmark churns memory
    LCProcessMemory::releaseFreedMemory();
    const qint64 residentBefore = LCProcessMemory::residentBytes();
    if (!store->loadProject(site.path).projectRead) {
        std::fprintf(stderr, "mirel-bench: cannot read back %s\n", qPrintable(site.path));
        return 1;
    }
    LCProcessMemory::releaseFreedMemory();
    const qint64 residentAfter = LCProcessMemory::residentBytes();
    if (residentBefore > 0 && residentAfter > 0 && site.devices > 0) {
        site.bytesPerDevice = double(residentAfter - residentBefore) / double(site.devices);
    }

    const std::unique_ptr<LCProject> oneLoopProject =
        LCSampleProject::build({1, 1, kDevicesPerLoop});
    LCLoop *const oneLoop = oneLoopProject->panel(0)->loop(0);

    const QString xmllint = QStandardPaths::findExecutable(kXmllintProgram);
    if (xmllint.isEmpty()) {
        std::fprintf(stderr, "mirel-bench: xmllint (libxml2-utils) not found: no ratios\n");
    }
    registerBenchmarks(site, oneLoop, xmllint);

    // colours only for a terminal, so a saved run reads cleanly
    LCBenchReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                   : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printSummary(reporter, site);
    return 0;
}
