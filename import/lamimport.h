// The lamb and member import: the organisation's lamb archive for the whole
// country holds one lamb export per county ("Lam" + two digits + ".Dos") and
// the member export ("medlem.Dos"). The chosen counties' lambs become the
// yearly lamb file, their producers the producer file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "lam.h"

// File names of the lamb import road, in the data folder.
inline constexpr const char* LammeArkivNavn = "Alt.Zip";
inline constexpr const char* MedlemNavn = "medlem.Dos";
inline constexpr const char* LamMonster = "*.DOS";

// The lamb archive's path on the organisation's server for `aar`.
std::string LammeArkivSti(int aar);

// The county texts of the reading window, "01  Østfold" to "20  Finnmark"
// (Windows-1252); index i holds county i + 1.
const std::vector<std::string>& LammeFylker();

// The lamb export of a county inside OpPakket: "Lam" + two digits + ".Dos".
std::string LamEksportNavn(int fylke);

struct TUtpakking {
  std::vector<std::filesystem::path> filer;  // written into OpPakket, in archive order
  std::vector<std::string> fylker;           // the county text of every county export found
};

// Unpacks every "*.DOS" member (letter case ignored) of `arkiv` flat into
// `oppakket` and names the counties whose lamb export it held. Throws IoFeil
// for an archive that cannot be read or is damaged.
TUtpakking PakkUtLammearkiv(const std::filesystem::path& arkiv, const std::filesystem::path& oppakket);

struct TLesing {
  bool lest = false;              // the reading gave a lamb file
  int64_t lam = 0;                // lamb records written
  int64_t produsenter = 0;        // producer records written
  bool medlemsfil = false;        // the member export was there and was read
  std::string valgteFylker;       // " 01 12" for counties 1 and 12
  std::vector<TTupp> lammeliste;  // the summary of every lamb record written, in file order
};

// Reads the lamb exports of `fylker` (county numbers, in list order) from
// `oppakket` into the lamb file of `aar` in `dataMappe` (made anew when
// `lagLamfil`), with a summary of each lamb in the result, and the member
// export's producers of those counties into the producer file. `fase` is
// told when the members' turn comes. Both files are written beside the old
// ones and replace them only when both are whole, so a failure leaves both
// as they were. Throws IoFeil with the whole message for the user, which
// says what became of the files: both unchanged, or (when the producer file
// alone could not take its place at the very end) a new lamb file beside
// the old producer file.
TLesing LesLamOgMedlemmer(const std::vector<int>& fylker, bool lagLamfil, const std::filesystem::path& oppakket,
                          const std::filesystem::path& dataMappe, int aar, const std::function<void()>& fase = {});

// Deletes the unpacked files, read-only ones too; failures are ignored.
void SlettUtpakkede(const std::vector<std::filesystem::path>& filer);
