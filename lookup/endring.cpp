#include "endring.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>

#include "cp1252.h"
#include "dato.h"
#include "filer.h"
#include "tekst.h"

namespace {

TEndreRad Rad(const char* utf8, TFeltslag slag, std::size_t plass, int bredde) {
  TEndreRad r{Utf8TilCp1252(utf8), slag, plass};
  r.bredde = bredde;
  return r;
}

TEndreRad Tekstrad(const char* utf8, std::size_t plass, int kapasitet, int bredde, bool navnecase) {
  TEndreRad r = Rad(utf8, TFeltslag::Tekst, plass, bredde);
  r.kapasitet = kapasitet;
  r.navnecase = navnecase;
  return r;
}

TEndreRad Desimalrad(const char* utf8, std::size_t plass, int bredde, int desimaler) {
  TEndreRad r = Rad(utf8, TFeltslag::Desimal, plass, bredde);
  r.desimaler = desimaler;
  return r;
}

// Digits only, between `minst` and `mest` of them.
bool Siffer(std::string_view del, std::size_t minst, std::size_t mest) {
  if (del.size() < minst || del.size() > mest) return false;
  for (const char c : del)
    if (c < '0' || c > '9') return false;
  return true;
}

int Tall(std::string_view del) {
  int v = 0;
  for (const char c : del) v = v * 10 + (c - '0');
  return v;
}

}  // namespace

const std::vector<TEndreRad>& NavneRader() {
  static const std::vector<TEndreRad> rader = {
      Tekstrad("Endre værens navn", offsetof(TVerPost, Navn), 20, 20, true),
      Tekstrad("Fødebuskap", offsetof(TVerPost, Fodebuskap), 50, 20, true),
      Tekstrad("Fødested", offsetof(TVerPost, Fodested), 20, 20, true),
  };
  return rader;
}

const std::vector<TEndreRad>& AlleRader() {
  using F = TFeltslag;
  static const std::vector<TEndreRad> rader = {
      Rad("Rasenummer", F::Byte, offsetof(TVerPost, Rase), 2),
      Rad("Farnummer", F::Heltall32, offsetof(TVerPost, Farnr), 9),
      Rad("Morfarnummer", F::Heltall32, offsetof(TVerPost, MorFar), 9),
      Rad("Mornummer", F::Heltall32, offsetof(TVerPost, Mornr), 9),
      Rad("Ringnummer", F::Heltall16, offsetof(TVerPost, Ring), 3),
      Tekstrad("Indeksdato", Arbeidstekst, IndeksdatoKapasitet, 10, false),
      Rad("O-indeks", F::Heltall16, offsetof(TVerPost, OIndeks), 3),
      Rad("Slaktv", F::Heltall16, offsetof(TVerPost, Slakt), 3),
      Rad("Kjøtt", F::Heltall16, offsetof(TVerPost, Kjott), 3),
      Rad("Fett", F::Heltall16, offsetof(TVerPost, Fett), 3),
      Rad("Morevne S", F::Heltall16, offsetof(TVerPost, MorevSl), 3),
      Rad("Lammetall", F::Heltall16, offsetof(TVerPost, Fruktbarhet), 3),
      Rad("Kropp", F::Byte, offsetof(TVerPost, Kropp), 2),
      Rad("Bein", F::Byte, offsetof(TVerPost, Bein), 2),
      Rad("Ullkvalitet", F::Byte, offsetof(TVerPost, Ullkvalitet), 2),
      Rad("Ullmengde", F::Byte, offsetof(TVerPost, Ullmengde), 2),
      Desimalrad("Fiberdiameter", offsetof(TVerPost, Fiberdiameter), 4, 2),
      Desimalrad("Maks my", offsetof(TVerPost, MaksMy), 4, 2),
      Desimalrad("Stappellengde", offsetof(TVerPost, Stapel), 4, 2),
      Rad("Marg", F::Byte, offsetof(TVerPost, Marg), 4),
      Rad("Dauhår", F::Byte, offsetof(TVerPost, Dyrehaar), 4),
      Desimalrad("Ættepoeng", offsetof(TVerPost, OAett), 4, 2),
      Desimalrad("Vektavvik", offsetof(TVerPost, VektAvvik), 4, 2),
      Rad("O-indeks mor", F::Heltall16, offsetof(TVerPost, MorIndeks), 4),
      Rad("Semin", F::Avkrysning, offsetof(TVerPost, Type), 0),
  };
  return rader;
}

std::string FeltNavnecase(std::string_view tekst) {
  std::string t(tekst);
  if (t.size() <= 2) return t;
  bool ordstart = true;
  for (char& c : t) {
    const auto b = static_cast<unsigned char>(c);
    c = static_cast<char>(ordstart ? UpChar(b) : LowChar(b));
    ordstart = c == ' ' || c == '-' || c == '.';
  }
  return t;
}

float LesDesimaltall(std::string_view tekst) {
  return TextToReal(tekst.substr(0, std::min<std::size_t>(tekst.size(), 30)));
}

std::string DesimalTekst(float verdi, int bredde, int desimaler) { return FormatN(bredde, desimaler, verdi); }

std::string IndeksdatoTekst(double dato) {
  const auto k = DecodeDate(dato);
  if (!k) return std::string();
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", k->dag, k->maaned, k->aar);
  return buf;
}

TDatolesing LesIndeksdato(std::string_view arbeidstekst) {
  TDatolesing r;
  if (TrimText(arbeidstekst).size() <= 9) return r;
  std::string t(arbeidstekst);
  for (char& c : t)
    if (c == ' ' || c == ',' || c == '.') c = '/';
  r.utfall = TDatolesing::Utfall::Feil;
  const std::size_t a = t.find('/');
  const std::size_t b = a == std::string::npos ? a : t.find('/', a + 1);
  if (b == std::string::npos || t.find('/', b + 1) != std::string::npos) return r;
  const std::string_view s(t);
  const std::string_view dag = s.substr(0, a), maaned = s.substr(a + 1, b - a - 1), aar = s.substr(b + 1);
  if (!Siffer(dag, 1, 2) || !Siffer(maaned, 1, 2) || !Siffer(aar, 4, 4)) return r;
  const auto dato = EncodeDate(Tall(aar), Tall(maaned), Tall(dag));
  if (!dato) return r;
  r.utfall = TDatolesing::Utfall::Ny;
  r.dato = *dato;
  return r;
}

bool LagreVer(TProdusent& reg, const TVerPost& ver, int32_t indeks) {
  if (!reg.LocateNumber(ver.Nummer)) return false;
  // The record shown, while it still holds the number; otherwise the one the number finds.
  if (indeks < 0 || static_cast<std::size_t>(indeks) >= reg.RamNumbers().size() ||
      reg.RamNumbers()[static_cast<std::size_t>(indeks)] != ver.Nummer)
    indeks = reg.FinnIndeks(ver.Nummer);
  reg.SkrivVed(indeks, ver);
  return true;
}

std::string NavneloggLinje(const TVerPost& ver) {
  return IntToText(ver.Nummer) + '\t' + ver.Navn.Verdi() + '\t' + ver.Fodebuskap.Verdi() + '\t' + ver.Fodested.Verdi() +
         "\r\n";
}

void SkrivNavnelogg(const std::filesystem::path& fil, const TVerPost& ver) {
  const auto feil = [&](int kode) {
    throw IoFeil("Kan ikke skrive navneendringen til " + fil.string() + ": " + SystemFeil(kode));
  };
  const int fd = ::open(fil.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) feil(errno);
  const std::string linje = NavneloggLinje(ver);
  std::size_t skrevet = 0;
  while (skrevet < linje.size()) {
    const ssize_t n = ::write(fd, linje.data() + skrevet, linje.size() - skrevet);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int kode = n < 0 ? errno : EIO;
      ::close(fd);
      feil(kode);
    }
    skrevet += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0 && errno != EINTR) feil(errno);
}
