#include "rutenett.h"

#include <algorithm>

namespace {

const std::string Tom;
const std::vector<std::string> TomRad;

}  // namespace

TRutenett::TRutenett(int kolonner, int rader) { SettStorrelse(kolonner, rader); }

TRutenett::TRutenett(const TRutenett& annen)
    : VedEndring(annen.VedEndring),
      kolonner_(annen.kolonner_),
      fasteKol_(annen.fasteKol_),
      fasteRader_(annen.fasteRader_),
      rader_(Kopi(annen.rader_)),
      kilde_(annen.kilde_),
      kildeKol_(annen.kildeKol_),
      tomRad_(annen.tomRad_),
      standardBredde_(annen.standardBredde_),
      standardHoyde_(annen.standardHoyde_),
      kolbredde_(annen.kolbredde_),
      valg_(annen.valg_),
      gjeldendeKol_(annen.gjeldendeKol_),
      gjeldendeRad_(annen.gjeldendeRad_) {}

TRutenett& TRutenett::operator=(const TRutenett& annen) {
  if (this != &annen) *this = TRutenett(annen);
  return *this;
}

TRutenett::TRutenett(TRutenett&&) noexcept = default;
TRutenett& TRutenett::operator=(TRutenett&&) noexcept = default;
TRutenett::~TRutenett() = default;

std::vector<TRutenett::TRad> TRutenett::Kopi(const std::vector<TRad>& rader) {
  std::vector<TRad> kopi(rader.size());
  for (std::size_t i = 0; i < rader.size(); ++i) {
    kopi[i].kilde = rader[i].kilde;
    kopi[i].hoyde = rader[i].hoyde;
    if (rader[i].lagret) kopi[i].lagret = std::make_unique<TLagret>(*rader[i].lagret);
  }
  return kopi;
}

void TRutenett::Endret() const {
  if (VedEndring) VedEndring();
}

void TRutenett::GlemLaget() {
  for (TLaget& l : laget_) l.kilde = -1;
}

const std::vector<std::string>& TRutenett::Laget(int32_t kilde) const {
  for (const TLaget& l : laget_)
    if (l.kilde == kilde) return l.celler;
  TLaget& l = laget_[nesteLaget_];
  nesteLaget_ = (nesteLaget_ + 1) % laget_.size();
  raa_.clear();
  kilde_->lag(kilde, raa_);
  l.celler.resize(static_cast<std::size_t>(kolonner_));
  for (std::size_t k = 0; k < l.celler.size(); ++k) {
    const int fra = kildeKol_[k];
    if (fra >= 0 && static_cast<std::size_t>(fra) < raa_.size())
      l.celler[k] = std::move(raa_[static_cast<std::size_t>(fra)]);
    else
      l.celler[k].clear();
  }
  l.kilde = kilde;
  return l.celler;
}

TRutenett::TLagret& TRutenett::Lagret(TRad& r) {
  if (!r.lagret) r.lagret = std::make_unique<TLagret>();
  return *r.lagret;
}

void TRutenett::Egne(TRad& r) {
  TLagret& l = Lagret(r);
  if (r.kilde >= 0) {
    l.celler = Laget(r.kilde);
    r.kilde = -1;
  } else if (l.celler.empty()) {
    l.celler.resize(static_cast<std::size_t>(kolonner_));
  }
}

void TRutenett::SettStorrelse(int kolonner, int rader) {
  kolonner = std::max(kolonner, 0);
  rader = std::max(rader, 0);
  const auto k = static_cast<std::size_t>(kolonner);
  // Rows' own cells and flags change only when the width does, so a table
  // that grows a row at a time stays linear; new rows hold nothing yet.
  if (kolonner != kolonner_) {
    for (TRad& r : rader_) {
      if (!r.lagret) continue;
      if (!r.lagret->celler.empty()) r.lagret->celler.resize(k);
      if (!r.lagret->flagg.empty()) r.lagret->flagg.resize(k, 0);
    }
    if (kilde_) kildeKol_.resize(k, -1);
    tomRad_.assign(k, std::string());
    GlemLaget();
  }
  kolonner_ = kolonner;
  const auto n = static_cast<std::size_t>(rader);
  if (n < rader_.size()) rader_.resize(n);
  while (rader_.size() < n) rader_.push_back(TRad{-1, standardHoyde_, nullptr});
  kolbredde_.resize(k, standardBredde_);
  Klem();
  Endret();
}

void TRutenett::SettKilde(int fra, std::shared_ptr<const TRadkilde> kilde) {
  fra = std::max(fra, 0);
  if (kilde_)
    for (TRad& r : rader_)
      if (r.kilde >= 0) Egne(r);
  kilde_ = std::move(kilde);
  GlemLaget();
  kildeKol_.resize(static_cast<std::size_t>(kolonner_));
  for (int k = 0; k < kolonner_; ++k) kildeKol_[static_cast<std::size_t>(k)] = k;
  const int antall = kilde_ ? std::max(kilde_->antall, 0) : 0;
  const auto slutt = static_cast<std::size_t>(fra) + static_cast<std::size_t>(antall);
  while (rader_.size() < slutt) rader_.push_back(TRad{-1, standardHoyde_, nullptr});
  for (std::size_t i = static_cast<std::size_t>(fra); i < slutt; ++i) {
    rader_[i].kilde = static_cast<int32_t>(i - static_cast<std::size_t>(fra));
    rader_[i].lagret.reset();
  }
  Klem();
  Endret();
}

int TRutenett::Kilderad(int rad) const {
  if (rad < 0 || rad >= Rader()) return -1;
  return rader_[static_cast<std::size_t>(rad)].kilde;
}

void TRutenett::KildeEndret() {
  GlemLaget();
  Endret();
}

int TRutenett::LagredeRader() const {
  int n = 0;
  for (const TRad& r : rader_) n += r.kilde < 0 && r.lagret && !r.lagret->celler.empty();
  return n;
}

void TRutenett::SettFaste(int kolonner, int rader) {
  fasteKol_ = std::max(kolonner, 0);
  fasteRader_ = std::max(rader, 0);
  Klem();
  Endret();
}

// Keeps the selection and the current cell inside the grid, and the current
// cell out of the fixed part when there is anything else.
void TRutenett::Klem() {
  const int maksKol = std::max(kolonner_ - 1, 0);
  const int maksRad = std::max(Rader() - 1, 0);
  const int minKol = fasteKol_ < kolonner_ ? fasteKol_ : 0;
  const int minRad = fasteRader_ < Rader() ? fasteRader_ : 0;
  const bool bareGjeldende = valg_ == TOmraade{gjeldendeKol_, gjeldendeRad_, gjeldendeKol_, gjeldendeRad_};
  gjeldendeKol_ = std::clamp(gjeldendeKol_, minKol, maksKol);
  gjeldendeRad_ = std::clamp(gjeldendeRad_, minRad, maksRad);
  if (bareGjeldende) {
    valg_ = TOmraade{gjeldendeKol_, gjeldendeRad_, gjeldendeKol_, gjeldendeRad_};
    return;
  }
  valg_.venstre = std::clamp(valg_.venstre, 0, maksKol);
  valg_.hoyre = std::clamp(valg_.hoyre, valg_.venstre, maksKol);
  valg_.topp = std::clamp(valg_.topp, 0, maksRad);
  valg_.bunn = std::clamp(valg_.bunn, valg_.topp, maksRad);
}

const std::string& TRutenett::Celle(int kol, int rad) const {
  if (kol < 0 || rad < 0 || kol >= kolonner_ || rad >= Rader()) return Tom;
  const TRad& r = rader_[static_cast<std::size_t>(rad)];
  if (r.kilde >= 0) return Laget(r.kilde)[static_cast<std::size_t>(kol)];
  if (!r.lagret || r.lagret->celler.empty()) return Tom;
  return r.lagret->celler[static_cast<std::size_t>(kol)];
}

const std::vector<std::string>& TRutenett::Rad(int rad) const {
  if (rad < 0 || rad >= Rader()) return TomRad;
  const TRad& r = rader_[static_cast<std::size_t>(rad)];
  if (r.kilde >= 0) return Laget(r.kilde);
  if (!r.lagret || r.lagret->celler.empty()) return tomRad_;
  return r.lagret->celler;
}

void TRutenett::SettCelle(int kol, int rad, std::string tekst) {
  if (kol < 0 || rad < 0 || kol >= kolonner_ || rad >= Rader()) return;
  TRad& r = rader_[static_cast<std::size_t>(rad)];
  Egne(r);
  r.lagret->celler[static_cast<std::size_t>(kol)] = std::move(tekst);
  Endret();
}

uint32_t TRutenett::Flagg(int kol, int rad) const {
  if (kol < 0 || rad < 0 || kol >= kolonner_ || rad >= Rader()) return 0;
  const TRad& r = rader_[static_cast<std::size_t>(rad)];
  if (!r.lagret || r.lagret->flagg.empty()) return 0;
  return r.lagret->flagg[static_cast<std::size_t>(kol)];
}

void TRutenett::SettFlagg(int kol, int rad, uint32_t flagg) {
  if (kol < 0 || rad < 0 || kol >= kolonner_ || rad >= Rader()) return;
  TLagret& l = Lagret(rader_[static_cast<std::size_t>(rad)]);
  if (l.flagg.empty()) l.flagg.assign(static_cast<std::size_t>(kolonner_), 0);
  l.flagg[static_cast<std::size_t>(kol)] = flagg;
  Endret();
}

void TRutenett::SlettRader(int fra, int til) {
  fra = std::max(fra, 0);
  til = std::min(til, Rader() - 1);
  if (fra > til) return;
  rader_.erase(rader_.begin() + fra, rader_.begin() + til + 1);
  Klem();
  Endret();
}

void TRutenett::SettInnRad(int rad) {
  rad = std::clamp(rad, 0, Rader());
  rader_.insert(rader_.begin() + rad, TRad{-1, standardHoyde_, nullptr});
  Klem();
  Endret();
}

void TRutenett::ByttRader(int a, int b) {
  if (a < 0 || b < 0 || a >= Rader() || b >= Rader() || a == b) return;
  std::swap(rader_[static_cast<std::size_t>(a)], rader_[static_cast<std::size_t>(b)]);
  Endret();
}

void TRutenett::OrdneRader(int fra, const std::vector<int>& rekkefolge) {
  const std::size_t n = rekkefolge.size();
  if (fra < 0 || static_cast<std::size_t>(fra) + n > rader_.size()) return;
  // Every row of the block exactly once, or the rows would be lost or doubled.
  std::vector<bool> brukt(n, false);
  for (int r : rekkefolge) {
    const long i = static_cast<long>(r) - fra;
    if (i < 0 || static_cast<std::size_t>(i) >= n || brukt[static_cast<std::size_t>(i)]) return;
    brukt[static_cast<std::size_t>(i)] = true;
  }
  std::vector<TRad> rader;
  rader.reserve(n);
  for (int r : rekkefolge) rader.push_back(std::move(rader_[static_cast<std::size_t>(r)]));
  std::move(rader.begin(), rader.end(), rader_.begin() + fra);
  Endret();
}

void TRutenett::SettStandardBredde(int b) {
  standardBredde_ = std::max(b, 0);
  std::fill(kolbredde_.begin(), kolbredde_.end(), standardBredde_);
  Endret();
}

void TRutenett::SettStandardHoyde(int h) {
  standardHoyde_ = std::max(h, 0);
  for (TRad& r : rader_) r.hoyde = standardHoyde_;
  Endret();
}

int TRutenett::Kolbredde(int kol) const {
  if (kol < 0 || kol >= kolonner_) return standardBredde_;
  return kolbredde_[static_cast<std::size_t>(kol)];
}

void TRutenett::SettKolbredde(int kol, int b) {
  if (kol < 0 || kol >= kolonner_) return;
  kolbredde_[static_cast<std::size_t>(kol)] = std::max(b, 0);
  Endret();
}

int TRutenett::Radhoyde(int rad) const {
  if (rad < 0 || rad >= Rader()) return standardHoyde_;
  return rader_[static_cast<std::size_t>(rad)].hoyde;
}

void TRutenett::SettRadhoyde(int rad, int h) {
  if (rad < 0 || rad >= Rader()) return;
  rader_[static_cast<std::size_t>(rad)].hoyde = std::max(h, 0);
  Endret();
}

void TRutenett::SettValg(TOmraade valg) {
  if (valg.venstre > valg.hoyre) std::swap(valg.venstre, valg.hoyre);
  if (valg.topp > valg.bunn) std::swap(valg.topp, valg.bunn);
  valg_ = valg;
  Klem();
  Endret();
}

void TRutenett::SettGjeldende(int kol, int rad) {
  gjeldendeKol_ = kol;
  gjeldendeRad_ = rad;
  valg_ = TOmraade{kol, rad, kol, rad};
  Klem();  // moves the one-cell selection along with the current cell
  Endret();
}

namespace {

template <typename T>
void Flytt(std::vector<T>& v, int fra, int til) {
  if (fra < til)
    std::rotate(v.begin() + fra, v.begin() + fra + 1, v.begin() + til + 1);
  else
    std::rotate(v.begin() + til, v.begin() + fra, v.begin() + fra + 1);
}

}  // namespace

void TRutenett::FlyttKolonne(int fra, int til) {
  if (fra < 0 || til < 0 || fra >= kolonner_ || til >= kolonner_ || fra == til) return;
  for (TRad& r : rader_) {
    if (!r.lagret) continue;
    if (!r.lagret->celler.empty()) Flytt(r.lagret->celler, fra, til);
    if (!r.lagret->flagg.empty()) Flytt(r.lagret->flagg, fra, til);
  }
  if (kilde_) {
    Flytt(kildeKol_, fra, til);
    GlemLaget();
  }
  Flytt(kolbredde_, fra, til);
  Endret();
}

void TRutenett::FlyttRad(int fra, int til) {
  if (fra < 0 || til < 0 || fra >= Rader() || til >= Rader() || fra == til) return;
  Flytt(rader_, fra, til);
  Endret();
}
