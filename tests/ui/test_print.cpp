#include "UiFixture.h"

#include "app/qt/Sound.h"
#include "dialogs/qt/TFileBox.h"
#include "output/qt/DesktopPrinter.h"
#include "output/qt/PrintCommand.h"
#include "plot/qt/PlotView.h"
#include "ui/qt/Colours.h"
#include "ui/qt/PaintBox.h"
#include "ui/qt/TMainForm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

namespace
{

// Answers the file box once it is shown: types the text into the name field
// and presses the key there. Stops waiting when it goes out of scope, so a
// box that never opens leaves nothing behind for later tests.
class FileBoxAnswer
{
public:
    // beforeAnswer runs while the box is shown, before the name is typed.
    FileBoxAnswer(const QString& typed, Qt::Key key, std::function<void()> beforeAnswer = {})
        : m_timer(std::make_unique<QTimer>())
    {
        m_timer->setInterval(10);
        QObject::connect(m_timer.get(), &QTimer::timeout, [this, typed, key, beforeAnswer] {
            if (!FileBox || QApplication::activeModalWidget() != FileBox)
                return;
            m_timer->stop();
            if (beforeAnswer)
                beforeAnswer();
            auto* edit = FileBox->findChild<QLineEdit*>("FileEdit");
            ASSERT_NE(edit, nullptr);
            edit->setText(typed);
            QTest::keyClick(edit, key);
        });
        m_timer->start();
    }

private:
    std::unique_ptr<QTimer> m_timer;
};

struct NavVisibility {
    const char* name;
    std::vector<bool> visible; // in the order of navigationButtons()
};

std::vector<bool> navigationVisibility()
{
    std::vector<bool> visible;
    for (QToolButton* b : MainForm->navigationButtons())
        visible.push_back(!b->isHidden());
    return visible;
}

void setNavigationVisibility(const std::vector<bool>& visible)
{
    const auto buttons = MainForm->navigationButtons();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->setVisible(visible[i]);
}

uint16_t readUint16(const QByteArray& bytes, int offset)
{
    return uint16_t(uint8_t(bytes[offset]) | uint8_t(bytes[offset + 1]) << 8);
}

// The top-left corner of SigWin in the captured picture.
QPoint sigWinInPicture()
{
    return MainForm->SigWin->mapTo(MainForm->client, QPoint(0, 0))
        - CaptureRectInClient(*MainForm).topLeft();
}

class PrintCommand : public UiTest
{
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        Settings.BmpDirectory.assign(programDir());
        Settings.PrintToBmp = 1;
        Settings.PrintBlackWhite = 0;
        Settings.SoundOn = 1;
        ToneSink = [this](int frequencyHz, int durationMs) {
            m_tones.push_back({frequencyHz, durationMs});
        };
        QApplication::processEvents();
    }
    void TearDown() override
    {
        ToneSink = nullptr;
        UiTest::TearDown();
    }

    // Runs the print command with the file box answered by a typed name and Enter.
    void exportBmp(const QString& typed)
    {
        const FileBoxAnswer answer(typed, Qt::Key_Return);
        PrintClick();
    }
    QString bmpPath(const QString& fileName) const
    {
        return QString::fromStdString(programDir()) + fileName;
    }
    QStringList bmpFiles() const
    {
        return QDir(QString::fromStdString(programDir()))
            .entryList({"*.BMP", "*.bmp"}, QDir::Files);
    }

    // Clicks the print button; the text of the error box it shows.
    QString errorOfThePrintButton()
    {
        QString shown;
        whenModal([&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        runInEventLoop([] { QTest::mouseClick(MainForm->PrintButton, Qt::LeftButton); });
        return shown;
    }

    std::vector<std::pair<int, int>> m_tones;
};

TEST_F(PrintCommand, PictureIsTheWindowBelowTheSoftKeysAtAnySize)
{
    struct Case {
        int width, height;
    };
    for (const Case c : {Case {640, 450}, Case {733, 517}}) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        MainForm->setOuterSize(c.width, c.height);
        QApplication::processEvents();
        ASSERT_EQ(MainForm->outerWidth(), c.width);
        ASSERT_EQ(MainForm->outerHeight(), c.height);

        EXPECT_EQ(CaptureRectInClient(*MainForm), QRect(0, 22, c.width - 8, c.height - 68));
        const DataRect data = PictureDataRect(*MainForm);
        EXPECT_EQ(QPoint(data.x0, data.y0), sigWinInPicture());
        EXPECT_GE(data.x1 - data.x0 + 1, MainForm->SigWin->width());
        EXPECT_GE(data.y1 - data.y0 + 1, MainForm->SigWin->height());
    }
}

TEST_F(PrintCommand, NavigationButtonsAreAsVisibleAfterwardsAsBefore)
{
    const std::vector<NavVisibility> cases {
        {"none", std::vector<bool>(8, false)},
        {"all", std::vector<bool>(8, true)},
        {"mixed", {true, false, false, true, true, false, true, false}},
    };
    const QRect printButton = MainForm->PrintButton->geometry();
    for (const NavVisibility& c : cases) {
        SCOPED_TRACE(c.name);
        setNavigationVisibility(c.visible);
        MainForm->ESCButton->hide();
        exportBmp(c.name);
        EXPECT_TRUE(QFile::exists(bmpPath(QString(c.name) + ".BMP")));
        EXPECT_EQ(navigationVisibility(), c.visible);
        EXPECT_FALSE(MainForm->ESCButton->isHidden());
        EXPECT_EQ(MainForm->PrintButton->text(), "");
        EXPECT_EQ(MainForm->PrintButton->geometry(), printButton);
    }
}

TEST_F(PrintCommand, ColourExportIsA24BitBmpWithAWhiteDataWindow)
{
    const QRect capture = CaptureRectInClient(*MainForm);
    const DataRect data = PictureDataRect(*MainForm);
    exportBmp("plot.txt"); // a typed extension gives way to BMP

    QFile file(bmpPath("plot.BMP"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 30);
    EXPECT_EQ(bytes.left(2), "BM");
    EXPECT_EQ(readUint16(bytes, 28), 24); // bits per pixel

    const QImage picture(file.fileName());
    ASSERT_EQ(picture.size(), QSize(632, 382));
    // The window as it shows now (restored), for the pixels the export keeps.
    const QImage window
        = MainForm->client->grab(capture).toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb dataWindow = ToQColor(Settings.DataWindowColor).rgb();
    int kept = 0;
    int whitened = 0;
    for (int y = data.y0; y < data.y0 + MainForm->SigWin->height(); ++y)
        for (int x = data.x0; x < data.x0 + MainForm->SigWin->width(); ++x) {
            const QRgb shown = window.pixel(x, y);
            if (shown == dataWindow) {
                whitened += picture.pixel(x, y) == qRgb(255, 255, 255);
            } else {
                ASSERT_EQ(picture.pixel(x, y), shown) << x << ", " << y;
                ++kept;
            }
        }
    EXPECT_GT(kept, 0) << "the grid keeps its colour";
    EXPECT_GT(whitened, MainForm->SigWin->width() * MainForm->SigWin->height() / 2);
    // Outside the data window the colours stay: the status row.
    const QPoint zeit = MainForm->Zeit->geometry().center() - capture.topLeft();
    EXPECT_EQ(picture.pixel(zeit), window.pixel(zeit));
    EXPECT_EQ(m_tones, (std::vector<std::pair<int, int>> {{2000, 10}}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PrintCommand, BlackAndWhiteExportHasOnlyBlackAndWhiteInTheDataWindow)
{
    Settings.PrintBlackWhite = 1;
    const DataRect data = PictureDataRect(*MainForm);
    exportBmp("bw");

    const QImage picture(bmpPath("bw.BMP"));
    ASSERT_EQ(picture.size(), QSize(632, 382));
    int black = 0;
    for (int y = data.y0; y <= data.y1; ++y)
        for (int x = data.x0; x <= data.x1; ++x) {
            const QRgb p = picture.pixel(x, y);
            ASSERT_TRUE(p == qRgb(0, 0, 0) || p == qRgb(255, 255, 255)) << x << ", " << y;
            black += p == qRgb(0, 0, 0);
        }
    EXPECT_GT(black, 0) << "the grid prints black";
    EXPECT_EQ(picture.pixel(3, 3), qRgb(255, 255, 255)) << "the window background prints white";
    for (int y : {0, 200, picture.height() - 1}) {
        EXPECT_EQ(picture.pixel(0, y), qRgb(128, 128, 128));
        EXPECT_EQ(picture.pixel(picture.width() - 1, y), qRgb(128, 128, 128));
    }
}

// On a screen of device pixel ratio 2 (the high-density run) the bitmap has
// the screen's pixels: twice the width and height, the data window as sharp
// as it is shown.
TEST_F(PrintCommand, HighDensityBmpHasTheScreensPixels)
{
    if (!moveToHighDensityScreen())
        GTEST_SKIP() << "no screen of device pixel ratio 2";
    struct Back {
        ~Back() { moveToFirstScreen(); }
    } back;
    const QRect capture = CaptureRectInClient(*MainForm);
    exportBmp("dense");

    const QImage picture(bmpPath("dense.BMP"));
    ASSERT_EQ(picture.size(), capture.size() * 2);
    const QImage shown = OffscreenBitmap.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), MainForm->SigWin->size() * 2);
    const QPoint origin = sigWinInPicture() * 2;
    const QRgb dataWindow = ToQColor(Settings.DataWindowColor).rgb();
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb expected
                = shown.pixel(x, y) == dataWindow ? qRgb(255, 255, 255) : shown.pixel(x, y);
            differing += picture.pixel(origin.x() + x, origin.y() + y) != expected;
        }
    EXPECT_EQ(differing, 0);

    // In black and white the window's background left of the data window
    // turns white in its rows, as on a 1x screen: the clean-up reads the
    // background at window pixel (3, 3) of the title row, device pixel (6, 6).
    const QRgb background = picture.pixel(6, 6);
    Settings.PrintBlackWhite = 1;
    exportBmp("densebw");
    const QImage blackWhite(bmpPath("densebw.BMP"));
    int kept = 0;
    for (int y = origin.y(); y < origin.y() + shown.height(); ++y)
        for (int x = 0; x < origin.x(); ++x)
            kept += blackWhite.pixel(x, y) == background;
    EXPECT_EQ(kept, 0);
}

TEST_F(PrintCommand, BmpFileLandsInTheDirectoryUnderItsName)
{
    struct Case {
        const char* name;
        std::string directory; // below the program directory
        const char* separator; // after the directory in the setting
        QString typed;
        std::string file; // the file's name as the file system has it
    };
    const std::vector<Case> cases = {
        {"directory with a trailing separator", "pictures", "/", "plot", "plot.BMP"},
        {"directory without one", "bitmaps", "", "plot", "plot.BMP"},
        {"names beyond ASCII", "Bilder \u00F6", "/", QString::fromUtf8("Gr\u00F6\u00DFe \u00E4"),
            "Gr\u00F6\u00DFe \u00E4.BMP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path directory = programDir() + c.directory;
        std::filesystem::create_directory(directory);
        Settings.BmpDirectory.assign(programDir() + c.directory + c.separator);
        exportBmp(c.typed);
        EXPECT_TRUE(std::filesystem::exists(directory / c.file));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory),
                      std::filesystem::directory_iterator()),
            1);
        EXPECT_TRUE(bmpFiles().isEmpty()) << "no file beside the directory";
    }
}

// A bitmap that cannot be written is reported by the top-level error display
// from the print button, naming the full path and the system's reason; the
// program goes on. Running as root the directory's mode cannot stop a
// write, so the directory is replaced by a file, or removed, while the
// file box asks for the name (as when a disk is taken away).
TEST_F(PrintCommand, UnwritableBitmapIsNamedWithItsFullPathAndTheReason)
{
    struct Case {
        const char* name;
        std::string directory; // below the program directory
        bool fileInstead; // the directory replaced by a file, else removed
        int error;
    };
    const std::vector<Case> cases = {
        {"the directory is now a file", "now-a-file", true, ENOTDIR},
        {"the directory is gone", "gone", false, ENOENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string directory = programDir() + c.directory;
        std::filesystem::create_directory(directory);
        Settings.BmpDirectory.assign(directory + "/");
        const FileBoxAnswer answer("ro_test", Qt::Key_Return, [&] {
            std::filesystem::remove(directory);
            if (c.fileInstead)
                std::ofstream(directory) << "not a directory";
        });
        const QString shown = errorOfThePrintButton();
        EXPECT_EQ(shown.toStdString(),
            "Cannot write the bitmap file " + programDir() + c.directory
                + "/ro_test.BMP: " + std::strerror(c.error));
        EXPECT_TRUE(MainForm->isVisible());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(PrintCommand, CancelledFileBoxWritesAndChangesNothing)
{
    const std::vector<bool> mixed {false, true, true, false, false, true, false, true};
    setNavigationVisibility(mixed);
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) { // Return with the untouched "*.BMP"
        SCOPED_TRACE(key);
        const FileBoxAnswer answer(key == Qt::Key_Escape ? "cancelled" : "*.BMP", key);
        PrintClick();
        EXPECT_TRUE(bmpFiles().isEmpty());
        EXPECT_EQ(navigationVisibility(), mixed);
        EXPECT_TRUE(m_tones.empty());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(PrintCommand, NoPrinterIsReportedAndTheWindowRestored)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this computer has a printer";
    Settings.PrintToBmp = 0;
    const std::vector<bool> mixed {true, true, false, false, true, false, false, true};
    setNavigationVisibility(mixed);
    try {
        PrintClick();
        FAIL() << "printing without a printer went through";
    } catch (const std::runtime_error& e) {
        EXPECT_TRUE(QString(e.what()).startsWith("No printer is available")) << e.what();
    }
    EXPECT_EQ(navigationVisibility(), mixed);
    EXPECT_FALSE(MainForm->ESCButton->isHidden());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(m_tones.empty());
}

TEST_F(PrintCommand, NoPrinterFromThePrintButtonShowsTheErrorAndTheProgramGoesOn)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this computer has a printer";
    Settings.PrintToBmp = 0;
    const QString shown = errorOfThePrintButton();
    EXPECT_TRUE(shown.startsWith("No printer is available")) << shown.toStdString();
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_FALSE(MainForm->ESCButton->isHidden());
}

} // namespace

// Qt's print support is a module loaded at the first print: a missing module
// is reported in words, naming it and what each place gave; the module
// found is the program's one printer.
TEST(PrintModule, MissingModuleIsNamedAndTheFoundOneIsTheProgramsPrinter)
{
    try {
        LoadDesktopPrinter({"/nonexistent/libvoxa_printer.so", "libvoxa_printer_gone.so"});
        FAIL() << "a missing module loaded";
    } catch (const std::runtime_error& e) {
        const std::string text = e.what();
        EXPECT_EQ(
            text.rfind("Printing is not available: the print module libvoxa_printer.so", 0), 0u)
            << text;
        EXPECT_NE(text.find("/nonexistent/libvoxa_printer.so"), std::string::npos) << text;
        EXPECT_NE(text.find("libvoxa_printer_gone.so"), std::string::npos) << text;
    }
    const std::string besideTests
        = QCoreApplication::applicationDirPath().toStdString() + "/libvoxa_printer.so";
    EXPECT_EQ(
        &LoadDesktopPrinter({"/nonexistent/libvoxa_printer.so", besideTests}), &ProgramPrinter());
}
