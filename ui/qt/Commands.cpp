#include "ui/qt/Commands.h"

#include "app/SettingsRecord.h"
#include "app/Texts.h"
#include "app/qt/FileNames.h"
#include "app/qt/TBox.h"
#include "dialogs/FileNameRules.h"
#include "output/qt/TPrintOptionsDlg.h"
#include "plot/qt/PlotView.h"
#include "ui/ColourValue.h"
#include "ui/SerialResistor.h"
#include "ui/qt/TMainForm.h"

#include <QAction>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDateTime>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLocale>
#include <QString>
#include <algorithm>
#include <optional>

void SetInfoText(const std::string& text)
{
    MainForm->InfoPanel->setText(QString::fromLatin1(text.substr(0, 255)));
    QCoreApplication::processEvents();
}

namespace
{

// Answers are read with the desktop's decimal separator but never with digit
// grouping ("4000.0", not "4,000.0").
QLocale desktopNumbers()
{
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

// Written with a decimal point, as every number of the program is.
QString serialResistorPreset(float ohm)
{
    return QString::fromStdString(SerialResistorPresetText(ohm));
}

// The number in the text, read with the desktop's decimal separator; a text
// with a '.' as decimal point is read too, as a second try, so that a value
// typed in the common notation is understood on a desktop that uses ','.
// Blanks around the number are ignored.
std::optional<double> readNumber(const QString& text)
{
    bool ok = false;
    const double desktop = desktopNumbers().toDouble(text, &ok);
    if (ok)
        return desktop;
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    const double plain = c.toDouble(text, &ok);
    return ok ? std::optional<double>(plain) : std::nullopt;
}

// Room beside a window title for the window manager's icon and buttons.
constexpr int kTitleBarButtonsRoom = 150;

// A one-line input box; answers nothing when cancelled. It is made wide enough
// for the window manager to show its whole title.
std::optional<QString> askText(const QString& title, const QString& prompt, const QString& preset)
{
    QInputDialog box(MainForm);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(preset);
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(title);
    const QSize natural = box.sizeHint();
    box.resize(std::max(natural.width(), titleWidth + kTitleBarButtonsRoom), natural.height());
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

// Asks until the stored value lies in a valid range. Cancel or Esc ends the
// entry with the value it started with: after a rejected answer the preset is
// no longer that value, and answering it would only bring the error back.
void selectSerialResistor()
{
    const float before = Settings.SerialResistor;
    for (;;) {
        const std::optional<QString> answer
            = askText("Sonivex", "Enter serial resistor (0.1-10 Ohm or 100-4000 Ohm):",
                serialResistorPreset(Settings.SerialResistor));
        if (!answer) {
            Settings.SerialResistor = before;
            return;
        }
        Settings.SerialResistor = StoredSerialResistor(readNumber(*answer));
        if (IsValidSerialResistor(Settings.SerialResistor))
            return;
        ShowBox({"Error", "The value is outside", "the valid range!", "Please choose a new value."},
            "ok", "");
    }
}

// The colour role a colour menu entry sets; nullptr for any other sender.
uint32_t* colourRoleOf(QObject* entry)
{
    const TMainForm& f = *MainForm;
    if (entry == f.ScalingGrid1)
        return &Settings.GridColor;
    if (entry == f.SignalLines1)
        return &Settings.SignalColor;
    if (entry == f.PhaseLines1)
        return &Settings.PhaseColor;
    if (entry == f.DataWindow1)
        return &Settings.DataWindowColor;
    if (entry == f.DataWindowInscription1)
        return &Settings.InscriptionColor;
    return nullptr;
}

// The one colour dialog of the run. It opens at the colour last confirmed in
// it, whatever the role it is opened for; black before the first use.
std::optional<QColor> askColour()
{
    static QColorDialog* dialog = nullptr;
    static QColor lastConfirmed = Qt::black;
    if (!dialog)
        dialog = new QColorDialog(MainForm);
    dialog->setOptions({});
    dialog->setCurrentColor(lastConfirmed);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    lastConfirmed = dialog->selectedColor();
    return lastConfirmed;
}

// Lays the window out in the new colours and starts the plot empty. The
// off-screen picture needs no fill colour of its own: the plot fills it with
// DataWindowColor whenever it clears it.
void applyColours()
{
    MainForm->SetSystemMetrics();
    ResetPlot();
    Redraw(nullptr);
}

// The desktop's long time format without its time-zone field ("HH:mm:ss t"
// gives "HH:mm:ss"): the clock panel has room for the date and the time only.
QString longTimeFormatWithoutZone(const QLocale& locale)
{
    QString format;
    bool quoted = false;
    for (const QChar ch : locale.timeFormat(QLocale::LongFormat)) {
        if (ch == '\'')
            quoted = !quoted;
        if (quoted || ch != 't')
            format += ch;
    }
    return format.simplified();
}

} // namespace

void EA1Click(QObject* sender)
{
    // The entries form one exclusive group: marking one unmarks the others.
    if (auto* entry = qobject_cast<QAction*>(sender))
        entry->setChecked(true);
}

void VersionClick()
{
    ShowBox({"VOXA 32 Info", "SONIVEX", "for Windows 9x", "Version 4.8109"}, "ok", "");
}

void MessobjektClick()
{
    const std::optional<QString> answer
        = askText("Device Under Test", "Manufacturer or Type:", MainForm->MO->text());
    if (answer)
        MainForm->MO->setText(FileNameText(CutName(FileNameBytes(*answer))));
}

void ParameterClick(QObject* sender)
{
    if (sender == MainForm->PrintOptions1)
        ShowPrintOptions();
    else if (sender == MainForm->SelectZrv)
        selectSerialResistor();
    SetInfoText(SerialResistorStatusText(Settings.SerialResistor));
}

void ColorClick(QObject* sender)
{
    if (const std::optional<QColor> chosen = askColour())
        if (uint32_t* role = colourRoleOf(sender))
            *role = Rgb32ToBgr(chosen->rgb());
    applyColours();
}

void RecallDefault1Click()
{
    // The colours of a fresh configuration.
    SettingsRecord fresh {};
    WriteFreshSettings(fresh);
    Settings.GridColor = fresh.GridColor;
    Settings.SignalColor = fresh.SignalColor;
    Settings.AxisPanelColor = fresh.AxisPanelColor;
    Settings.PhaseColor = fresh.PhaseColor;
    Settings.DataWindowColor = fresh.DataWindowColor;
    Settings.InscriptionColor = fresh.InscriptionColor;
    Settings.SpareColor = fresh.SpareColor;
    applyColours();
}

void Timer1Timer()
{
    const QLocale desktop = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    MainForm->Zeit->setText(desktop.toString(now.date(), QLocale::ShortFormat) + "  "
        + desktop.toString(now.time(), longTimeFormatWithoutZone(desktop)));
}
