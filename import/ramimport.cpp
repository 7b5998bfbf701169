#include "ramimport.h"

#include <vector>

#include "arkiv.h"
#include "filer.h"
#include "register.h"
#include "tekst.h"

namespace fs = std::filesystem;

namespace {

float TiendeDel(std::string_view felt) { return SafeDiv(TextToReal(felt), 10.0f); }

}  // namespace

namespace {

// Splits a line into fields as NextField does, without copying the line.
// A line that ends before all its fields are taken gives empty fields for
// the rest.
class Felter {
 public:
  explicit Felter(std::string_view linje) : rest_(linje) {}
  // A quoted field is unquoted into `lager`, which must outlive its use.
  std::string_view Neste(std::string& lager) {
    if (slutt_) {
      mangler_ = true;
      return {};
    }
    std::size_t semikolon = 0;
    bool sitat = false;
    while (semikolon < rest_.size() && rest_[semikolon] != ';') sitat |= rest_[semikolon++] == '"';
    std::string_view felt = rest_;
    if (semikolon < rest_.size()) {
      felt = rest_.substr(0, semikolon);
      rest_.remove_prefix(semikolon + 1);
    } else {
      slutt_ = true;
    }
    if (felt.size() > MaksTekst) felt = felt.substr(0, MaksTekst);
    if (!sitat || felt.find('"') == std::string_view::npos) return felt;
    // The first quote and the next one are removed.
    lager.assign(felt);
    std::size_t q = lager.find('"');
    lager.erase(q, 1);
    q = lager.find('"');
    if (q != std::string::npos) lager.erase(q, 1);
    return lager;
  }

  // Whether a field was asked for after the line's last one.
  bool Mangler() const { return mangler_; }

 private:
  std::string_view rest_;
  bool slutt_ = false;    // the last field is taken
  bool mangler_ = false;
};

}  // namespace

bool ConvertRamLine(std::string_view linje, TVerPost& p, bool* kort) {
  p = TomVerPost();
  if (kort) *kort = false;
  // Each field is kept as text until the record is filled; quoted fields
  // need their own copy.
  Felter felter(linje);
  std::string_view felt[51];
  std::string lager[51];
  for (int k = 1; k <= 3; ++k) felt[k] = felter.Neste(lager[k]);
  p.Nummer = static_cast<int32_t>(TextToInt(felt[3]));
  if (p.Nummer == 0) return false;
  for (int k = 4; k <= 50; ++k) felt[k] = felter.Neste(lager[k]);
  if (kort) *kort = felter.Mangler();

  p.Fylke = felt[1] == "1666666654" ? 0 : static_cast<uint8_t>(TextToInt(felt[1].substr(0, 2)));
  p.Ring = static_cast<int16_t>(TextToInt(felt[4]));
  p.Kropp = static_cast<uint8_t>(TextToInt(felt[5]));
  p.Ullkvalitet = static_cast<uint8_t>(TextToInt(felt[6]));
  p.Ullmengde = static_cast<uint8_t>(TextToInt(felt[7]));
  p.Ullvekt = TiendeDel(felt[8]);
  p.KlippeDato = IsoTextToDate(felt[9]);
  p.Fiberdiameter = TiendeDel(felt[10]);
  p.MaksMy = static_cast<float>(TextToInt(felt[11]));
  p.Stapel = TiendeDel(felt[12]);
  p.Marg = static_cast<uint8_t>(TextToInt(felt[13]));
  p.Dyrehaar = static_cast<uint8_t>(TextToInt(felt[14]));
  p.Rase = static_cast<int8_t>(TextToInt(felt[15]));
  p.Aar = static_cast<int16_t>(TextToInt(felt[16].substr(0, 4)));
  p.Mornr = static_cast<int32_t>(TextToInt(felt[17]));
  p.MorIndeks = static_cast<int16_t>(TextToInt(felt[19]));
  p.Farnr = static_cast<int32_t>(TextToInt(felt[20]));
  p.MorFar = static_cast<int32_t>(TextToInt(felt[23]));
  p.Hostvekt = TextToReal(felt[24]);
  p.BurdFodt = static_cast<uint8_t>(TextToInt(felt[26]));
  p.OIndeks = static_cast<int16_t>(TextToInt(felt[28]));
  p.KIndeks = static_cast<int16_t>(TextToInt(felt[29]));
  p.IndeksDato = IsoTextToDate(felt[31]);
  p.Navn.Sett(felt[32]);
  p.Slakt = static_cast<int16_t>(TextToInt(felt[36]));
  p.Kjott = static_cast<int16_t>(TextToInt(felt[37]));
  p.Fett = static_cast<int16_t>(TextToInt(felt[38]));
  p.MorevVaar = static_cast<int16_t>(TextToInt(felt[39]));
  p.MorevSl = static_cast<int16_t>(TextToInt(felt[40]));
  p.Fruktbarhet = static_cast<int16_t>(TextToInt(felt[41]));
  p.Bein = static_cast<uint8_t>(TextToInt(felt[42]));
  p.Fodebuskap.Sett(felt[43]);
  p.Fodested.Sett(felt[44].empty() ? std::string("Ukjent") : DosToWindows(felt[44].substr(0, 20)));
  p.VektAvvik = TiendeDel(felt[45]);
  p.OAett = TextToReal(felt[46]);
  p.Type = static_cast<uint8_t>(TextToInt(felt[47]));
  p.AntHostvekt = static_cast<int16_t>(TextToInt(felt[48]));
  p.AntSlakt = static_cast<int16_t>(TextToInt(felt[49]));
  p.AntDotre = static_cast<int16_t>(TextToInt(felt[50]));
  return true;
}

TKonvertering KonverterLinjer(std::string_view eksport, const std::function<void(const TVerPost&)>& post,
                              const TFremdrift& fremdrift) {
  const auto totalt = static_cast<int64_t>(eksport.size());
  std::size_t linjer = 0;
  TKonvertering r;
  TVerPost p;
  bool kort = false;
  ForHverLinje(eksport, [&](std::string_view linje) {
    if (linjer > 0 && ConvertRamLine(linje, p, &kort)) {
      post(p);
      ++r.poster;
      r.korteLinjer += kort;
    }
    ++linjer;
    if (fremdrift && linjer % 4096 == 0) {
      const auto gjort = static_cast<int64_t>(linje.data() + linje.size() - eksport.data());
      if (!fremdrift(gjort, totalt)) {
        r.ferdig = false;
        return false;
      }
    }
    return true;
  });
  if (r.ferdig && fremdrift) fremdrift(totalt, totalt);
  return r;
}

TKonvertering KonverterEksportfil(const fs::path& eksport, const fs::path& verfil, const TFremdrift& fremdrift) {
  const std::string innhold = LesHeleFila(eksport);
  TTryggFil fil(verfil, ".ny", "værregisteret " + verfil.string());
  TBlokkskriver skriver(fil);
  const TKonvertering r =
      KonverterLinjer(innhold, [&](const TVerPost& p) { skriver.Legg(&p, sizeof p); }, fremdrift);
  if (!r.ferdig) throw IoFeil("Innlesingen ble avbrutt. Værregisteret er uendret.");
  skriver.Tom();
  fil.Fullfor();
  return r;
}

std::string KorteLinjerMelding(int64_t antall) {
  return std::to_string(antall) + " linje(r) i eksporten hadde færre enn 50 felt; feltene som manglet er lest som tomme.";
}

std::optional<TKonvertering> ConvertRamExport(const TFremdrift& fremdrift, TKilde kilde) {
  const fs::path pakket = FinnFil(DataFolder, UtpakkMappe);
  const fs::path eksport = FinnFil(pakket, EksportNavn);
  std::error_code ec;
  if (!fs::is_regular_file(eksport, ec)) return std::nullopt;
  const TKonvertering r = KonverterEksportfil(eksport, FinnFil(DataFolder, VerFilNavn), fremdrift);
  fs::remove(eksport, ec);
  fs::remove(FinnFil(pakket, GammelEksportNavn), ec);
  if (kilde == TKilde::Nedlasting) fs::remove(FinnFil(DataFolder, ArkivNavn), ec);
  return r;
}

TKonvertering ImporterArkiv(const fs::path& arkiv, const TFremdrift& fremdrift, TKilde kilde) {
  const fs::path pakket = FinnFil(DataFolder, UtpakkMappe);
  // An export left from an earlier import must not pass for this archive's.
  std::error_code ec;
  fs::remove(FinnFil(pakket, EksportNavn), ec);
  PakkUt(arkiv, EksportMonster, pakket);
  const std::optional<TKonvertering> r = ConvertRamExport(fremdrift, kilde);
  if (!r)
    throw IoFeil("Arkivet " + arkiv.filename().string() + " inneholder ingen værfil (" + EksportNavn +
                 "). Værregisteret er uendret.");
  return *r;
}
