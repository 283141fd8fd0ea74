#include "tools/voxacurve/InputFiles.h"

#include "app/WriteWhole.h"
#include "curves/ArchiveFiles.h"
#include "curves/CurveFile.h"
#include "curves/NameQuoting.h"

#include <filesystem>
#include <fstream>
#include <iostream>
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
// without a UTF-8 byte order mark at its start, or why it cannot be read.
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
    if (!error && text.starts_with("\xEF\xBB\xBF"))
        text.erase(0, 3);
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
        if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")
            || (!parsed.has("-0") && text.find('\0') != std::string::npos)) {
            err << "voxacurve: " << QuotedName(list)
                << ": the file list is UTF-16 text (or holds NUL bytes without -0); write it as "
                   "UTF-8, one name a line\n";
            ++problems;
            text.clear();
        }
        for (std::string& name : SplitFileList(text, parsed.has("-0")))
            names.push_back(std::move(name));
    }
    ArchiveFiles expanded = ExpandCurveNames(names);
    for (const std::string& problem : expanded.problems)
        err << "voxacurve: " << problem << '\n';
    for (const std::string& repeat : expanded.repeats)
        err << "voxacurve: " << repeat << '\n';
    parsed.files = std::move(expanded.files);
    return problems + static_cast<int>(expanded.problems.size());
}
