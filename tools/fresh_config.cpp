// fresh_config DIR: writes a fresh configuration VOXA32VW.CFG into DIR, the
// same file the viewer writes for "/Init". The packages ship it as the
// configuration a first start reads. Exits with 1 when the file cannot be
// written (2 for a wrong command line).

#include "app/ConfigFile.h"

#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: fresh_config DIR\n";
        return 2;
    }
    const std::string path = ConfigPath(std::string(argv[1]) + "/");
    SettingsRecord record {};
    if (!LoadSettingsFile({argv[0], "/Init"}, {path, path}, record)) {
        std::cerr << "fresh_config: cannot write " << path << '\n';
        return 1;
    }
    return 0;
}
