// Conversion of the breeding organisation's ram export (Vedder2.Tex) into
// the ram file Verene.Dat.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "verpost.h"

// File names of the import road, in the data folder.
inline constexpr const char* ArkivNavn = "Nyverer.Zip";
inline constexpr const char* UtpakkMappe = "OpPakket";
inline constexpr const char* EksportNavn = "Vedder2.Tex";
inline constexpr const char* GammelEksportNavn = "Vaerer.dos";
inline constexpr const char* EksportMonster = "*.Tex";

// The question asked before a download from the organisation (UTF-8).
inline constexpr const char* NedlastingSporsmal =
    "Du må være oppkoplet til internett hvis dette ikke går automatisk. \n"
    "Hvis du har en brannvegg, kan denne stoppe nedlastinga. Du må da deaktivere den.\n"
    "Hvis Windows XP melder om feil, flytt feilvinduet vekk og lukk det først når oppdateringa er ferdig.";

// Converts one data line of the export (50 fields separated by ';') into a
// record that starts all zero. False when the judging number (column 3)
// reads as 0: such a line makes no record. A line of fewer than 50 fields
// is read as if the missing fields were there and empty; `kort` (may be
// null) tells whether it was such a line.
bool ConvertRamLine(std::string_view linje, TVerPost& post, bool* kort = nullptr);

// Progress of a long conversion: bytes done and in all. Return false to stop.
using TFremdrift = std::function<bool(int64_t gjort, int64_t totalt)>;

// What a conversion of an export gave.
struct TKonvertering {
  bool ferdig = true;       // false: stopped through the progress callback
  int64_t poster = 0;       // records made
  int64_t korteLinjer = 0;  // of them, those from lines of fewer than 50 fields
};

// The message for the user after an import that met `antall` (> 0) lines of
// fewer than 50 fields (UTF-8).
std::string KorteLinjerMelding(int64_t antall);

// Calls `post` for the record of every data line of an export held in
// memory: lines end in CR LF, LF or CR, and the first line is a header.
TKonvertering KonverterLinjer(std::string_view eksport, const std::function<void(const TVerPost&)>& post,
                              const TFremdrift& fremdrift = {});

// Converts the export file `eksport` into the ram file `verfil`. The new file
// is written beside `verfil` and renamed over it only when complete, so a
// failure or a stop leaves the old register whole. Throws IoFeil (also when
// stopped through `fremdrift`).
TKonvertering KonverterEksportfil(const std::filesystem::path& eksport, const std::filesystem::path& verfil,
                                  const TFremdrift& fremdrift = {});

// Whether an import came through the program's download, whose archive
// Nyverer.Zip in the data folder goes with the import, or from a file of the
// user's, when a Nyverer.Zip there is the user's and stays.
enum class TKilde { Nedlasting, BrukersFil };

// The conversion of the import action: OpPakket/Vedder2.Tex in the data
// folder into Verene.Dat; afterwards the export, the downloaded archive (for
// a download) and the older export OpPakket/Vaerer.dos are deleted (missing
// files are skipped). Empty, with nothing changed or deleted, when there is
// no export. Throws IoFeil.
std::optional<TKonvertering> ConvertRamExport(const TFremdrift& fremdrift = {},
                                              TKilde kilde = TKilde::Nedlasting);

// The import of a ram archive: unpacks every "*.Tex" member of `arkiv` into
// OpPakket in the data folder and converts the export as ConvertRamExport
// does. Throws IoFeil with a message for the user when the archive is
// damaged, holds no export, or the conversion fails; Verene.Dat is then
// unchanged.
TKonvertering ImporterArkiv(const std::filesystem::path& arkiv, const TFremdrift& fremdrift = {},
                            TKilde kilde = TKilde::Nedlasting);
