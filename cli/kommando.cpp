#include "kommando.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
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
    QCommandLineOption valget(QString::fromLatin1(v.navn));
    if (v.medVerdi) valget.setValueName(QStringLiteral("verdi"));
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

int TKommando::FeilBruk(const TKontekst& k) const {
  const std::string_view bruk = Bruk();
  std::fwrite(bruk.data(), 1, bruk.size(), k.feil);
  return 2;
}
