#include "output/qt/DesktopPrinter.h"

#include <QCoreApplication>
#include <dlfcn.h>
#include <stdexcept>
#include <string>

namespace
{

// The module beside the program first, then wherever the dynamic loader
// looks for this program: its run path holds the build directory. (dlopen is
// called here rather than through QLibrary, whose calls come from Qt's own
// library and so never see the program's run path.) Never unloaded: the
// printer lives until the program ends.
DesktopPrinter* loadModule()
{
    const std::string besideProgram
        = QCoreApplication::applicationDirPath().toStdString() + "/libvoxa_printer.so";
    std::string problems;
    for (const std::string& name : {besideProgram, std::string("libvoxa_printer.so")}) {
        void* module = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            problems += std::string("\n") + dlerror();
            continue;
        }
        if (auto entry = reinterpret_cast<DesktopPrinterEntry>(dlsym(module, kDesktopPrinterEntry)))
            return entry();
        problems += "\n" + name + ": no entry point " + kDesktopPrinterEntry;
    }
    throw std::runtime_error(
        "Printing is not available: the print module libvoxa_printer.so could not be loaded."
        + problems);
}

} // namespace

DesktopPrinter& ProgramPrinter()
{
    static DesktopPrinter* printer = loadModule();
    return *printer;
}
