#include "filimport.h"

#include <cstdio>
#include <string>

#include "filer.h"
#include "register.h"

TKonvertering ImporterFil(const std::filesystem::path& fil, const TFremdrift& fremdrift) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fil, ec)) throw IoFeil("Finner ikke fila " + fil.string() + ".");
  std::string start(4, '\0');
  if (FILE* f = std::fopen(fil.c_str(), "rb")) {
    start.resize(std::fread(start.data(), 1, 4, f));
    std::fclose(f);
  }
  if (start.rfind("PK", 0) == 0) return ImporterArkiv(fil, fremdrift, TKilde::BrukersFil);
  return KonverterEksportfil(fil, FinnFil(DataFolder, VerFilNavn), fremdrift);
}
