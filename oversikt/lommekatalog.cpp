#include "lommekatalog.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "cp1252.h"
#include "lommeside.h"
#include "sammenligning.h"
#include "tekst.h"

namespace {

std::string U(std::string_view cp1252) { return Cp1252TilUtf8(cp1252); }

void Tall(std::string& ut, int64_t n) {
  char b[24];
  const auto r = std::to_chars(b, b + sizeof b, n);
  ut.append(b, r.ptr);
}

void Desimaltall(std::string& ut, double x) {
  char b[32];
  const auto r = std::to_chars(b, b + sizeof b, x);
  ut.append(b, r.ptr);
}

// A percentage as hundredths, or null for a figure that is not a number.
void Andel(std::string& ut, double andel) {
  if (std::isfinite(andel))
    Tall(ut, Hundredeler(andel));
  else
    ut += "null";
}

// The ten pedigree numbers of a ram (see the header), and the names of the
// rams among them.
std::array<int32_t, 10> Aner(const TProdusent& reg, const TVerPost& v, std::map<int32_t, std::string>& navn) {
  const auto les = [&](int32_t nr) {
    if (nr == 0) return TomVerPost();
    const TVerPost p = reg.LesNummer(nr);
    if (p.Nummer != 0) navn.emplace(nr, U(TrimText(p.Navn.Verdi())));
    return p;
  };
  const TVerPost far = les(v.Farnr);
  const TVerPost morfar = les(v.MorFar);
  const TVerPost farfar = les(far.Farnr);
  les(farfar.Farnr);
  les(far.MorFar);
  les(morfar.Farnr);
  return {v.Farnr,      v.Mornr,      far.Farnr,  far.Mornr,    v.MorFar,
          farfar.Farnr, farfar.Mornr, far.MorFar, morfar.Farnr, morfar.Mornr};
}

std::string Html(const std::string& data) {
  const std::string_view stil = LommesideStil(), skript = LommesideSkript();
  std::string h;
  h.reserve(data.size() + stil.size() + skript.size() + 2048);
  h += "<!DOCTYPE html>\n<html lang=\"nb\">\n<head>\n<meta charset=\"utf-8\">\n";
  h += "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src ";
  h += CspKilde(stil);
  h += "; script-src ";
  h += CspKilde(skript);
  h += "; base-uri 'none'; form-action 'none'\">\n";
  h += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  h += "<meta name=\"color-scheme\" content=\"light dark\">\n";
  h += "<meta name=\"referrer\" content=\"no-referrer\">\n";
  h += "<title>Lommekatalog</title>\n<style>";
  h += stil;
  h += "</style>\n</head>\n<body>\n";
  h += "<header id=\"topp\">\n<p id=\"laget\"></p>\n";
  h += "<input id=\"sok\" type=\"search\" inputmode=\"search\" placeholder=\"Søk på nummer eller navn\" "
       "aria-label=\"Søk på nummer eller navn\" autocomplete=\"off\" autocorrect=\"off\" autocapitalize=\"off\" "
       "spellcheck=\"false\">\n";
  h += "<div id=\"sortering\" role=\"group\" aria-label=\"Sortering\">"
       "<button type=\"button\" data-s=\"o\">O-indeks</button>"
       "<button type=\"button\" data-s=\"i\">Snitt søyer</button>"
       "<button type=\"button\" data-s=\"a\">År</button>"
       "<button type=\"button\" data-s=\"n\">Navn</button></div>\n";
  h += "<div id=\"kolonner\"><span id=\"antall\"></span><span id=\"kolonne\">O-indeks / "
       "snitt med søyene</span></div>\n</header>\n";
  h += "<main id=\"liste\"><div id=\"rader\"></div><p id=\"tom\" hidden>Ingen værer passer til søket.</p></main>\n";
  h += "<section id=\"kort\" hidden></section>\n";
  h += "<noscript><p>Lommekatalogen trenger JavaScript.</p></noscript>\n";
  h += "<script type=\"application/json\" id=\"data\">";
  h += data;
  h += "</script>\n<script>";
  h += skript;
  h += "</script>\n</body>\n</html>\n";
  return h;
}

}  // namespace

std::string JsonStreng(std::string_view s) {
  static const char hex[] = "0123456789abcdef";
  std::string ut;
  ut.reserve(s.size() + 2);
  ut += '"';
  for (std::size_t i = 0; i < s.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    switch (c) {
      case '"': ut += "\\\""; continue;
      case '\\': ut += "\\\\"; continue;
      case '\n': ut += "\\n"; continue;
      case '\r': ut += "\\r"; continue;
      case '\t': ut += "\\t"; continue;
      default: break;
    }
    if (c < 0x20 || c == '<' || c == '>' || c == '&' || c == 0x7F) {
      ut += "\\u00";
      ut += hex[c >> 4];
      ut += hex[c & 15];
    } else if (c == 0xE2 && i + 2 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0x80 &&
               (static_cast<unsigned char>(s[i + 2]) == 0xA8 || static_cast<unsigned char>(s[i + 2]) == 0xA9)) {
      // U+2028 and U+2029 end a line in older script parsers.
      ut += static_cast<unsigned char>(s[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
      i += 2;
    } else {
      ut += static_cast<char>(c);
    }
  }
  ut += '"';
  return ut;
}

std::string CspKilde(std::string_view tekst) {
  const QByteArray sum = QCryptographicHash::hash(QByteArray(tekst.data(), static_cast<qsizetype>(tekst.size())),
                                                  QCryptographicHash::Sha256);
  return "'sha256-" + sum.toBase64().toStdString() + "'";
}

int64_t Hundredeler(double andel) {
  // The digits of the text the windows show, so that the page says the same.
  const std::string t = Prosent(andel);
  int64_t n = 0;
  bool minus = false;
  for (char c : t) {
    if (c == '-') minus = true;
    if (c >= '0' && c <= '9') n = n * 10 + (c - '0');
  }
  return minus ? -n : n;
}

void BrukForslag(TLommevalg& valg, const TLagretForslag& lagret) {
  valg.par = lagret.par;
  valg.kandidater.clear();
  for (const TKandidat& k : lagret.valg.verer) valg.kandidater.push_back(k.nummer);
  valg.forslag = true;
}

TLommekatalog LagLommekatalog(TProdusent& reg, TAvlsdata& avl, const Trase& raser, const TLommevalg& valg) {
  TLommekatalog k;
  // The rams, each once, in the list's order.
  std::vector<int32_t> nummer;
  std::unordered_set<int32_t> sett;
  for (int32_t n : valg.verer)
    if (sett.insert(n).second) nummer.push_back(n);

  // Percentiles among the register's rams of the same breed and year, as the
  // comparison gives them.
  const TSammenligning s = Sammenlign(reg, nummer, k.ukjente);
  for (const TVerPost& v : s.verer) k.verer.push_back(v.Nummer);

  // The lamb's coefficients with each ewe, and the rams' own: from the
  // coefficients of the rams and the ewes' ancestors.
  std::vector<int32_t> parter = k.verer;
  for (const TSoye& soye : valg.soyer) parter.insert(parter.end(), {soye.far, soye.morfar, soye.mormorfar});
  const TInnavl& innavl = avl.InnavlFor(parter);
  const TParingsplan plan = LagParingsplan(innavl, valg.soyer, k.verer);
  std::unordered_map<int32_t, std::size_t> planKolonne;
  for (std::size_t j = 0; j < plan.verer.size(); ++j) planKolonne.emplace(plan.verer[j], j);

  // The saved suggestion's ewes of each ram, as indexes among the ewes: a
  // ewe no longer in Soyer.Txt is left out.
  std::unordered_map<int32_t, std::vector<std::size_t>> tildelt;
  for (const TParingspar& p : valg.par) {
    if (p.ver == 0) continue;
    for (std::size_t e = 0; e < valg.soyer.size(); ++e)
      if (SammeSoyenummer(valg.soyer[e].nummer, p.soye)) {
        tildelt[p.ver].push_back(e);
        break;
      }
  }
  const std::unordered_set<int32_t> kandidater(valg.kandidater.begin(), valg.kandidater.end());
  const auto kandidat = [&](int32_t nr) { return kandidater.empty() || kandidater.count(nr) > 0; };

  std::map<int32_t, std::string> anenavn;
  std::vector<std::string> rasenavn;
  std::unordered_map<int32_t, std::size_t> raseIndeks;

  std::string v;
  v.reserve(s.verer.size() * (300 + 6 * valg.soyer.size()));
  const std::size_t nIndekser = std::min<std::size_t>(AntallIndeksfigurer, s.figurer.size());
  for (std::size_t r = 0; r < s.verer.size(); ++r) {
    const TVerPost& ver = s.verer[r];
    if (r > 0) v += ',';
    v += '[';
    Tall(v, ver.Nummer);
    v += ',';
    v += JsonStreng(U(TrimText(ver.Navn.Verdi())));
    v += ',';
    auto [rase, ny] = raseIndeks.emplace(ver.Rase, rasenavn.size());
    if (ny) rasenavn.push_back(U(TrimText(raser.BreedName(ver.Rase))));
    Tall(v, static_cast<int64_t>(rase->second));
    v += ',';
    Tall(v, ver.Aar);
    v += ',';
    Tall(v, ver.Type);
    v += ',';
    Tall(v, ver.OIndeks);
    v += ",[";
    for (std::size_t f = 0; f < nIndekser; ++f) {
      if (f > 0) v += ',';
      v += JsonStreng(U(s.Tekst(f, r)));
    }
    v += "],";
    const int32_t dyr = innavl.Stamtavle().Finn(ver.Nummer);
    if (dyr >= 0)
      Andel(v, innavl.F(dyr));
    else
      v += "null";
    v += ',';
    const auto kol = planKolonne.find(ver.Nummer);
    if (kol != planKolonne.end() && !plan.snitt.empty())
      Andel(v, plan.snitt[kol->second]);
    else
      v += "null";
    v += ",[";
    const std::array<int32_t, 10> aner = Aner(reg, ver, anenavn);
    for (std::size_t a = 0; a < aner.size(); ++a) {
      if (a > 0) v += ',';
      Tall(v, aner[a]);
    }
    v += "],\"";
    for (std::size_t e = 0; e < valg.soyer.size(); ++e) {
      if (e > 0) v += ',';
      const double lam = kol != planKolonne.end() ? plan.Lam(e, kol->second) : NAN;
      if (std::isfinite(lam))
        Tall(v, Hundredeler(lam));
      else
        v += '-';
    }
    v += "\",";
    if (valg.forslag && !kandidat(ver.Nummer)) {
      v += "null";
    } else {
      v += '[';
      if (const auto t = tildelt.find(ver.Nummer); t != tildelt.end())
        for (std::size_t e = 0; e < t->second.size(); ++e) {
          if (e > 0) v += ',';
          Tall(v, static_cast<int64_t>(t->second[e]));
        }
      v += ']';
    }
    v += ',';
    if (dyr >= 0)
      Tall(v, innavl.Kjente(dyr));
    else
      v += "null";
    v += ']';
  }

  std::string d;
  d.reserve(v.size() + anenavn.size() * 40 + valg.soyer.size() * 12 + 1024);
  d += "{\"laget\":";
  d += JsonStreng(valg.dato);
  d += ",\"grense\":";
  Desimaltall(d, valg.grense);
  d += ",\"figurer\":[";
  for (std::size_t f = 0; f < nIndekser; ++f) {
    if (f > 0) d += ',';
    d += JsonStreng(U(s.figurer[f].navn));
  }
  d += "],\"raser\":[";
  for (std::size_t i = 0; i < rasenavn.size(); ++i) {
    if (i > 0) d += ',';
    d += JsonStreng(rasenavn[i]);
  }
  d += "],\"soyer\":[";
  for (std::size_t e = 0; e < valg.soyer.size(); ++e) {
    if (e > 0) d += ',';
    d += JsonStreng(U(valg.soyer[e].nummer));
  }
  // Ewes with no known ancestor in the pedigree: their lamb's figures read
  // 0 (unknown counts as unrelated), which the page says.
  d += "],\"ukjenteSoyer\":[";
  bool forsteUkjent = true;
  for (std::size_t e = 0; e < valg.soyer.size(); ++e) {
    const TSoye& soye = valg.soyer[e];
    bool kjent = false;
    for (int32_t nr : {soye.far, soye.morfar, soye.mormorfar})
      kjent = kjent || (nr != 0 && innavl.Stamtavle().Finn(nr) >= 0);
    if (kjent) continue;
    if (!forsteUkjent) d += ',';
    forsteUkjent = false;
    Tall(d, static_cast<int64_t>(e));
  }
  d += "],\"forslag\":";
  d += valg.forslag ? "true" : "false";
  d += ",\"aner\":{";
  bool forst = true;
  for (const auto& [nr, navn] : anenavn) {
    if (!forst) d += ',';
    forst = false;
    d += '"';
    Tall(d, nr);
    d += "\":";
    d += JsonStreng(navn);
  }
  d += "},\"v\":[";
  d += v;
  d += "]}";
  k.html = Html(d);
  return k;
}
