#include "rutenett.h"

#include <algorithm>

namespace {

const std::string Tom;
const std::vector<std::string> TomRad;

}  // namespace

TRutenett::TRutenett(int kolonner, int rader) { SettStorrelse(kolonner, rader); }

void TRutenett::Endret() const {
  if (VedEndring) VedEndring();
}

void TRutenett::SettStorrelse(int kolonner, int rader) {
  kolonner = std::max(kolonner, 0);
  rader = std::max(rader, 0);
  const auto k = static_cast<std::size_t>(kolonner);
  // New rows come with the new width; the existing ones change only when the
  // width does, so a table that grows a row at a time stays linear.
  if (kolonner != kolonner_) {
    for (auto& r : celler_) r.resize(k);
    for (auto& r : flagg_) r.resize(k, 0);
  }
  kolonner_ = kolonner;
  // Rows made in place (a table grows a row at a time).
  const auto n = static_cast<std::size_t>(rader);
  if (n < celler_.size()) celler_.resize(n);
  if (n < flagg_.size()) flagg_.resize(n);
  while (celler_.size() < n) celler_.emplace_back(k);
  while (flagg_.size() < n) flagg_.emplace_back(k, 0u);
  kolbredde_.resize(static_cast<std::size_t>(kolonner), standardBredde_);
  radhoyde_.resize(static_cast<std::size_t>(rader), standardHoyde_);
  Klem();
  Endret();
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
  return celler_[static_cast<std::size_t>(rad)][static_cast<std::size_t>(kol)];
}

const std::vector<std::string>& TRutenett::Rad(int rad) const {
  if (rad < 0 || rad >= Rader()) return TomRad;
  return celler_[static_cast<std::size_t>(rad)];
}

void TRutenett::SettCelle(int kol, int rad, std::string tekst) {
  if (kol < 0 || rad < 0 || kol >= kolonner_ || rad >= Rader()) return;
  celler_[static_cast<std::size_t>(rad)][static_cast<std::size_t>(kol)] = std::move(tekst);
  Endret();
}

uint32_t TRutenett::Flagg(int kol, int rad) const {
  if (kol < 0 || rad < 0 || kol >= kolonner_ || rad >= Rader()) return 0;
  return flagg_[static_cast<std::size_t>(rad)][static_cast<std::size_t>(kol)];
}

void TRutenett::SettFlagg(int kol, int rad, uint32_t flagg) {
  if (kol < 0 || rad < 0 || kol >= kolonner_ || rad >= Rader()) return;
  flagg_[static_cast<std::size_t>(rad)][static_cast<std::size_t>(kol)] = flagg;
  Endret();
}

void TRutenett::SlettRader(int fra, int til) {
  fra = std::max(fra, 0);
  til = std::min(til, Rader() - 1);
  if (fra > til) return;
  celler_.erase(celler_.begin() + fra, celler_.begin() + til + 1);
  flagg_.erase(flagg_.begin() + fra, flagg_.begin() + til + 1);
  radhoyde_.erase(radhoyde_.begin() + fra, radhoyde_.begin() + til + 1);
  Klem();
  Endret();
}

void TRutenett::SettInnRad(int rad) {
  rad = std::clamp(rad, 0, Rader());
  celler_.insert(celler_.begin() + rad, std::vector<std::string>(static_cast<std::size_t>(kolonner_)));
  flagg_.insert(flagg_.begin() + rad, std::vector<uint32_t>(static_cast<std::size_t>(kolonner_), 0));
  radhoyde_.insert(radhoyde_.begin() + rad, standardHoyde_);
  Klem();
  Endret();
}

void TRutenett::ByttRader(int a, int b) {
  if (a < 0 || b < 0 || a >= Rader() || b >= Rader() || a == b) return;
  std::swap(celler_[static_cast<std::size_t>(a)], celler_[static_cast<std::size_t>(b)]);
  std::swap(flagg_[static_cast<std::size_t>(a)], flagg_[static_cast<std::size_t>(b)]);
  std::swap(radhoyde_[static_cast<std::size_t>(a)], radhoyde_[static_cast<std::size_t>(b)]);
  Endret();
}

void TRutenett::OrdneRader(int fra, const std::vector<int>& rekkefolge) {
  const std::size_t n = rekkefolge.size();
  if (fra < 0 || static_cast<std::size_t>(fra) + n > celler_.size()) return;
  // Every row of the block exactly once, or the rows would be lost or doubled.
  std::vector<bool> brukt(n, false);
  for (int r : rekkefolge) {
    const long i = static_cast<long>(r) - fra;
    if (i < 0 || static_cast<std::size_t>(i) >= n || brukt[static_cast<std::size_t>(i)]) return;
    brukt[static_cast<std::size_t>(i)] = true;
  }
  std::vector<std::vector<std::string>> celler;
  std::vector<std::vector<uint32_t>> flagg;
  std::vector<int> hoyder;
  celler.reserve(n);
  flagg.reserve(n);
  hoyder.reserve(n);
  for (int r : rekkefolge) {
    celler.push_back(std::move(celler_[static_cast<std::size_t>(r)]));
    flagg.push_back(std::move(flagg_[static_cast<std::size_t>(r)]));
    hoyder.push_back(radhoyde_[static_cast<std::size_t>(r)]);
  }
  for (std::size_t i = 0; i < n; ++i) {
    celler_[static_cast<std::size_t>(fra) + i] = std::move(celler[i]);
    flagg_[static_cast<std::size_t>(fra) + i] = std::move(flagg[i]);
    radhoyde_[static_cast<std::size_t>(fra) + i] = hoyder[i];
  }
  Endret();
}

void TRutenett::SettStandardBredde(int b) {
  standardBredde_ = std::max(b, 0);
  std::fill(kolbredde_.begin(), kolbredde_.end(), standardBredde_);
  Endret();
}

void TRutenett::SettStandardHoyde(int h) {
  standardHoyde_ = std::max(h, 0);
  std::fill(radhoyde_.begin(), radhoyde_.end(), standardHoyde_);
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
  return radhoyde_[static_cast<std::size_t>(rad)];
}

void TRutenett::SettRadhoyde(int rad, int h) {
  if (rad < 0 || rad >= Rader()) return;
  radhoyde_[static_cast<std::size_t>(rad)] = std::max(h, 0);
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
  for (auto& r : celler_) Flytt(r, fra, til);
  for (auto& r : flagg_) Flytt(r, fra, til);
  Flytt(kolbredde_, fra, til);
  Endret();
}

void TRutenett::FlyttRad(int fra, int til) {
  if (fra < 0 || til < 0 || fra >= Rader() || til >= Rader() || fra == til) return;
  Flytt(celler_, fra, til);
  Flytt(flagg_, fra, til);
  Flytt(radhoyde_, fra, til);
  Endret();
}
