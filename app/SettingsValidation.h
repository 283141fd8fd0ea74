#pragma once
// The fields of the settings record that the viewer itself reads, checked
// against the values its own rules can give them. A configuration file that
// was damaged or never scrambled unscrambles to values no rule produces (a
// level range of 37, a serial resistor of -2e9 Ohm, a unit text whose length
// byte lies beyond its field); start-up names such fields once and gives
// them their fresh values for the session. The parameters of the measuring
// edition, which the viewer never reads, are not checked and never changed.

#include "app/SettingsRecord.h"

#include <string>
#include <vector>

// The names of the damaged fields (as the record names them), in record
// order; empty for a sound record. A fresh record is sound.
//
// LevelRange      one of 5, 10, 20, 30, 40, 50, 60, 80, 100, 120
// LevelTop        -160 to 164 dB
// ImpedanceStep   one of 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000
// ImpedanceBase   an even number from 0 to 23982 (tenths of an Ohm)
// SerialResistor  0.1 to 10 Ohm or 100 to 4000 Ohm
// ReferenceVoltage  gives a level factor 50000 x voltage that is a positive,
//                 finite single
// ResponseUnit    a length within its 14 characters
// CurveDirectory, BmpDirectory  no zero byte (no path can hold one)
std::vector<std::string> DamagedSettingsFields(const SettingsRecord& record);

// Gives every damaged field its fresh value and returns their names; every
// other byte of the record stays as it is.
std::vector<std::string> RepairDamagedSettings(SettingsRecord& record);

// The lines of the start-up box that names the repaired fields: the title
// "Error", a sentence, the names a few to a line, and what happens to them.
std::vector<std::string> RepairedSettingsBoxLines(const std::vector<std::string>& names);
