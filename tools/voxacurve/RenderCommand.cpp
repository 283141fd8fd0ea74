#include "tools/voxacurve/RenderCommand.h"

#include "app/WriteWhole.h"
#include "curves/NameQuoting.h"
#include "tools/voxacurve/Arguments.h"
#include "tools/voxacurve/InputFiles.h"
#include "tools/voxacurve/OutputNames.h"
#include "tools/voxacurve/RenderOptions.h"
#include "tools/voxacurve/RenderPicture.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <mutex>
#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>
#include <thread>
#include <unistd.h>
#include <variant>

namespace
{

namespace fs = std::filesystem;

void ReportRemoved(const std::vector<Refusal>& removed, std::ostream& err)
{
    for (const auto& [name, why] : removed)
        err << "voxacurve: " << QuotedName(name) << ": refused: " << why << '\n';
}

// One picture of all curves; when files were asked for and none could be
// drawn, nothing is written and a picture already there stays as it was.
int RenderOne(
    const ParsedArguments& parsed, const RenderOptions& options, bool filesAsked, std::ostream& err)
{
    const std::string output = parsed.value("-o", "");
    const std::optional<PictureFormat> format = FormatOfPath(output);
    if (!format)
        throw UsageError("render needs -o OUT.png, OUT.svg or OUT.pdf");
    int exitCode = kExitOk;
    std::vector<LoadedCurve> loaded;
    for (const std::string& name : parsed.files) {
        auto curve = LoadCurve(name, options.texts, options.smoothing);
        if (auto* refusal = std::get_if<std::string>(&curve)) {
            err << "voxacurve: " << QuotedName(name) << ": refused: " << *refusal << '\n';
            exitCode = kExitFailed;
        } else {
            loaded.push_back(std::move(std::get<LoadedCurve>(curve)));
        }
    }
    std::vector<const LoadedCurve*> curves;
    for (const LoadedCurve& c : loaded)
        curves.push_back(&c);
    std::vector<Refusal> removed;
    const QByteArray bytes = RenderPicture(*format, options, curves, removed);
    ReportRemoved(removed, err);
    if (!removed.empty())
        exitCode = kExitFailed;
    if (filesAsked && removed.size() == curves.size()) {
        err << "voxacurve: " << QuotedName(output) << ": not written: no curve could be drawn\n";
        return kExitFailed;
    }
    if (const auto writeError = WriteWhole(output,
            BytesOf(std::string_view(bytes.constData(), std::size_t(bytes.size()))),
            Flush::Lazily)) {
        err << "voxacurve: cannot write " << QuotedName(output) << ": " << *writeError << '\n';
        return kExitFailed;
    }
    return exitCode;
}

// "[#########...........]  450/1000  812 files/s"
std::string ProgressLine(std::size_t done, std::size_t total, double seconds)
{
    constexpr int kBarWidth = 30;
    const int filled = total == 0 ? kBarWidth : int(done * kBarWidth / total);
    std::ostringstream line;
    line << '[' << std::string(std::size_t(filled), '#')
         << std::string(std::size_t(kBarWidth - filled), '.') << "] " << done << '/' << total;
    if (seconds > 0)
        line << "  " << std::lround(double(done) / seconds) << " files/s";
    return line.str();
}

// One picture per file into DIR, on every core.
int RenderEach(const ParsedArguments& parsed, const RenderOptions& options, std::ostream& err)
{
    const std::string directory = parsed.value("-o", "");
    if (directory.empty() || directory == "-")
        throw UsageError("render --each needs -o DIR");
    const std::optional<PictureFormat> format = FormatOfName(parsed.value("--format", "png"));
    if (!format)
        throw UsageError("--format must be png, svg or pdf");
    std::error_code error, madeError;
    fs::create_directories(directory, madeError);
    if (!fs::is_directory(directory, error)) {
        err << "voxacurve: cannot make the directory " << QuotedName(directory) << ": "
            << (madeError ? madeError : error).message() << '\n';
        return kExitFailed;
    }

    // Each file's picture, claimed before any is written; a name's second
    // file is refused.
    const std::vector<std::string>& files = parsed.files;
    std::vector<std::optional<std::string>> targets;
    OutputNames claimed;
    std::size_t collisions = 0;
    for (const std::string& name : files) {
        const std::string target = (fs::path(directory)
            / (fs::path(name).filename().string() + "." + ExtensionOf(*format)))
                                       .string();
        if (claimed.claim(target)) {
            targets.emplace_back(target);
        } else {
            err << "voxacurve: " << QuotedName(name) << ": " << ClaimedByAnother(target) << '\n';
            targets.emplace_back();
            ++collisions;
        }
    }
    std::atomic<std::size_t> next {0}, done {0}, failed {collisions};
    std::mutex errLock;
    auto report = [&](const std::string& text) {
        const std::lock_guard lock(errLock);
        err << (isatty(STDERR_FILENO) ? "\r\033[K" : "") << text << '\n';
    };
    auto work = [&] {
        for (std::size_t i; (i = next++) < files.size(); ++done) {
            if (!targets[i])
                continue;
            const std::string& name = files[i];
            auto curve = LoadCurve(name, options.texts, options.smoothing);
            if (auto* refusal = std::get_if<std::string>(&curve)) {
                report("voxacurve: " + QuotedName(name) + ": refused: " + *refusal);
                ++failed;
                continue;
            }
            std::vector<Refusal> removed;
            const QByteArray bytes
                = RenderPicture(*format, options, {&std::get<LoadedCurve>(curve)}, removed);
            if (!removed.empty()) {
                report("voxacurve: " + QuotedName(name) + ": refused: " + removed.front().second);
                ++failed;
                continue;
            }
            const std::string& target = *targets[i];
            if (const auto writeError = WriteWhole(target,
                    BytesOf(std::string_view(bytes.constData(), std::size_t(bytes.size()))),
                    Flush::Lazily)) {
                report("voxacurve: cannot write " + target + ": " + *writeError);
                ++failed;
            }
        }
    };

    const auto start = std::chrono::steady_clock::now();
    auto seconds = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> workers;
    for (unsigned i = 1; i < std::min<std::size_t>(cores, files.size()); ++i)
        workers.emplace_back(work);
    if (isatty(STDERR_FILENO)) {
        std::thread progress([&] {
            while (done < files.size()) {
                {
                    const std::lock_guard lock(errLock);
                    err << '\r' << ProgressLine(done, files.size(), seconds()) << std::flush;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
        work();
        for (std::thread& t : workers)
            t.join();
        progress.join();
        err << "\r\033[K";
    } else {
        work();
        for (std::thread& t : workers)
            t.join();
    }
    const double elapsed = seconds();
    err << "voxacurve: rendered " << files.size() - failed << " of " << files.size()
        << " files into " << directory << " in " << std::fixed << std::setprecision(2) << elapsed
        << " s (" << std::lround(double(files.size()) / std::max(elapsed, 1e-9)) << " files/s)";
    if (failed > 0)
        err << ", " << failed << " refused or not written";
    err << '\n';
    return failed > 0 ? kExitFailed : kExitOk;
}

} // namespace

int RunRender(const std::vector<std::string>& args, std::ostream&, std::ostream& err)
{
    ParsedArguments parsed = ParseArguments(args, RenderKnownOptions());
    if (parsed.files.empty() && !parsed.values.contains("--files-from")
        && !parsed.values.contains("--band"))
        throw UsageError("render needs at least one FILE (or --band STATS.csv)");
    const GuiWithoutScreen gui;
    RenderOptions options = RenderOptionsOf(parsed);
    const bool namesGiven = !parsed.files.empty() || parsed.values.contains("--files-from");
    const int problems = ExpandInputFiles(parsed, std::cin, err);
    AddRenderLimits(parsed, options);
    const int exitCode = parsed.has("--each") ? RenderEach(parsed, options, err)
                                              : RenderOne(parsed, options, namesGiven, err);
    return problems > 0 ? kExitFailed : exitCode;
}
