#include "melding.h"

#include <QAbstractButton>
#include <QApplication>
#include <utility>

namespace {

struct Knappetekst {
  QMessageBox::StandardButton knapp;
  const char* tekst;
};

// Qt's own button texts are English without a translation; the program's
// buttons speak Norwegian.
constexpr Knappetekst Knappetekster[] = {
    {QMessageBox::Ok, "OK"},
    {QMessageBox::Cancel, "Avbryt"},
    {QMessageBox::Yes, "&Ja"},
    {QMessageBox::No, "&Nei"},
    {QMessageBox::YesToAll, "Ja til &alle"},
    {QMessageBox::NoToAll, "Nei til a&lle"},
    {QMessageBox::Abort, "&Avbryt"},
    {QMessageBox::Retry, "&Prøv igjen"},
    {QMessageBox::Ignore, "&Ignorer"},
    {QMessageBox::Help, "&Hjelp"},
    {QMessageBox::Close, "&Lukk"},
    {QMessageBox::Save, "&Lagre"},
    {QMessageBox::SaveAll, "Lagre a&lle"},
    {QMessageBox::Open, "&Åpne"},
    {QMessageBox::Discard, "&Forkast"},
    {QMessageBox::Apply, "&Bruk"},
    {QMessageBox::Reset, "&Tilbakestill"},
    {QMessageBox::RestoreDefaults, "Gjenopprett &standard"},
};

std::pair<QMessageBox::Icon, const char*> Utseende(TMeldingstype type) {
  switch (type) {
    case TMeldingstype::Advarsel: return {QMessageBox::Warning, "Advarsel"};
    case TMeldingstype::Feil: return {QMessageBox::Critical, "Feil"};
    case TMeldingstype::Informasjon: return {QMessageBox::Information, "Informasjon"};
    case TMeldingstype::Bekreftelse: return {QMessageBox::Question, "Bekreft"};
  }
  return {QMessageBox::NoIcon, "Hornstad"};
}

}  // namespace

QMessageBox::StandardButton Melding(const QString& tekst, TMeldingstype type, QMessageBox::StandardButtons knapper,
                                    int hjelpKontekst, QMessageBox::StandardButton standard, int left, int top,
                                    QWidget* forelder) {
  // The desktop offers one sound only; warnings and errors get it.
  if (type == TMeldingstype::Advarsel || type == TMeldingstype::Feil) QApplication::beep();

  const auto [ikon, tittel] = Utseende(type);
  QMessageBox boks(ikon, QString::fromUtf8(tittel), tekst, knapper, forelder);
  boks.setTextFormat(Qt::PlainText);
  boks.setProperty("hjelpKontekst", hjelpKontekst);
  for (const Knappetekst& k : Knappetekster) {
    if (QAbstractButton* b = boks.button(k.knapp)) b->setText(QString::fromUtf8(k.tekst));
  }
  if (boks.button(standard) != nullptr) boks.setDefaultButton(standard);
  // Scaling to the screen's resolution is Qt's own business.
  if (left >= 0 && top >= 0) boks.move(left, top);
  boks.exec();
  return boks.standardButton(boks.clickedButton());
}

QMessageBox::StandardButton Meldingsboks(QWidget* eier, QMessageBox::Icon ikon, const QString& tittel,
                                         const QString& tekst, QMessageBox::StandardButtons knapper,
                                         QMessageBox::StandardButton standard) {
  QMessageBox boks(ikon, tittel, tekst, knapper, eier);
  boks.setTextFormat(Qt::PlainText);
  if (standard != QMessageBox::NoButton && boks.button(standard) != nullptr) boks.setDefaultButton(standard);
  if (boks.exec() == -1) return QMessageBox::Cancel;
  return boks.standardButton(boks.clickedButton());
}
