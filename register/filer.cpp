#include "filer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

std::string SystemFeil(int feilkode) { return std::strerror(feilkode); }

std::string LesHeleFila(const fs::path& fil) {
  const int fd = ::open(fil.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw IoFeil("Kan ikke lese fila " + Vis(fil) + ": " + SystemFeil(errno));
  std::string innhold;
  char buf[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int feil = errno;
      ::close(fd);
      throw IoFeil("Kan ikke lese fila " + Vis(fil) + ": " + SystemFeil(feil));
    }
    if (n == 0) break;
    innhold.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return innhold;
}

void SkrivTrygt(const fs::path& maal, std::string_view innhold) {
  fs::path tmp = maal;
  tmp += ".ny";
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throw IoFeil("Kan ikke skrive fila " + Vis(maal) + ": " + SystemFeil(errno));
  std::size_t skrevet = 0;
  int feil = 0;
  while (skrevet < innhold.size()) {
    const ssize_t n = ::write(fd, innhold.data() + skrevet, innhold.size() - skrevet);
    if (n < 0) {
      if (errno == EINTR) continue;
      feil = errno;
      break;
    }
    skrevet += static_cast<std::size_t>(n);
  }
  if (feil == 0 && ::fsync(fd) != 0) feil = errno;
  if (::close(fd) != 0 && feil == 0) feil = errno;
  if (feil == 0 && ::rename(tmp.c_str(), maal.c_str()) != 0) feil = errno;
  if (feil != 0) {
    ::unlink(tmp.c_str());
    throw IoFeil("Kan ikke skrive fila " + Vis(maal) + ": " + SystemFeil(feil));
  }
}
