// Widget tests run on the offscreen platform with the program's own windows.
#include "app/qt/VoxaApplication.h"

#include <QFont>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // The high-density run chooses its own screens for the offscreen platform.
    if (!qEnvironmentVariable("QT_QPA_PLATFORM").startsWith("offscreen"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    VoxaApplication app(argc, argv);
    QFont::insertSubstitution("System", "Liberation Sans");
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Arial", "Liberation Sans");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
