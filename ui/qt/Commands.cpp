#include "ui/qt/Commands.h"

#include "ui/qt/TMainForm.h"

#include <QCoreApplication>
#include <QString>

void SetInfoText(const std::string& text)
{
    MainForm->InfoPanel->setText(QString::fromLatin1(text.substr(0, 255)));
    QCoreApplication::processEvents();
}

void EA1Click(QObject*) {}
void VersionClick() {}
void MessobjektClick() {}
void ParameterClick(QObject*) {}
void ColorClick(QObject*) {}
void RecallDefault1Click() {}
void Timer1Timer() {}
