#include "skall.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "filer.h"

QString Hovedtittel() { return QString("Hornstad. ") + Versjonstekst; }

QString StatusTekst(std::size_t antall, const QString& sisteArkiv) {
  return QString::number(static_cast<qulonglong>(antall)) + " værer " + sisteArkiv;
}

bool OppslagTillatt(std::size_t antall) { return antall > 100; }

QString KortArkivnavn(const QString& filnavn) {
  const qsizetype punkt = filnavn.indexOf('.');
  return punkt < 0 ? filnavn : filnavn.left(punkt + 1);
}

std::filesystem::path Innstillingsfil(const std::filesystem::path& dataMappe) {
  return FinnFil(dataMappe, InnstillingsfilNavn);
}

namespace {

std::optional<int> LesTall(const QSettings& ini, const QString& nokkel) {
  const QVariant v = ini.value(nokkel);
  if (!v.isValid()) return std::nullopt;
  bool ok = false;
  const int tall = v.toString().trimmed().toInt(&ok);
  return ok ? std::optional<int>(tall) : std::nullopt;
}

}  // namespace

TPlass LesPlass(const QSettings& ini, const QString& seksjon) {
  TPlass p;
  p.left = LesTall(ini, seksjon + "/Left");
  p.top = LesTall(ini, seksjon + "/Top");
  p.bred = LesTall(ini, seksjon + "/Bred");
  p.hog = LesTall(ini, seksjon + "/Hog");
  return p;
}

void SkrivPlass(QSettings& ini, const QString& seksjon, const QRect& plass, bool medStorrelse) {
  ini.setValue(seksjon + "/Left", plass.x());
  ini.setValue(seksjon + "/Top", plass.y());
  if (medStorrelse) {
    ini.setValue(seksjon + "/Bred", plass.width());
    ini.setValue(seksjon + "/Hog", plass.height());
  }
}

QString Nettadresse(const QSettings& ini) {
  QString a = ini.value("Nett/Adresse", QString(StandardAdresse)).toString().trimmed();
  while (a.endsWith('/')) a = a.chopped(1).trimmed();
  return a.isEmpty() ? QString(StandardAdresse) : a;
}

std::string Sertifikatfil(const QSettings& ini, const std::filesystem::path& dataMappe) {
  const QString navn = ini.value("Nett/Sertifikat").toString().trimmed();
  if (navn.isEmpty()) return {};
  const std::filesystem::path fil = navn.toStdString();
  return (fil.is_absolute() ? fil : dataMappe / fil).string();
}

bool LastNorskeQtTekster() {
  static QTranslator* tekster = nullptr;
  if (tekster != nullptr) return true;
  auto* t = new QTranslator(QCoreApplication::instance());
  const QString mappe = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  for (const char* navn : {"qtbase_nb", "qtbase_no", "qtbase_nn"}) {
    if (t->load(QString::fromLatin1(navn), mappe)) {
      QCoreApplication::installTranslator(t);
      tekster = t;
      return true;
    }
  }
  delete t;
  return false;
}
