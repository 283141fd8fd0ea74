#include "ui/qt/SoftKeys.h"

#include "ui/SoftKeyLayout.h"
#include "ui/qt/TMainForm.h"

#include <QFontMetrics>

void PaintSoftKeys(const SoftKeyLabels& labels)
{
    TMainForm& f = *MainForm;
    std::array<QToolButton*, 10> keys {};
    std::copy(f.F.begin(), f.F.end(), keys.begin());
    keys[9] = f.ESCButton;

    // Widths are measured in the main window's own font, not the buttons' font.
    const QFontMetrics metrics(f.font());
    std::array<int, 10> widths {};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const QString caption = QString::fromLatin1(labels[i].substr(0, 255));
        keys[i]->setText(caption);
        widths[i] = metrics.horizontalAdvance(caption);
    }
    const auto nav = f.navigationButtons();
    std::array<int, 8> navWidths {};
    for (std::size_t i = 0; i < nav.size(); ++i)
        navWidths[i] = nav[i]->width();

    const SoftKeyLayout l = ComputeSoftKeyLayout(
        widths, SoftKeyWidth, f.ESCButton->x(), f.PrintButton->width(), navWidths);
    for (int i = 0; i < 9; ++i)
        f.F[i]->setGeometry(l.softKeyLefts[i], f.F[i]->y(), l.softKeyWidths[i], f.F[i]->height());
    f.ESCButton->resize(l.escButtonWidth, f.ESCButton->height());
    f.PrintButton->move(l.printButtonLeft, f.PrintButton->y());
    for (std::size_t i = 0; i < nav.size(); ++i)
        nav[i]->move(l.navButtonLefts[i], nav[i]->y());
}

void ShowSoftKeyMode(const std::string& mode)
{
    if (mode == "StartDSA")
        PaintSoftKeys({"Load Frequency Resp. Curve", "Load Impedance Curve", " ", " ", " ", " ",
            " ", " ", "", "Quit"});
}
