// The program's name and version as its windows and printed pages give them.
#pragma once

#include <QString>

inline constexpr const char* Versjonstekst = "Versjon 3.3 03. sep 2008";

// The caption of the main window, and the heading of a printed table.
inline QString Hovedtittel() { return QString("Hornstad. ") + Versjonstekst; }
