#include "register.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "filer.h"
#include "tekst.h"

namespace fs = std::filesystem;

// ---- TRamNames ----

void TRamNames::Clear() {
  blokk_.clear();
  start_.assign(1, 0);
  nummer_.clear();
  post_.clear();
}

void TRamNames::Reserve(std::size_t antall, std::size_t bytes) {
  blokk_.reserve(bytes);
  start_.reserve(antall + 1);
  nummer_.reserve(antall);
  post_.reserve(antall);
}

void TRamNames::Add(std::string_view navn, int32_t nummer, int32_t post) {
  if (start_.empty()) start_.push_back(0);
  blokk_.append(navn);
  start_.push_back(static_cast<uint32_t>(blokk_.size()));
  nummer_.push_back(nummer);
  post_.push_back(post);
}

void TRamNames::Replace(int32_t post, std::string_view navn, int32_t nummer) {
  if (start_.empty()) start_.push_back(0);
  const std::string stor = UpperText(navn);
  const bool med = stor.size() >= 3;
  const std::size_t i = static_cast<std::size_t>(std::lower_bound(post_.begin(), post_.end(), post) - post_.begin());
  const bool finnes = i < post_.size() && post_[i] == post;
  if (!finnes && !med) return;
  if (finnes && med && Name(i) == stor && nummer_[i] == nummer) return;
  // The entries after i move by the change in length.
  const auto flytt = [this](std::size_t fra, int64_t endring) {
    for (std::size_t j = fra; j < start_.size(); ++j) start_[j] = static_cast<uint32_t>(start_[j] + endring);
  };
  if (finnes) {
    const std::size_t gammel = start_[i + 1] - start_[i];
    if (med) {
      blokk_.replace(start_[i], gammel, stor);
      flytt(i + 1, static_cast<int64_t>(stor.size()) - static_cast<int64_t>(gammel));
      nummer_[i] = nummer;
    } else {
      blokk_.erase(start_[i], gammel);
      start_.erase(start_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      flytt(i + 1, -static_cast<int64_t>(gammel));
      nummer_.erase(nummer_.begin() + static_cast<std::ptrdiff_t>(i));
      post_.erase(post_.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return;
  }
  blokk_.insert(start_[i], stor);
  start_.insert(start_.begin() + static_cast<std::ptrdiff_t>(i) + 1, start_[i]);
  flytt(i + 1, static_cast<int64_t>(stor.size()));
  nummer_.insert(nummer_.begin() + static_cast<std::ptrdiff_t>(i), nummer);
  post_.insert(post_.begin() + static_cast<std::ptrdiff_t>(i), post);
}

std::string_view TRamNames::Name(std::size_t i) const {
  return std::string_view(blokk_).substr(start_[i], start_[i + 1] - start_[i]);
}

std::size_t TRamNames::Finn(std::string_view del, std::size_t fraEntry) const {
  const std::size_t n = Count();
  if (fraEntry >= n) return n;
  std::size_t pos = start_[fraEntry];
  const std::size_t slutt = blokk_.size();
  while (pos + del.size() <= slutt) {
    const void* treff = memmem(blokk_.data() + pos, slutt - pos, del.data(), del.size());
    if (treff == nullptr) return n;
    const std::size_t p = static_cast<const char*>(treff) - blokk_.data();
    // The entry the hit starts in; a hit that runs into the next name does not count.
    const auto it = std::upper_bound(start_.begin(), start_.end(), static_cast<uint32_t>(p));
    const std::size_t entry = static_cast<std::size_t>(it - start_.begin()) - 1;
    if (p + del.size() <= start_[entry + 1]) return entry;
    pos = p + 1;
  }
  return n;
}

// ---- TNummerIndeks ----

namespace {

inline uint32_t Spre(int32_t nummer) { return static_cast<uint32_t>(nummer) * 0x9E3779B1u; }

}  // namespace

void TNummerIndeks::Clear() {
  plass_.clear();
  maske_ = 0;
  skift_ = 32;
}

void TNummerIndeks::Bygg(const std::vector<int32_t>& nummer) {
  Clear();
  if (nummer.empty()) return;
  int bits = 4;
  while ((std::size_t{1} << bits) < nummer.size() * 2) ++bits;
  plass_.assign(std::size_t{1} << bits, Plass{0, -1});
  maske_ = static_cast<uint32_t>(plass_.size() - 1);
  skift_ = 32 - bits;
  for (std::size_t i = 0; i < nummer.size(); ++i) {
    const int32_t n = nummer[i];
    if (n == 0) continue;
    uint32_t h = Spre(n) >> skift_;
    while (plass_[h].nummer != 0 && plass_[h].nummer != n) h = (h + 1) & maske_;
    plass_[h] = Plass{n, static_cast<int32_t>(i)};  // a later record wins
  }
}

int32_t TNummerIndeks::Finn(int32_t nummer) const {
  if (plass_.empty() || nummer == 0) return -1;
  uint32_t h = Spre(nummer) >> skift_;
  while (plass_[h].nummer != 0) {
    if (plass_[h].nummer == nummer) return plass_[h].indeks;
    h = (h + 1) & maske_;
  }
  return -1;
}

// ---- data folder ----

namespace {

// The folder of an installed program rather than a portable one: a folder of
// the system's own file hierarchy (/usr/…, /opt/…), which root may write but
// which never holds anyone's register, or the bin folder of an installation
// prefix (~/.local/bin after `cmake --install --prefix ~/.local`).
bool Installasjonsmappe(const fs::path& mappe) {
  std::error_code ec;
  fs::path sti = fs::weakly_canonical(mappe, ec);
  if (ec || sti.empty()) sti = mappe.lexically_normal();
  if (sti.has_filename() ? sti.filename() == "bin" : sti.parent_path().filename() == "bin") return true;
  if (!sti.is_absolute()) return false;
  auto del = sti.begin();
  if (++del == sti.end() || del->empty()) return true;  // the root folder itself
  static const char* const system[] = {"usr",    "bin", "sbin", "lib",  "lib32", "lib64",
                                       "libx32", "opt", "etc",  "boot", "snap"};
  return std::find(std::begin(system), std::end(system), del->string()) != std::end(system);
}

}  // namespace

fs::path ResolveDataFolder(std::string_view programMappe) {
  std::string mappe(programMappe);
  while (mappe.size() > 1 && mappe.back() == '/') mappe.pop_back();
  if (!mappe.empty() && ::access(mappe.c_str(), W_OK) == 0 && !Installasjonsmappe(mappe)) return fs::path(mappe);
  fs::path bruker = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
  if (bruker.empty()) bruker = fs::path(std::getenv("HOME") ? std::getenv("HOME") : ".") / ".local/share";
  bruker /= "Hornstad";
  std::error_code ec;
  fs::create_directories(bruker, ec);
  return bruker;
}

// ---- TPostKart ----

TPostKart::~TPostKart() {
  if (kart_ != nullptr) ::munmap(kart_, lengde_);
}

std::shared_ptr<const TPostKart> TPostKart::Kartlegg(int fd, std::size_t antall) {
  std::shared_ptr<TPostKart> k(new TPostKart);
  if (antall == 0) return k;
  k->lengde_ = antall * VerPostStorrelse;
  // Read ahead: the load goes through every record once.
  void* kart = ::mmap(nullptr, k->lengde_, PROT_READ, MAP_SHARED | MAP_POPULATE, fd, 0);
  if (kart == MAP_FAILED) return nullptr;
  k->kart_ = kart;
  k->poster_ = static_cast<const TVerPost*>(kart);
  k->antall_ = antall;
  return k;
}

// ---- TProdusent ----

TProdusent::TProdusent(fs::path dataMappe) : dataMappe_(std::move(dataMappe)) {}

TProdusent::~TProdusent() { Lukk(); }

void TProdusent::Lukk() {
  kart_.reset();
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (prodFd_ >= 0) ::close(prodFd_);
  prodFd_ = -1;
  prodAntall_ = 0;
  skrivbar_ = false;
  antall_ = 0;
  rest_ = 0;
}

void TProdusent::LoadRegister() {
  Lukk();
  ramNames_.Clear();
  navnLaget_ = false;
  ramNumbers_.clear();
  indeks_.Clear();
  CurrentRamIndex = -1;

  fil_ = FinnFil(dataMappe_, VerFilNavn);
  std::error_code ec;
  if (!fs::exists(fil_, ec)) return;

  const auto feil = [this](const std::string& hva, int kode) {
    Lukk();
    ramNames_.Clear();
    navnLaget_ = false;
    ramNumbers_.clear();
    indeks_.Clear();
    throw IoFeil(hva + " " + fil_.string() + ": " + SystemFeil(kode));
  };

  fd_ = ::open(fil_.c_str(), O_RDWR | O_CLOEXEC);
  skrivbar_ = fd_ >= 0;
  // A file without write permission can still be looked up in.
  if (fd_ < 0 && (errno == EACCES || errno == EROFS)) fd_ = ::open(fil_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) feil("Kan ikke åpne værregisteret", errno);
  struct stat st {};
  if (::fstat(fd_, &st) != 0) feil("Kan ikke lese værregisteret", errno);
  if (!S_ISREG(st.st_mode)) feil("Kan ikke lese værregisteret", EISDIR);
  enhet_ = static_cast<unsigned long long>(st.st_dev);
  inode_ = static_cast<unsigned long long>(st.st_ino);
  const auto poster = static_cast<std::size_t>(st.st_size) / VerPostStorrelse;
  if (poster > static_cast<std::size_t>(INT32_MAX)) feil("For stort værregister", EFBIG);
  kart_ = TPostKart::Kartlegg(fd_, poster);
  if (!kart_) feil("Kan ikke lese værregisteret", errno);

  ramNumbers_.resize(poster);
  const std::span<const TVerPost> alle = kart_->Poster();
  for (std::size_t i = 0; i < poster; ++i) ramNumbers_[i] = alle[i].Nummer;
  antall_ = static_cast<int32_t>(poster);
  rest_ = static_cast<int32_t>(static_cast<std::size_t>(st.st_size) % VerPostStorrelse);
  indeks_.Bygg(ramNumbers_);
}

const TRamNames& TProdusent::RamNames() const {
  if (navnLaget_) return ramNames_;
  navnLaget_ = true;
  ramNames_.Clear();
  if (!kart_) return ramNames_;
  const std::span<const TVerPost> alle = kart_->Poster();
  ramNames_.Reserve(alle.size(), alle.size() * 12);
  for (std::size_t i = 0; i < alle.size(); ++i) {
    const TVerPost& p = alle[i];
    const std::size_t lengde = std::min<std::size_t>(p.Navn.lengde, sizeof p.Navn.tegn);
    if (lengde >= 3) {
      char navn[sizeof p.Navn.tegn];
      for (std::size_t k = 0; k < lengde; ++k)
        navn[k] = static_cast<char>(UpChar(static_cast<unsigned char>(p.Navn.tegn[k])));
      ramNames_.Add(std::string_view(navn, lengde), p.Nummer, static_cast<int32_t>(i));
    }
  }
  return ramNames_;
}

std::string TProdusent::Advarsel() const {
  if (rest_ == 0) return {};
  return "Værregisteret " + fil_.string() + " slutter med " + std::to_string(rest_) +
         " byte som ikke utgjør en hel værpost; de er hoppet over. De " + std::to_string(antall_) +
         " hele værene er lest inn, og fila er ikke endret. Legg inn værer fra internett på nytt for å få et "
         "helt register.";
}

TVerPost TProdusent::ReadAt(int32_t indeks) const {
  if (!kart_ || indeks < 0 || indeks >= antall_)
    throw IoFeil("Fant ikke post " + std::to_string(indeks) + " i værregisteret");
  return kart_->Poster()[static_cast<std::size_t>(indeks)];
}

std::span<const TVerPost> TProdusent::Poster() const {
  if (!kart_) return {};
  return kart_->Poster().first(static_cast<std::size_t>(antall_));
}

TVerPost TProdusent::FindByNumber(int32_t nummer) {
  if (nummer == 0) return TomVerPost();
  const int32_t i = indeks_.Finn(nummer);
  if (i < 0) {
    CurrentRamIndex = -1;
    return TomVerPost();
  }
  TVerPost p = ReadAt(i);
  CurrentRamIndex = i;
  return p;
}

TVerPost TProdusent::LesNummer(int32_t nummer) const {
  const int32_t i = nummer == 0 ? -1 : indeks_.Finn(nummer);
  return i < 0 ? TomVerPost() : ReadAt(i);
}

int32_t TProdusent::FindByName(std::string_view soek, std::vector<TTekstElement>& liste) const {
  const std::string del = UpperText(soek);
  int32_t antall = 0;
  const TRamNames& navn = RamNames();
  navn.ForEachContaining(del, [&](std::size_t i) {
    const int32_t nummer = navn.Number(i);
    std::string tekst = IntToText(nummer);
    tekst += ' ';
    tekst += navn.Name(i);
    liste.push_back(TTekstElement{std::move(tekst), nummer, navn.Record(i)});
    ++antall;
  });
  return antall;
}

bool TProdusent::LocateNumber(int32_t nummer) {
  if (ramNumbers_.size() < MinsteVerregister || nummer == 0) return false;
  const int32_t i = indeks_.Finn(nummer);
  if (i < 0) return false;
  CurrentRamIndex = i;
  return true;
}

int32_t TProdusent::FinnIndeks(int32_t nummer) const { return nummer == 0 ? -1 : indeks_.Finn(nummer); }

bool TProdusent::FilaErLastet() const {
  if (fd_ < 0) return false;
  const TFilmerke m = Filmerke(fil_);
  return m.finnes && m.enhet == enhet_ && m.inode == inode_;
}

void TProdusent::SkrivVed(int32_t indeks, const TVerPost& post) {
  if (post.Nummer == 0) throw IoFeil("En vær med kåringsnummer 0 kan ikke lagres");
  if (indeks < 0 || indeks >= antall_ || fd_ < 0)
    throw IoFeil("Fant ikke post " + std::to_string(indeks) + " i værregisteret");
  if (!skrivbar_) throw IoFeil("Værregisteret " + fil_.string() + " er skrivebeskyttet");
  if (!FilaErLastet())
    throw IoFeil("Værregisteret " + fil_.string() +
                 " er byttet ut av et annet program siden det ble lastet inn. Last inn registeret på nytt og gjør "
                 "endringen igjen.");
  const off_t pos = static_cast<off_t>(indeks) * static_cast<off_t>(VerPostStorrelse);
  const auto* buf = reinterpret_cast<const char*>(&post);
  std::size_t skrevet = 0;
  while (skrevet < VerPostStorrelse) {
    const ssize_t n = ::pwrite(fd_, buf + skrevet, VerPostStorrelse - skrevet, pos + static_cast<off_t>(skrevet));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      throw IoFeil("Kan ikke skrive til værregisteret " + fil_.string() + ": " + SystemFeil(n < 0 ? errno : EIO));
    skrevet += static_cast<std::size_t>(n);
  }
  // Keep the number table true to the file when the stored number changed.
  const auto i = static_cast<std::size_t>(indeks);
  if (i < ramNumbers_.size() && ramNumbers_[i] != post.Nummer) {
    ramNumbers_[i] = post.Nummer;
    indeks_.Bygg(ramNumbers_);
  }
  // A new name is found by the next name search (names not yet made are
  // made from the mapping, which shows the write).
  if (navnLaget_) ramNames_.Replace(indeks, post.Navn.Verdi(), post.Nummer);
}

void TProdusent::OpenProducers() {
  if (prodFd_ >= 0) ::close(prodFd_);
  prodFd_ = -1;
  prodAntall_ = 0;
  const std::filesystem::path fil = FinnFil(dataMappe_, ProdusentFilNavn);
  const int fd = ::open(fil.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return;
    throw IoFeil("Kan ikke åpne produsentfila " + fil.string() + ": " + SystemFeil(errno));
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int kode = errno;
    ::close(fd);
    throw IoFeil("Kan ikke lese produsentfila " + fil.string() + ": " + SystemFeil(kode));
  }
  prodFd_ = fd;
  prodAntall_ =
      static_cast<int32_t>(std::min<off_t>(st.st_size / static_cast<off_t>(ProdusentPostStorrelse), INT32_MAX));
}

TProdusentPost TProdusent::ReadProducer(int32_t indeks) const {
  TProdusentPost p;
  std::memset(&p, 0, sizeof p);
  if (prodFd_ < 0 || indeks < 0 || indeks >= prodAntall_) return p;
  const off_t pos = static_cast<off_t>(indeks) * static_cast<off_t>(ProdusentPostStorrelse);
  // A file cut short under us: the record reads as empty.
  if (LesVed(prodFd_, &p, ProdusentPostStorrelse, pos) != 0) std::memset(&p, 0, sizeof p);
  return p;
}
