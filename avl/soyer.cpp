#include "soyer.h"

#include <algorithm>
#include <system_error>

#include "cp1252.h"
#include "felt.h"
#include "filer.h"
#include "register.h"
#include "tekst.h"

namespace fs = std::filesystem;

std::filesystem::path SoyeFil(const std::filesystem::path& dataMappe) { return FinnFil(dataMappe, SoyeFilNavn); }

bool SammeSoyenummer(std::string_view a, std::string_view b) {
  const std::string ta = TrimText(a), tb = TrimText(b);
  if (ta == tb) return true;
  const auto erTall = [](const std::string& t) {
    if (t.empty()) return false;
    for (unsigned char c : t)
      if (c < '0' || c > '9') return false;
    return true;
  };
  if (!erTall(ta) || !erTall(tb)) return false;
  const std::size_t ia = std::min(ta.find_first_not_of('0'), ta.size() - 1);
  const std::size_t ib = std::min(tb.find_first_not_of('0'), tb.size() - 1);
  return ta.substr(ia) == tb.substr(ib);
}

const TSoye* FinnSoye(const std::vector<TSoye>& soyer, std::string_view nummer) {
  for (const TSoye& s : soyer)
    if (SammeSoyenummer(s.nummer, nummer)) return &s;
  return nullptr;
}

namespace {

std::string C(std::string_view utf8) { return Utf8TilCp1252(utf8); }

// What is wrong with a ewe number (Windows-1252), or an empty text.
std::string NummerFeil(const std::string& nummer) {
  if (nummer.empty()) return C("søyenummeret mangler");
  if (nummer[0] == '#') return C("søyenummeret kan ikke begynne med #");
  if (nummer.find(';') != std::string::npos) return C("søyenummeret kan ikke inneholde semikolon");
  for (unsigned char c : nummer)
    if (c < 0x20) return C("søyenummeret kan ikke inneholde kontrolltegn");
  return {};
}

// Gathers ewes and messages line by line.
class TSamler {
 public:
  explicit TSamler(std::string_view navn) : navn_(navn) {}

  void Hopp(int linje, const std::string& hva) {
    les_.meldinger.push_back(C("Linje ") + IntToText(linje) + C(" i ") + navn_ + ": " + hva +
                             C("; linja er hoppet over."));
  }

  // The first three or four fields of a line that is not blank or a comment.
  void Ta(int linje, const std::vector<std::string>& felt) {
    if (felt.size() < 3) return Hopp(linje, C("venter søyenummer;far;morfar"));
    TSoye s;
    s.nummer = TrimText(felt[0]);
    if (const std::string feil = NummerFeil(s.nummer); !feil.empty()) return Hopp(linje, feil);
    const auto far = LesKaaringsnummer(felt[1]);
    if (!far) return Hopp(linje, C("farens kåringsnummer «") + TrimText(felt[1]) + C("» er ikke et tall"));
    const auto morfar = LesKaaringsnummer(felt[2]);
    if (!morfar) return Hopp(linje, C("morfarens kåringsnummer «") + TrimText(felt[2]) + C("» er ikke et tall"));
    s.far = *far;
    s.morfar = *morfar;
    if (felt.size() > 3) {
      const auto mormorfar = LesKaaringsnummer(felt[3]);
      if (!mormorfar)
        return Hopp(linje, C("mormorsfarens kåringsnummer «") + TrimText(felt[3]) + C("» er ikke et tall"));
      s.mormorfar = *mormorfar;
    }
    for (std::size_t i = 0; i < les_.soyer.size(); ++i) {
      if (SammeSoyenummer(les_.soyer[i].nummer, s.nummer))
        return Hopp(linje, C("søye ") + s.nummer + C(" står allerede på linje ") + IntToText(linjer_[i]));
    }
    les_.soyer.push_back(std::move(s));
    linjer_.push_back(linje);
  }

  TSoyeLesing Resultat() { return std::move(les_); }

 private:
  std::string navn_;
  TSoyeLesing les_;
  std::vector<int> linjer_;  // line of each ewe
};

bool Blank(std::string_view linje) {
  for (unsigned char c : linje)
    if (c > ' ') return false;
  return true;
}

bool Kommentar(std::string_view linje) {
  for (unsigned char c : linje) {
    if (c == ' ' || c == '\t') continue;
    return c == '#';
  }
  return false;
}

bool GyldigUtf8(std::string_view t, bool& overAscii) {
  overAscii = false;
  for (std::size_t i = 0; i < t.size();) {
    const unsigned char c = static_cast<unsigned char>(t[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    overAscii = true;
    std::size_t n;
    if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
    } else {
      return false;
    }
    if (i + n >= t.size()) return false;
    for (std::size_t k = 1; k <= n; ++k)
      if ((static_cast<unsigned char>(t[i + k]) & 0xC0) != 0x80) return false;
    i += n + 1;
  }
  return true;
}

}  // namespace

TSoyeLesing TolkSoyer(std::string_view tekst, std::string_view navn) {
  TSamler samler(navn);
  int nr = 0;
  std::vector<std::string> felt;
  ForHverLinje(tekst, [&](std::string_view linje) {
    ++nr;
    if (Blank(linje) || Kommentar(linje)) return;
    if (!DelFelt(linje, felt)) return samler.Hopp(nr, C("et felt i anførselstegn slutter ikke"));
    samler.Ta(nr, felt);
  });
  return samler.Resultat();
}

TSoyeLesing TolkSoyeCsv(std::string_view tekst, std::string_view navn) {
  std::string omgjort;
  if (tekst.substr(0, 3) == "\xEF\xBB\xBF") {
    omgjort = Utf8TilCp1252(tekst.substr(3));
    tekst = omgjort;
  } else if (bool over = false; GyldigUtf8(tekst, over) && over) {
    omgjort = Utf8TilCp1252(tekst);
    tekst = omgjort;
  }
  TSamler samler(navn);
  int nr = 0;
  bool forste = true;
  std::vector<std::string> felt;
  ForHverLinje(tekst, [&](std::string_view linje) {
    ++nr;
    if (Blank(linje)) return;
    if (!DelFelt(linje, felt)) {
      forste = false;
      return samler.Hopp(nr, C("et felt i anførselstegn slutter ikke"));
    }
    bool tom = true;
    for (const std::string& f : felt) tom = tom && Blank(f);
    if (tom) return;
    if (forste) {
      forste = false;
      const bool tall1 = felt.size() > 1 && LesKaaringsnummer(felt[1]).has_value();
      const bool tall2 = felt.size() > 2 && LesKaaringsnummer(felt[2]).has_value();
      const bool tall3 = felt.size() <= 3 || LesKaaringsnummer(felt[3]).has_value();
      if (felt.size() >= 3 && (!tall1 || !tall2 || !tall3)) return;  // the header
    }
    samler.Ta(nr, felt);
  });
  return samler.Resultat();
}

TSoyeLesing LesSoyer(const fs::path& fil) {
  std::error_code ec;
  if (!fs::exists(fil, ec)) return {};
  return TolkSoyer(LesHeleFila(fil), fil.filename().string());
}

TSoyeLesing LesSoyeCsv(const fs::path& fil) { return TolkSoyeCsv(LesHeleFila(fil), fil.filename().string()); }

std::string SoyeTekst(const std::vector<TSoye>& soyer) {
  // The fourth field only when some ewe has it: a list without it is written as before.
  const bool fire = std::any_of(soyer.begin(), soyer.end(), [](const TSoye& s) { return s.mormorfar != 0; });
  std::string t = C("# Søyenummer;farens kåringsnummer;morfarens kåringsnummer");
  t += fire ? C(";mormorsfarens kåringsnummer\r\n") : std::string("\r\n");
  for (const TSoye& s : soyer) {
    LeggTilFelt(t, s.nummer);
    t += ";" + IntToText(s.far) + ";" + IntToText(s.morfar);
    if (fire) t += ";" + IntToText(s.mormorfar);
    t += "\r\n";
  }
  return t;
}

void SkrivSoyer(const fs::path& fil, const std::vector<TSoye>& soyer) { SkrivTrygt(fil, SoyeTekst(soyer)); }

std::string SoyeFeil(const TSoye& soye, const std::vector<TSoye>& soyer, int unntak) {
  const std::string nummer = TrimText(soye.nummer);
  if (std::string feil = NummerFeil(nummer); !feil.empty()) {
    feil[0] = static_cast<char>(UpChar(static_cast<unsigned char>(feil[0])));
    return feil + ".";
  }
  if (soye.far < 0 || soye.morfar < 0 || soye.mormorfar < 0) return C("Et kåringsnummer kan ikke være negativt.");
  for (std::size_t i = 0; i < soyer.size(); ++i) {
    if (static_cast<int>(i) == unntak) continue;
    if (SammeSoyenummer(soyer[i].nummer, nummer)) return C("Søye ") + nummer + C(" står allerede i lista.");
  }
  return {};
}

TFletting FlettSoyer(std::vector<TSoye>& liste, const std::vector<TSoye>& lest) {
  TFletting f;
  for (const TSoye& s : lest) {
    const auto der =
        std::find_if(liste.begin(), liste.end(), [&](const TSoye& l) { return SammeSoyenummer(l.nummer, s.nummer); });
    if (der == liste.end()) {
      liste.push_back(s);
      ++f.nye;
    } else if (der->far != s.far || der->morfar != s.morfar || der->mormorfar != s.mormorfar) {
      der->far = s.far;
      der->morfar = s.morfar;
      der->mormorfar = s.mormorfar;
      ++f.endret;
    }
  }
  return f;
}

TTreveis FlettTreveis(const std::vector<TSoye>& grunnlag, const std::vector<TSoye>& mine,
                      const std::vector<TSoye>& deres, bool mineVinner) {
  TTreveis r;
  const auto finn = [](const std::vector<TSoye>& l, std::string_view nr) -> std::optional<TSoye> {
    if (const TSoye* s = FinnSoye(l, nr)) return *s;
    return std::nullopt;
  };
  // What becomes of one ewe number, given the three versions.
  const auto avgjor = [&](const std::string& nr) -> std::optional<TSoye> {
    const std::optional<TSoye> g = finn(grunnlag, nr), m = finn(mine, nr), d = finn(deres, nr);
    if (m == d) return m;
    if (m == g) {
      ++r.fraDeres;
      return d;
    }
    if (d == g) return m;
    r.konflikter.push_back({nr, m, d});
    return mineVinner ? m : d;
  };
  std::vector<std::string> sett;
  const auto ny = [&](const std::string& nr) {
    for (const std::string& s : sett)
      if (SammeSoyenummer(s, nr)) return false;
    sett.push_back(nr);
    return true;
  };
  for (const TSoye& s : deres)
    if (ny(s.nummer))
      if (auto v = avgjor(s.nummer)) r.soyer.push_back(*v);
  for (const TSoye& s : mine)
    if (ny(s.nummer))
      if (auto v = avgjor(s.nummer)) r.soyer.push_back(*v);
  // Ewes of the common list that neither side has any more, or one side removed.
  for (const TSoye& s : grunnlag)
    if (ny(s.nummer))
      if (auto v = avgjor(s.nummer)) r.soyer.push_back(*v);
  return r;
}
