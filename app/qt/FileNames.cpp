#include "app/qt/FileNames.h"

#include <QByteArray>
#include <QFile>

QString FileNameText(std::string_view bytes)
{
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string FileNameBytes(const QString& text)
{
    return QFile::encodeName(text).toStdString();
}
