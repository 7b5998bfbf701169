#include "filer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string Lik(std::string_view s) {
  std::string t(s);
  for (char& c : t)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return t;
}

std::string Vis(const fs::path& p) { return p.string(); }

}  // namespace

fs::path FinnFil(const fs::path& mappe, std::string_view navn) {
  const fs::path eksakt = mappe / std::string(navn);
  std::error_code ec;
  if (fs::exists(eksakt, ec)) return eksakt;
  const std::string soekt = Lik(navn);
  for (fs::directory_iterator it(mappe.empty() ? fs::path(".") : mappe, ec), slutt; !ec && it != slutt;
       it.increment(ec)) {
    const std::string kandidat = it->path().filename().string();
    if (Lik(kandidat) == soekt) return mappe / kandidat;
  }
  return eksakt;
}

std::string SystemFeil(int feilkode) {
  switch (feilkode) {
    case ENOSPC: return "Det er ikke mer plass på disken. Frigjør plass og prøv igjen";
    case EDQUOT: return "Diskkvoten din er brukt opp. Frigjør plass og prøv igjen";
    case EFBIG: return "Fila er blitt for stor for filsystemet. Lagre på en annen disk";
    case EACCES:
    case EPERM: return "Du har ikke tilgang. Sjekk rettighetene til fila og mappa";
    case EROFS: return "Disken er skrivebeskyttet. Lagre et annet sted";
    case ENOENT: return "Fila eller mappa finnes ikke. Sjekk navnet og stien";
    case ENOTDIR: return "En del av stien er ikke en mappe. Sjekk stien";
    case EISDIR: return "Det er en mappe, ikke en fil. Velg en fil";
    case EEXIST: return "Det finnes allerede en fil med det navnet. Velg et annet navn";
    case ENAMETOOLONG: return "Filnavnet er for langt. Velg et kortere navn";
    case ELOOP: return "Stien har for mange symbolske lenker. Sjekk stien";
    case EMFILE:
    case ENFILE: return "For mange åpne filer. Lukk noen programmer og prøv igjen";
    case EBUSY:
    case ETXTBSY: return "Fila er i bruk av et annet program. Lukk det og prøv igjen";
    case EIO: return "Inn/ut-feil på disken. Sjekk disken og prøv igjen";
    case EXDEV: return "Fila kan ikke flyttes mellom to disker. Velg en mappe på samme disk";
    case ENOTEMPTY: return "Mappa er ikke tom. Tøm den eller velg en annen";
    case ENOMEM: return "Det er ikke nok minne. Lukk andre programmer og prøv igjen";
    default: {
      // The symbolic name ("EOVERFLOW"), not the system's English text.
      const char* navn = ::strerrorname_np(feilkode);
      return "Uventet systemfeil " + std::to_string(feilkode) +
             (navn != nullptr ? std::string(" (") + navn + ")" : "") + ". Prøv igjen";
    }
  }
}

TFilmerke Filmerke(const fs::path& fil) {
  struct stat st {};
  if (::stat(fil.c_str(), &st) != 0) return {};
  TFilmerke m;
  m.finnes = true;
  m.enhet = static_cast<unsigned long long>(st.st_dev);
  m.inode = static_cast<unsigned long long>(st.st_ino);
  m.storrelse = static_cast<long long>(st.st_size);
  m.endret = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  return m;
}

TLestTekst LesTekstfil(const fs::path& fil) {
  std::error_code ec;
  if (!fs::exists(fil, ec)) return {};
  try {
    return {true, LesHeleFila(fil)};
  } catch (const IoFeil&) {
    // Gone between the look and the read: as if it was never there.
    if (!fs::exists(fil, ec)) return {};
    throw;
  }
}

int LesVed(int fd, void* buf, std::size_t storrelse, long long pos) {
  auto* b = static_cast<char*>(buf);
  std::size_t fatt = 0;
  while (fatt < storrelse) {
    const ssize_t n = ::pread(fd, b + fatt, storrelse - fatt, static_cast<off_t>(pos + static_cast<long long>(fatt)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;
    fatt += static_cast<std::size_t>(n);
  }
  return 0;
}

std::string LesHeleFila(const fs::path& fil) {
  const int fd = ::open(fil.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw IoFeil("Kan ikke lese fila " + Vis(fil) + ": " + SystemFeil(errno));
  const auto feil = [&](int kode) {
    ::close(fd);
    throw IoFeil("Kan ikke lese fila " + Vis(fil) + ": " + SystemFeil(kode));
  };
  // Read straight into a text of the file's size; a file that grows or
  // shrinks meanwhile is read to its end all the same.
  struct stat st {};
  std::string innhold;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
    innhold.resize(static_cast<std::size_t>(st.st_size));
  std::size_t lest = 0;
  char mer[1 << 16];
  for (;;) {
    // Past the size the file had: read on into a buffer until the end.
    const bool fullt = lest == innhold.size();
    const ssize_t n = fullt ? ::read(fd, mer, sizeof mer) : ::read(fd, innhold.data() + lest, innhold.size() - lest);
    if (n < 0) {
      if (errno == EINTR) continue;
      feil(errno);
    }
    if (n == 0) break;
    if (fullt) innhold.append(mer, static_cast<std::size_t>(n));
    lest += static_cast<std::size_t>(n);
  }
  ::close(fd);
  innhold.resize(lest);
  return innhold;
}

TTryggFil::TTryggFil(fs::path maal, std::string_view endelse, std::string hva)
    : maal_(std::move(maal)), hva_(std::move(hva)) {
  sti_ = maal_;
  sti_ += std::string(endelse);
  if (hva_.empty()) hva_ = "fila " + Vis(maal_);
}

TTryggFil::~TTryggFil() {
  // Looked at while the file is still open, so that its identity is not yet free for another.
  const bool vaar = !ferdig_ && ErVaar();
  if (fd_ >= 0) ::close(fd_);
  if (vaar) ::unlink(sti_.c_str());
}

bool TTryggFil::ErVaar() const {
  struct stat st {};
  return laget_ && ::lstat(sti_.c_str(), &st) == 0 && st.st_dev == enhet_ && st.st_ino == inode_;
}

void TTryggFil::Feil(int kode) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  feil_ = "Kan ikke skrive " + hva_ + ": " + SystemFeil(kode);
  throw IoFeil(feil_);
}

void TTryggFil::Apne() {
  // A file left beside by a run that was stopped goes.
  ::unlink(sti_.c_str());
  fd_ = ::open(sti_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd_ < 0) Feil(errno);
  struct stat st {};
  if (::fstat(fd_, &st) != 0) {
    const int kode = errno;
    ::unlink(sti_.c_str());
    Feil(kode);
  }
  laget_ = true;
  enhet_ = st.st_dev;
  inode_ = st.st_ino;
}

void TTryggFil::Skriv(std::string_view data) {
  if (!feil_.empty()) throw IoFeil(feil_);
  if (klar_) throw IoFeil("Kan ikke skrive " + hva_ + ": fila er allerede lukket");
  if (fd_ < 0) Apne();
  while (!data.empty()) {
    const ssize_t n = ::write(fd_, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Feil(errno);
    data.remove_prefix(static_cast<std::size_t>(n));
  }
}

void TTryggFil::Klargjor() {
  if (!feil_.empty()) throw IoFeil(feil_);
  if (klar_) return;
  if (fd_ < 0) Apne();
  if (synk_ && ::fsync(fd_) != 0) Feil(errno);
  AndreSkriver();
  klar_ = true;
}

void TTryggFil::AndreSkriver() {
  // Another writer of the same file may have replaced ours beside the target;
  // its file, perhaps half-written, must not become the target. Ours is still
  // open here, so its identity cannot have passed to another file.
  if (ErVaar()) return;
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  feil_ = "Kan ikke skrive " + hva_ + ": et annet program skrev den samme fila samtidig. Prøv igjen når det er ferdig";
  throw IoFeil(feil_);
}

void TTryggFil::Fullfor() {
  if (!feil_.empty()) throw IoFeil(feil_);
  Klargjor();
  AndreSkriver();
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) Feil(errno);
  if (::rename(sti_.c_str(), maal_.c_str()) != 0) Feil(errno);
  ferdig_ = true;
  // The rename itself is made durable, so that a power cut right after it
  // cannot bring the old file back. The new file is in place either way, so
  // a folder that cannot be synced is not an error.
  const fs::path mappe = maal_.has_parent_path() ? maal_.parent_path() : fs::path(".");
  const int dfd = synk_ ? ::open(mappe.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
}

void SkrivTrygt(const fs::path& maal, std::string_view innhold) {
  TTryggFil fil(maal);
  fil.Skriv(innhold);
  fil.Fullfor();
}
