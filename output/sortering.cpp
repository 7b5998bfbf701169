#include "sortering.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "cp1252.h"
#include "dato.h"
#include "tekst.h"

// ---------------------------------------------------------------------------
// Sort keys

namespace {

constexpr std::array<unsigned char, 256> LagVekter() {
  std::array<unsigned char, 256> v{};
  auto sett = [&v](int vekt, std::initializer_list<int> koder) {
    for (int k : koder) v[static_cast<std::size_t>(k)] = static_cast<unsigned char>(vekt);
  };
  sett(1, {34, 59, 187, 188, 191, 192});
  sett(2, {35, 60, 189, 190});
  sett(3, {36, 61, 172});
  sett(4, {37, 62});
  sett(5, {38, 63, 171});
  sett(6, {39});
  sett(7, {31, 32, 40, 244});
  sett(8, {41, 48});
  sett(9, {42, 43});
  for (int d = 1; d <= 9; ++d) v[static_cast<std::size_t>('0' + d)] = static_cast<unsigned char>(9 + d);
  sett(19, {58});
  sett(20, {33, 64});
  for (int b = 0; b < 26; ++b) {
    v[static_cast<std::size_t>('A' + b)] = static_cast<unsigned char>(21 + b);
    v[static_cast<std::size_t>('a' + b)] = static_cast<unsigned char>(21 + b);
  }
  sett(21, {181, 182, 183, 199, 247});
  sett(25, {211, 212, 213});
  sett(29, {214, 215, 217, 223});
  sett(35, {225, 227, 228});
  sett(41, {234, 235, 236});
  sett(45, {237, 238});
  sett(47, {198, 230});
  sett(48, {216, 248});
  sett(49, {197, 229, 218});
  return v;
}

constexpr std::array<unsigned char, 256> Vekter = LagVekter();

bool ErSiffer(char c) { return c >= '0' && c <= '9'; }

// 1-based position of the first blank, 0 when there is none.
std::size_t BlankPos(const std::string& s) {
  const std::size_t p = s.find(' ');
  return p == std::string::npos ? 0 : p + 1;
}

}  // namespace

int Tegnvekt(unsigned char c) { return Vekter[c]; }

TTallLesing LesTallet(std::string_view s) {
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n && s[i] == ' ') ++i;
  bool negativ = false;
  if (i < n && (s[i] == '-' || s[i] == '+')) {
    negativ = s[i] == '-';
    ++i;
  }
  const std::size_t start = i;
  long double siffer = 0;  // the mantissa's digits as one whole number
  bool harSiffer = false;
  bool punkt = false;
  while (i < n) {
    if (ErSiffer(s[i])) {
      siffer = siffer * 10 + (s[i] - '0');
      harSiffer = true;
    } else if (s[i] == '.' && !punkt) {
      punkt = true;
    } else {
      break;
    }
    ++i;
  }
  TTallLesing r;
  r.verdi = siffer;
  auto feil = [&r](std::size_t pos) {
    r.feil = pos;
    return r;
  };
  if (!harSiffer) return feil(i);
  bool negativEksponent = false;
  if (i < n && (s[i] == 'E' || s[i] == 'e')) {
    std::size_t j = i + 1;
    if (j < n && (s[j] == '-' || s[j] == '+')) negativEksponent = s[j++] == '-';
    if (j >= n || !ErSiffer(s[j])) return feil(j);
    while (j < n && ErSiffer(s[j])) ++j;
    i = j;
  }
  if (i != n) return feil(i);
  long double v = 0;
  const auto res = std::from_chars(s.data() + start, s.data() + n, v);
  if (res.ec == std::errc::result_out_of_range) v = negativEksponent ? 0.0L : HUGE_VALL;
  r.ok = true;
  r.feil = n;
  r.verdi = negativ ? -v : v;
  return r;
}

long double Sorteringsverdi(std::string_view celle) {
  const std::string_view kutt = celle.substr(0, std::min<std::size_t>(celle.size(), 20));
  std::string t = TrimText(kutt);
  long double tall = 0;
  bool numerisk = false;
  const std::size_t skraa = t.find('/');
  if ((t.size() == 5 || t.size() == 10) && skraa == 2) {
    // "dd/mm" and "dd/mm/yyyy". A day that does not read leaves the number
    // part 0 and the text is keyed as a text.
    const TTallLesing dag = LesTallet(std::string_view(t).substr(0, 2));
    if (dag.ok) {
      const TTallLesing maaned = LesTallet(std::string_view(t).substr(3, 2));
      tall = maaned.verdi + (dag.verdi > 0 ? dag.verdi / 100 : 0);
      numerisk = maaned.ok;
      if (t.size() == 10) {
        const TTallLesing aar = LesTallet(std::string_view(t).substr(6, 4));
        if (aar.verdi > 0) tall += aar.verdi * 12;
        numerisk = aar.ok;
      }
    }
  } else {
    const std::size_t komma = t.find(',');
    if (komma != std::string::npos) t[komma] = '.';
    // Blanks inside the number go. Once they are gone, a '-' in the second
    // place becomes '0', and the character where the text then stops reading
    // goes as well; the blanks are looked for again after each deletion.
    std::size_t p = BlankPos(t);
    while (!t.empty() && p > 0 && p < t.size()) {
      t.erase(p - 1, 1);
      p = BlankPos(t);
      if (p == 0 && t.size() >= 2 && t[1] == '-') {
        t[1] = '0';
        const TTallLesing r = LesTallet(t);
        p = r.ok ? 0 : r.feil + 1;
      }
    }
    const TTallLesing r = LesTallet(t);
    tall = r.verdi;
    numerisk = r.ok;
  }
  if (kutt.empty() || numerisk) return tall;
  long double tekst = 0;
  long double potens = 1;
  for (char c : kutt) {
    potens *= 40;  // 40^i is exact in a long double for i up to 20
    tekst += Tegnvekt(static_cast<unsigned char>(c)) * 100000.0L / potens;
  }
  return tall + tekst;
}

// ---------------------------------------------------------------------------
// Sorting

std::vector<std::size_t> Byttepass(const std::vector<long double>& nokler, bool minkende) {
  struct Post {
    long double nokkel;
    std::size_t pos;
  };
  const std::size_t n = nokler.size();
  std::vector<Post> tabell(n);
  for (std::size_t i = 0; i < n; ++i) tabell[i] = {nokler[i], i};
  for (std::size_t i = 0; i + 1 < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      const bool bytt = minkende ? tabell[j].nokkel > tabell[i].nokkel : tabell[j].nokkel < tabell[i].nokkel;
      if (bytt) std::swap(tabell[i], tabell[j]);
    }
  }
  std::vector<std::size_t> orden(n);
  for (std::size_t i = 0; i < n; ++i) orden[i] = tabell[i].pos;
  return orden;
}

// Unlike the exchange pass, which may reorder rows with equal keys (it
// reverses two equal keys that stand before a smaller one), this keeps rows
// with equal keys in the order they had before the sort. Rows with distinct
// keys end up in the same places either way.
std::vector<std::size_t> StabilOrden(const std::vector<long double>& nokler, bool minkende) {
  std::vector<std::size_t> orden(nokler.size());
  std::iota(orden.begin(), orden.end(), std::size_t{0});
  if (minkende)
    std::stable_sort(orden.begin(), orden.end(), [&](std::size_t a, std::size_t b) { return nokler[a] > nokler[b]; });
  else
    std::stable_sort(orden.begin(), orden.end(), [&](std::size_t a, std::size_t b) { return nokler[a] < nokler[b]; });
  return orden;
}

std::string SorteringsTekst(bool minkende, bool ferdig) {
  return std::string(ferdig ? "Har sortert " : "Sorterer ") + (minkende ? "minkende" : "økende");
}

bool Sorter(TRutenett& g, bool minkende, const TStatus& status, std::size_t grense) {
  if (g.Rader() <= 2) return false;
  if (status) status(SorteringsTekst(minkende, false));
  const TOmraade& valg = g.Valg();
  int fra = g.FasteRader(), til = g.Rader() - 1;
  if (valg.bunn > valg.topp) {
    fra = valg.topp;
    til = valg.bunn;
  }
  fra = std::max(fra, 0);
  til = std::min(til, g.Rader() - 1);
  if (til > fra) {
    const int kol = g.GjeldendeKol();
    // Every key once, before any comparison.
    std::vector<long double> nokler;
    nokler.reserve(static_cast<std::size_t>(til - fra + 1));
    for (int r = fra; r <= til; ++r) nokler.push_back(Sorteringsverdi(g.Celle(kol, r)));
    const std::vector<std::size_t> orden =
        nokler.size() > grense ? StabilOrden(nokler, minkende) : Byttepass(nokler, minkende);
    std::vector<int> rekkefolge(orden.size());
    for (std::size_t i = 0; i < orden.size(); ++i) rekkefolge[i] = fra + static_cast<int>(orden[i]);
    g.OrdneRader(fra, rekkefolge);
  }
  if (status) status(SorteringsTekst(minkende, true));
  return true;
}

// ---------------------------------------------------------------------------
// Finding

std::optional<TCellePos> Finn(TRutenett& g, TFinnTilstand& tilstand, std::string_view tekst) {
  const std::string soke = UpperText(tekst);
  int kol = 0, rad = 0;
  if (tilstand.FinnVidere) {
    kol = tilstand.FinnKol + 1;
    rad = tilstand.FinnRad;
  }
  if (!soke.empty() && g.Kolonner() > 0) {
    for (; rad < g.Rader(); ++rad, kol = 0) {
      for (; kol < g.Kolonner(); ++kol) {
        if (UpperText(g.Celle(kol, rad)).find(soke) == std::string::npos) continue;
        g.SettValg(TOmraade{kol, rad, g.Kolonner() - 1, rad});
        tilstand = TFinnTilstand{kol, rad, true};
        return TCellePos{kol, rad};
      }
    }
  }
  tilstand.FinnVidere = false;
  return std::nullopt;
}

std::string FantIkke(std::string_view tekst) { return "Fant ikke " + Cp1252TilUtf8(UpperText(tekst)); }

// ---------------------------------------------------------------------------
// Column figures

long double Tallverdi(std::string_view celle) {
  std::string t = TrimText(celle);
  if (t.empty()) return 0;
  const std::size_t komma = t.find(',');
  if (komma != std::string::npos) t[komma] = '.';
  TTallLesing r = LesTallet(t);
  while (!r.ok && t.size() >= 2 && r.feil < t.size()) {
    t.erase(r.feil, 1);
    r = LesTallet(t);
  }
  return r.verdi;
}

std::optional<double> Datoverdi(std::string_view celle, bool& harAar) {
  if (celle.find('/', 1) == std::string_view::npos) return 0.0;
  const std::size_t forste = celle.find('/');
  const auto dag = TextToInt(celle.substr(0, forste));
  const std::string_view rest = celle.substr(forste + 1);
  const std::size_t neste = rest.find('/');
  int64_t maaned = 0, aar = 0;
  if (neste != std::string_view::npos && neste > 0) {
    maaned = TextToInt(rest.substr(0, neste));
    aar = TextToInt(rest.substr(neste + 1));
    harAar = true;
  } else {
    maaned = TextToInt(rest);
    const auto idag = DecodeDate(IDag());
    aar = idag ? idag->aar : 0;
  }
  auto innenfor = [](int64_t x) { return x >= 1 && x <= 9999; };
  if (!innenfor(aar) || !innenfor(maaned) || !innenfor(dag)) return std::nullopt;
  return EncodeDate(static_cast<int>(aar), static_cast<int>(maaned), static_cast<int>(dag));
}

int Desimaler(long double x) {
  const long double brok = x - std::trunc(x);
  if (brok > 0.1L) return 1;
  if (brok == 0) return 0;
  return 2;
}

TFigurOmraade Omraade(const TRutenett& g) {
  const TOmraade& valg = g.Valg();
  TFigurOmraade o;
  o.Kol = valg.venstre;
  if (valg.bunn > valg.topp) {
    o.FraRad = valg.topp;
    o.TilRad = valg.bunn;
    o.Foran = "(";
    o.Etter = ")";
  } else {
    o.FraRad = g.FasteRader();
    o.TilRad = g.Rader() - 1;
  }
  return o;
}

namespace {

std::string Figur(long double x) { return TrimText(FormatN(9, Desimaler(x), static_cast<double>(x))); }

std::string Tosifret(int x) {
  char b[8];
  std::snprintf(b, sizeof b, "%02d", x);
  return b;
}

void SkrivFigur(TTabell& t, const TFigurOmraade& o, const std::string& tekst) {
  t.Bunn().SettCelle(o.Kol, 0, tekst);
  t.Utvid(o.Kol, tekst);
}

}  // namespace

void TellLinjer(TTabell& t) {
  if (!t.BunnVist) return;
  const TRutenett& g = t.Hoved();
  const TOmraade& valg = g.Valg();
  const std::string tekst = valg.bunn > valg.topp ? "(" + std::to_string(valg.bunn - valg.topp + 1) + ")"
                                                  : std::to_string(g.Rader() - g.FasteRader());
  t.Bunn().SettCelle(valg.venstre, 0, tekst);
}

void SummerKolonne(TTabell& t) {
  const TFigurOmraade o = Omraade(t.Hoved());
  long double sum = 0;
  for (int r = o.FraRad; r <= o.TilRad; ++r) sum += Tallverdi(t.Hoved().Celle(o.Kol, r));
  SkrivFigur(t, o, o.Foran + Figur(sum) + o.Etter);
}

std::optional<std::string> SnittKolonne(TTabell& t) {
  const TFigurOmraade o = Omraade(t.Hoved());
  bool datoer = false, harAar = false;
  long double sum = 0, antall = 0;
  for (int r = o.FraRad; r <= o.TilRad; ++r) {
    const std::string& celle = t.Hoved().Celle(o.Kol, r);
    if (celle.find('/', 1) != std::string::npos) datoer = true;
    long double verdi = 0;
    if (datoer) {
      const std::optional<double> dato = Datoverdi(celle, harAar);
      if (!dato) return "«" + Cp1252TilUtf8(TrimText(celle)) + "» er ingen gyldig dato.";
      verdi = *dato;
    } else {
      verdi = Tallverdi(celle);
    }
    sum += verdi;
    if (verdi != 0) ++antall;
  }
  const long double snitt = SafeDiv(sum, antall);
  std::string tekst;
  if (datoer) {
    const std::optional<Kalenderdato> k = DecodeDate(static_cast<double>(snitt));
    if (!k) return std::string("Gjennomsnittet er ingen gyldig dato.");
    tekst = Tosifret(k->dag) + "/" + Tosifret(k->maaned);
    if (harAar) {
      char aar[8];
      std::snprintf(aar, sizeof aar, "%04d", k->aar);
      tekst += "/" + std::string(aar);
    }
  } else {
    tekst = Figur(snitt);
  }
  SkrivFigur(t, o, o.Foran + tekst + o.Etter);
  return std::nullopt;
}
