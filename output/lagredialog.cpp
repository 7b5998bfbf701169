#include "lagredialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "melding.h"

std::optional<TLagringsfil> SporLagringsfil(QWidget* eier, const QString& tittel, const QString& forslag,
                                            const std::vector<TFiltype>& typer, int valgt, int standard) {
  const QStringList filtre = Navnefiltre(typer);
  QFileDialog d(eier, tittel);
  d.setAcceptMode(QFileDialog::AcceptSave);
  // The ending is added after the dialog, so the question of replacing a
  // file is asked here, for the file that is written.
  d.setOption(QFileDialog::DontConfirmOverwrite);
  d.setNameFilters(filtre);
  if (valgt >= 0 && valgt < filtre.size()) d.selectNameFilter(filtre[valgt]);
  d.selectFile(forslag);
  for (;;) {
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
    const TLagringsfil fil = Lagringsfil(
        {d.selectedFiles().first(), static_cast<int>(filtre.indexOf(d.selectedNameFilter()))}, typer, standard);
    if (!QFileInfo::exists(fil.fil) ||
        Meldingsboks(eier, QMessageBox::Question, tittel,
                     "«" + QFileInfo(fil.fil).fileName() + "» finnes fra før. Vil du erstatte den?",
                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes)
      return fil;
    d.selectFile(fil.fil);
  }
}
