#include "UiFixture.h"

#include "app/qt/TBox.h"
#include "curves/CurveSlot.h"
#include "plot/PlotState.h"
#include "plot/qt/PlotView.h"
#include "ui/qt/Commands.h"
#include "ui/qt/TMainForm.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QColorDialog>
#include <QDateTime>
#include <QInputDialog>
#include <QLocale>
#include <QPushButton>
#include <algorithm>
#include <vector>

namespace
{

// One answer to a modal window: an input box answered with a text or
// cancelled, or the error box answered with Enter.
struct Answer {
    enum Kind { Enter, Cancel, ErrorBox } kind;
    QString text = {};
};

const QString kSerialPrompt = "Enter serial resistor (0.1-10 Ohm or 100-4000 Ohm):";

class CommandsSerialResistor : public UiTest
{
protected:
    // Answers the next modal windows in order; the presets of the input boxes
    // are collected in *presets.
    static void answerInOrder(
        std::vector<Answer> answers, std::vector<QString>* presets, std::size_t next = 0)
    {
        if (next == answers.size())
            return;
        whenModal([answers, presets, next] {
            QWidget* modal = QApplication::activeModalWidget();
            const Answer& a = answers[next];
            answerInOrder(answers, presets, next + 1);
            if (a.kind == Answer::ErrorBox) {
                EXPECT_EQ(modal, Box);
                EXPECT_EQ(Box->windowTitle(), "Error");
                EXPECT_EQ(Box->L1->lines(),
                    (std::vector<QString> {"", "The value is outside", "the valid range!",
                        "Please choose a new value."}));
                pressKey(Qt::Key_Return);
                return;
            }
            auto* input = qobject_cast<QInputDialog*>(modal);
            if (!input) {
                ADD_FAILURE() << "expected an input box, got " << modal->objectName().toStdString();
                qobject_cast<QDialog*>(modal)->reject();
                return;
            }
            EXPECT_EQ(input->windowTitle(), "Sonivex");
            EXPECT_EQ(input->labelText(), kSerialPrompt);
            presets->push_back(input->textValue());
            if (a.kind == Answer::Enter) {
                input->setTextValue(a.text);
                input->accept();
            } else {
                input->reject();
            }
        });
    }
};

struct SerialCase {
    const char* name;
    float before;
    std::vector<Answer> answers;
    std::vector<QString> presets;
    float stored;
    QString status;
};

TEST_F(CommandsSerialResistor, AsksUntilTheValueIsInARangeAndShowsItRounded)
{
    using A = Answer;
    const std::vector<SerialCase> cases {
        {"0.14 is 0.1", 150.0f, {{A::Enter, "0.14"}}, {"150.0"}, 0.1f, "Serial Resistor: 0 Ohm"},
        {"0.04 is 0, rejected", 150.0f, {{A::Enter, "0.04"}, {A::ErrorBox}, {A::Enter, "2.5"}},
            {"150.0", "0.0"}, 2.5f, "Serial Resistor: 2 Ohm"},
        {"text is rejected", 150.0f, {{A::Enter, "abc"}, {A::ErrorBox}, {A::Enter, " 150 "}},
            {"150.0", "0.0"}, 150.0f, "Serial Resistor: 150 Ohm"},
        {"cancel with a valid preset", 10.0f, {{A::Cancel}}, {"10.0"}, 10.0f,
            "Serial Resistor: 10 Ohm"},
        {"10.06 is 10.1, rejected", 150.0f,
            {{A::Enter, "10.06"}, {A::ErrorBox}, {A::Enter, "4000"}}, {"150.0", "10.1"}, 4000.0f,
            "Serial Resistor: 4000 Ohm"},
        // Cancel ends the entry with the value it started with, whatever was
        // rejected before.
        {"text, then cancel keeps the value before", 2.5f,
            {{A::Enter, "abc"}, {A::ErrorBox}, {A::Cancel}}, {"2.5", "0.0"}, 2.5f,
            "Serial Resistor: 2 Ohm"},
        {"out of range, then cancel keeps the value before", 150.0f,
            {{A::Enter, "10.06"}, {A::ErrorBox}, {A::Cancel}}, {"150.0", "10.1"}, 150.0f,
            "Serial Resistor: 150 Ohm"},
    };
    for (const SerialCase& c : cases) {
        SCOPED_TRACE(c.name);
        Settings.SerialResistor = c.before;
        std::vector<QString> presets;
        answerInOrder(c.answers, &presets);
        MainForm->SelectZrv->trigger();
        EXPECT_EQ(presets, c.presets);
        EXPECT_EQ(Settings.SerialResistor, c.stored);
        EXPECT_EQ(MainForm->InfoPanel->text(), c.status);
    }
}

TEST_F(CommandsSerialResistor, PrintOptionsEndWithTheSerialResistorText)
{
    Settings.SerialResistor = 3.5f;
    MainForm->InfoPanel->clear();
    bool printOptionsShown = false;
    whenModal([&] {
        QWidget* modal = QApplication::activeModalWidget();
        printOptionsShown = qobject_cast<QInputDialog*>(modal) == nullptr && modal != Box;
        qobject_cast<QDialog*>(modal)->reject();
    });
    MainForm->PrintOptions1->trigger();
    EXPECT_TRUE(printOptionsShown);
    EXPECT_EQ(Settings.SerialResistor, 3.5f);
    EXPECT_EQ(MainForm->InfoPanel->text(), "Serial Resistor: 4 Ohm");
}

class CommandsMenu : public UiTest
{
};

TEST_F(CommandsMenu, LoadEntryCarriesTheOnlyCheckMarkAndLeavesTheDisplayKind)
{
    TMainForm& f = *MainForm;
    const std::vector<QAction*> entries {f.EA1, f.EE1, f.AE1, f.AA1};
    const int32_t kind = DisplayKind;
    // The last click hits the entry that is checked already: it stays checked.
    for (QAction* clicked : {f.AA1, f.EE1, f.AE1, f.EA1, f.EA1}) {
        SCOPED_TRACE(clicked->text().toStdString());
        clicked->trigger();
        for (QAction* entry : entries)
            EXPECT_EQ(entry->isChecked(), entry == clicked);
        EXPECT_EQ(DisplayKind, kind);
    }
}

TEST_F(CommandsMenu, LoadEntriesAreOneExclusiveGroupWithRadioMarks)
{
    const TMainForm& f = *MainForm;
    QActionGroup* group = f.EA1->actionGroup();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->exclusionPolicy(), QActionGroup::ExclusionPolicy::Exclusive);
    EXPECT_EQ(group->actions(), (QList<QAction*> {f.EA1, f.EE1, f.AE1, f.AA1}));
}

TEST_F(CommandsMenu, VersionBoxShowsTheProgramVersion)
{
    QString title;
    std::vector<QString> lines;
    bool onlyOk = false;
    whenModal([&] {
        title = Box->windowTitle();
        lines = Box->L1->lines();
        onlyOk = Box->Btn1->text() == "ok" && Box->Btn2->isHidden();
        pressKey(Qt::Key_Return);
    });
    MainForm->Version->trigger();
    EXPECT_EQ(title, "VOXA 32 Info");
    EXPECT_EQ(lines, (std::vector<QString> {"", "SONIVEX", "for Windows 9x", "Version 4.8109"}));
    EXPECT_TRUE(onlyOk);
    EXPECT_EQ(BoxResult, kBoxFirstButton);
}

TEST_F(CommandsMenu, RemarkBecomesTheDeviceUnderTestCaption)
{
    struct RemarkCase {
        QString typed;
        bool confirmed;
        QString caption;
    };
    const QString longText(300, 'x');
    const std::vector<RemarkCase> cases {
        {"Woofer W18", true, "Woofer W18"},
        {"not taken", false, "Woofer W18"},
        {"", true, ""},
        {longText, true, longText.left(255)},
        {QString::fromUtf8("Größe Ω-Box 8"), true, QString::fromUtf8("Größe Ω-Box 8")},
    };
    MainForm->MO->setText("Woofer");
    for (const RemarkCase& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const QString before = MainForm->MO->text();
        QString preset;
        whenModal([&] {
            auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(input, nullptr);
            EXPECT_EQ(input->windowTitle(), "Device Under Test");
            EXPECT_EQ(input->labelText(), "Manufacturer or Type:");
            preset = input->textValue();
            input->setTextValue(c.typed);
            c.confirmed ? input->accept() : input->reject();
        });
        MainForm->Messobjekt->trigger();
        EXPECT_EQ(preset, before);
        EXPECT_EQ(MainForm->MO->text(), c.caption);
    }
}

TEST_F(CommandsMenu, ClockShowsTheShortDateAndTheTimeWithoutTimeZone)
{
    const QLocale desktop = QLocale::system();
    auto expectedAt = [&](const QDateTime& t) {
        QString time = desktop.toString(t.time(), QLocale::LongFormat);
        time.remove(t.timeZoneAbbreviation());
        return desktop.toString(t.date(), QLocale::ShortFormat) + "  " + time.trimmed();
    };
    const QDateTime before = QDateTime::currentDateTime();
    Timer1Timer();
    const QDateTime after = QDateTime::currentDateTime();
    const QString shown = MainForm->Zeit->text();
    EXPECT_TRUE(shown == expectedAt(before) || shown == expectedAt(after))
        << shown.toStdString() << " / " << expectedAt(after).toStdString();
}

class CommandsColours : public UiTest
{
protected:
    // Answers the next colour dialog: confirms the colour, or cancels when
    // it is not valid; *start receives the colour the dialog opened with.
    static void answerColourDialog(QColor colour, QColor* start = nullptr)
    {
        whenModal([colour, start] {
            auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            if (start)
                *start = dialog->currentColor();
            if (!colour.isValid()) {
                dialog->reject();
                return;
            }
            dialog->setCurrentColor(colour);
            dialog->accept();
        });
    }

    static bool pictureHas(QColor colour)
    {
        const QImage picture = OffscreenBitmap.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            if (std::any_of(line, line + picture.width(),
                    [&](QRgb p) { return (p & 0xFFFFFF) == (colour.rgb() & 0xFFFFFF); }))
                return true;
        }
        return false;
    }
};

TEST_F(CommandsColours, ConfirmedColourIsStoredInTheRoleOfTheEntry)
{
    const TMainForm& f = *MainForm;
    const std::vector<std::pair<QAction*, uint32_t*>> roles {
        {f.ScalingGrid1, &Settings.GridColor},
        {f.SignalLines1, &Settings.SignalColor},
        {f.PhaseLines1, &Settings.PhaseColor},
        {f.DataWindow1, &Settings.DataWindowColor},
        {f.DataWindowInscription1, &Settings.InscriptionColor},
    };
    for (const auto& [entry, role] : roles) {
        SCOPED_TRACE(entry->text().toStdString());
        answerColourDialog(QColor(0x12, 0x34, 0x56));
        entry->trigger();
        EXPECT_EQ(*role, 0x563412u); // 0x00BBGGRR
    }
    EXPECT_TRUE(pictureHas(QColor(0x12, 0x34, 0x56)));
}

TEST_F(CommandsColours, CancelKeepsTheColourButEmptiesThePlot)
{
    const uint32_t dataWindow = Settings.DataWindowColor;
    Plot.ViewFreqLow = 100.0f;
    Plot.ViewFreqHigh = 1000.0f;
    std::fill_n(ResponseCurve.values, kCurveCapacity, 1.0f);
    std::fill_n(ImpedanceCurve.values, kCurveCapacity, 8.0f);
    answerColourDialog(QColor());
    MainForm->DataWindow1->trigger();
    EXPECT_EQ(Settings.DataWindowColor, dataWindow);
    EXPECT_EQ(Plot.ViewFreqLow, 20.0f);
    EXPECT_EQ(Plot.ViewFreqHigh, 20000.0f);
    EXPECT_EQ(ResponseCurve.values[0], EmptyCurveValue);
    EXPECT_EQ(ImpedanceCurve.values[kCurveCapacity - 1], EmptyCurveValue);
}

TEST_F(CommandsColours, DialogStartsAtTheColourLastConfirmedNotAtTheRole)
{
    answerColourDialog(Qt::red);
    MainForm->DataWindow1->trigger();
    ASSERT_EQ(Settings.DataWindowColor, 0x0000FFu);

    QColor start;
    answerColourDialog(QColor(), &start);
    MainForm->SignalLines1->trigger();
    EXPECT_EQ(start, QColor(Qt::red));
    EXPECT_EQ(Settings.SignalColor, 0x00FFFFu); // cancelled: unchanged

    // A cancelled choice does not count as confirmed.
    answerColourDialog(QColor(), &start);
    MainForm->ScalingGrid1->trigger();
    EXPECT_EQ(start, QColor(Qt::red));
}

TEST_F(CommandsColours, DefaultColoursRestoreEveryRole)
{
    for (uint32_t* role :
        {&Settings.GridColor, &Settings.SignalColor, &Settings.AxisPanelColor, &Settings.PhaseColor,
            &Settings.DataWindowColor, &Settings.InscriptionColor, &Settings.SpareColor})
        *role = 0x123456;
    MainForm->SetSystemMetrics();
    ResetPlot();

    MainForm->DefaultColors1->trigger();
    EXPECT_EQ(Settings.GridColor, 0x808080u);
    EXPECT_EQ(Settings.SignalColor, 0x00FFFFu);
    EXPECT_EQ(Settings.AxisPanelColor, 0x8000000Fu);
    EXPECT_EQ(Settings.PhaseColor, 0x0000FFu);
    EXPECT_EQ(Settings.DataWindowColor, 0x000000u);
    EXPECT_EQ(Settings.InscriptionColor, 0x00FF00u);
    EXPECT_EQ(Settings.SpareColor, 0x8000000Fu);

    // Black data window with a grey grid; panels in the button face colour.
    EXPECT_TRUE(pictureHas(Qt::black));
    EXPECT_TRUE(pictureHas(QColor(0x80, 0x80, 0x80)));
    EXPECT_FALSE(pictureHas(QColor(0x56, 0x34, 0x12)));
    const QColor face = QApplication::palette().color(QPalette::Button);
    for (QWidget* panel : {MainForm->client, static_cast<QWidget*>(MainForm->MO),
             static_cast<QWidget*>(MainForm->Zeit)})
        EXPECT_EQ(panel->palette().color(QPalette::Window), face)
            << panel->objectName().toStdString();
}

} // namespace
