// The reading window: fetches the organisation's lamb archive, unpacks the
// county lamb exports and the member export, lets the user mark the counties
// wanted and reads them into the lamb file and the producer file.
#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "lam.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class TFormNedlast;

class TFormLes : public QDialog {
  Q_OBJECT

 public:
  explicit TFormLes(QWidget* parent = nullptr);

  QPushButton* ButtonNett;  // "1 Hente lammedata fra nettet"
  QPushButton* Apne;        // "2 Åpne arkiv med data"
  QPushButton* LesDet;      // "3  Les inn data"
  QPushButton* Lukk;        // "Avbryt uten å hente" / "Lukk, ferdig med å lese"
  QLabel* Label2;           // "Merk fylker du vil ha"
  QListWidget* ListFant;    // one checkable item per county export found
  QLabel* LForklar;         // "Merk de fylkene du trenger og deretter: Les inn data."
  QListWidget* Lifylk;      // the county texts; never shown
  QProgressBar* Animer;

  // Where things come from; the main window sets them.
  std::filesystem::path DataMappe;
  int Aar;                           // the year of the lamb file and the archive
  std::function<QString()> Adresse;  // the organisation's server, "http://host[:port]"
  TFormNedlast* FormNedlast = nullptr;

  // Questions, messages and the file dialog go through these, so that tests can answer them.
  std::function<bool(const QString&)> Bekreft;  // OK / Avbryt
  std::function<void(const QString&)> Melding;
  std::function<void(const QString&)> Feilmelding;
  std::function<QString()> VelgArkiv;  // a chosen ZIP file, or empty

  // Shows the window modally, from a fresh start; true when data were read.
  // Without a result the lamb summaries are dropped.
  bool RunReadingWindow();
  // Shows the window without waiting, as the program shows a window: its
  // start (FormShow), then show, raise and activate. A restore by the
  // desktop shows it again as it was.
  void Vis();
  bool Lest() const { return lest_; }
  // The file name (without folder) of the archive last opened.
  QString ArkivNavn() const { return arkivNavn_; }
  // The summaries of the lambs read; dropped when a new reading starts, when
  // it fails and when the window closes without a result.
  const std::vector<TTupp>& Lammeliste() const { return lammeliste_; }
  // The counties read, " 01 12" for counties 1 and 12.
  const std::string& ValgteFylker() const { return valgteFylker_; }
  // The unpacked files that are deleted when the window closes.
  const std::vector<std::filesystem::path>& Utpakket() const { return utpakket_; }

  void ButtonNettClick();
  void ApneClick();
  void LesDetClick();
  void LukkClick();

 protected:
  void reject() override;

  // Whether "2 Åpne arkiv med data" can be used before a download, to open
  // an archive the user fetched with the browser.
  bool apneFraStart_ = true;

 private:
  // The start of a showing: explanations cleared, no counties, nothing unpacked.
  void FormShow();
  void ListFantEndret();
  void RyddOpp();

  bool lest_ = false;
  std::vector<TTupp> lammeliste_;
  std::string valgteFylker_;
  std::vector<std::filesystem::path> utpakket_;
  QString arkivNavn_;
};

// The window the main window uses when the full configuration is off: the
// counties cannot be marked, and the captions speak of rams.
class TFormLes1 : public TFormLes {
  Q_OBJECT

 public:
  explicit TFormLes1(QWidget* parent = nullptr);

  // In the full configuration the window is the plain reading window: the
  // counties can be marked and an archive opened before any download.
  void SettFullt(bool fullt);
};
