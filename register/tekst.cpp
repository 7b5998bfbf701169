#include "tekst.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "dato.h"

namespace {

std::string_view Kutt(std::string_view s) { return s.substr(0, std::min(s.size(), MaksTekst)); }

// One pass of the platform's text-to-integer reading: leading blanks, an
// optional sign, an optional hexadecimal prefix ('$', 'x', '0x' in either
// case), then digits. `feil` is the 0-based index of the first character that
// does not fit (or of the digit that would overflow); it equals the length of
// the text when the text ended too early. `verdi` is the value read so far.
struct HeltallsLesing {
  bool ok = false;
  std::size_t feil = 0;
  int64_t verdi = 0;
};

int Siffer(char c, bool heks) {
  if (c >= '0' && c <= '9') return c - '0';
  if (heks) {
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  }
  return -1;
}

HeltallsLesing LesTall(std::string_view s, int64_t grense = std::numeric_limits<int64_t>::max()) {
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n && s[i] == ' ') ++i;
  bool negativ = false;
  if (i < n && (s[i] == '-' || s[i] == '+')) {
    negativ = s[i] == '-';
    ++i;
  }
  bool heks = false;
  if (i < n && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
    heks = true;
    ++i;
  } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    heks = true;
    i += 2;
  }
  const uint64_t grunntall = heks ? 16 : 10;
  uint64_t verdi = 0;
  bool siffer = false;
  while (i < n) {
    const int d = Siffer(s[i], heks);
    if (d < 0) break;
    if (verdi > (static_cast<uint64_t>(grense) - d) / grunntall) break;
    verdi = verdi * grunntall + d;
    siffer = true;
    ++i;
  }
  HeltallsLesing r;
  r.verdi = negativ ? -static_cast<int64_t>(verdi) : static_cast<int64_t>(verdi);
  r.ok = siffer && i == n;
  r.feil = i;
  return r;
}

// One pass of the platform's text-to-float reading. On success or failure
// `verdi` is the value of what was read before the failure position.
struct DesimalLesing {
  bool ok = false;
  bool feilVerdi = false;  // the value does not fit (exponent out of range)
  std::size_t feil = 0;
  double verdi = 0.0;
};

DesimalLesing LesDesimal(std::string_view s) {
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n && s[i] == ' ') ++i;
  std::string tall;
  if (i < n && (s[i] == '-' || s[i] == '+')) {
    if (s[i] == '-') tall += '-';
    ++i;
  }
  bool mantisse = false;
  while (i < n && s[i] >= '0' && s[i] <= '9') {
    tall += s[i++];
    mantisse = true;
  }
  if (i < n && s[i] == '.') {
    ++i;
    std::string brok;
    while (i < n && s[i] >= '0' && s[i] <= '9') brok += s[i++];
    if (!brok.empty()) {
      tall += '.';
      tall += brok;
      mantisse = true;
    }
  }
  DesimalLesing r;
  bool ferdig = mantisse;
  if (mantisse && i < n && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    std::string eksponent = "e";
    if (i < n && (s[i] == '-' || s[i] == '+')) eksponent += s[i++];
    bool eSiffer = false;
    while (i < n && s[i] >= '0' && s[i] <= '9') {
      eksponent += s[i++];
      eSiffer = true;
    }
    if (eSiffer) tall += eksponent;
    ferdig = eSiffer;
  }
  r.ok = ferdig && i == n;
  r.feil = i;
  if (mantisse) {
    double v = 0.0;
    const auto res = std::from_chars(tall.data(), tall.data() + tall.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
      r.feilVerdi = true;
    } else {
      r.verdi = v;
    }
  }
  return r;
}

}  // namespace

std::string NextField(std::string& linje) {
  const std::size_t semikolon = linje.find(';');
  std::string felt;
  if (semikolon == std::string::npos) {
    felt = linje;
  } else {
    felt = linje.substr(0, semikolon);
    linje.erase(0, semikolon + 1);
  }
  if (felt.size() > MaksTekst) felt.resize(MaksTekst);
  std::size_t q = felt.find('"');
  if (q != std::string::npos) {
    felt.erase(q, 1);
    q = felt.find('"');
    if (q != std::string::npos) felt.erase(q, 1);
  }
  return felt;
}

int64_t TextToInt(std::string_view tekst) {
  // Most texts are plain digits that cannot overflow: read them at once.
  if (!tekst.empty() && tekst.size() <= 18) {
    int64_t v = 0;
    std::size_t i = 0;
    for (; i < tekst.size(); ++i) {
      const auto d = static_cast<unsigned char>(tekst[i] - '0');
      if (d > 9) break;
      v = v * 10 + d;
    }
    if (i == tekst.size()) return v;
  }
  {
    const HeltallsLesing r = LesTall(Kutt(tekst));
    if (r.ok) return r.verdi;
  }
  std::string t(Kutt(tekst));
  while (!t.empty()) {
    const HeltallsLesing r = LesTall(t);
    if (r.ok || r.feil >= t.size()) return r.verdi;
    t.erase(r.feil, 1);
    if (t.empty()) return r.verdi;
  }
  return 0;
}

int32_t LesHeltall(std::string_view tekst, bool* helt) {
  std::string t(tekst.substr(0, std::min<std::size_t>(tekst.size(), 30)));
  HeltallsLesing r = LesTall(t, std::numeric_limits<int32_t>::max());
  if (helt) *helt = r.ok;
  while (!r.ok && t.size() >= 2) {
    if (r.feil >= t.size()) break;
    t.erase(r.feil, 1);
    r = LesTall(t, std::numeric_limits<int32_t>::max());
  }
  return static_cast<int32_t>(r.verdi);
}

float TextToReal(std::string_view tekst) {
  if (tekst.empty()) return 0.0f;
  // Most texts are a plain number ("12", "-3", "12,5", "12.5"): read them at
  // once, as the full reading below would.
  if (tekst.size() <= 32) {
    char t[32];
    std::size_t i = 0;
    if (tekst[0] == '-') t[i] = tekst[i], ++i;
    const std::size_t heltall = i;
    while (i < tekst.size() && tekst[i] >= '0' && tekst[i] <= '9') t[i] = tekst[i], ++i;
    bool enkel = i > heltall;
    if (enkel && i < tekst.size() && (tekst[i] == ',' || tekst[i] == '.')) {
      t[i++] = '.';
      const std::size_t brok = i;
      while (i < tekst.size() && tekst[i] >= '0' && tekst[i] <= '9') t[i] = tekst[i], ++i;
      enkel = i > brok;
    }
    if (enkel && i == tekst.size()) {
      double v = 0.0;
      const auto res = std::from_chars(t, t + i, v);
      if (res.ec == std::errc::result_out_of_range || !std::isfinite(v) || std::fabs(v) > static_cast<double>(FLT_MAX))
        return 0.0f;
      return static_cast<float>(v);
    }
  }
  std::string t(Kutt(tekst));
  const std::size_t komma = t.find(',');
  if (komma != std::string::npos) t[komma] = '.';
  DesimalLesing r = LesDesimal(t);
  while (!r.ok && r.feil < t.size()) {
    t.erase(r.feil, 1);
    r = LesDesimal(t);
  }
  if (r.feilVerdi || !std::isfinite(r.verdi)) return 0.0f;
  // A value beyond the range of float32 is an overflow, as an exponent out of range is.
  if (std::fabs(r.verdi) > static_cast<double>(FLT_MAX)) return 0.0f;
  return static_cast<float>(r.verdi);
}

namespace {

// Clamps the parts of a read date and encodes it. A day beyond the end of its
// month becomes the month's last day, so an import never stops on it.
double KodDato(int aar, int maaned, int dag) {
  if (aar < 1951 || aar > 2899) aar = 1900;
  if (maaned < 1 || maaned > 12) maaned = 1;
  if (dag < 1 || dag > 31) dag = 1;
  dag = std::min(dag, DagerIMaaned(aar, maaned));
  return EncodeDate(aar, maaned, dag).value_or(IngenDato);
}

int Del16(std::string_view t, std::size_t fra, std::size_t antall) {
  if (fra >= t.size()) return 0;
  return static_cast<uint16_t>(TextToInt(t.substr(fra, antall)));
}

}  // namespace

double IsoTextToDate(std::string_view tekst) {
  const std::string_view t = Kutt(tekst);
  return KodDato(Del16(t, 0, 4), Del16(t, 5, 2), Del16(t, 8, 2));
}

double CompactTextToDate(std::string_view tekst) {
  const std::string_view t = Kutt(tekst);
  if (t.size() < 6) return 0.0;
  int aar = Del16(t, 4, 4);
  if (aar < 50) aar += 2000;
  return KodDato(aar, Del16(t, 2, 2), Del16(t, 0, 2));
}

bool CheckDigitOk(std::string_view tekst) {
  if (tekst.size() != 10) return false;
  for (char c : tekst)
    if (c < '0' || c > '9') return false;
  int sum = 0;
  for (int i = 0; i < 9; ++i) {
    // The 9th character has weight 2, the 8th 1, and so on alternately.
    const int vekt = (i % 2 == 0) ? 2 : 1;
    const int produkt = (tekst[i] - '0') * vekt;
    sum += produkt / 10 + produkt % 10;
  }
  const int kontroll = (sum % 10 == 0) ? 0 : 10 - sum % 10;
  return tekst[9] - '0' == kontroll;
}

std::string IntToText(int64_t verdi) { return std::to_string(verdi); }

int64_t RoundHalfAway(double verdi) {
  if (std::isnan(verdi)) return 0;
  constexpr double grense = 9223372036854775807.0;
  if (verdi >= grense) return std::numeric_limits<int64_t>::max();
  if (verdi <= -grense) return std::numeric_limits<int64_t>::min();
  const double heltall = std::trunc(verdi);
  const double brok = verdi - heltall;
  int64_t r = static_cast<int64_t>(heltall);
  if (verdi > 0 && brok >= 0.5) ++r;
  if (verdi <= 0 && brok <= -0.5) --r;
  return r;
}

float SafeDiv(float a, float b) {
  if (a == 0.0f || b == 0.0f) return 0.0f;
  return a / b;
}

long double SafeDiv(long double a, long double b) {
  if (a == 0.0L || b == 0.0L) return 0.0L;
  return a / b;
}

namespace {

// Room for the longest fixed text: 309 integer digits, a point, 30 decimals,
// a sign and the blanks between thousands.
constexpr std::size_t FastRom = 512;

// FormatFixed into `ut`; returns the length.
std::size_t SkrivFast(char* ut, double x, int desimaler) {
  if (std::isnan(x)) return std::strlen(std::strcpy(ut, "NAN"));
  if (std::isinf(x)) return std::strlen(std::strcpy(ut, x > 0 ? "INF" : "-INF"));
  desimaler = std::clamp(desimaler, 0, 30);
  // The 17 significant digits of the value and its decimal exponent.
  char sci[40];
  const auto res = std::to_chars(sci, sci + sizeof sci, std::fabs(x), std::chars_format::scientific, 16);
  char siffer[17];
  siffer[0] = sci[0];
  std::memcpy(siffer + 1, sci + 2, 16);
  const char* e = static_cast<const char*>(std::memchr(sci, 'e', static_cast<std::size_t>(res.ptr - sci))) + 1;
  const bool negEksp = *e == '-';
  if (*e == '-' || *e == '+') ++e;
  int eksponent = 0;
  std::from_chars(e, res.ptr, eksponent);
  if (negEksp) eksponent = -eksponent;
  // Digits of x * 10^desimaler, rounded half away from zero, after a free
  // place for a carry.
  char m[FastRom];
  char* const start = m + 1;
  int lengde = 0;
  const int behold = eksponent + 1 + desimaler;
  if (behold < 0) {
    start[lengde++] = '0';
  } else if (behold == 0) {
    start[lengde++] = siffer[0] >= '5' ? '1' : '0';
  } else if (behold >= 17) {
    std::memcpy(start, siffer, 17);
    std::memset(start + 17, '0', static_cast<std::size_t>(behold - 17));
    lengde = behold;
  } else {
    std::memcpy(start, siffer, static_cast<std::size_t>(behold));
    lengde = behold;
  }
  char* forst = start;
  if (behold > 0 && behold < 17 && siffer[behold] >= '5') {
    int i = lengde - 1;
    while (i >= 0 && start[i] == '9') start[i--] = '0';
    if (i >= 0) {
      ++start[i];
    } else {
      *--forst = '1';
      ++lengde;
    }
  }
  // At least one digit before the point.
  std::size_t n = 0;
  const bool null = std::all_of(forst, forst + lengde, [](char c) { return c == '0'; });
  if (x < 0 && !null) ut[n++] = '-';
  const int heltall = lengde - desimaler;
  if (heltall <= 0) {
    ut[n++] = '0';
  } else {
    std::memcpy(ut + n, forst, static_cast<std::size_t>(heltall));
    n += static_cast<std::size_t>(heltall);
  }
  if (desimaler > 0) {
    ut[n++] = '.';
    for (int i = heltall; i < 0; ++i) ut[n++] = '0';
    const int fra = std::max(heltall, 0);
    std::memcpy(ut + n, forst + fra, static_cast<std::size_t>(lengde - fra));
    n += static_cast<std::size_t>(lengde - fra);
  }
  ut[n] = '\0';
  return n;
}

// FormatN into `ut`; returns the length.
std::size_t SkrivN(char* ut, double x, int desimaler) {
  char t[FastRom];
  const std::size_t lengde = SkrivFast(t, x, desimaler);
  if (!std::isfinite(x)) {
    std::memcpy(ut, t, lengde + 1);
    return lengde;
  }
  std::size_t n = 0;
  std::size_t i = 0;
  if (t[0] == '-') ut[n++] = t[i++];
  const char* punkt = static_cast<const char*>(std::memchr(t, '.', lengde));
  const std::size_t slutt = punkt != nullptr ? static_cast<std::size_t>(punkt - t) : lengde;
  const std::size_t heltall = slutt - i;
  for (std::size_t k = 0; k < heltall; ++k) {
    if (k > 0 && (heltall - k) % 3 == 0) ut[n++] = ' ';
    ut[n++] = t[i + k];
  }
  if (punkt != nullptr) {
    ut[n++] = ',';
    for (std::size_t k = slutt + 1; k < lengde; ++k) ut[n++] = t[k];
  }
  ut[n] = '\0';
  return n;
}

}  // namespace

std::string FormatFixed(double x, int desimaler) {
  char t[FastRom];
  return std::string(t, SkrivFast(t, x, desimaler));
}

std::string FormatN(double x, int desimaler) {
  char t[FastRom];
  return std::string(t, SkrivN(t, x, desimaler));
}

std::string FormatN(int bredde, int desimaler, double x) {
  std::string ut;
  LeggTilFormatN(ut, bredde, desimaler, x);
  return ut;
}

void LeggTilFormatN(std::string& ut, int bredde, int desimaler, double x) {
  char t[FastRom];
  // As PadLeft, which sees at most MaksTekst bytes.
  const std::size_t n = std::min(SkrivN(t, x, desimaler), MaksTekst);
  if (bredde > 0 && n < static_cast<std::size_t>(bredde)) ut.append(static_cast<std::size_t>(bredde) - n, ' ');
  ut.append(t, n);
}

std::string FitNumber(int bredde, int desimaler, double x) {
  if (x == 0) return FillText('-', bredde);
  int d = std::max(desimaler, 0);
  std::string t = PadLeft(FormatFixed(x, d), bredde);
  while (static_cast<int>(t.size()) > bredde) {
    if (d > 0) {
      --d;
      t = PadLeft(FormatFixed(x, d), bredde);
      continue;
    }
    // Scientific notation with as many digits as the width allows.
    char buf[64];
    for (int presisjon = std::max(bredde, 0); presisjon >= 0; --presisjon) {
      const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, presisjon);
      t.assign(buf, res.ptr);
      if (static_cast<int>(t.size()) <= bredde) break;
    }
    break;
  }
  return TrimText(t);
}

std::string DateToText(double dato) {
  const auto k = DecodeDate(dato);
  if (!k || k->aar < 1951 || k->aar > 2899) return "Ingen dato";
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", k->dag, k->maaned, k->aar);
  return buf;
}

unsigned char UpChar(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 0xDE && c <= 0xFD)) return c - 0x20;
  return c;
}

unsigned char LowChar(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDC)) return c + 0x20;
  return c;
}

std::string UpperText(std::string_view tekst) {
  std::string t(Kutt(tekst));
  for (char& c : t) c = static_cast<char>(UpChar(static_cast<unsigned char>(c)));
  return t;
}

std::string NameCase(std::string_view tekst) {
  std::string t(Kutt(tekst));
  for (std::size_t i = 0; i < t.size(); ++i) {
    const auto c = static_cast<unsigned char>(t[i]);
    const auto forrige = i == 0 ? ' ' : static_cast<unsigned char>(t[i - 1]);
    const bool ordstart = i == 0 || forrige == ' ' || (forrige >= 0x2C && forrige <= 0x2F);
    t[i] = static_cast<char>(ordstart ? UpChar(c) : LowChar(c));
  }
  return t;
}

std::string DosToWindows(std::string_view tekst) {
  std::string t(Kutt(tekst));
  for (char& c : t) {
    switch (static_cast<unsigned char>(c)) {
      case 0x84: c = '\xE4'; break;  // ä
      case 0x86: c = '\xE5'; break;  // å
      case 0x8E: c = '\xC4'; break;  // Ä
      case 0x8F: c = '\xC5'; break;  // Å
      case 0x91: c = '\xE6'; break;  // æ
      case 0x92: c = '\xC6'; break;  // Æ
      case 0x93: c = '\xF4'; break;  // ô
      case 0x94: c = '\xF6'; break;  // ö
      case 0x99: c = '\xD6'; break;  // Ö
      case 0x9A: c = '\xDC'; break;  // Ü
      case 0x9B: c = '\xF8'; break;  // ø
      case 0x9D: c = '\xD8'; break;  // Ø
      default: break;
    }
  }
  return t;
}

std::string FillText(char c, int antall) { return antall > 0 ? std::string(antall, c) : std::string(); }

std::string PadRight(std::string_view tekst, int bredde, char fyll) {
  std::string t(Kutt(tekst));
  if (static_cast<int>(t.size()) < bredde) t.append(bredde - t.size(), fyll);
  return t;
}

std::string PadLeft(std::string_view tekst, int bredde, char fyll) {
  std::string t(Kutt(tekst));
  if (static_cast<int>(t.size()) < bredde) t.insert(0, bredde - t.size(), fyll);
  return t;
}

std::string TrimText(std::string_view tekst) {
  std::string_view t = Kutt(tekst);
  while (!t.empty() && static_cast<unsigned char>(t.back()) <= 0x20) t.remove_suffix(1);
  while (!t.empty() && static_cast<unsigned char>(t.front()) <= 0x20) t.remove_prefix(1);
  return std::string(t);
}

std::string CleanFileName(std::string_view sti) {
  // A path is never cut: its folders are the user's choice, however long.
  std::string t(sti);
  if (t.size() < 2) return t;
  // Collapse doubled folder separators (the same folder); a leading pair stays and ends the search.
  for (std::size_t p = t.find("//"); p != std::string::npos && p != 0; p = t.find("//")) t.erase(p, 1);
  if (t.size() > 3) {
    // Only the file's own name is cleaned; a folder named "Sau+geit" stays so.
    const std::size_t skille = t.rfind('/');
    const std::size_t navn = skille == std::string::npos ? 0 : skille + 1;
    for (std::size_t i = std::max<std::size_t>(2, navn); i < t.size(); ++i) {
      const char c = t[i];
      if (c == '+' || c == ':' || c == ';' || c == '@') t[i] = '_';
    }
  }
  return t;
}

std::vector<std::string> TekstLinjer(std::string_view tekst) {
  std::vector<std::string> linjer;
  ForHverLinje(tekst, [&](std::string_view l) { linjer.emplace_back(l); });
  return linjer;
}
