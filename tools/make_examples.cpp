// make_examples DIR: writes the example curve files (SPEAKER.EA, SPEAKER.OHM,
// ...) into DIR, creating it when missing. Prints nothing on success; on an
// error it prints a message and exits with 1 (2 for a wrong command line).

#include "curves/ExampleCurves.h"

#include <filesystem>
#include <iostream>
#include <system_error>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_examples DIR\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::cerr << "make_examples: cannot create " << dir.string() << ": " << error.message()
                  << '\n';
        return 1;
    }
    for (const ExampleCurve& curve : MakeExampleCurves()) {
        const std::string path = (dir / curve.fileName).string();
        if (!WriteCurveFile(path, curve.header, curve.values)) {
            std::cerr << "make_examples: cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}
