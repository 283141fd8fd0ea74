#include "output/qt/TPrintOptionsDlg.h"

#include "app/SettingsRecord.h"
#include "output/qt/DesktopPrinter.h"
#include "ui/qt/WindowSystem.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

TPrintOptionsDlg* PrintOptionsDlg = nullptr;

TPrintOptionsDlg& PrintOptionsInstance()
{
    if (!PrintOptionsDlg)
        PrintOptionsDlg = new TPrintOptionsDlg;
    return *PrintOptionsDlg;
}

namespace
{

template <typename Control>
Control* makeControl(
    QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* control = new Control(caption, parent);
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

// A push button that never takes the keyboard focus and is never the
// dialog's default button: Enter belongs to the dialog's key handler.
QPushButton* makeNoFocusButton(
    QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* button = makeControl<QPushButton>(parent, name, caption, geometry);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TPrintOptionsDlg::TPrintOptionsDlg()
    : QDialog(nullptr,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
            | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName("PrintOptionsDlg");
    setWindowTitle("VOXA 32 Printer Options");
    setFixedSize(327, 114);
    QFont font("MS Sans Serif");
    font.setPixelSize(11);
    font.setBold(true);
    setFont(font);

    OKBtn = makeNoFocusButton(this, "OKBtn", "ok", QRect(244, 12, 73, 25));
    GroupBox4 = new QGroupBox(this);
    GroupBox4->setObjectName("GroupBox4");
    GroupBox4->setGeometry(8, 4, 225, 97);
    PortraitBtn
        = makeControl<QRadioButton>(GroupBox4, "PortraitBtn", "Portrait", QRect(8, 17, 69, 17));
    LandscapeBtn
        = makeControl<QRadioButton>(GroupBox4, "LandscapeBtn", "Landscape", QRect(8, 43, 85, 17));
    BMPFileBtn
        = makeControl<QRadioButton>(GroupBox4, "BMPFileBtn", "BMP-File", QRect(8, 68, 85, 17));
    BlackWhiteBtn
        = makeControl<QCheckBox>(GroupBox4, "BlackWhiteBtn", "Black&White", QRect(108, 16, 89, 21));
    PrinterBtn
        = makeNoFocusButton(GroupBox4, "PrinterBtn", "&Select Printer", QRect(108, 60, 97, 21));

    auto* outputChoice = new QButtonGroup(this);
    outputChoice->setExclusive(true);
    for (QRadioButton* b : {PortraitBtn, LandscapeBtn, BMPFileBtn})
        outputChoice->addButton(b);

    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(PrinterBtn, &QPushButton::clicked, this, [this] { PrinterBtnClick(); });
}

void TPrintOptionsDlg::loadControls()
{
    (Settings.PrintLandscape ? LandscapeBtn : PortraitBtn)->setChecked(true);
    BlackWhiteBtn->setChecked(Settings.PrintBlackWhite != 0);
    if (Settings.PrintToBmp)
        BMPFileBtn->setChecked(true); // unchecks the orientation
}

void TPrintOptionsDlg::OKBtnClick()
{
    Settings.PrintToBmp = 0;
    if (PortraitBtn->isChecked())
        Settings.PrintLandscape = 0;
    else if (LandscapeBtn->isChecked())
        Settings.PrintLandscape = 1;
    else
        Settings.PrintToBmp = 1;
    Settings.PrintBlackWhite = BlackWhiteBtn->isChecked() ? 1 : 0;
    setKeyPreview(false);
    accept();
}

void TPrintOptionsDlg::PrinterBtnClick()
{
    ProgramPrinter().showSetupDialog(this);
}

bool TPrintOptionsDlg::FormKeyDown(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        OKBtnClick();
        return true;
    case Qt::Key_S:
        PrinterBtnClick();
        return true;
    default:
        return false;
    }
}

void TPrintOptionsDlg::keyPressEvent(QKeyEvent* event)
{
    if (!FormKeyDown(event->key()))
        event->ignore();
}

bool TPrintOptionsDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (m_keyPreview && event->type() == QEvent::KeyPress)
        return FormKeyDown(static_cast<QKeyEvent*>(event)->key());
    return QDialog::eventFilter(watched, event);
}

void TPrintOptionsDlg::showEvent(QShowEvent* event)
{
    CentreTopLevel(this);
    QDialog::showEvent(event);
}

void ShowPrintOptions()
{
    TPrintOptionsDlg& dialog = PrintOptionsInstance();
    dialog.loadControls();
    dialog.setKeyPreview(true);
    dialog.exec();
}
