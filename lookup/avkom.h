// The sons of a ram: every ram of the register whose sire it is and whose
// total index is above 0, as a table.
#pragma once

#include <string>
#include <vector>

#include "register.h"
#include "tabell.h"

// The table's title: "Sønner etter " + number + blank + name as stored (Windows-1252).
std::string AvkomTittel(const TVerPost& far);
// The header line of the table.
extern const char* const AvkomOverskrift;
// The rows of the sons, in file order, each cell followed by ';' (Windows-1252).
std::vector<std::string> AvkomLinjer(const TProdusent& reg, int32_t farnr);
// Hands the whole listing to a table through its calling contract. Throws
// IoFeil when the register cannot be read.
void ListAvkom(const TProdusent& reg, const TVerPost& far, TTabellMottaker& tabell);
