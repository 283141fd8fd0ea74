#include "app/ConfigSummary.h"

#include "curves/CurveInfo.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace
{

constexpr std::size_t kDirectoryFieldSize = 255;

ConfigField textField(std::string key, std::string label, const std::string& value)
{
    return {std::move(key), std::move(label), value.empty() ? "(empty)" : value, JsonString(value)};
}

ConfigField numberField(std::string key, std::string label, double value, const std::string& unit)
{
    const bool finite = std::isfinite(value);
    const std::string number = finite ? FormatNumber(value, 7) : std::to_string(value);
    return {std::move(key), std::move(label), number + unit, finite ? number : "null"};
}

ConfigField switchField(std::string key, std::string label, bool on, const std::string& offText,
    const std::string& onText)
{
    return {std::move(key), std::move(label), on ? onText : offText, on ? "true" : "false"};
}

ConfigField colourField(std::string key, std::string label, uint32_t colour)
{
    const std::string words = ColourInWords(colour);
    return {std::move(key), std::move(label), words, JsonString(words)};
}

// A directory field: the stored text, or for an empty one where the file box goes instead.
ConfigField directoryField(
    std::string key, std::string label, const std::string& stored, const std::string& instead)
{
    return {std::move(key), std::move(label),
        stored.empty() ? "(empty: the file box starts in " + instead + ")" : stored,
        JsonString(stored)};
}

std::string windowStateInWords(uint8_t code)
{
    switch (code) {
    case 0:
        return "normal";
    case 1:
        return "minimised";
    case 2:
        return "maximised";
    }
    return "code " + std::to_string(code);
}

} // namespace

std::string ColourInWords(uint32_t colour)
{
    char text[40];
    if (colour <= 0xFFFFFF)
        std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF,
            (colour >> 16) & 0xFF);
    else if (colour == kButtonFaceColour)
        std::snprintf(text, sizeof text, "system colour 15 (button face)");
    else if ((colour & 0xFFFFFF00) == 0x80000000)
        std::snprintf(text, sizeof text, "system colour %u", colour & 0xFF);
    else
        std::snprintf(text, sizeof text, "0x%08X", colour);
    return text;
}

std::vector<ConfigField> DescribeConfig(const ConfigLocation& location, const SettingsRecord& r,
    const EmptyDirectories& emptyDirectories)
{
    std::vector<ConfigField> fields {textField("file", "Configuration file", location.readPath)};
    if (location.savePath != location.readPath)
        fields.push_back(textField("saveFile", "Saved to (the user's copy)", location.savePath));
    const std::string bmpInstead
        = emptyDirectories.bmp.empty() ? emptyDirectories.curves : emptyDirectories.bmp;
    const std::vector<ConfigField> record {
        colourField("gridColour", "Scaling grid colour", r.GridColor),
        colourField("signalColour", "Signal lines colour", r.SignalColor),
        colourField("axisPanelColour", "Axis panel colour", r.AxisPanelColor),
        colourField("phaseColour", "Phase lines colour", r.PhaseColor),
        colourField("dataWindowColour", "Data window colour", r.DataWindowColor),
        colourField("inscriptionColour", "Data window inscription colour", r.InscriptionColor),
        numberField("windowWidth", "Window width", r.WindowWidth, " pixels"),
        numberField("windowHeight", "Window height", r.WindowHeight, " pixels"),
        switchField(
            "printBlackWhite", "Print in", r.PrintBlackWhite != 0, "colour", "black and white"),
        switchField("printToBmp", "Print to", r.PrintToBmp != 0, "the printer", "a BMP file"),
        switchField(
            "printLandscape", "Page orientation", r.PrintLandscape != 0, "portrait", "landscape"),
        directoryField("bmpDirectory", "BMP directory", r.BmpDirectory.str(), bmpInstead),
        directoryField(
            "curveDirectory", "Curve directory", r.CurveDirectory.str(), emptyDirectories.curves),
        textField("splashLine1", "Splash line 1", r.SplashLine1.str()),
        textField("splashLine2", "Splash line 2", r.SplashLine2.str()),
        {"windowState", "Window state", windowStateInWords(r.WindowStateCode),
            JsonString(windowStateInWords(r.WindowStateCode))},
        textField("responseUnit", "Response unit", r.ResponseUnit.str()),
        numberField("impedanceStep", "Impedance scale step", r.ImpedanceStep, " Ohm"),
        numberField("impedanceBase", "Impedance scale base", r.ImpedanceBase, " Ohm"),
        numberField("levelRange", "Level scale range", r.LevelRange, " dB"),
        numberField("levelTop", "Level scale top", r.LevelTop, " dB"),
        numberField("serialResistor", "Serial resistor", r.SerialResistor, " Ohm"),
        numberField("referenceVoltage", "Reference voltage", r.ReferenceVoltage, " V"),
        switchField("soundOn", "Sound", r.SoundOn != 0, "off", "on"),
    };
    fields.insert(fields.end(), record.begin(), record.end());
    return fields;
}

std::string FormatConfigText(const std::vector<ConfigField>& fields)
{
    std::size_t width = 0;
    for (const ConfigField& field : fields)
        width = std::max(width, field.label.size());
    std::string text;
    for (const ConfigField& field : fields)
        text += field.label + ": " + std::string(width - field.label.size(), ' ') + field.text
            + '\n';
    return text;
}

std::string FormatConfigJson(const std::vector<ConfigField>& fields)
{
    std::string json = "{";
    for (const ConfigField& field : fields)
        json += (json.size() > 1 ? ",\n  " : "\n  ") + JsonString(field.key) + ": " + field.json;
    return json + "\n}\n";
}

DirectoryFieldText DirectoryFieldFor(const std::string& argument)
{
    if (argument.empty())
        return {};
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(argument, error);
    if (error)
        return {{},
            error == std::errc::no_such_file_or_directory ? "no such directory" : error.message()};
    if (!std::filesystem::is_directory(resolved, error))
        return {{}, "not a directory"};
    std::string text = resolved.string();
    if (!text.ends_with('/'))
        text += '/';
    if (text.size() > kDirectoryFieldSize)
        return {{},
            "the path with its final '/' has " + std::to_string(text.size())
                + " characters; the configuration holds at most "
                + std::to_string(kDirectoryFieldSize)};
    return {text, {}};
}
