// The text a label or message box shows the user. A label left to guess
// (Qt::AutoText) reads a text that looks like markup as markup: a name
// "<b>Dokka</b>" then shows as a bold "Dokka", and line breaks vanish.
#pragma once

#include <QLabel>
#include <QMessageBox>
#include <QTextDocument>

inline QString SynligTekst(const QLabel* l) {
  const Qt::TextFormat f = l->textFormat();
  if (f == Qt::RichText || (f == Qt::AutoText && Qt::mightBeRichText(l->text()))) {
    QTextDocument d;
    d.setHtml(l->text());
    return d.toPlainText();
  }
  return l->text();
}

inline QString SynligTekst(const QMessageBox* boks) {
  const auto* l = boks->findChild<QLabel*>("qt_msgbox_label");
  return l ? SynligTekst(l) : QString();
}
