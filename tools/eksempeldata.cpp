#include "eksempeldata.h"

#include <zip.h>

#include <array>
#include <cstdio>

#include "cp1252.h"
#include "filer.h"
#include "ramimport.h"
#include "tekst.h"

namespace fs = std::filesystem;

namespace {

// A small deterministic generator (splitmix64): the same seed gives the same
// export on every machine and library.
class Tilfeldig {
 public:
  explicit Tilfeldig(uint64_t froe) : s_(froe) {}
  uint64_t Neste() {
    uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 to n-1.
  int64_t Under(int64_t n) { return n <= 0 ? 0 : static_cast<int64_t>(Neste() % static_cast<uint64_t>(n)); }
  int64_t Mellom(int64_t fra, int64_t til) { return fra + Under(til - fra + 1); }
  bool Sjanse(int prosent) { return Under(100) < prosent; }
  template <typename T, std::size_t N>
  const T& Velg(const std::array<T, N>& a) {
    return a[static_cast<std::size_t>(Under(N))];
  }

 private:
  uint64_t s_;
};

// Nordic letters written with the DOS code page, as birth places come.
std::string TilDos(const std::string& utf8) {
  std::string ut;
  for (char c : Utf8TilCp1252(utf8)) {
    switch (static_cast<unsigned char>(c)) {
      case 0xE6: ut += '\x91'; break;
      case 0xC6: ut += '\x92'; break;
      case 0xF8: ut += '\x9B'; break;
      case 0xD8: ut += '\x9D'; break;
      case 0xE5: ut += '\x86'; break;
      case 0xC5: ut += '\x8F'; break;
      default: ut += c;
    }
  }
  return ut;
}

constexpr std::array<const char*, 24> Forledd = {"Bam",   "Tor",  "Stor",  "Kvit",  "Svart", "Bjørn", "Å",     "Øy",
                                                 "Fjell", "Lyng", "Ulv",   "Rask",  "Prins", "Kong",  "Storm", "Tind",
                                                 "Stål",  "Gull", "Frost", "Kjell", "Ærle",  "Berg",  "Skog",  "Vind"};
constexpr std::array<const char*, 16> Etterledd = {"se",   "ken",   "gut", "mann", "ar",  "ulf",  "bjørn", "stad",
                                                   "gard", "fjell", "dal", "vik",  "rud", "heim", "sæter", "lid"};
constexpr std::array<const char*, 12> Tillegg = {"av Øvre Sandvik", "fra Nordre Ås",  "Storhaugen",     "II",
                                                 "den yngre",       "av Bjørkelid",   "Kvitfjellingen", "på Lia",
                                                 "Junior",          "fra Vestre Rød", "av Haugland",    "Trollheimen"};
constexpr std::array<const char*, 16> Steder = {
    "Røros", "Åsen",  "Ørsta", "Værøy",  "Os",     "Lærdal", "Ålesund", "Bø",
    "Grue",  "Søgne", "Hå",    "Tynset", "Ørland", "Sæbø",   "Fåvang",  "Nærbø i Jæren og mer"};
constexpr std::array<const char*, 12> Fornavn = {"Ola",     "Kari",   "Per", "Åse",   "Nils", "Grete",
                                                 "Øystein", "Ingrid", "Jon", "Bjørg", "Arne", "Sølvi"};
constexpr std::array<const char*, 12> Gaarder = {"Nordgarden", "Søre Lien", "Haugen",    "Bakken",
                                                 "Øvre Moen",  "Vestre Ås", "Rønningen", "Tveit",
                                                 "Kvernhuset", "Sætra",     "Lykkja",    "Brekke"};
// Breed codes weighted towards the common breeds.
constexpr std::array<int, 16> VanligeRaser = {1, 1, 1, 1, 10, 10, 2, 2, 4, 4, 3, 5, 11, 12, 6, 7};

std::string Dato(Tilfeldig& r, int aar) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", aar, static_cast<int>(r.Mellom(1, 12)),
                static_cast<int>(r.Mellom(1, 28)));
  return buf;
}

// A date column: mostly a real date, sometimes missing or impossible.
std::string DatoFelt(Tilfeldig& r, int aar) {
  const int64_t v = r.Under(100);
  if (v < 5) return "";
  if (v < 7) return std::to_string(aar) + "-04-31";
  if (v < 8) return "2003-02-29";
  if (v < 9) return "ukjent";
  return Dato(r, aar);
}

std::string Indeks(Tilfeldig& r) {
  if (r.Sjanse(2)) return std::to_string(r.Mellom(900, 999));  // "gul"
  return std::to_string(r.Mellom(70, 140));
}

const char* Overskrift =
    "Prodnr;Kaaringsaar;Kaaringsnr;Ring;Kropp;Ullkval;Ullmengde;Ullvekt;Klippedato;Fiberdiam;MaksMy;Stapel;"
    "Marg;Dyrehaar;Rase;Fodt;Mornr;Morrase;Morind;Farnr;Farrase;Farnavn;MorFar;Hostvekt;Kjonn;BurdFodt;"
    "Oppdrett;OIndeks;KIndeks;Status;IndeksDato;Navn;Eier;Adresse;Postnr;Slakt;Kjott;Fett;MorevVaar;MorevSl;"
    "Fruktbarhet;Bein;Fodebuskap;Fodested;VektAvvik;OAett;Type;AntHostvekt;AntSlakt;AntDotre";

}  // namespace

std::string LagEksport(int64_t antall, uint64_t froe) {
  Tilfeldig r(froe);
  std::string ut = Overskrift;
  ut += "\r\n";
  ut.reserve(static_cast<std::size_t>(antall) * 260 + 512);
  std::vector<int32_t> nummer;
  nummer.reserve(static_cast<std::size_t>(antall));
  std::vector<int32_t> avlsverer;
  int32_t neste = 1900000 + static_cast<int32_t>(r.Under(5000));
  for (int64_t i = 0; i < antall; ++i) {
    const int aar = 1975 + static_cast<int>(antall > 1 ? i * 32 / antall : 0);
    // Judging numbers rise through the export; now and then a number comes twice.
    int32_t nr;
    if (i > 10 && r.Sjanse(1)) {
      nr = nummer[static_cast<std::size_t>(r.Under(i))];
    } else {
      neste += 1 + static_cast<int32_t>(r.Under(40));
      nr = neste;
    }
    nummer.push_back(nr);
    // Sires and dams' sires are earlier breeding rams; the recent ones get the
    // most sons, and each sire is itself the son of an earlier one.
    const auto avlsver = [&](int64_t spenn) -> int32_t {
      if (avlsverer.empty()) return 0;
      const int64_t n = std::min<int64_t>(static_cast<int64_t>(avlsverer.size()), spenn);
      const int64_t tilbake = r.Under(n) * r.Under(n) / n;
      return avlsverer[avlsverer.size() - 1 - static_cast<std::size_t>(tilbake)];
    };
    const int32_t far = r.Sjanse(5) ? 0 : avlsver(40);
    const int32_t morfar = r.Sjanse(10) ? 0 : avlsver(120);
    if (r.Sjanse(8)) avlsverer.push_back(nr);
    const int fylke = static_cast<int>(r.Mellom(1, 20));
    int rase = VanligeRaser[static_cast<std::size_t>(r.Under(VanligeRaser.size()))];
    if (r.Sjanse(10)) rase = static_cast<int>(r.Under(27));
    if (r.Sjanse(2)) rase = -rase;

    std::string navn = std::string(r.Velg(Forledd)) + r.Velg(Etterledd);
    if (r.Sjanse(15)) navn += std::string(" ") + r.Velg(Tillegg);  // often longer than 20
    if (r.Sjanse(1)) navn = "Bo";
    navn = Utf8TilCp1252(navn);

    std::string buskap = std::string(r.Velg(Fornavn)) + " " + r.Velg(Gaarder);
    if (r.Sjanse(5)) buskap += ", " + std::string(r.Velg(Gaarder)) + " og " + r.Velg(Gaarder) + " sauelag i fjellet";
    buskap = Utf8TilCp1252(buskap);
    const std::string sted = r.Sjanse(5) ? std::string() : TilDos(r.Velg(Steder));

    char prodnr[16];
    if (r.Sjanse(2))
      std::snprintf(prodnr, sizeof prodnr, "1666666654");
    else
      std::snprintf(prodnr, sizeof prodnr, "%02d%08lld", fylke, static_cast<long long>(r.Under(100000000)));

    const int64_t type = r.Under(100);
    std::string f[51];
    f[1] = prodnr;
    f[2] = std::to_string(aar);
    f[3] = std::to_string(nr);
    f[4] = std::to_string(r.Mellom(1, 60));
    f[5] = std::to_string(r.Mellom(3, 10));
    f[6] = std::to_string(r.Mellom(3, 10));
    f[7] = std::to_string(r.Mellom(3, 10));
    f[8] = r.Sjanse(10) ? "4,5" : std::to_string(r.Mellom(25, 70));
    f[9] = DatoFelt(r, aar + 1);
    f[10] = std::to_string(r.Mellom(250, 380));
    f[11] = std::to_string(r.Mellom(30, 60));
    f[12] = std::to_string(r.Mellom(80, 200));
    f[13] = std::to_string(r.Under(4));
    f[14] = std::to_string(r.Under(3));
    f[15] = std::to_string(rase);
    f[16] = r.Sjanse(30) ? Dato(r, aar) : std::to_string(aar);
    f[17] = std::to_string(r.Mellom(100000, 999999));
    f[18] = std::to_string(r.Under(27));
    f[19] = std::to_string(r.Mellom(80, 130));
    f[20] = far ? std::to_string(far) : "";
    f[21] = "1";
    f[22] = "FARNAVN";
    f[23] = morfar ? std::to_string(morfar) : "0";
    f[24] = std::to_string(r.Mellom(35, 75)) + "," + std::to_string(r.Under(10));
    f[25] = "V";
    f[26] = std::to_string(r.Under(6));
    f[27] = "";
    f[28] = Indeks(r);
    f[29] = Indeks(r);
    f[30] = "K";
    f[31] = DatoFelt(r, std::min(aar + 2, 2026));
    f[32] = "\"" + navn + "\"";
    f[33] = "\"" + buskap + "\"";
    f[34] = "Gardsvegen " + std::to_string(r.Mellom(1, 99));
    f[35] = std::to_string(r.Mellom(1000, 9999));
    for (int k = 36; k <= 41; ++k) f[k] = Indeks(r);
    f[42] = r.Sjanse(5) ? "0" : std::to_string(r.Mellom(4, 10));
    f[43] = buskap;
    f[44] = sted;
    f[45] = std::to_string(r.Mellom(-50, 50));
    f[46] = std::to_string(r.Mellom(80, 130)) + "," + std::to_string(r.Under(10));
    f[47] = std::to_string(type < 85 ? 0 : type < 93 ? 1 : type < 98 ? 2 : 3);
    f[48] = std::to_string(r.Under(200));
    f[49] = std::to_string(r.Under(150));
    f[50] = std::to_string(r.Under(80));
    for (int k = 1; k <= 50; ++k) {
      ut += f[k];
      ut += k < 50 ? ";" : "\r\n";
    }
  }
  return ut;
}

std::string EndretEksport(const std::string& eksport, std::size_t hev, int okning, std::size_t bort) {
  const std::vector<std::string> linjer = TekstLinjer(eksport);
  std::string ny;
  for (std::size_t i = 0; i < linjer.size(); ++i) {
    if (i == bort + 1) continue;
    std::string l = linjer[i];
    if (i == hev + 1) {
      std::size_t pos = 0;
      for (int f = 1; f < 28; ++f) pos = l.find(';', pos) + 1;
      const std::size_t slutt = l.find(';', pos);
      l.replace(pos, slutt - pos, std::to_string(std::stoi(l.substr(pos, slutt - pos)) + okning));
    }
    ny += l + "\r\n";
  }
  return ny;
}

std::vector<TVerPost> KonverterEksport(const std::string& eksport) {
  std::vector<TVerPost> poster;
  KonverterLinjer(eksport, [&](const TVerPost& p) { poster.push_back(p); });
  return poster;
}

void SkrivVerFil(const fs::path& fil, const std::vector<TVerPost>& poster) {
  SkrivTrygt(fil, std::string_view(reinterpret_cast<const char*>(poster.data()), poster.size() * sizeof(TVerPost)));
}

void SkrivEksempeldata(int64_t antall, uint64_t froe, const fs::path& mappe, bool verfil) {
  std::error_code ec;
  fs::create_directories(mappe, ec);
  const std::string eksport = LagEksport(antall, froe);
  SkrivTrygt(mappe / "Vedder2.Tex", eksport);

  const fs::path arkiv = mappe / "Nyverer.Zip";
  int feil = 0;
  zip_t* z = zip_open(arkiv.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &feil);
  if (z == nullptr) throw IoFeil("Kan ikke lage arkivet " + arkiv.string());
  zip_source_t* kilde = zip_source_buffer(z, eksport.data(), eksport.size(), 0);
  if (kilde == nullptr || zip_file_add(z, "Vedder2.Tex", kilde, ZIP_FL_OVERWRITE) < 0) {
    if (kilde) zip_source_free(kilde);
    zip_discard(z);
    throw IoFeil("Kan ikke lage arkivet " + arkiv.string());
  }
  if (zip_close(z) != 0) {
    const std::string melding = zip_strerror(z);
    zip_discard(z);
    throw IoFeil("Kan ikke skrive arkivet " + arkiv.string() + ": " + melding);
  }
  if (verfil) SkrivVerFil(mappe / "Verene.Dat", KonverterEksport(eksport));
}
