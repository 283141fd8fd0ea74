// The file box on large folders: opening it (listing, list items, the first
// painting of the visible rows) against listing the same folder with every
// file's size and date (readdir and stat, what `ls -l` does), at 10^3, 10^4
// and 10^5 files.
#include "dialogs/qt/TExtFileListBox.h"
#include "dialogs/qt/TFileBox.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <map>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// A folder of n curve files ("F0000000.EA", ...) holding a few bytes each,
// made once per size and kept for the whole run.
const std::string& FolderOf(int n)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    static std::map<int, std::string> paths;
    if (!folders.contains(n)) {
        auto dir = std::make_unique<QTemporaryDir>();
        const std::string path = dir->path().toStdString() + "/";
        for (int i = 0; i < n; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "F%07d.EA", i);
            const int fd = ::open((path + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd >= 0) {
                (void)!::write(fd, name, 8);
                ::close(fd);
            }
        }
        folders[n] = std::move(dir);
        paths[n] = path;
    }
    return paths[n];
}

// The reference: every name of the folder with its size and last-write time.
void BM_ListFolderWithSizesAndDates(benchmark::State& state)
{
    const std::string& folder = FolderOf(int(state.range(0)));
    for (auto _ : state) {
        DIR* dir = ::opendir(folder.c_str());
        long long bytes = 0;
        while (const dirent* entry = ::readdir(dir)) {
            struct stat st;
            if (::fstatat(::dirfd(dir), entry->d_name, &st, 0) == 0)
                bytes += st.st_size + st.st_mtime;
        }
        ::closedir(dir);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_ListFolderWithSizesAndDates)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// What the file box does before it shows: a fresh listing into the list,
// then the painting of its visible rows (names, sizes, dates and times).
void BM_FileBoxOpened(benchmark::State& state)
{
    const std::string& folder = FolderOf(int(state.range(0)));
    TExtFileListBox& list = *FileBoxInstance().FileListBox1;
    list.clear();
    const std::size_t heapBefore = mallinfo2().uordblks;
    for (auto _ : state) {
        list.clear();
        list.setDirectory(folder);
        list.setMask("*.EA");
        list.reread();
        benchmark::DoNotOptimize(list.grab());
    }
    state.counters["files"] = double(list.count());
    // The heap the listed folder holds, per file.
    state.counters["heap bytes per file"]
        = (double(mallinfo2().uordblks) - double(heapBefore)) / double(list.count());
    list.clear();
}
BENCHMARK(BM_FileBoxOpened)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
