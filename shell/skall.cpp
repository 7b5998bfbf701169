#include "skall.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <algorithm>

#include "filer.h"
#include "register.h"

QString StatusTekst(std::size_t antall, const QString& sisteArkiv) {
  return QString::number(static_cast<qulonglong>(antall)) + " værer " + sisteArkiv;
}

bool OppslagTillatt(std::size_t antall) { return antall > MinsteVerregister; }

QString KortArkivnavn(const QString& filnavn) {
  const qsizetype punkt = filnavn.indexOf('.');
  return punkt < 0 ? filnavn : filnavn.left(punkt + 1);
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

namespace {

qint64 Flate(const QRect& r) { return r.isEmpty() ? 0 : qint64{r.width()} * r.height(); }

// The squared distance from a point to a rectangle (0 inside it).
qint64 Avstand(const QPoint& p, const QRect& r) {
  const qint64 dx = p.x() < r.left() ? r.left() - p.x() : p.x() > r.right() ? p.x() - r.right() : 0;
  const qint64 dy = p.y() < r.top() ? r.top() - p.y() : p.y() > r.bottom() ? p.y() - r.bottom() : 0;
  return dx * dx + dy * dy;
}

}  // namespace

QRect PaaSkjermen(const QRect& lagret, const QList<QRect>& skjermer) {
  if (skjermer.isEmpty() || lagret.isEmpty()) return lagret;
  qint64 synlig = 0;
  for (const QRect& s : skjermer) synlig += Flate(lagret & s);
  if (synlig >= Flate(lagret)) return lagret;

  qsizetype valgt = 0;
  qint64 mest = 0;
  for (qsizetype i = 0; i < skjermer.size(); ++i) {
    if (const qint64 f = Flate(lagret & skjermer[i]); f > mest) {
      mest = f;
      valgt = i;
    }
  }
  if (mest == 0) {
    for (qsizetype i = 1; i < skjermer.size(); ++i)
      if (Avstand(lagret.center(), skjermer[i]) < Avstand(lagret.center(), skjermer[valgt])) valgt = i;
  }
  const QRect& s = skjermer[valgt];
  const int b = std::min(lagret.width(), s.width());
  const int h = std::min(lagret.height(), s.height());
  const int x = std::clamp(lagret.x(), s.x(), s.x() + s.width() - b);
  const int y = std::clamp(lagret.y(), s.y(), s.y() + s.height() - h);
  return QRect(x, y, b, h);
}

QRect PaaSkjermen(const QRect& inni, const QMargins& ramme, const QList<QRect>& skjermer) {
  return PaaSkjermen(inni.marginsAdded(ramme), skjermer).marginsRemoved(ramme);
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
  static bool lastet = false;
  if (lastet) return true;
  // The translator installed last is asked first: the program's own Bokmål
  // texts, then a Bokmål translation of the system's if there is one, then
  // the system's Nynorsk for what neither has.
  const QString mappe = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  const auto installer = [](const QString& navn, const QString& mappe) {
    auto* t = new QTranslator(QCoreApplication::instance());
    if (t->load(navn, mappe)) return QCoreApplication::installTranslator(t);
    delete t;
    return false;
  };
  installer("qtbase_nn", mappe);
  if (!installer("qtbase_nb", mappe)) installer("qtbase_no", mappe);
  lastet = installer("qtbase_nb", ":/oversettelser");
  return lastet;
}
