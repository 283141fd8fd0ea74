#include "tools/voxacurve/InputFiles.h"

#include "app/WriteWhole.h"
#include "curves/ArchiveFiles.h"
#include "curves/CurveFile.h"
#include "curves/NameQuoting.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>

namespace
{

// Reads the whole stream into text; the reason in words when it holds more
// than the largest file list.
std::optional<std::string> readFileList(std::istream& in, std::string& text)
{
    std::string chunk(1 << 16, '\0');
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        text.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxTextBytes) {
            text.clear();
            return "larger than " + std::to_string(kMaxTextBytes >> 20)
                + " MiB: not a file list (split it)";
        }
    }
    if (in.bad())
        return "a read error";
    return std::nullopt;
}

// The text of the file list named by --files-from ("-": the standard input),
// or why it cannot be read.
std::optional<std::string> fileListText(
    const std::string& list, std::istream& in, std::string& text)
{
    namespace fs = std::filesystem;
    std::optional<std::string> error;
    if (list == "-")
        error = readFileList(in, text);
    else {
        std::error_code statusError;
        const fs::file_status status = fs::status(list, statusError);
        if (statusError)
            return statusError.message();
        if (fs::is_directory(status))
            return "a directory, not a file list";
        if (!fs::is_regular_file(status) && !fs::is_fifo(status))
            return "neither a regular file nor a pipe";
        std::ifstream file(list, std::ios::binary);
        if (!file)
            return "cannot be opened: " + WhyUnreadable(list);
        error = readFileList(file, text);
    }
    return error;
}

} // namespace

std::vector<KnownOption> WithFileListOptions(std::vector<KnownOption> known)
{
    known.push_back({"--files-from", true});
    known.push_back({"-0", false});
    return known;
}

int ExpandInputFiles(ParsedArguments& parsed, std::istream& in, std::ostream& err)
{
    std::vector<std::string> names = parsed.files;
    int problems = 0;
    const auto listOption = parsed.values.find("--files-from");
    if (listOption == parsed.values.end()) {
        if (parsed.has("-0"))
            throw UsageError("-0 reads the names of --files-from; give --files-from FILE or -");
    } else {
        const std::string& list = listOption->second;
        std::string text;
        if (const auto error = fileListText(list, in, text)) {
            err << "voxacurve: " << QuotedName(list) << ": the file list cannot be read: " << *error
                << '\n';
            ++problems;
        }
        FileListNames listed = ParseFileList(text, parsed.has("-0"));
        if (listed.refusal) {
            err << "voxacurve: " << QuotedName(list) << ": " << *listed.refusal << '\n';
            ++problems;
        }
        std::move(listed.names.begin(), listed.names.end(), std::back_inserter(names));
    }
    ArchiveFiles expanded = ExpandCurveNames(names);
    for (const std::string& problem : expanded.problems)
        err << "voxacurve: " << problem << '\n';
    for (const std::string& repeat : expanded.repeats)
        err << "voxacurve: " << repeat << '\n';
    parsed.files = std::move(expanded.files);
    return problems + static_cast<int>(expanded.problems.size());
}
