#include "oppslag.h"

#include <cstdio>

#include "cp1252.h"
#include "tekst.h"

namespace {

template <std::size_t N>
std::array<std::string, N> Cp1252(const std::array<const char*, N>& utf8) {
  std::array<std::string, N> a;
  for (std::size_t i = 0; i < N; ++i) a[i] = Utf8TilCp1252(utf8[i]);
  return a;
}

// "%.6d": at least six digits, zero-filled on the left.
std::string SeksSiffer(int32_t verdi) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%.6d", verdi);
  return buf;
}

// "%3.1n" and "%4.1n".
std::string N31(double x) { return FormatN(3, 1, x); }
std::string N41(double x) { return FormatN(4, 1, x); }
// "%3.d".
std::string D3(int64_t x) { return PadLeft(IntToText(x), 3); }

std::string Navn(TProdusent* reg, int32_t nummer) {
  if (reg == nullptr) return std::string();
  return NameCase(reg->FindByNumber(nummer).Navn.Verdi());
}

std::string TypeTekst(uint8_t type, int16_t oIndeks) {
  if (type == 1) return "Semin";
  if (type == 2) return "Utg. semin";
  if (oIndeks > 30) return "Avkomsgransket";
  return Utf8TilCp1252("Kåra");
}

}  // namespace

const std::array<std::string, VerindRader>& VerindTitler() {
  static const auto titler =
      Cp1252<VerindRader>({"Indeksdato", "O-indeks", "K-indeks", "Morev.Vår", "Slakt", "Kjøtt", "Fett", "Morev.Sl",
                           "Fruktbarhet", "Ant høstv.", "Ant slakt", "Ant døtre"});
  return titler;
}

const std::array<std::string, SlektRader>& SlektTitler() {
  static const auto titler = Cp1252<SlektRader>(
      {"Farnr.", "Far navn", "MorFar", "MF navn", "Mornr.", "Morind.", "Ring", "Type", "Burd født", "Høstvekt"});
  return titler;
}

const std::array<std::string, ScanRader>& ScanTitler() {
  static const auto titler =
      Cp1252<ScanRader>({"O-ætt /O kåring", "Vekt avv/p", "Kropp", "Bein", "Ullkvalitet", "Ullmengde", "Sum poeng"});
  return titler;
}

const std::array<std::string, UllaRader>& UllaTitler() {
  static const auto titler =
      Cp1252<UllaRader>({"Ullvekt (kg)", "Klippedato", "Fiberdiam.", "Maks my", "Stapel", "Marg %", "Dyrehår"});
  return titler;
}

TVerVisning LagVisning(const TVerPost& ver, const Trase& raser, TProdusent* reg) {
  // The fields of the packed record go to the helpers by value.
  TVerVisning v;
  v.vist = ver.Nummer > 0;

  if (v.vist) {
    v.rasnav[0] = raser.BreedName(ver.Rase) + " / " + NameCase(ver.Navn.Verdi());
    v.rasnav[1] = Utf8TilCp1252("Fødebuskap:") + NameCase(ver.Fodebuskap.Verdi());
    v.rasnav[2] = Utf8TilCp1252("Fødested:") + NameCase(ver.Fodested.Verdi()) + " i " + CountyName(ver.Fylke);
  } else {
    v.rasnav = {"Rase/navn", Utf8TilCp1252("Fødebuskap:"), Utf8TilCp1252("Fødested:")};
  }

  v.verind = {DateToText(ver.IndeksDato), IntToText(ver.OIndeks),     IntToText(ver.KIndeks),  IntToText(ver.MorevVaar),
              IntToText(ver.Slakt),       IntToText(ver.Kjott),       IntToText(ver.Fett),     IntToText(ver.MorevSl),
              IntToText(ver.Fruktbarhet), IntToText(ver.AntHostvekt), IntToText(ver.AntSlakt), IntToText(ver.AntDotre)};

  v.slekt = {
      IntToText(ver.Farnr),    Navn(reg, ver.Farnr),         IntToText(ver.MorFar), Navn(reg, ver.MorFar),
      SeksSiffer(ver.Mornr),   IntToText(ver.MorIndeks),     IntToText(ver.Ring),   TypeTekst(ver.Type, ver.OIndeks),
      IntToText(ver.BurdFodt), FitNumber(4, 1, ver.Hostvekt)};

  v.ulla = {N31(ver.Ullvekt),       DateToText(ver.KlippeDato),
            N31(ver.Fiberdiameter), N31(ver.MaksMy),
            N31(ver.Stapel),        D3(ver.Marg),
            D3(ver.Dyrehaar)};

  std::string sum = "^^^";
  if (ver.Bein > 0) {
    // The scores are whole bytes and the two others single-precision values;
    // the sum is taken in double precision, term by term.
    double s = ver.Kropp + ver.Bein + ver.Ullkvalitet + ver.Ullmengde;
    s += static_cast<double>(ver.VektAvvik);
    s += static_cast<double>(ver.OAett);
    sum = N41(s);
  }
  v.scan = {
      N31(ver.OAett), N31(ver.VektAvvik), N31(ver.Kropp), N31(ver.Bein), N31(ver.Ullkvalitet), N31(ver.Ullmengde), sum};
  return v;
}

TVerindStil VerindStil(int rad) {
  if (rad == 0) return {true, TVerindFarge::Standard};
  if (rad >= 1 && rad <= 8) return {false, TVerindFarge::Svart};
  if (rad >= 9 && rad <= 11) return {false, TVerindFarge::Blaa};
  return {};
}

bool EnterStarterSoek(std::string_view feltTekst) { return feltTekst.size() > 2; }

int32_t FeltVerdi(std::string_view feltTekst) {
  const bool siffer = feltTekst.find_first_of("0123456789") != std::string_view::npos;
  return siffer ? LesHeltall(feltTekst) : 0;
}

TVerPost KandidatVer(TProdusent& reg, const TTekstElement& kandidat, int32_t& indeks) {
  const int32_t i = kandidat.indeks;
  if (i >= 0 && i < reg.RecordCount() && static_cast<std::size_t>(i) < reg.RamNumbers().size() &&
      reg.RamNumbers()[static_cast<std::size_t>(i)] == kandidat.nummer) {
    TVerPost p = reg.ReadAt(i);
    reg.CurrentRamIndex = i;
    indeks = i;
    return p;
  }
  TVerPost p = reg.FindByNumber(kandidat.nummer);
  indeks = p.Nummer != 0 ? reg.CurrentRamIndex : -1;
  return p;
}

TSoekResultat Soek(std::string_view feltTekst, std::string_view navnesoek, TProdusent* reg) {
  TSoekResultat r;
  if (reg == nullptr) return r;
  const int32_t verdi = FeltVerdi(feltTekst);
  if (verdi == 0 && navnesoek.size() > 2) {
    r.navnesoek = true;
    std::vector<TTekstElement> treff;
    reg->FindByName(navnesoek, treff);
    if (treff.size() == 1) {
      r.utfall = TSoekResultat::Utfall::Ver;
      r.feltverdi = treff[0].nummer;
      r.ver = KandidatVer(*reg, treff[0], r.indeks);
    } else if (treff.size() > 1) {
      r.utfall = TSoekResultat::Utfall::Kandidater;
      r.kandidater = std::move(treff);
    }
    return r;
  }
  r.utfall = TSoekResultat::Utfall::Ver;
  r.ver = reg->FindByNumber(verdi);
  if (r.ver.Nummer != 0) r.indeks = reg->CurrentRamIndex;
  return r;
}

std::optional<int32_t> SlektDobbeltklikk(int kolonne, int rad, std::string_view celle) {
  if (kolonne != 1 || (rad != 0 && rad != 1)) return std::nullopt;
  // The field holds 32 bits; a longer reading keeps its low 32 bits.
  return static_cast<int32_t>(TextToInt(celle));
}

std::string BredesteNavn(std::size_t lengde, const std::function<int(unsigned char tegn)>& bredde) {
  // NameCase writes a character upper case at a word's start (the first one,
  // and after a blank or one of ",-./") and lower case elsewhere. From the
  // last position back: the widest rest of the name after a word's start
  // (0) and inside a word (1), and the byte that begins it.
  const auto lagres = [](unsigned c) {
    return c >= 0x20 && c != 0x7F && c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D;
  };
  const auto ordskille = [](unsigned c) { return c == ' ' || (c >= 0x2C && c <= 0x2F); };
  std::vector<std::array<long, 2>> rest(lengde + 1, {0, 0});
  std::vector<std::array<unsigned char, 2>> valg(lengde, {' ', ' '});
  for (std::size_t i = lengde; i-- > 0;) {
    for (int inni = 0; inni < 2; ++inni) {
      long best = -1;
      for (unsigned c = 0; c < 256; ++c) {
        if (!lagres(c)) continue;
        const unsigned char vist =
            inni ? LowChar(static_cast<unsigned char>(c)) : UpChar(static_cast<unsigned char>(c));
        const long b = bredde(vist) + rest[i + 1][ordskille(c) ? 0 : 1];
        if (b > best) {
          best = b;
          valg[i][inni] = static_cast<unsigned char>(c);
        }
      }
      rest[i][inni] = best;
    }
  }
  std::string navn;
  int inni = 0;
  for (std::size_t i = 0; i < lengde; ++i) {
    const unsigned char c = valg[i][inni];
    navn += static_cast<char>(c);
    inni = ordskille(c) ? 0 : 1;
  }
  return NameCase(navn);
}
