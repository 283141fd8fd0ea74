#pragma once
// The configuration in words, for a user who reads or sets it from a
// terminal: which file, and every field the viewer uses with a name the user
// understands, as lines of text or as one JSON object.

#include "app/ConfigLocation.h"
#include "app/SettingsRecord.h"

#include <string>
#include <vector>

// One line of the summary.
struct ConfigField {
    std::string key; // the JSON name: "curveDirectory"
    std::string label; // the name in words: "Curve directory"
    std::string text; // the value in words: "150 Ohm"
    std::string json; // the value as a JSON literal: 150
};

// Where an empty directory field leads the file boxes of this program.
struct EmptyDirectories {
    std::string curves; // what the file box lists for an empty curve directory
    std::string bmp; // what the BMP file box offers; empty: as for curves
};

// A colour of the record: "#RRGGBB" for 0x00BBGGRR, "system colour 15
// (button face)" for the desktop's colour 0x8000000F, the hexadecimal value
// for anything else.
std::string ColourInWords(uint32_t colour);

// The file the viewer reads (and, where it differs, the file a save writes),
// then every field the viewer uses, in the order of the record.
std::vector<ConfigField> DescribeConfig(const ConfigLocation& location,
    const SettingsRecord& record, const EmptyDirectories& emptyDirectories);

// "Label: text" a line each, the texts in one column.
std::string FormatConfigText(const std::vector<ConfigField>& fields);

// One JSON object of the keys and values, with a final newline.
std::string FormatConfigJson(const std::vector<ConfigField>& fields);

// The text a directory field stores for a directory given on the command
// line: empty for an empty argument, else the absolute path of the existing
// directory (symbolic links and "." and ".." resolved) with a final '/',
// since the viewer appends a file name directly. problem says in words why
// there is none: the directory does not exist, is not a directory, or its
// path does not fit the field's 255 characters.
struct DirectoryFieldText {
    std::string text;
    std::string problem;
};
DirectoryFieldText DirectoryFieldFor(const std::string& argument);
