#include "output/qt/PrintCommand.h"

#include "app/ConfigLocation.h"
#include "app/ProgramContext.h"
#include "app/SettingsRecord.h"
#include "app/ToneSequences.h"
#include "app/WriteWhole.h"
#include "app/qt/Sound.h"
#include "dialogs/DirectoryListing.h"
#include "dialogs/qt/TFileBox.h"
#include "output/qt/DesktopPrinter.h"
#include "ui/qt/Colours.h"
#include "ui/qt/PaintBox.h"
#include "ui/qt/TMainForm.h"

#include <QApplication>
#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace
{

// The legacy frame around the client area: 4 pixels left, right and bottom,
// 42 above it (title bar and menu bar).
constexpr int kFrameLeft = 4;
constexpr int kFrameTop = 42;
static_assert(2 * kFrameLeft == kFrameWidth && kFrameTop + kFrameLeft == kFrameHeight);

Rect toRect(const QRect& r)
{
    return {r.left(), r.top(), r.width(), r.height()};
}

// The hourglass for the whole application while the command runs; put back
// when the command ends, also by an error.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { restore(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    void restore()
    {
        if (m_active)
            QApplication::restoreOverrideCursor();
        m_active = false;
    }

private:
    bool m_active = true;
};

QToolButton* navigationButton(const TMainForm& form, NavButtonBit bit)
{
    switch (bit) {
    case NavButtonBit::UpButton:
        return form.UpButton;
    case NavButtonBit::DownButton:
        return form.DownButton;
    case NavButtonBit::LeftButton:
        return form.LeftButton;
    case NavButtonBit::RightButton:
        return form.RightButton;
    case NavButtonBit::ReZoomXButton:
        return form.ReZoomXButton;
    case NavButtonBit::ZoomXButton:
        return form.ZoomXButton;
    case NavButtonBit::ReZoomYButton:
        return form.ReZoomYButton;
    case NavButtonBit::ZoomYButton:
        return form.ZoomYButton;
    }
    return nullptr;
}

// Qt elides a caption that is wider than its button, which would leave only
// "..." of the blanks around the name; the blanks are cut evenly from both
// ends instead, so the name stays in the middle as a clipping button shows it.
QString fittedCaption(const QToolButton& button, const std::string& caption, int width)
{
    constexpr int kIconSpacingAndMargins = 16;
    const int room = width - button.iconSize().width() - kIconSpacingAndMargins;
    const QFontMetrics metrics(button.font());
    QString text = QString::fromStdString(caption);
    while (text.size() > 2 && text.front() == ' ' && text.back() == ' '
        && metrics.horizontalAdvance(text) > room)
        text = text.mid(1, text.size() - 2);
    return text;
}

// Hides ESCButton and the navigation buttons and turns PrintButton into the
// title row; returns the mask of the navigation buttons that were visible.
int makeWindowFitForPicture(TMainForm& form, int pictureWidth)
{
    form.ESCButton->hide();
    std::array<bool, 8> visible {};
    for (std::size_t i = 0; i < kMaskOrder.size(); ++i) {
        QToolButton* button = navigationButton(form, kMaskOrder[i]);
        visible[i] = !button->isHidden();
        button->hide();
    }
    const int infoWidth
        = QFontMetrics(form.InfoPanel->font()).horizontalAdvance(form.InfoPanel->text());
    const TitleRow title = ComputeTitleRow(form.ESCButton->x(), pictureWidth, infoWidth);
    form.PrintButton->setText(fittedCaption(*form.PrintButton, title.caption, title.width));
    form.PrintButton->setGeometry(
        title.left, form.PrintButton->y(), title.width, form.PrintButton->height());
    return BuildVisibilityMask(visible);
}

void restoreWindow(TMainForm& form, int mask)
{
    for (NavButtonBit bit : kMaskOrder)
        navigationButton(form, bit)->setVisible(IsVisibleInMask(mask, bit));
    form.ESCButton->show();
    form.PrintButton->setText(QString());
    form.SetSystemMetrics();
    QCoreApplication::processEvents();
}

// The window in its picture state for as long as the guard lives.
class WindowFitForPicture
{
public:
    WindowFitForPicture(TMainForm& form, int pictureWidth)
        : m_form(form)
        , m_mask(makeWindowFitForPicture(form, pictureWidth))
    {
    }
    ~WindowFitForPicture() { restoreWindow(m_form, m_mask); }
    WindowFitForPicture(const WindowFitForPicture&) = delete;
    WindowFitForPicture& operator=(const WindowFitForPicture&) = delete;

private:
    TMainForm& m_form;
    int m_mask;
};

// Renders the capture rectangle of the client area with its controls; the
// screen is not read, so covered parts of the window show as they are.
// At a device pixel ratio above 1 the picture has the screen's pixels: the
// data window's picture and the labels as sharp as they are shown.
QImage renderPicture(QWidget& client, const QRect& capture)
{
    const qreal ratio = client.devicePixelRatioF();
    QImage picture(DeviceSize(capture.size(), ratio), QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    client.render(&picture, QPoint(0, 0), QRegion(capture));
    picture.setDevicePixelRatio(1);
    return picture;
}

QImage takePicture(TMainForm& form, const QRect& capture)
{
    const WindowFitForPicture fit(form, capture.width());
    QCoreApplication::processEvents();
    return renderPicture(*form.client, capture);
}

PixelImage toPixelImage(const QImage& rgb32)
{
    PixelImage image {rgb32.width(), rgb32.height(), {}};
    image.pixels.resize(std::size_t(image.width) * std::size_t(image.height));
    for (int y = 0; y < image.height; ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(rgb32.constScanLine(y));
        std::copy_n(line, image.width, image.pixels.begin() + std::ptrdiff_t(y) * image.width);
    }
    return image;
}

QImage toQImage(const PixelImage& image)
{
    QImage rgb32(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y)
        std::memcpy(rgb32.scanLine(y), image.pixels.data() + std::ptrdiff_t(y) * image.width,
            std::size_t(image.width) * sizeof(uint32_t));
    return rgb32;
}

// White paper instead of the data window's colour; in black and white also
// instead of the window background, with every other data pixel black.
// The picture and the data rectangle have the screen's device pixels.
void cleanUp(PixelImage& picture, const DataRect& data, double ratio)
{
    const uint32_t dataWindow = ToQColor(Settings.DataWindowColor).rgb();
    // Pixel (3, 3) lies in the title row, outside every control. A picture
    // too small to have it whitens nothing for the background.
    const uint32_t reference = ReferenceColour(picture, ratio).value_or(kWhitePixel);
    if (Settings.PrintBlackWhite)
        CleanUpBlackWhite(picture, data, dataWindow, reference);
    else
        CleanUpColour(picture, data, dataWindow);
}

// QImage writes a Format_RGB32 picture as a 24-bit BMP file.
// Encodes the picture in memory and writes the file whole, so that a failed
// write leaves an existing file as it was; the error names the full path
// and the system's reason.
void saveBmp(const QImage& picture, const std::string& path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "BMP");
    std::optional<std::string> error;
    if (!writer.write(picture))
        error = writer.errorString().toStdString();
    else
        error = WriteWhole(path,
            BytesOf(std::string_view(bytes.constData(), std::size_t(bytes.size()))), Flush::ToDisk);
    if (error) {
        // The file box has entered the directory: a relative path is taken
        // from there, unless that directory is gone too.
        std::error_code noWorkingDirectory;
        const std::filesystem::path full = std::filesystem::absolute(path, noWorkingDirectory);
        throw std::runtime_error("Cannot write the bitmap file "
            + (noWorkingDirectory ? path : full.lexically_normal().string()) + ": " + *error);
    }
}

// One page: the picture stretched to 80 % of the printable width, 10 % in
// from the printable area's left and top, with the picture's aspect ratio.
void printPicture(const QImage& picture)
{
    // Reduced to 256 colours by the nearest colour: the picture is lines and
    // text, which dithering would only speckle.
    const QImage indexed = picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    ProgramPrinter().printPage(indexed, Settings.PrintLandscape != 0, ComputePagePlacement);
}

} // namespace

QRect CaptureRectInClient(const TMainForm& form)
{
    const QPoint clientOrigin = form.clientOrigin();
    const Rect outer {clientOrigin.x() - kFrameLeft, clientOrigin.y() - kFrameTop,
        form.outerWidth(), form.outerHeight()};
    const Rect capture
        = ComputeCaptureRect(outer, toRect(form.DatWinFrame->geometry()), form.Zeit->height());
    return QRect(capture.left - clientOrigin.x(), capture.top - clientOrigin.y(), capture.width,
        capture.height);
}

DataRect PictureDataRect(const TMainForm& form)
{
    return ComputeDataRect(toRect(form.SigWinFrame->geometry()),
        toRect(form.DatWinFrame->geometry()), form.ESCButton->height());
}

void PrintClick()
{
    std::string bmpName;
    const std::string bmpDirectory = BmpDirectoryToOffer(Settings.BmpDirectory.str(), ProgramDir);
    if (Settings.PrintToBmp) {
        bmpName = SelectFile(bmpDirectory, "BMP", "Cancel", false);
        if (bmpName.empty())
            return;
    }
    BusyCursor busy;
    QCoreApplication::processEvents();

    TMainForm& form = *MainForm;
    const QRect capture = CaptureRectInClient(form);
    const qreal ratio = form.client->devicePixelRatioF();
    const DataRect data = DataRectInDevicePixels(PictureDataRect(form), ratio);
    PixelImage picture = toPixelImage(takePicture(form, capture));
    cleanUp(picture, data, ratio);
    if (Settings.PrintToBmp)
        saveBmp(toQImage(picture), JoinPath(bmpDirectory, bmpName));
    else
        printPicture(toQImage(picture));

    busy.restore();
    QCoreApplication::processEvents();
    PlayTones(kTonesPrintDone);
}
