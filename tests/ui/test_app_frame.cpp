#include "UiFixture.h"

#include "app/ConfigFile.h"
#include "app/SettingsValidation.h"
#include "app/qt/Alerts.h"
#include "app/qt/QuitCommand.h"
#include "app/qt/Sound.h"
#include "app/qt/Startup.h"
#include "app/qt/TBox.h"
#include "plot/qt/PlotView.h"
#include "ui/qt/PaintBox.h"
#include "ui/qt/TMainForm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QPushButton>
#include <QTest>
#include <random>

namespace
{

QByteArray readAll(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class AppFrame : public UiTest
{
protected:
    std::string configPath() const { return ConfigPath(programDir()); }
};

TEST_F(AppFrame, QuitQuestionAnsweredNoOrEscKeepsTheSettingsUnsaved)
{
    const QByteArray before = readAll(configPath());
    Settings.LevelTop = 33; // a change that only a save would write
    for (int key : {int(Qt::Key_Escape), int(Qt::Key_N)}) {
        SCOPED_TRACE(key);
        whenModal([key] {
            EXPECT_EQ(Box->windowTitle(), "Sonivex");
            if (key == Qt::Key_N)
                Box->Btn2->click();
            else
                pressKey(key);
        });
        QuitRequest();
        EXPECT_EQ(BoxResult, kBoxSecondButton);
        EXPECT_EQ(readAll(configPath()), before);
        EXPECT_TRUE(MainForm->isVisible());
    }
}

TEST_F(AppFrame, QuitQuestionYesSavesTheWindowSizeOfTheFrameModel)
{
    MainForm->setOuterSize(700, 520);
    QApplication::processEvents();
    Settings.LevelTop = 33;
    for (int key : {int(Qt::Key_Return), int(Qt::Key_F1)}) {
        SCOPED_TRACE(key);
        whenModal([key] { pressKey(key); });
        runInEventLoop(QuitRequest);
        EXPECT_EQ(BoxResult, kBoxFirstButton);
        SettingsRecord saved {};
        ASSERT_TRUE(ReadConfigFile(configPath(), saved));
        EXPECT_EQ(saved.LevelTop, 33);
        EXPECT_EQ(saved.WindowWidth, 700);
        EXPECT_EQ(saved.WindowHeight, 520);
        EXPECT_EQ(saved.WindowStateCode, 0);
    }
}

TEST_F(AppFrame, CloseBoxOfTheWindowAsksTheQuitQuestion)
{
    bool asked = false;
    whenModal([&] {
        asked = Box->windowTitle() == "Sonivex";
        pressKey(Qt::Key_Escape);
    });
    MainForm->close();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(MainForm->isVisible());
}

TEST_F(AppFrame, MissingOrShortConfigurationShowsTheFatalBoxAndLeavesTheFileAlone)
{
    CommandLine = {"voxa32vw", "/:"};
    for (int size : {-1, 6807}) {
        SCOPED_TRACE(size);
        QFile::remove(QString::fromStdString(configPath()));
        if (size >= 0) {
            QFile f(QString::fromStdString(configPath()));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(size, 'x'));
        }
        const QByteArray before = readAll(configPath());
        std::vector<int> tones;
        ToneSink = [&](int hz, int ms) { tones.insert(tones.end(), {hz, ms}); };
        QString title;
        QStringList lines;
        whenModal([&] {
            title = Box->windowTitle();
            lines = QStringList(Box->L1->lines().begin(), Box->L1->lines().end());
            pressKey(Qt::Key_Return);
        });
        EXPECT_THROW(LoadSettings(), ProgramEnd);
        ToneSink = nullptr;
        EXPECT_EQ(title, "FATAL ERROR");
        // Which file, and why, under the first line.
        ASSERT_GE(lines.size(), 3);
        EXPECT_EQ(lines[1], "Error reading VOXA32VW.CFG (not found or invalid)!");
        EXPECT_EQ(lines[2].toStdString(),
            configPath() + (size < 0 ? ": not found" : ": only 6807 of 6808 bytes"));
        EXPECT_EQ(tones, (std::vector<int> {1200, 1000}));
        EXPECT_EQ(QFile::exists(QString::fromStdString(configPath())), size >= 0);
        EXPECT_EQ(readAll(configPath()), before);
    }
}

TEST_F(AppFrame, RandomConfigurationIsNamedInOneBoxAndTheFileStaysAsItWas)
{
    std::mt19937 random(6808);
    QByteArray noise(int(kSettingsSize), '\0');
    for (char& c : noise)
        c = char(random());
    {
        QFile f(QString::fromStdString(configPath()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(noise);
    }
    CommandLine = {"voxa32vw", "/:"};
    const std::vector<std::string> repaired = LoadSettings();
    ASSERT_FALSE(repaired.empty()) << "random bytes hit a field that faults";
    const std::vector<std::string> left = DamagedSettingsFields(Settings);
    EXPECT_TRUE(left.empty() || left == std::vector<std::string> {"ReferenceVoltage"})
        << "the session runs on fresh values (the reference voltage is never changed)";
    EXPECT_NO_THROW(ResetPlot());

    int boxes = 0;
    QString title, body;
    whenModal([&] {
        ++boxes;
        title = Box->windowTitle();
        body = QStringList(Box->L1->lines().begin(), Box->L1->lines().end()).join("\n");
        pressKey(Qt::Key_Return);
    });
    ReportRepairedSettings(repaired);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(title, "Error");
    for (const std::string& name : repaired)
        EXPECT_TRUE(body.contains(QString::fromStdString(name))) << name;
    EXPECT_EQ(readAll(configPath()), noise) << "after the box";

    whenModal([] { Box->Btn2->click(); });
    QuitRequest();
    EXPECT_EQ(readAll(configPath()), noise) << "after a quit with \"no\"";
}

TEST_F(AppFrame, FailedSaveOnQuitIsToldInAnErrorBox)
{
    // A directory where the configuration was: neither a temporary beside it
    // nor the file itself can take the record, whoever runs the test.
    QFile::remove(QString::fromStdString(configPath()));
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(configPath())));
    std::vector<QString> titles;
    QString body;
    whenModal([&] {
        titles.push_back(Box->windowTitle());
        pressKey(Qt::Key_Return);
        whenModal([&] {
            titles.push_back(Box->windowTitle());
            body = QStringList(Box->L1->lines().begin(), Box->L1->lines().end()).join("\n");
            pressKey(Qt::Key_Return);
        });
    });
    runInEventLoop(QuitRequest);
    EXPECT_EQ(titles, (std::vector<QString> {"Sonivex", "Error"}));
    EXPECT_TRUE(body.contains(QString::fromStdString(configPath()))) << body.toStdString();
}

TEST_F(AppFrame, FailedSaveOfTheUsersCopyNamesThatFileAndLeavesTheOneBesideTheProgram)
{
    // The user's configuration directory cannot be made: a file stands in its way.
    const std::string blocker = programDir() + "config-home";
    QFile file(QString::fromStdString(blocker));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    SettingsLocation = {configPath(), blocker + "/voxa32vw/VOXA32VW.CFG"};
    const QByteArray site = readAll(configPath());
    Settings.LevelTop = 33;
    QString body;
    whenModal([&] {
        pressKey(Qt::Key_Return);
        whenModal([&] {
            body = QStringList(Box->L1->lines().begin(), Box->L1->lines().end()).join("\n");
            pressKey(Qt::Key_Return);
        });
    });
    runInEventLoop(QuitRequest);
    EXPECT_TRUE(body.contains(QString::fromStdString(SettingsLocation.savePath)))
        << body.toStdString();
    EXPECT_FALSE(body.contains(QString::fromStdString(configPath()))) << body.toStdString();
    EXPECT_EQ(readAll(configPath()), site);
}

TEST_F(AppFrame, PlayTonesFollowsSoundOn)
{
    std::vector<int> tones;
    ToneSink = [&](int hz, int ms) { tones.insert(tones.end(), {hz, ms}); };
    Settings.SoundOn = 0;
    PlayTones(40);
    EXPECT_EQ(tones, (std::vector<int> {1200, 1000}));
    tones.clear();
    Settings.SoundOn = 1;
    PlayTones(40);
    EXPECT_EQ(tones, (std::vector<int> {600, 70, 900, 70, 1200, 70, 1200, 1000}));
    ToneSink = nullptr;
}

TEST_F(AppFrame, MessageBoxGeometryFromTheCanvasFontMetrics)
{
    const QFontMetrics m(Box->canvasFont());
    struct Case {
        std::vector<std::string> lines;
        std::string b1, b2;
        int width, height;
    };
    const std::string wide = "A body line much wider than the short title line";
    const std::vector<Case> cases {
        {{"Error"}, "ok", "", std::max(50, m.horizontalAdvance("Error") + 60), 69},
        {{"Sonivex", "Quit VOXA 32?"}, "yes", "no", 230, 16 + 25 + 44},
        {{"T", wide}, "ok", "", m.horizontalAdvance(QString::fromStdString(wide)) + 30, 85},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.back());
        whenModal([] { pressKey(Qt::Key_Escape); });
        EXPECT_EQ(
            ShowBox(c.lines, c.b1, c.b2), kBoxSecondButton); // Esc gives 12 even with "ok" alone
        EXPECT_EQ(Box->width() + kBoxFrameWidth, c.width);
        EXPECT_EQ(Box->height() + kBoxFrameHeight, c.height);
        EXPECT_EQ(Box->Btn2->isVisibleTo(Box), !c.b2.empty());
    }
}

TEST_F(AppFrame, StartUpShowsTheWindowAtItsSavedSizeWithTheSoftKeys)
{
    EXPECT_EQ(MainForm->windowTitle(), " Sonivex");
    EXPECT_EQ(MainForm->outerWidth(), 640);
    EXPECT_EQ(MainForm->outerHeight(), 450);
    EXPECT_EQ(MainForm->F[0]->text(), "Load Frequency Resp. Curve");
    EXPECT_EQ(MainForm->ESCButton->text(), "Quit");
    for (QToolButton* b : MainForm->navigationButtons())
        EXPECT_TRUE(b->isVisible());
}

} // namespace
