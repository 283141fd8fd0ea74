#include "output/qt/DesktopPrinter.h"

#include <QCoreApplication>
#include <dlfcn.h>
#include <stdexcept>
#include <string>

DesktopPrinter& LoadDesktopPrinter(const std::vector<std::string>& paths)
{
    // dlopen is called here rather than through QLibrary, whose calls come
    // from Qt's own library and so never see the program's run path. Never
    // unloaded: the printer lives until the program ends.
    std::string problems;
    for (const std::string& path : paths) {
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            problems += std::string("\n") + dlerror();
            continue;
        }
        if (auto entry = reinterpret_cast<DesktopPrinterEntry>(dlsym(module, kDesktopPrinterEntry)))
            return *entry();
        problems += "\n" + path + ": no entry point " + kDesktopPrinterEntry;
    }
    throw std::runtime_error(
        "Printing is not available: the print module libvoxa_printer.so could not be loaded."
        + problems);
}

DesktopPrinter& ProgramPrinter()
{
    // The module beside the program first, then where the dynamic loader
    // looks for this program: its run path holds the build directory.
    static DesktopPrinter& printer = LoadDesktopPrinter(
        {QCoreApplication::applicationDirPath().toStdString() + "/libvoxa_printer.so",
            "libvoxa_printer.so"});
    return printer;
}
