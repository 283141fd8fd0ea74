// The program writes its numbers with a decimal point whatever the desktop's
// language. ctest runs the read-out, axis label, file box and serial resistor
// tests a second time under a German desktop (ui.german_desktop, LC_ALL=
// de_DE.UTF-8), where the C library and Qt both write a decimal comma; this
// test makes sure that run really had such a desktop.
#include <QLocale>
#include <clocale>
#include <gtest/gtest.h>

TEST(DesktopLanguage, GermanDesktopWritesADecimalComma)
{
    if (!qgetenv("LC_ALL").startsWith("de_DE"))
        GTEST_SKIP() << "not the run under a German desktop";
    EXPECT_EQ(QLocale::system().decimalPoint(), ',');
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
}
