// The download window: fetches a file over HTTP while a small modal window
// shows what happens and lets the user cancel.
#pragma once

#include <QDialog>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "nedlasting.h"

class QLabel;
class QProgressBar;
class QPushButton;

class TFormNedlast : public QDialog {
  Q_OBJECT

 public:
  explicit TFormNedlast(QWidget* parent = nullptr);
  ~TFormNedlast() override;

  // Fetches `url` into `maal`: first the server's date of the file, then,
  // when it is later than `datogrense` (a day count; 0 for none) or unknown,
  // the file itself. True when the file is in place. `avbrutt` tells whether
  // the user cancelled.
  bool DownloadFile(const std::string& url, const std::filesystem::path& maal, double datogrense,
                    bool* avbrutt = nullptr);

  // Timeouts and user agent for the requests (tests shorten the timeouts).
  TNedlastValg valg;
  // Shows a message to the user; tests answer it instead.
  std::function<void(const QString&)> Melding;

  QLabel* Status;  // "Prøver å åpne for nedlasting"
  QLabel* Grunn;   // why a transfer failed, under "Kunne ikke fullføre"
  QLabel* Llast;   // "Laster ned arkiv"
  QProgressBar* ProgLast;
  QPushButton* BtBryt;  // "Avbryt"

 private:
  struct Kanal;

  void BtBrytClick();
  void StartArbeider(std::function<void(std::shared_ptr<Kanal>)> arbeid);
  void VentPaaArbeidere();

  // Per call; a worker of an earlier call finds its channel cancelled.
  std::shared_ptr<Kanal> kanal_;
  std::shared_ptr<std::atomic<int>> aktive_;
  bool nyere_ = false;
  bool avbrutt_ = false;
  bool lyktes_ = false;
  double datogrense_ = 0;
  double tjenerdato_ = 0;
};
