#include "FileBoxTestHelpers.h"
#include "UiFixture.h"

#include "app/qt/Startup.h"
#include "app/qt/TBox.h"
#include "curves/CurveSlot.h"
#include "curves/ExampleCurves.h"
#include "curves/LoadState.h"
#include "curves/qt/LoadFlows.h"
#include "dialogs/DirectoryListing.h"
#include "dialogs/qt/TExtFileListBox.h"
#include "dialogs/qt/TFileBox.h"
#include "plot/qt/PlotView.h"
#include "ui/qt/TMainForm.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

QListWidgetItem* findItem(const QListWidget& list, const QString& text)
{
    const QList<QListWidgetItem*> found = list.findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

void clickItem(QListWidget* list, const QString& text, bool doubleClick = false)
{
    QListWidgetItem* item = findItem(*list, text);
    ASSERT_NE(item, nullptr) << text.toStdString();
    const QPoint centre = list->visualItemRect(item).center();
    // A double click is a click followed by the double-click event.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    if (doubleClick)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

// Types text into the control that has the focus, then Enter. QTest knows
// the keys of ASCII characters only: the others come as key events that
// carry just their text, as a keyboard layout gives them.
void typeAndEnter(const QString& text)
{
    QWidget* focus = QApplication::focusWidget();
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(focus, c.toLatin1());
        } else {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(focus, &press);
        }
    }
    QTest::keyClick(focus, Qt::Key_Return);
}

// The box needs the program's windows; every test leaves the current
// directory as it found it.
class FileBoxDialog : public UiTest
{
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        m_startDirectory = QDir::currentPath();
        ASSERT_TRUE(m_curves.isValid());
        writeFile(curveDir(), "ROOM.EA", 100);
        writeFile(curveDir(), "b.ea", 10);
        writeFile(curveDir(), "a_long_measurement_name_01.EA");
        writeFile(curveDir(), "SPEAKER.OHM");
    }
    void TearDown() override
    {
        QDir::setCurrent(m_startDirectory);
        UiTest::TearDown();
    }

    std::string curveDir() const { return m_curves.path().toStdString(); }

    // Runs SelectFile with action answering the box.
    std::string selectWith(const std::function<void()>& action, const std::string& extension = "EA",
        bool readOnlyName = true)
    {
        whenModal(action);
        return SelectFile(curveDir(), extension, "Cancel", readOnlyName);
    }

    QTemporaryDir m_curves;
    QString m_startDirectory;
};

TEST_F(FileBoxDialog, ClosingWithoutAChoiceGivesAnEmptyName)
{
    struct Case {
        const char* name;
        std::function<void()> action;
    };
    const std::vector<Case> cases = {
        {"ok with the untouched mask",
            [] { QTest::mouseClick(FileBox->SpeedButton1, Qt::LeftButton); }},
        {"Enter on the box", [] { pressKey(Qt::Key_Return); }},
        {"Enter in the edit field", [] { QTest::keyClick(FileBox->FileEdit, Qt::Key_Return); }},
        {"keypad Enter in the list", [] { QTest::keyClick(FileBox->FileListBox1, Qt::Key_Enter); }},
        {"Esc on the box", [] { pressKey(Qt::Key_Escape); }},
        {"Esc in the list after a choice",
            [] {
                clickItem(FileBox->FileListBox1, "ROOM.EA");
                QTest::keyClick(FileBox->FileListBox1, Qt::Key_Escape);
            }},
        {"cancel button after a choice",
            [] {
                clickItem(FileBox->FileListBox1, "ROOM.EA");
                QTest::mouseClick(FileBox->SpeedButton2, Qt::LeftButton);
            }},
        {"emptied field",
            [] {
                FileBox->FileEdit->clear();
                QTest::mouseClick(FileBox->SpeedButton1, Qt::LeftButton);
            }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(selectWith(c.action), "");
        EXPECT_FALSE(FileBox->isVisible());
    }
}

TEST_F(FileBoxDialog, ChosenAndTypedNames)
{
    struct Case {
        const char* name;
        std::string extension;
        bool readOnlyName;
        std::function<void()> action;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"listed file and Enter", "EA", true,
            [] {
                clickItem(FileBox->FileListBox1, "ROOM.EA");
                pressKey(Qt::Key_Return);
            },
            "ROOM.EA"},
        {"double click on an item", "EA", true,
            [] { clickItem(FileBox->FileListBox1, "ROOM.EA", true); }, "ROOM.EA"},
        {"arrow key in the list and ok", "EA", true,
            [] {
                TExtFileListBox* list = FileBox->FileListBox1;
                list->setFocus();
                list->setCurrentRow(0);
                QTest::keyClick(list, Qt::Key_Down);
                QTest::mouseClick(FileBox->SpeedButton1, Qt::LeftButton);
            },
            "b.ea"},
        {"listed name longer than the typing limit", "EA", true,
            [] {
                clickItem(FileBox->FileListBox1, "a_long_measurement_name_01.EA");
                pressKey(Qt::Key_Return);
            },
            "a_long_measurement_name_01.EA"},
        // Typed names go where the box's focus is, as a user types them.
        {"name typed into the load box", "EA", true, [] { typeAndEnter("ROOM"); }, "ROOM.EA"},
        {"typed name in another case finds the listed file", "EA", true, [] { typeAndEnter("b"); },
            "b.ea"},
        {"typed extension dropped before the look-up", "EA", true, [] { typeAndEnter("room.txt"); },
            "ROOM.EA"},
        {"typed name that is not listed", "EA", true, [] { typeAndEnter("new"); }, "new.EA"},
        {"box for a new file keeps the typed case", "EA", false, [] { typeAndEnter("room"); },
            "room.EA"},
        {"typed extension replaced", "BMP", false,
            [] {
                FileBox->FileEdit->clear();
                QTest::keyClicks(FileBox->FileEdit, "name.TXT");
                QTest::keyClick(FileBox->FileEdit, Qt::Key_Return);
            },
            "name.BMP"},
        {"several points keep the first part", "BMP", false,
            [] {
                FileBox->FileEdit->setText("plot.v2.old");
                pressKey(Qt::Key_Return);
            },
            "plot.BMP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(selectWith(c.action, c.extension, c.readOnlyName), c.expected);
    }
}

TEST_F(FileBoxDialog, ListedFilesOpenExactlyAsListed)
{
    // Names and directories are UTF-8 bytes on this platform.
    const std::string dir = JoinPath(curveDir(), "Messungen \u00FC");
    fs::create_directory(dir);
    const std::vector<std::string> listed = {"aaa.ea", "aaa.v2.EA", "Gr\u00F6\u00DFe \u00E4.EA"};
    for (const std::string& name : listed)
        writeFile(dir, name);
    for (const bool readOnlyName : {true, false}) {
        for (const std::string& name : listed) {
            SCOPED_TRACE(name + (readOnlyName ? " in the load box" : " in the box for a new file"));
            whenModal([&] {
                clickItem(FileBox->FileListBox1, QString::fromUtf8(name));
                pressKey(Qt::Key_Return);
            });
            EXPECT_EQ(SelectFile(dir, "EA", "Cancel", readOnlyName), name);
        }
    }
    whenModal([] { typeAndEnter(QString::fromUtf8("Gr\u00F6\u00DFe \u00E4")); });
    EXPECT_EQ(SelectFile(dir, "EA", "Cancel", true), listed[2]);
}

TEST_F(FileBoxDialog, EachCallResetsCaptionEditAndList)
{
    std::string caption, editText, listedDirectory;
    std::vector<std::string> items;
    bool editHasFocus = false;
    QString selectedText; // the mask, selected, so that the first typed key replaces it
    whenModal([&] {
        caption = FileBox->SpeedButton2->text().toStdString();
        editText = FileBox->FileEdit->text().toStdString();
        editHasFocus = FileBox->focusWidget() == FileBox->FileEdit;
        selectedText = FileBox->FileEdit->selectedText();
        items = itemTexts(*FileBox->FileListBox1);
        clickItem(FileBox->FileListBox1, "b.ea");
        editText += "|" + FileBox->FileEdit->text().toStdString();
        FileBox->FileListBox1->clearSelection();
        editText += "|" + FileBox->FileEdit->text().toStdString();
        pressKey(Qt::Key_Escape);
    });
    SelectFile(curveDir(), "EA", "Cancel", true);
    EXPECT_EQ(caption, "Cancel");
    EXPECT_EQ(editText, "*.EA|b.ea|*.EA");
    EXPECT_TRUE(editHasFocus);
    EXPECT_EQ(selectedText, "*.EA");
    // Both cases of the extension are listed, sorted by name.
    EXPECT_EQ(
        items, (std::vector<std::string> {"a_long_measurement_name_01.EA", "b.ea", "ROOM.EA"}));

    whenModal([&] {
        items = itemTexts(*FileBox->FileListBox1);
        selectedText = FileBox->FileEdit->selectedText();
        pressKey(Qt::Key_Escape);
    });
    SelectFile(curveDir(), "OHM", "Cancel", false);
    EXPECT_EQ(items, std::vector<std::string> {"SPEAKER.OHM"});
    EXPECT_EQ(selectedText, "*.OHM");
}

TEST_F(FileBoxDialog, EmptyDirectoryListsTheProgramDirectoryAndMakesItCurrent)
{
    writeFile(ProgramDir, "HALL.EE");
    std::vector<std::string> items;
    whenModal([&] {
        items = itemTexts(*FileBox->FileListBox1);
        pressKey(Qt::Key_Escape);
    });
    SelectFile("", "EE", "Cancel", true);
    EXPECT_EQ(items, std::vector<std::string> {"HALL.EE"});
    EXPECT_TRUE(fs::equivalent(fs::current_path(), ProgramDir));
}

TEST_F(FileBoxDialog, ListedDirectoryStaysCurrentAfterTheBoxCloses)
{
    EXPECT_EQ(selectWith([] { clickItem(FileBox->FileListBox1, "ROOM.EA", true); }), "ROOM.EA");
    EXPECT_TRUE(fs::equivalent(fs::current_path(), curveDir()));
    EXPECT_TRUE(fs::exists("ROOM.EA")); // the bare name opens relative to it
}

TEST_F(FileBoxDialog, MissingDirectoryThrowsBeforeTheBoxShows)
{
    const std::string missing = curveDir() + "/no such directory";
    try {
        SelectFile(missing, "EA", "Cancel", true);
        ADD_FAILURE() << "no InputOutputError";
    } catch (const InputOutputError& e) {
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    }
    EXPECT_FALSE(FileBox->isVisible());
    EXPECT_EQ(FileBox->FileListBox1->count(), 0);
}

TEST_F(FileBoxDialog, ControlsAtTheirDesignedPlaces)
{
    EXPECT_EQ(FileBox->windowTitle(), "File Name Selection");
    EXPECT_EQ(FileBox->size(), QSize(360, 213));
    EXPECT_EQ(FileBox->minimumSize(), FileBox->maximumSize());
    EXPECT_FALSE(FileBox->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(FileBox->font().pixelSize(), 11);
    EXPECT_TRUE(FileBox->font().bold());

    struct Case {
        QWidget* control;
        const char* name;
        QRect geometry;
    };
    const std::vector<Case> cases = {
        {FileBox->FileEdit, "FileEdit", {12, 11, 149, 21}},
        {FileBox->FileListBox1, "FileListBox1", {12, 42, 341, 163}},
        {FileBox->SpeedButton1, "SpeedButton1", {180, 10, 77, 22}},
        {FileBox->SpeedButton2, "SpeedButton2", {276, 10, 77, 22}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.control->objectName(), c.name);
        EXPECT_EQ(c.control->geometry(), c.geometry);
    }
    EXPECT_EQ(FileBox->SpeedButton1->text(), "ok");
    EXPECT_EQ(FileBox->SpeedButton1->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(FileBox->SpeedButton2->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(FileBox->FileEdit->maxLength(), 24);
    EXPECT_EQ(FileBox->FileListBox1->SizePos(), 45);
    EXPECT_EQ(FileBox->FileListBox1->itemHeight(), 13);
}

// The load flows with names from the box: curves in a directory of their own.
class FileBoxLoads : public FileBoxDialog
{
protected:
    // A flat curve whose every value is `value`.
    static void writeCurve(const std::string& path, float value)
    {
        const std::vector<float> values(256, value);
        ASSERT_TRUE(WriteCurveFile(path, CurveHeader {1.0f, 48000, 512, 20000.0f, 20.0f}, values));
    }
    // Answers the next file box with the listed item and Enter.
    static void chooseWhenAsked(const std::string& listed)
    {
        whenModal(FileBox, [listed] {
            clickItem(FileBox->FileListBox1, QString::fromUtf8(listed));
            pressKey(Qt::Key_Return);
        });
    }
    // Answers every message box shown while it lives with Enter and keeps the
    // title and lines of each, one text per box.
    class BoxAnswers
    {
    public:
        BoxAnswers()
        {
            m_timer.setInterval(10);
            QObject::connect(&m_timer, &QTimer::timeout, [this] {
                if (QApplication::activeModalWidget() != Box)
                    return;
                QStringList text {Box->windowTitle()};
                for (const QString& l : Box->L1->lines())
                    if (!l.isEmpty())
                        text << l;
                m_boxes.push_back(text.join('|').toStdString());
                pressKey(Qt::Key_Return);
            });
            m_timer.start();
        }
        const std::vector<std::string>& boxes() const { return m_boxes; }

    private:
        QTimer m_timer;
        std::vector<std::string> m_boxes;
    };
};

TEST_F(FileBoxLoads, ListedNamesLoadAsListedAndShowInMO)
{
    // The curve directory is given without a trailing separator.
    const std::string dir = JoinPath(curveDir(), "Messungen \u00FC");
    fs::create_directory(dir);
    Settings.CurveDirectory.assign(dir);
    struct Case {
        std::string listed;
        float value;
    };
    const std::vector<Case> cases
        = {{"aaa.ea", 1000.0f}, {"aaa.v2.EA", 2000.0f}, {"Gr\u00F6\u00DFe \u00E4.EA", 3000.0f}};
    for (const Case& c : cases)
        writeCurve(JoinPath(dir, c.listed), c.value);
    writeCurve(JoinPath(dir, "aaa.EA"), 9.0f); // what the cut and the extension would make
    MainForm->MO->setText("");
    const BoxAnswers answers;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.listed);
        chooseWhenAsked(c.listed);
        F1Click();
        EXPECT_EQ(CurveName, c.listed);
        EXPECT_EQ(ResponseCurve.values[5], c.value);
    }
    EXPECT_EQ(MainForm->MO->text().toStdString(), "  aaa  aaa.v2  Gr\u00F6\u00DFe \u00E4");
    RebuildPlot();
    EXPECT_EQ(MainForm->MO->text().toStdString(), "Gr\u00F6\u00DFe \u00E4");
    EXPECT_EQ(answers.boxes(), std::vector<std::string> {});
}

TEST_F(FileBoxLoads, ReadErrorNamesThePathAsTheFileSystemHasIt)
{
    const std::string dir = JoinPath(curveDir(), "Messungen \u00FC");
    fs::create_directory(dir);
    Settings.CurveDirectory.assign(dir + "/");
    const std::string name = "Gr\u00F6\u00DFe \u00E4.EA";
    writeFile(dir, name, 19); // shorter than a header
    const BoxAnswers answers;
    chooseWhenAsked(name);
    F1Click();
    EXPECT_EQ(
        answers.boxes(), std::vector<std::string> {"Error|Error reading " + JoinPath(dir, name)});
}

TEST_F(FileBoxLoads, TypedNameWithAFolderIsCutInItsLastPart)
{
    Settings.CurveDirectory.assign(curveDir());
    fs::create_directory(JoinPath(curveDir(), "hd.x"));
    writeCurve(JoinPath(curveDir(), "hd.x/MYSPK.EA"), 700.0f);
    writeCurve(JoinPath(curveDir(), "hd.EA"), 9.0f); // what a cut at the first point would open
    struct Case {
        const char* name;
        QString typed;
        float value;
    };
    const std::vector<Case> cases = {
        {"folder holding a point", "hd.x/MYSPK", 700.0f},
        {"typed extension in the last part", "hd.x/MYSPK.txt", 700.0f},
        {"plain name cut at its first point", "hd.x", 9.0f},
    };
    const BoxAnswers answers;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        whenModal(FileBox, [typed = c.typed] { typeAndEnter(typed); });
        F1Click();
        EXPECT_EQ(ResponseCurve.values[5], c.value);
    }
    EXPECT_EQ(answers.boxes(), std::vector<std::string> {});
}

TEST_F(FileBoxLoads, MissingCurveDirectoryIsReportedByNameAndTheViewerGoesOn)
{
    const std::string missing = JoinPath(curveDir(), "not there") + "/";
    Settings.CurveDirectory.assign(missing);
    MainForm->MO->setText("DUT");
    const float firstValue = ResponseCurve.values[5];
    struct Flow {
        void (*click)();
        const char* kindAfter;
    };
    for (const auto& [click, kindAfter] : {Flow {F1Click, "H2"}, Flow {F2Click, "Z2"}}) {
        SCOPED_TRACE(kindAfter);
        const BoxAnswers answers;
        click();
        ASSERT_EQ(answers.boxes().size(), 1u);
        const std::string& box = answers.boxes()[0];
        EXPECT_TRUE(box.starts_with("Error|")) << box;
        EXPECT_NE(box.find(missing), std::string::npos) << box;
        EXPECT_EQ(CurveKindText, kindAfter);
        EXPECT_EQ(MainForm->MO->text(), "DUT");
        EXPECT_EQ(ResponseCurve.values[5], firstValue);
        EXPECT_FALSE(FileBox->isVisible());
    }
    Settings.CurveDirectory.assign(curveDir() + "/");
    writeCurve(JoinPath(curveDir(), "GOOD.EA"), 500.0f);
    chooseWhenAsked("GOOD.EA");
    F1Click();
    EXPECT_EQ(ResponseCurve.values[5], 500.0f);
}

} // namespace
