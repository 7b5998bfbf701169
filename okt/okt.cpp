#include "okt.h"

#include <QFileSystemWatcher>
#include <QSettings>
#include <QTimer>
#include <system_error>
#include <unordered_set>

#include "cp1252.h"
#include "endringer.h"
#include "inifil.h"
#include "lister.h"
#include "paringsforslag.h"
#include "register.h"
#include "slektskap.h"
#include "soyer.h"
#include "trase.h"
#include "utvalg.h"

namespace fs = std::filesystem;

std::filesystem::path Innstillingsfil(const std::filesystem::path& dataMappe) {
  return FinnFil(dataMappe, InnstillingsfilNavn);
}

// The ewes as read last, and the file's text then.
struct TOkt::TSoyer {
  bool lest = false;
  TSoyeLesing lesing;
};

struct TOkt::TListene {
  bool lest = false;
  TListeLesing lesing;
};

struct TOkt::TParinger {
  bool lest = false;
  TParingsLesing lesing;
};

TOkt::TOkt(fs::path dataMappe, QObject* parent)
    : QObject(parent),
      dataMappe_(std::move(dataMappe)),
      avl_(std::make_unique<TAvlsdata>()),
      soyer_(std::make_unique<TSoyer>()),
      lister_(std::make_unique<TListene>()),
      paringer_(std::make_unique<TParinger>()) {
  avl_->VedBeregning = [this](bool start) { emit beregner(start); };
}

TOkt::~TOkt() = default;

// ---- the register ----

TProdusent& TOkt::LastRegister() {
  register_ = std::make_unique<TProdusent>(dataMappe_);
  const auto lastet = [this] {
    avl_->Bruk(*register_);
    Merk(Verfil);
    erstattetMeldt_ = {};
    emit registerLastet();
  };
  try {
    register_->LoadRegister();
  } catch (const IoFeil&) {
    lastet();
    throw;
  }
  lastet();
  return *register_;
}

TProdusent& TOkt::AapentRegister() { return register_ ? *register_ : LastRegister(); }

void TOkt::SlippRegister() {
  register_.reset();
  avl_->Bruk(std::vector<TVerPost>());
}

std::size_t TOkt::AntallVerer() const { return register_ ? register_->RamNumbers().size() : 0; }

// ---- settings and reference tables ----

const Trase& TOkt::Raser() {
  if (!raser_) raser_ = std::make_unique<Trase>();
  return *raser_;
}

QSettings& TOkt::Innstillinger() {
  if (!ini_) {
    ini_ =
        std::make_unique<QSettings>(QString::fromStdString(Innstillingsfil(dataMappe_).string()), InnstillingsFormat());
    Merk(Inifil);
  }
  return *ini_;
}

bool TOkt::Fullt() { return Innstillinger().value("Hoved/Fullt", 0).toInt() == 1; }

double TOkt::Grense() { return LesGrense(Innstillinger()); }

// ---- the ewes ----

void TOkt::LesSoyer() {
  const fs::path fil = SoyeFil(dataMappe_);
  soyer_->lesing = ::LesSoyer(fil);
  soyer_->lest = true;
  Merk(Soyefil);
}

const std::vector<TSoye>& TOkt::Soyer() {
  if (!soyer_->lest) {
    try {
      LesSoyer();
    } catch (const IoFeil& e) {
      soyer_->lest = true;
      soyer_->lesing = {};
      soyer_->lesing.meldinger.push_back(Utf8TilCp1252(e.what()));
    }
  }
  return soyer_->lesing.soyer;
}

const std::vector<std::string>& TOkt::SoyeMeldinger() {
  Soyer();
  return soyer_->lesing.meldinger;
}

TSoyelagring TOkt::LagreSoyer(const std::vector<TSoye>& grunnlag, const std::vector<TSoye>& nye,
                              const TVelgKonflikt& velg) {
  const fs::path fil = SoyeFil(dataMappe_);
  TSoyelagring r;
  std::vector<TSoye> skrives = nye;
  const TSoyeLesing naa = ::LesSoyer(fil);
  if (naa.soyer != grunnlag) {
    // Saved elsewhere since the window read the file: their changes stay.
    TTreveis f = FlettTreveis(grunnlag, nye, naa.soyer, true);
    r.fraAndre = f.fraDeres;
    r.konflikter = static_cast<int>(f.konflikter.size());
    if (!f.konflikter.empty() && velg) {
      const int svar = velg(f.konflikter);
      if (svar < 0) return r;
      if (svar == 0) {
        f = FlettTreveis(grunnlag, nye, naa.soyer, false);
        r.mineVant = false;
      }
    }
    skrives = std::move(f.soyer);
  }
  SkrivSoyer(fil, skrives);
  r.lagret = true;
  soyer_->lesing = {std::move(skrives), {}};
  soyer_->lest = true;
  Merk(Soyefil);
  emit soyerEndret();
  return r;
}

// ---- the lists ----

void TOkt::LesLister() {
  lister_->lesing = ::LesLister(ListeFil(dataMappe_));
  lister_->lest = true;
  Merk(Listefil);
}

const TLister& TOkt::Lister() {
  if (!lister_->lest) {
    try {
      LesLister();
    } catch (const IoFeil& e) {
      lister_->lest = true;
      lister_->lesing = {};
      lister_->lesing.meldinger.push_back(Utf8TilCp1252(e.what()));
    }
  }
  return lister_->lesing.lister;
}

const std::vector<std::string>& TOkt::ListeMeldinger() {
  Lister();
  return lister_->lesing.meldinger;
}

TListeLesing TOkt::EndreLister(const std::function<bool(TLister&)>& endre) {
  bool endret = false;
  TListeLesing les = ::EndreLister(dataMappe_, [&](TLister& l) { return endret = endre(l); });
  const bool annet = !lister_->lest || !(les.lister == lister_->lesing.lister);
  lister_->lesing = les;
  lister_->lest = true;
  Merk(Listefil);
  if (endret || annet) emit listerEndret();
  return les;
}

// ---- the mating suggestion ----

void TOkt::LesParinger() {
  paringer_->lesing = ::LesParinger(ParingsFil(dataMappe_));
  paringer_->lest = true;
  Merk(Parfil);
}

const TLagretForslag& TOkt::Paringer() {
  if (!paringer_->lest) {
    try {
      LesParinger();
    } catch (const IoFeil& e) {
      paringer_->lest = true;
      paringer_->lesing = {};
      paringer_->lesing.meldinger.push_back(Utf8TilCp1252(e.what()));
    }
  }
  return paringer_->lesing.forslag;
}

const std::vector<std::string>& TOkt::ParingsMeldinger() {
  Paringer();
  return paringer_->lesing.meldinger;
}

bool TOkt::LagreParinger(const TLagretForslag& forslag, bool overskriv) {
  const fs::path fil = ParingsFil(dataMappe_);
  if (!overskriv) {
    const TLagretForslag grunnlag = Paringer();
    if (!(::LesParinger(fil).forslag == grunnlag)) return false;
  }
  SkrivParinger(fil, forslag);
  paringer_->lesing = {forslag, {}};
  paringer_->lest = true;
  Merk(Parfil);
  emit paringerEndret();
  return true;
}

// ---- relationship ----

TAvlsdata& TOkt::Avlsdata() { return *avl_; }

void TOkt::PostEndret() {
  avl_->Glem();
  emit postEndret();
}

std::function<std::string(int32_t)> TOkt::InnavlCelle() {
  const std::vector<TSoye>& soyer = Soyer();
  if (soyer.empty()) return {};
  const auto snitt = std::make_shared<TInnavlSnitt>(avl_->Innavl(), soyer);
  return [snitt](int32_t nummer) { return snitt->Celle(nummer); };
}

std::string TOkt::NySloyfeMelding() { return avl_->NySloyfeMelding(); }

// ---- the catalogue ----

std::vector<int32_t> TOkt::KatalogNumre() const {
  std::vector<int32_t> nummer;
  if (!register_) return nummer;
  const std::span<const TVerPost> poster = register_->Poster();
  std::unordered_set<int32_t> sett;
  for (int32_t i : katalogutvalg_) {
    if (i < 0 || static_cast<std::size_t>(i) >= poster.size()) continue;
    const int32_t n = poster[static_cast<std::size_t>(i)].Nummer;
    if (n != 0 && sett.insert(n).second) nummer.push_back(n);
  }
  return nummer;
}

void TOkt::SettKatalogutvalg(std::vector<int32_t> poster) {
  katalogutvalg_ = std::move(poster);
  emit katalogutvalgEndret();
}

// ---- watching the files ----

fs::path TOkt::Sti(Fil f) const {
  switch (f) {
    case Soyefil: return SoyeFil(dataMappe_);
    case Listefil: return ListeFil(dataMappe_);
    case Parfil: return ParingsFil(dataMappe_);
    case Inifil: return Innstillingsfil(dataMappe_);
    case Endringsfil: return EndringsFil(dataMappe_);
    case Egenfil: return fs::absolute(FinnFil(fs::path(), EgenListeFilNavn));
    case Verfil: return FinnFil(dataMappe_, VerFilNavn);
    case AntallFiler: break;
  }
  return {};
}

void TOkt::Merk(Fil f) { merker_[f] = Filmerke(Sti(f)); }

void TOkt::Folg() {
  if (vakt_) return;
  for (int f = 0; f < AntallFiler; ++f) Merk(static_cast<Fil>(f));
  vakt_ = new QFileSystemWatcher(this);
  ventetid_ = new QTimer(this);
  ventetid_->setSingleShot(true);
  ventetid_->setInterval(150);
  connect(ventetid_, &QTimer::timeout, this, &TOkt::SjekkFiler);
  const auto vent = [this] { ventetid_->start(); };
  connect(vakt_, &QFileSystemWatcher::directoryChanged, this, vent);
  connect(vakt_, &QFileSystemWatcher::fileChanged, this, vent);
  // The folders: a file renamed into place (every safe write) shows there.
  vakt_->addPath(QString::fromStdString(dataMappe_.string()));
  const fs::path arbeid = fs::absolute(fs::path("."));
  if (arbeid.lexically_normal() != fs::absolute(dataMappe_).lexically_normal())
    vakt_->addPath(QString::fromStdString(arbeid.string()));
  SjekkFiler();
}

void TOkt::SjekkFiler() {
  for (int i = 0; i < AntallFiler; ++i) {
    const Fil f = static_cast<Fil>(i);
    const fs::path sti = Sti(f);
    // A file written in place shows only on the file itself.
    if (vakt_ && fs::exists(sti)) vakt_->addPath(QString::fromStdString(sti.string()));
    const TFilmerke m = Filmerke(sti);
    if (m == merker_[f]) continue;
    merker_[f] = m;
    switch (f) {
      case Soyefil:
        if (soyer_->lest) {
          const std::vector<TSoye> for_ = soyer_->lesing.soyer;
          try {
            LesSoyer();
          } catch (const IoFeil&) {
            break;  // half-written or unreadable now: the next change tells
          }
          if (soyer_->lesing.soyer != for_) emit soyerEndret();
        }
        break;
      case Listefil:
        if (lister_->lest) {
          const TLister for_ = lister_->lesing.lister;
          try {
            LesLister();
          } catch (const IoFeil&) {
            break;
          }
          if (!(lister_->lesing.lister == for_)) emit listerEndret();
        }
        break;
      case Parfil:
        if (paringer_->lest) {
          const TLagretForslag for_ = paringer_->lesing.forslag;
          try {
            LesParinger();
          } catch (const IoFeil&) {
            break;
          }
          if (!(paringer_->lesing.forslag == for_)) emit paringerEndret();
        }
        break;
      case Inifil:
        if (ini_) {
          ini_->sync();
          emit innstillingerEndret();
        }
        break;
      case Endringsfil: emit endringerEndret(); break;
      case Egenfil: emit egenlisteEndret(); break;
      case Verfil:
        if (register_ && !importerer_ && m.finnes && !register_->FilaErLastet() && !(m.SammeFil(erstattetMeldt_))) {
          erstattetMeldt_ = m;
          emit registerErstattet();
        }
        break;
      case AntallFiler: break;
    }
  }
}
