#include "kommando.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>
#include <map>

#include "okt.h"

namespace {

// The parser works on QStrings. Each byte of an argument travels as one
// Latin-1 character and comes back as that byte, so that file names and
// texts reach the command exactly as given, whatever their encoding; the
// option names are ASCII.
QString TilParser(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string FraParser(const QString& tekst) { return tekst.toLatin1().toStdString(); }

// The characters of a UTF-8 text: its bytes that do not continue one.
int Tegn(std::string_view tekst) {
  return static_cast<int>(std::count_if(tekst.begin(), tekst.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

constexpr std::string_view HardtMellomrom = "\xC2\xA0";

// The descriptions of an option block start at this column at the most; an
// option whose name and placeholder reach past it has its description on the
// next line.
constexpr int MaksValgKolonne = 25;

// How a usage line starts.
constexpr std::string_view BrukStart = "Bruk: hornstad-cli ";

// "avkom NUMMER [--ut FIL]": the word and what follows it.
std::string NavnOgKall(std::string_view navn, std::string_view kall) {
  std::string s(navn);
  if (!kall.empty()) (s += ' ') += kall;
  return s;
}

// The usage in the command's help: broken between the bracketed parts when
// it would pass the width, the further lines under the command's word.
std::string Brukslinjer(std::string_view navn, std::string_view kall) {
  const std::string start(BrukStart);
  std::string ut = start + std::string(navn);
  int brukt = Tegn(ut);
  std::string del;
  const auto legg = [&] {
    if (del.empty()) return;
    const int n = Tegn(del);
    if (brukt + 1 + n > HjelpBredde) {
      ut += '\n' + std::string(start.size(), ' ');
      brukt = static_cast<int>(start.size());
    } else {
      ut += ' ';
      ++brukt;
    }
    ut += del;
    brukt += n;
    del.clear();
  };
  int dybde = 0;
  for (const char c : kall) {
    if (c == '[') ++dybde;
    if (c == ']') --dybde;
    if (c == ' ' && dybde == 0)
      legg();
    else
      del += c;
  }
  legg();
  return ut + '\n';
}

// The lower-case description as sentences: a capital first letter and a full
// stop.
std::string Setning(std::string_view omtale) {
  std::string s(omtale);
  if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
  if (!s.empty() && std::string_view(".!?").find(s.back()) == std::string_view::npos) s += '.';
  return s;
}

}  // namespace

bool TArgumenter::Har(std::string_view navn) const {
  for (const auto& [n, v] : valg)
    if (n == navn) return true;
  return false;
}

std::string TArgumenter::Verdi(std::string_view navn) const {
  std::string verdi;
  for (const auto& [n, v] : valg)
    if (n == navn) verdi = v;
  return verdi;
}

std::optional<TArgumenter> LesArgumenter(const std::vector<std::string>& argumenter, const std::vector<TValg>& valg) {
  TArgumenter a;
  if (valg.empty()) {
    a.frie = argumenter;
    return a;
  }
  QCommandLineParser parser;
  for (const TValg& v : valg) {
    QCommandLineOption valget(QString::fromLatin1(v.navn.data(), static_cast<qsizetype>(v.navn.size())));
    if (v.MedVerdi()) valget.setValueName(QString::fromUtf8(v.verdi.data(), static_cast<qsizetype>(v.verdi.size())));
    parser.addOption(valget);
  }
  QStringList liste{QString()};  // the program's name, which the parser passes over
  for (const std::string& argument : argumenter) liste << TilParser(argument);
  if (!parser.parse(liste)) return std::nullopt;

  // The options in the order given, each with its own value: the parser
  // keeps the names in order and each option's values in order.
  std::map<QString, qsizetype> brukt;
  for (const QString& navn : parser.optionNames()) {
    const QStringList verdier = parser.values(navn);
    const qsizetype i = brukt[navn]++;
    a.valg.emplace_back(FraParser(navn), i < verdier.size() ? FraParser(verdier[i]) : std::string());
  }
  for (const QString& fri : parser.positionalArguments()) a.frie.push_back(FraParser(fri));
  return a;
}

std::optional<TArgumenter> TKommando::Les(const std::vector<std::string>& argumenter) const {
  std::optional<TArgumenter> a = LesArgumenter(argumenter, Valg());
  if (a && AntallFrie() >= 0 && a->frie.size() != static_cast<std::size_t>(AntallFrie())) return std::nullopt;
  return a;
}

TProdusent& TKontekst::Register() const { return okt->AapentRegister(); }

int TKommando::Start(const TKontekst& k, const std::vector<std::string>& argumenter) const {
  const std::optional<TArgumenter> a = Les(argumenter);
  if (!a) return FeilBruk(k);
  if (k.okt) return Kjor(k, *a);
  TOkt okt(k.data);
  TKontekst medOkt = k;
  medOkt.okt = &okt;
  return Kjor(medOkt, *a);
}

std::string TKommando::Bruk() const { return std::string(BrukStart) + NavnOgKall(Navn(), Kall()) + '\n'; }

int TKommando::FeilBruk(const TKontekst& k) const {
  const std::string bruk = Bruk();
  std::fwrite(bruk.data(), 1, bruk.size(), k.feil);
  return 2;
}

std::string TKommando::Avsnitt() const { return Oppstilt("  " + NavnOgKall(Navn(), Kall()), Omtale(), HjelpKolonne); }

std::string TKommando::Hjelp() const {
  std::string tekst = Brukslinjer(Navn(), Kall()) + '\n' + Oppstilt({}, Setning(Omtale()), 0);
  if (const std::vector<TValg> valg = Valg(); !valg.empty()) tekst += "\nValg:\n" + Valgliste(valg);
  return tekst;
}

std::string Oppstilt(std::string_view hode, std::string_view tekst, int kolonne) {
  std::string ut(hode);
  int brukt = Tegn(hode);  // characters on the line being made
  if (!hode.empty() && brukt + 2 > kolonne) {
    ut += '\n';
    brukt = 0;
  }
  bool tom = true;  // no word of the text on that line yet
  const auto nyLinje = [&] {
    ut += '\n';
    brukt = 0;
    tom = true;
  };
  const auto skriv = [&](std::string_view ord) {
    const int n = Tegn(ord);
    if (!tom && brukt + 1 + n > HjelpBredde) nyLinje();
    if (tom) {
      ut.append(static_cast<std::size_t>(std::max(kolonne - brukt, 0)), ' ');
      brukt = std::max(kolonne, brukt);
    } else {
      ut += ' ';
      ++brukt;
    }
    for (std::size_t i = 0; i < ord.size();) {
      if (ord.substr(i, HardtMellomrom.size()) == HardtMellomrom) {
        ut += ' ';
        i += HardtMellomrom.size();
      } else {
        ut += ord[i++];
      }
    }
    brukt += n;
    tom = false;
  };
  for (std::size_t pos = 0; pos <= tekst.size();) {
    const std::size_t slutt = std::min(tekst.find('\n', pos), tekst.size());
    if (pos > 0 && !tom) nyLinje();
    const std::string_view linje = tekst.substr(pos, slutt - pos);
    for (std::size_t a = 0; a < linje.size();) {
      const std::size_t b = std::min(linje.find(' ', a), linje.size());
      if (b > a) skriv(linje.substr(a, b - a));
      a = b + 1;
    }
    pos = slutt + 1;
  }
  if (!ut.empty() && ut.back() != '\n') ut += '\n';
  return ut;
}

std::string Valgliste(const std::vector<TValg>& valg) {
  const auto navn = [](const TValg& v) {
    std::string s = "  --" + std::string(v.navn);
    if (v.MedVerdi()) (s += ' ') += v.verdi;
    return s;
  };
  int kolonne = HjelpKolonne;
  for (const TValg& v : valg) kolonne = std::max(kolonne, Tegn(navn(v)) + 2);
  kolonne = std::min(kolonne, MaksValgKolonne);
  std::string tekst;
  for (const TValg& v : valg) tekst += Oppstilt(navn(v), v.omtale, kolonne);
  return tekst;
}
