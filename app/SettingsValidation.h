#pragma once
// The fields of the settings record that would make the viewer fault. Any
// configuration file is accepted, and values the zoom buttons cannot reach
// (a level range of 15, a level top of 170, a serial resistor of 50 Ohm) are
// used as they are stored. Only values no drawing can work with are named
// once at start-up and replaced for the session:
//
// LevelRange      0 (every level row divides by it)
// ImpedanceStep   0 (every impedance row divides by it)
// LevelTop        so far from the levels of an empty curve that its rows do
//                 not fit 32 bits in a picture 32767 pixels high
// ImpedanceBase   likewise for the impedance rows
// SerialResistor  not finite, or so large that the Ohm scale leaves the single
//                 range or an empty curve's rows leave 32 bits
// ReferenceVoltage  only with the unit "dBSPL/W/m": gives no level factor
//                 50000 x voltage that is a positive, finite single
// CurveDirectory, BmpDirectory  a zero byte (no path can hold one: the file
//                 opened would not be the one named)
//
// The parameters of the measuring edition (the reference voltage and the
// response unit among them) are never changed: a reference voltage that
// gives no level factor stays in the record, and the session draws with the
// level factor of the fresh voltage instead (SessionLevelFactor).

#include "app/SettingsRecord.h"

#include <string>
#include <vector>

// The names of the damaged fields (as the record names them), in record
// order; empty for a sound record. A fresh record is sound.
std::vector<std::string> DamagedSettingsFields(const SettingsRecord& record);

// Gives every damaged viewer field its fresh value and returns the names of
// all damaged fields; every other byte of the record stays as it is.
std::vector<std::string> RepairDamagedSettings(SettingsRecord& record);

// The level factor of frequency responses for a session on this record:
// 50000 x ReferenceVoltage in single precision for the unit "dBSPL/W/m"
// (exactly, case-sensitive), the fresh voltage's factor where that gives no
// usable factor, and 1 for any other unit.
float SessionLevelFactor(const SettingsRecord& record);

// The lines of the start-up box that names the repaired fields: the title
// "Error", a sentence, the names a few to a line, and what happens to them.
std::vector<std::string> RepairedSettingsBoxLines(const std::vector<std::string>& names);
