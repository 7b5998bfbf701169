#include "arkiv.h"

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <cerrno>
#include <memory>

#include "filer.h"

namespace fs = std::filesystem;

namespace {

char Liten(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// libzip's errors in the user's language.
std::string Feiltekst(int kode) {
  switch (kode) {
    case ZIP_ER_NOZIP: return "ikke et zip-arkiv";
    case ZIP_ER_INCONS: return "innholdslista stemmer ikke";
    case ZIP_ER_CRC: return "feil sjekksum";
    case ZIP_ER_ZLIB: return "ødelagte komprimerte data";
    case ZIP_ER_EOF: return "fila slutter for tidlig";
    case ZIP_ER_READ: return "lesefeil";
    case ZIP_ER_SEEK: return "lesefeil";
    case ZIP_ER_OPEN: return "kan ikke åpnes";
    case ZIP_ER_NOENT: return "finnes ikke";
    case ZIP_ER_MEMORY: return "for lite minne";
    case ZIP_ER_COMPNOTSUPP: return "ukjent komprimering";
    case ZIP_ER_ENCRNOTSUPP: return "kryptert";
    case ZIP_ER_NOPASSWD: return "kryptert";
    default: return "feil nr. " + std::to_string(kode);
  }
}

std::string ArkivFeil(const fs::path& arkiv, int kode) {
  return "Arkivet " + arkiv.filename().string() + " er skadet eller kan ikke leses (" + Feiltekst(kode) +
         "). Hent arkivet på nytt.";
}

struct ZipLukker {
  void operator()(zip_t* z) const { zip_discard(z); }
};
struct ZipFilLukker {
  void operator()(zip_file_t* f) const { zip_fclose(f); }
};

// Writes one member to `maal` through a file beside it.
void SkrivMedlem(zip_t* z, zip_uint64_t indeks, const fs::path& arkiv, const fs::path& maal) {
  std::unique_ptr<zip_file_t, ZipFilLukker> fil(zip_fopen_index(z, indeks, 0));
  if (!fil) throw IoFeil(ArkivFeil(arkiv, zip_error_code_zip(zip_get_error(z))));
  TTryggFil ut(maal);
  std::vector<char> buf(1 << 16);
  uint64_t totalt = 0;
  for (;;) {
    const zip_int64_t n = zip_fread(fil.get(), buf.data(), buf.size());
    if (n < 0) throw IoFeil(ArkivFeil(arkiv, zip_error_code_zip(zip_file_get_error(fil.get()))));
    if (n == 0) break;
    totalt += static_cast<uint64_t>(n);
    if (totalt > MaksMedlem)
      throw IoFeil("Fila " + maal.filename().string() + " i arkivet er større enn 1 GiB og pakkes ikke ut.");
    ut.Skriv(std::string_view(buf.data(), static_cast<std::size_t>(n)));
  }
  ut.Fullfor();
}

}  // namespace

bool PasserMonster(std::string_view navn, std::string_view monster) {
  // Iterative wildcard match with one backtracking point for the last '*'.
  std::size_t n = 0, m = 0, stjerne = std::string_view::npos, merke = 0;
  while (n < navn.size()) {
    // A '*' in the pattern is always a wildcard, even against a '*' in the name.
    if (m < monster.size() && monster[m] == '*') {
      stjerne = m++;
      merke = n;
    } else if (m < monster.size() && (monster[m] == '?' || Liten(monster[m]) == Liten(navn[n]))) {
      ++n;
      ++m;
    } else if (stjerne != std::string_view::npos) {
      m = stjerne + 1;
      n = ++merke;
    } else {
      return false;
    }
  }
  while (m < monster.size() && monster[m] == '*') ++m;
  return m == monster.size();
}

std::vector<fs::path> PakkUt(const fs::path& arkiv, std::string_view monster, const fs::path& mappe) {
  int feilkode = 0;
  std::unique_ptr<zip_t, ZipLukker> z(zip_open(arkiv.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &feilkode));
  if (!z) throw IoFeil(ArkivFeil(arkiv, feilkode));
  std::error_code ec;
  fs::create_directories(mappe, ec);
  if (ec) throw IoFeil("Kan ikke lage mappa " + mappe.string() + ": " + SystemFeil(ec.value()));

  std::vector<fs::path> skrevet;
  const zip_int64_t antall = zip_get_num_entries(z.get(), 0);
  for (zip_int64_t i = 0; i < antall; ++i) {
    zip_stat_t st;
    if (zip_stat_index(z.get(), static_cast<zip_uint64_t>(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
      throw IoFeil(ArkivFeil(arkiv, zip_error_code_zip(zip_get_error(z.get()))));
    std::string navn = st.name;
    const std::size_t skille = navn.find_last_of("/\\");
    if (skille != std::string::npos) navn.erase(0, skille + 1);
    if (navn.empty() || navn == "." || navn == ".." || !PasserMonster(navn, monster)) continue;
    if ((st.valid & ZIP_STAT_SIZE) && st.size > MaksMedlem)
      throw IoFeil("Fila " + navn + " i arkivet er større enn 1 GiB og pakkes ikke ut.");
    const fs::path maal = FinnFil(mappe, navn);
    SkrivMedlem(z.get(), static_cast<zip_uint64_t>(i), arkiv, maal);
    skrevet.push_back(maal);
  }
  return skrevet;
}
