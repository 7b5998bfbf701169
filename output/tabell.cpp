#include "tabell.h"

#include <QFont>
#include <QFontMetrics>
#include <algorithm>
#include <array>
#include <charconv>
#include <memory>
#include <unordered_set>

#include "cp1252.h"
#include "tabellutskrift.h"
#include "tekst.h"

TCelleFormat TolkFormat(std::string_view celle) {
  TCelleFormat f;
  using F = TCelleFormat::Farge;
  const int kode = celle.empty() ? -1 : static_cast<unsigned char>(celle[0]);
  if (kode < 0 || kode > 8) {
    f.tekst = std::string(celle);
    return f;
  }
  f.kode = kode;
  f.tekst = std::string(celle.substr(1));
  switch (kode) {
    case 1:
      f.fet = true;
      f.farge = F::Farge1;
      break;
    case 2:
      f.kursiv = true;
      f.farge = F::Farge2;
      break;
    case 3: f.understrek = true; break;
    case 4:
      f.gjennomstrek = true;
      f.farge = F::Graa;
      break;
    case 5:
      f.fet = f.gjennomstrek = true;
      f.farge = F::Rodbrun;
      break;
    case 6:
      f.kursiv = f.gjennomstrek = true;
      f.farge = F::Graa;
      break;
    case 7:
      f.fet = f.understrek = true;
      f.farge = F::Farge1;
      break;
    default: break;  // 0 and 8: regular, black
  }
  return f;
}

TFarge FormatFarge(const TCelleFormat& f, TFarge farge1, TFarge farge2) {
  switch (f.farge) {
    case TCelleFormat::Farge::Farge1: return farge1;
    case TCelleFormat::Farge::Farge2: return farge2;
    case TCelleFormat::Farge::Graa: return 0x808080;
    case TCelleFormat::Farge::Rodbrun: return 0x800000;
    case TCelleFormat::Farge::Svart: break;
  }
  return 0x000000;
}

bool HoyreJustert(std::string_view t) { return !t.empty() && (t[0] == '-' || (t[0] >= '0' && t[0] <= '9')); }

std::vector<std::string> DelRad(std::string_view tekst) {
  std::vector<std::string> celler;
  std::size_t pos = 0;
  for (std::size_t s = tekst.find(';'); s != std::string_view::npos; s = tekst.find(';', pos)) {
    celler.emplace_back(tekst.substr(pos, s - pos));
    pos = s + 1;
  }
  return celler;
}

TTabell::TTabell() : hoved_(&egenHoved_), bunn_(&egenBunn_) {}

void TTabell::BrukModeller(TRutenett* hoved, TRutenett* bunn) {
  hoved_ = hoved ? hoved : &egenHoved_;
  bunn_ = bunn ? bunn : &egenBunn_;
}

int TTabell::Maal(const TMaal& m, std::string_view t) const { return m ? m(t) : static_cast<int>(t.size()) * 7; }

void TTabell::Oppsett(int antKol, int tittelStorrelse, int fasteKol, int fasteRader, int bunnRader,
                      const std::string& tittel, TFarge farge1, TFarge farge2) {
  Farge1 = farge1;
  Farge2 = farge2;
  bredesteBredde_.clear();
  NesteRad = 0;
  AntBunnRader = 0;
  Bredeste.clear();
  BunnVist = bunnRader > 0;
  if (BunnVist) {
    bunn_->SettStorrelse(antKol, bunnRader);
    bunn_->SettFaste(fasteKol, 0);
  }
  Bredeste.assign(static_cast<std::size_t>(std::max(antKol, 0)), " ");
  TittelStorrelse = tittelStorrelse;
  Tittel = tittel;
  Vindusnavn.clear();
  Minsteskrift = 5;
  hoved_->SettStorrelse(antKol, fasteRader + 1);
  hoved_->SettFaste(fasteKol, fasteRader);
  Skriftstorrelse = 10;
}

std::string TTabell::Vindustittel() const {
  if (!Vindusnavn.empty()) return Vindusnavn;
  const std::size_t blank = Tittel.find(' ');
  return blank == std::string::npos ? Tittel : Tittel.substr(0, blank + 1);
}

void TTabellMottaker::NyeRader(int antall, TRadtekst tekst) {
  std::string t;
  for (int i = 0; i < antall; ++i) {
    t.clear();
    tekst(i, t);
    NyRad(t);
  }
}

void TTabell::MaalCelle(std::size_t k, std::string_view celle) {
  if (bredesteBredde_.size() != Bredeste.size()) {
    bredesteBredde_.clear();
    for (const std::string& b : Bredeste) bredesteBredde_.push_back(Maal(MaalHoved, b));
  }
  // The shown text: without a format code 0 to 8 (TolkFormat).
  const bool kode = !celle.empty() && static_cast<unsigned char>(celle[0]) <= 8;
  if (Maal(MaalHoved, kode ? celle.substr(1) : celle) <= bredesteBredde_[k]) return;
  std::string& bredest = Bredeste[k];
  bredest = TrimText(celle);
  if (kode && celle[0] == 1) bredest = "M" + bredest;
  bredesteBredde_[k] = Maal(MaalHoved, bredest);
}

void TTabell::NyRad(std::string_view tekst) {
  std::vector<std::string> celler = DelRad(tekst);
  if (celler.size() > static_cast<std::size_t>(hoved_->Kolonner())) celler.resize(hoved_->Kolonner());
  if (hoved_->Rader() <= NesteRad) hoved_->SettRader(NesteRad + 1);
  for (std::size_t k = 0; k < celler.size(); ++k) {
    MaalCelle(k, celler[k]);
    hoved_->SettCelle(static_cast<int>(k), NesteRad, std::move(celler[k]));
  }
  ++NesteRad;
}

void TTabell::NyeRader(int antall, TRadtekst tekst) {
  if (antall <= 0) return;
  const auto antKol = static_cast<std::size_t>(hoved_->Kolonner());
  // The cells as NyRad cuts them: at each ';', no more than the columns.
  const auto kutt = [antKol](std::string_view t, const auto& celle) {
    std::size_t pos = 0, k = 0;
    for (std::size_t s = t.find(';'); s != std::string_view::npos && k < antKol; s = t.find(';', pos), ++k) {
      celle(k, t.substr(pos, s - pos));
      pos = s + 1;
    }
  };
  std::string t;
  for (int i = 0; i < antall; ++i) {
    t.clear();
    tekst(i, t);
    kutt(t, [this](std::size_t k, std::string_view celle) { MaalCelle(k, celle); });
  }
  auto kilde = std::make_shared<TRadkilde>();
  kilde->antall = antall;
  kilde->lag = [tekst = std::move(tekst), kutt, t = std::string()](int i, std::vector<std::string>& celler) mutable {
    t.clear();
    tekst(i, t);
    kutt(t, [&celler](std::size_t, std::string_view celle) { celler.emplace_back(celle); });
  };
  hoved_->SettKilde(NesteRad, std::move(kilde));
  NesteRad += antall;
}

void TTabell::NyBunnRad(std::string_view tekst) {
  const std::vector<std::string> celler = DelRad(tekst);
  if (bunn_->Rader() <= AntBunnRader) bunn_->SettRader(AntBunnRader + 1);
  for (std::size_t k = 0; k < celler.size() && k < Bredeste.size(); ++k) {
    const std::string& celle = celler[k];
    if (Maal(MaalBunn, TolkFormat(celle).tekst) > Maal(MaalBunn, Bredeste[k])) {
      Bredeste[k] = TrimText(celle);
      bredesteBredde_.clear();
    }
    bunn_->SettCelle(static_cast<int>(k), AntBunnRader, celle);
  }
  ++AntBunnRader;
}

std::string TTabell::SammenslattBredeste() const {
  std::string t;
  for (const std::string& b : Bredeste) t += b + "\n";
  for (std::size_t i = 0; i + 1 < t.size(); ++i)
    if (static_cast<unsigned char>(t[i]) < 14) t[i] = ' ';
  return t;
}

void TTabell::Skaler(int fonthoyde) {
  const int h = fonthoyde + 4;
  hoved_->SettStandardHoyde(h);
  bunn_->SettStandardHoyde(h);
  for (int k = 0; k < hoved_->Kolonner(); ++k)
    hoved_->SettKolbredde(k, Maal(MaalHoved, k < static_cast<int>(Bredeste.size()) ? Bredeste[k] : " ") + 6);
  for (int k = 0; k < bunn_->Kolonner(); ++k) bunn_->SettKolbredde(k, hoved_->Kolbredde(k));
}

int TTabell::TotalBredde() const {
  int sum = 0;
  for (int k = 0; k < hoved_->Kolonner(); ++k) sum += hoved_->Kolbredde(k);
  return sum;
}

TTabell::TMerknad TTabell::Arkmerknad(int radhoyde) const {
  const int total = TotalBredde();
  const int h = std::max(radhoyde, 1);
  if (total < 600) return {"Stående utskrift\r" + std::to_string(860 / h) + " Linjer på arket", false};
  const int deler = DelerIBredden(*this);
  if (deler <= 1) return {"Liggende utskrift\r" + std::to_string(590 / h) + " Linjer på arket", false};
  return {
      "Liggende utskrift, " + std::to_string(deler) + " ark i bredden\r" + std::to_string(590 / h) + " Linjer på arket",
      false};
}

void TTabell::Utvid(int kol, const std::string& tekst) {
  if (kol < 0 || kol >= static_cast<int>(Bredeste.size())) return;
  if (Maal(MaalBunn, tekst) > Maal(MaalBunn, Bredeste[static_cast<std::size_t>(kol)])) {
    Bredeste[static_cast<std::size_t>(kol)] = tekst;
    bredesteBredde_.clear();
  }
}

void TTabell::SlettMerkede() {
  const TOmraade& v = hoved_->Valg();
  int fra = v.topp, til = v.bunn;
  if (fra == til) fra = til = hoved_->GjeldendeRad();
  fra = std::max(fra, 1);
  if (fra > til || til >= hoved_->Rader()) return;
  hoved_->SlettRader(fra, til);
}

std::vector<int32_t> TTabell::MerkedeNumre() const {
  const TOmraade& v = hoved_->Valg();
  int fra = v.topp, til = v.bunn;
  if (fra == til) fra = til = hoved_->GjeldendeRad();
  return Numre(fra, til);
}

std::vector<int32_t> TTabell::AlleNumre() const { return Numre(0, hoved_->Rader() - 1); }

std::vector<int32_t> TTabell::Numre(int fra, int til) const {
  fra = std::max(fra, hoved_->FasteRader());
  til = std::min(til, hoved_->Rader() - 1);
  std::vector<int32_t> nummer;
  if (hoved_->Kolonner() == 0) return nummer;
  std::unordered_set<int32_t> sett;
  for (int r = fra; r <= til; ++r) {
    const std::string tekst = TrimText(TolkFormat(hoved_->Celle(0, r)).tekst);
    int32_t n = 0;
    const auto [slutt, feil] = std::from_chars(tekst.data(), tekst.data() + tekst.size(), n);
    if (tekst.empty() || feil != std::errc() || slutt != tekst.data() + tekst.size() || n <= 0) continue;
    if (sett.insert(n).second) nummer.push_back(n);
  }
  return nummer;
}

void TTabell::MerkAlt() {
  if (hoved_->Rader() <= hoved_->FasteRader() || hoved_->Kolonner() == 0) return;
  hoved_->SettValg(TOmraade{0, hoved_->FasteRader(), hoved_->Kolonner() - 1, hoved_->Rader() - 1});
}

QFont Tabellskrift(int punkt) {
  QFont f("Liberation Sans");
  f.setPointSize(punkt);
  return f;
}

TMaal Tabellmaal(int punkt) {
  // The advance of every Windows-1252 byte, summed per text: as fast as a
  // table of 100 000 rows needs, and what a grid cell shows.
  auto bredde = std::make_shared<std::array<int, 256>>();
  const QFontMetrics fm(Tabellskrift(punkt));
  for (int c = 0; c < 256; ++c)
    (*bredde)[static_cast<std::size_t>(c)] =
        fm.horizontalAdvance(QChar(Cp1252TilUnicode(static_cast<unsigned char>(c))));
  return [bredde](std::string_view t) {
    int sum = 0;
    for (unsigned char c : t) sum += (*bredde)[c];
    return sum;
  };
}

void TTabell::SettSkrift(int punkt) {
  Skriftstorrelse = punkt;
  bredesteBredde_.clear();
  MaalHoved = Tabellmaal(punkt);
  MaalBunn = MaalHoved;
}

void TTabell::Skaler() { Skaler(QFontMetrics(Tabellskrift(Skriftstorrelse)).height()); }

void TTabell::ForsteLayout() {
  SettSkrift(Skriftstorrelse);
  const std::string samlet = SammenslattBredeste();
  while (MaalHoved(samlet) >= 601 && Skriftstorrelse > std::max(Minsteskrift, 5)) SettSkrift(Skriftstorrelse - 1);
  Skaler();
}
