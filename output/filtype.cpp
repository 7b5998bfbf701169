#include "filtype.h"

#include <QFileInfo>

QStringList Navnefiltre(const std::vector<TFiltype>& typer) {
  QStringList filtre;
  for (const TFiltype& t : typer) {
    QStringList m;
    for (const QString& e : t.endelser) m << "*" + e;
    filtre << t.navn + " (" + (m.isEmpty() ? QString("*") : m.join(' ')) + ")";
  }
  return filtre;
}

std::vector<TFiltype> FiltyperAv(const QString& filter) {
  const QStringList deler = filter.split('|');
  std::vector<TFiltype> typer;
  for (int i = 0; i + 1 < deler.size(); i += 2) {
    TFiltype t{deler[i], {}};
    for (QString m : deler[i + 1].split(';', Qt::SkipEmptyParts)) {
      m = m.trimmed();
      if (m.startsWith("*.") && m.size() > 2 && m.indexOf('*', 1) < 0) t.endelser << m.mid(1);
    }
    typer.push_back(t);
  }
  return typer;
}

TLagringsfil Lagringsfil(const TLagringsfil& svar, const std::vector<TFiltype>& typer, int standard) {
  const QString navn = QFileInfo(svar.fil).fileName();
  for (int i = 0; i < static_cast<int>(typer.size()); ++i)
    for (const QString& e : typer[static_cast<std::size_t>(i)].endelser)
      if (navn.size() > e.size() && navn.endsWith(e, Qt::CaseInsensitive)) return {svar.fil, i};
  const int antall = static_cast<int>(typer.size());
  int type = svar.type >= 0 && svar.type < antall ? svar.type : standard;
  if (type < 0 || type >= antall || typer[static_cast<std::size_t>(type)].endelser.isEmpty()) type = standard;
  if (type < 0 || type >= antall || typer[static_cast<std::size_t>(type)].endelser.isEmpty()) return svar;
  QString fil = svar.fil;
  if (fil.endsWith('.')) fil.chop(1);
  return {fil + typer[static_cast<std::size_t>(type)].endelser.first(), type};
}
