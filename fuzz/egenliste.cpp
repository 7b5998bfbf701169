// The catalogue's own list EgenVerer.Txt: reading it, saving it again, and
// the selection pass over it against a small register, down to the listing
// lines of the rams it picks.
#include <unistd.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "fuzzhjelp.h"
#include "listing.h"
#include "register.h"
#include "tekst.h"
#include "trase.h"
#include "utvalg.h"

namespace {

constexpr int32_t AntallVerer = 150;
constexpr int32_t ForsteNummer = 1000;

TProdusent* reg = nullptr;
const Trase* raser = nullptr;

// Rams 1000 to 1149; each has the one before as sire and dam's sire.
void LagRegister() {
  std::string fil;
  for (int32_t i = 0; i < AntallVerer; ++i) {
    TVerPost p = TomVerPost();
    p.Nummer = ForsteNummer + i;
    p.Navn.Sett("Ver " + IntToText(i));
    p.Rase = static_cast<int8_t>(i % 27);
    p.Fylke = static_cast<uint8_t>(1 + i % 20);
    p.Aar = static_cast<int16_t>(1990 + i % 20);
    p.Farnr = i > 0 ? p.Nummer - 1 : 0;
    p.MorFar = i > 1 ? p.Nummer - 2 : 0;
    p.OIndeks = static_cast<int16_t>(80 + i % 900);
    p.IndeksDato = 36000 + i;
    p.KlippeDato = 35000 + i;
    p.Type = static_cast<uint8_t>(i % 3);
    p.Fodebuskap.Sett("Gard " + IntToText(i));
    p.Fodested.Sett("Sted, Fylke");
    fil.append(reinterpret_cast<const char*>(&p), sizeof p);
  }
  SkrivFil(DataFolder / VerFilNavn, fil);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  DataFolder = Arbeidsmappe() / "data";
  std::filesystem::create_directories(DataFolder);
  if (::chdir(Arbeidsmappe().c_str()) != 0) std::abort();
  LagRegister();
  reg = new TProdusent();
  reg->LoadRegister();
  if (reg->RecordCount() != AntallVerer) std::abort();
  raser = new Trase();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view inn = SomTekst(data, size);
  SkrivFil(EgenListeFilNavn, inn);
  const std::vector<std::string> linjer = LesEgenListe();

  // Lines hold no line breaks and add up to no more than the file.
  std::size_t sum = 0;
  for (const std::string& l : linjer) {
    KREV(l.find_first_of("\r\n") == std::string::npos);
    sum += l.size() + 1;
  }
  KREV(sum <= size + 1);
  KREV(linjer.empty() == (size == 0));

  // Saved again (CR LF after each line) it reads back the same.
  SkrivEgenListe(linjer, "EgenVerer.Kopi");
  if (!linjer.empty()) KREV(LesEgenListe("EgenVerer.Kopi") == linjer);

  // The pass over the own list: every line that is not blank gives its ram
  // or an all-zero record, at least one entry, never more than the register
  // has.
  std::vector<std::string> oppforinger;
  for (const std::string& l : linjer)
    if (!TrimText(l).empty()) oppforinger.push_back(l);
  TUtvalg u = StartUtvalg(2024);
  u.egenListe = true;
  int64_t tatt = 0;
  int64_t sistLest = 0;
  std::vector<TVerPost> valgt;
  const int64_t antall = Utplukk(
      *reg, u, linjer,
      [&](const TVerPost& v) {
        KREV(tatt < AntallVerer);
        const int64_t n = tatt < static_cast<int64_t>(oppforinger.size()) ? TextToInt(oppforinger[tatt]) : 0;
        if (n >= ForsteNummer && n < ForsteNummer + AntallVerer)
          KREV(v.Nummer == n);
        else
          KREV(v.Nummer == 0);
        if (valgt.size() < 3) valgt.push_back(v);
        ++tatt;
      },
      [&](int64_t lest, int64_t totalt) {
        KREV(totalt == static_cast<int64_t>(oppforinger.size()));
        KREV(lest == sistLest + 1);
        sistLest = lest;
        return true;
      });
  KREV(antall == tatt);
  const int64_t forventet =
      std::min<int64_t>(std::max<int64_t>(static_cast<int64_t>(oppforinger.size()), 1), AntallVerer);
  KREV(antall == forventet);

  for (const TVerPost& v : valgt) {
    const std::vector<std::string> ut = KatalogLinjer(v, *reg, *raser);
    KREV(ut.size() == static_cast<std::size_t>(KatalogLinjerPerVer));
    for (const std::string& l : ut) KREV(l.find_first_of("\r\n") == std::string::npos);
  }
  return 0;
}
