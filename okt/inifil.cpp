#include "inifil.h"

#include <QIODevice>
#include <QRegularExpression>
#include <QStringConverter>
#include <QStringList>
#include <map>

#include "cp1252.h"

namespace {

// The file's bytes as text: UTF-8 when they are that, Windows-1252 otherwise.
QString SomTekst(const QByteArray& bytes) {
  QStringDecoder utf8(QStringConverter::Utf8);
  QString tekst = utf8(bytes);
  if (!utf8.hasError()) return tekst;
  return QString::fromStdString(Cp1252TilUtf8(std::string_view(bytes.constData(), bytes.size())));
}

// One value as a line's text: on one line, in quotes when the reader would
// otherwise take off blanks or quotes at its ends.
QString SomVerdi(const QVariant& v) {
  QString t = v.typeId() == QMetaType::QStringList ? v.toStringList().join(',') : v.toString();
  t.replace("\r\n", " ").replace('\r', ' ').replace('\n', ' ');
  if (!t.isEmpty() &&
      (t.front().isSpace() || t.back().isSpace() || (t.size() >= 2 && t.front() == '"' && t.back() == '"')))
    t = '"' + t + '"';
  return t;
}

}  // namespace

bool LesInnstillinger(QIODevice& fil, QSettings::SettingsMap& verdier) {
  const QString tekst = SomTekst(fil.readAll());
  QString seksjon;
  // A line ends at LF, CR LF or a lone CR.
  for (QStringView linje : QStringView(tekst).split(QRegularExpression("\r\n|\r|\n"))) {
    linje = linje.trimmed();
    if (linje.isEmpty() || linje.front() == ';' || linje.front() == '#') continue;
    if (linje.front() == '[') {
      const qsizetype slutt = linje.indexOf(']');
      seksjon = (slutt < 0 ? linje.mid(1) : linje.mid(1, slutt - 1)).trimmed().toString();
      if (seksjon.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0) seksjon.clear();
      continue;
    }
    const qsizetype lik = linje.indexOf('=');
    if (lik <= 0) continue;
    const QString nokkel = linje.left(lik).trimmed().toString();
    if (nokkel.isEmpty()) continue;
    QStringView verdi = linje.mid(lik + 1).trimmed();
    if (verdi.size() >= 2 && verdi.front() == '"' && verdi.back() == '"') verdi = verdi.mid(1, verdi.size() - 2);
    const QString fullt = seksjon.isEmpty() ? nokkel : seksjon + '/' + nokkel;
    // The first of two equal keys counts, as the older program reads them.
    if (!verdier.contains(fullt)) verdier.insert(fullt, verdi.toString());
  }
  return true;
}

bool SkrivInnstillinger(QIODevice& fil, const QSettings::SettingsMap& verdier) {
  // Section by section, the keys of no section first.
  std::map<QString, QStringList> seksjoner;
  for (auto i = verdier.cbegin(); i != verdier.cend(); ++i) {
    const qsizetype skille = i.key().indexOf('/');
    const QString seksjon = skille < 0 ? QString() : i.key().left(skille);
    const QString nokkel = skille < 0 ? i.key() : i.key().mid(skille + 1);
    seksjoner[seksjon] << nokkel + '=' + SomVerdi(i.value());
  }
  QString tekst;
  for (const auto& [seksjon, linjer] : seksjoner) {
    if (!tekst.isEmpty()) tekst += "\r\n";
    if (!seksjon.isEmpty()) tekst += '[' + seksjon + "]\r\n";
    for (const QString& l : linjer) tekst += l + "\r\n";
  }
  // Windows-1252 as the older program reads it, unless a text has a letter
  // that code page lacks: then the whole file in UTF-8, nothing lost.
  const std::string utf8 = tekst.toStdString();
  const std::string cp = Utf8TilCp1252(utf8);
  const bool tapt = QString::fromStdString(Cp1252TilUtf8(cp)) != tekst;
  const std::string& ut = tapt ? utf8 : cp;
  return fil.write(ut.data(), static_cast<qint64>(ut.size())) == static_cast<qint64>(ut.size());
}

QSettings::Format InnstillingsFormat() {
  static const QSettings::Format format = QSettings::registerFormat("Ini", LesInnstillinger, SkrivInnstillinger);
  return format;
}
