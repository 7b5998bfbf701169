// Conversion of the breeding organisation's ram export (Vedder2.Tex) into
// ram records.
#pragma once

#include <string>

#include "verpost.h"

// Converts one data line of the export (50 fields separated by ';') into a
// record that starts all zero. False when the judging number (column 3)
// reads as 0: such a line makes no record.
bool ConvertRamLine(std::string linje, TVerPost& post);
