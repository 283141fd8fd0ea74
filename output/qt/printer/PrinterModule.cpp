// The module with Qt's print support: the program's printer, its setup
// dialog and the printing of one page.
#include "output/qt/DesktopPrinter.h"

#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <stdexcept>
#include <string>

namespace
{

bool isAvailable(const QList<QPrinterInfo>& printers, const QString& name)
{
    return std::any_of(printers.begin(), printers.end(),
        [&name](const QPrinterInfo& p) { return p.printerName() == name; });
}

// Points the printer at a printer of the desktop unless the print dialog
// chose printing into a file. Without any printer Qt would quietly print
// into a PDF file that is never written; that is reported instead.
void selectAvailablePrinter(QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return;
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty())
        throw std::runtime_error("No printer is available: no printer is set up on this computer.");
    if (printer.outputFormat() == QPrinter::NativeFormat
        && isAvailable(printers, printer.printerName()))
        return;
    QPrinterInfo chosen = QPrinterInfo::defaultPrinter();
    if (chosen.isNull())
        chosen = printers.first();
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(chosen.printerName());
}

class QtDesktopPrinter : public DesktopPrinter
{
public:
    void showSetupDialog(QWidget* parent) override
    {
        QPrintDialog dialog(&m_printer, parent);
        dialog.exec();
    }

    void printPage(const QImage& picture, bool landscape, Placement place) override
    {
        selectAvailablePrinter(m_printer);
        m_printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        QPainter painter;
        if (!painter.begin(&m_printer))
            throw std::runtime_error("No printer is available: the printer \""
                + m_printer.printerName().toStdString() + "\" cannot start a document.");
        // The painter's origin is the printable area's top-left corner.
        const QRect printable = m_printer.pageRect(QPrinter::DevicePixel).toRect();
        const Rect r
            = place(printable.width(), printable.height(), picture.width(), picture.height());
        painter.drawImage(QRect(r.left, r.top, r.width, r.height), picture);
        painter.end();
    }

private:
    QPrinter m_printer {QPrinter::HighResolution};
};

} // namespace

extern "C" Q_DECL_EXPORT DesktopPrinter* VoxaDesktopPrinter()
{
    // Never deleted: a QPrinter must not be destroyed after the application
    // object.
    static DesktopPrinter* printer = new QtDesktopPrinter;
    return printer;
}
