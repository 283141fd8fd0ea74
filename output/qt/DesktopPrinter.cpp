#include "output/qt/DesktopPrinter.h"

#include <QCoreApplication>
#include <QLibrary>
#include <stdexcept>

namespace
{

// The module beside the program first, then wherever the dynamic loader
// looks (the program's run path holds the build directory).
DesktopPrinter* loadModule()
{
    QString problems;
    for (const QString& name :
        {QCoreApplication::applicationDirPath() + "/libvoxa_printer.so", QString("voxa_printer")}) {
        // Never unloaded: the printer lives until the program ends.
        QLibrary module(name);
        auto entry = reinterpret_cast<DesktopPrinterEntry>(module.resolve(kDesktopPrinterEntry));
        if (entry)
            return entry();
        problems += "\n" + module.errorString();
    }
    throw std::runtime_error(
        "Printing is not available: the print module libvoxa_printer.so could not be loaded."
        + problems.toStdString());
}

} // namespace

DesktopPrinter& ProgramPrinter()
{
    static DesktopPrinter* printer = loadModule();
    return *printer;
}
