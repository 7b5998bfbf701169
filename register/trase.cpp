#include "trase.h"

#include <filesystem>

#include "cp1252.h"
#include "filer.h"
#include "tekst.h"

const std::vector<std::string>& InnebygdeRaser() {
  static const std::vector<std::string> raser = [] {
    const char* utf8[] = {
        "Ukjent rase",     "Dala   ",        "Rygja  ",   "Sjeviot",       "Spælsau",        "Steigar",
        "Oxforddown",      "Suffolk",        "Merino ",   "Svartfjes",     "Norsk kvit sau", "Texel  ",
        "Norsk pelssau",   "Finsk landrase", "Berrichon", "G.norsk(vill)", "Gammel spæl",    "Grå trønder",
        "Fuglestadbroket", "Blæset",         "Nor X",     "Farga spel",    "Dorset",         "Charolais",
        "Romney",          "Shropshire",     "Kryssning",
    };
    std::vector<std::string> v;
    for (const char* n : utf8) v.push_back(Utf8TilCp1252(n));
    return v;
  }();
  return raser;
}

std::string InnebygdRase(int kode) {
  const auto& r = InnebygdeRaser();
  if (kode < 0 || kode >= static_cast<int>(r.size())) return std::string();
  return r[kode];
}

Trase::Trase() : navn_(InnebygdeRaser()) {
  const std::filesystem::path fil = FinnFil(std::filesystem::path(), RaseFilNavn);
  std::error_code ec;
  if (!std::filesystem::exists(fil, ec)) return;
  std::string innhold;
  try {
    innhold = LesHeleFila(fil);
  } catch (const IoFeil& e) {
    feil_ = e.what();
    return;
  }
  std::vector<std::string> navn;
  ForHverLinje(innhold, [&](std::string_view linje) { navn.emplace_back(linje.substr(0, MaksTekst)); });
  navn_ = std::move(navn);
}

std::string Trase::BreedName(int32_t kode) const {
  const int64_t abs = kode < 0 ? -static_cast<int64_t>(kode) : kode;
  if (abs < static_cast<int64_t>(navn_.size())) return (kode < 0 ? "^" : "") + navn_[static_cast<std::size_t>(abs)];
  return "Feil i rase " + IntToText(kode);
}

const std::array<std::string, 21>& FylkeListe() {
  static const std::array<std::string, 21> liste = [] {
    const char* utf8[] = {
        "00  Alle fylker",      "01  Østfold           \t\tXX10501-11500",
        "02  Akershus",         "03  Oslo",
        "04  Hedmark",          "05  Oppland",
        "06  Buskerud",         "07  Vestfold ",
        "08  Telemark",         "09  Aust-Agder",
        "10  Vest-Agder",       "11  Rogaland",
        "12  Hordaland",        "13 Udefinert",
        "14  Sogn og Fjordane", "15  Møre og Romsdal",
        "16  Sør-Trøndelag ",   "17  Nord-Trøndelag",
        "18  Nordland",         "19  Troms",
        "20  Finnmark",
    };
    std::array<std::string, 21> a;
    for (std::size_t i = 0; i < a.size(); ++i) a[i] = Utf8TilCp1252(utf8[i]);
    return a;
  }();
  return liste;
}

std::string CountyName(int64_t nummer) {
  if (nummer > 99) nummer = TextToInt(PadLeft(IntToText(nummer), 10, '0').substr(0, 2));
  const auto& liste = FylkeListe();
  if (nummer < 1 || nummer >= static_cast<int64_t>(liste.size())) return std::string();
  const std::string& item = liste[static_cast<std::size_t>(nummer)];
  return item.size() > 2 ? item.substr(2, 20) : std::string();
}
