// One copy of the program per data folder. The copy that owns a data folder
// holds a lock file in it and listens on a local socket named after the
// folder; a copy started later on the same folder asks it to come forward
// and ends. A lock left by a copy that crashed is taken over.
#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <filesystem>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// The lock file in the data folder.
inline constexpr const char* LaasfilNavn = "Hornstad.lock";

// The local socket's name for `dataMappe`: made from the folder's canonical
// path and the user, so two folders or two users never share one. A full
// path in $XDG_RUNTIME_DIR when there is one, otherwise a short name (Qt puts
// it in the temporary folder).
QString Kopinavn(const std::filesystem::path& dataMappe);

class TEnKopi : public QObject {
  Q_OBJECT

 public:
  enum class TStart {
    Eier,        // this copy owns the folder (a stale lock taken over): run
    Vekket,      // the copy that owns it answered and comes forward: end this one
    SvarerIkke,  // a live copy owns it but did not answer in time
    UtenLaas,    // no lock could be made (a folder without write access): run unguarded
  };

  explicit TEnKopi(std::filesystem::path dataMappe, QObject* parent = nullptr);
  ~TEnKopi() override;

  // Takes the folder's lock and listens, or calls the copy that holds it.
  // A lock whose holder is gone is taken over; a holder that is alive but not
  // yet listening (it has just started) is called again until `ventetid` has
  // passed. Runs a local event loop while it waits, so an owner in the same
  // process answers too.
  TStart Start(std::chrono::milliseconds ventetid = std::chrono::seconds(5));

  // Listens no more (the program is ending): a copy started now waits for
  // the lock instead of calling a window that is closing.
  void Steng();

  // Whether this copy owns the folder and is reachable.
  bool Lytter() const;
  // The process that held the lock when Start gave SvarerIkke; 0 if unknown.
  qint64 Eierprosess() const { return eierprosess_; }

 signals:
  // Another copy was started on this data folder: the main window comes forward.
  void kalt();

 private:
  enum class TKall { Svar, Stille, Ingen };
  TKall Ring(std::chrono::milliseconds ventetid);
  void Lytt();
  void NyForbindelse();
  void Les(QLocalSocket* s);

  std::filesystem::path dataMappe_;
  QString navn_;
  std::unique_ptr<QLockFile> laas_;
  QLocalServer* server_ = nullptr;
  qint64 eierprosess_ = 0;
};

// What a user is told when Start gives SvarerIkke, in Norwegian.
QString SvarerIkkeTekst(const std::filesystem::path& dataMappe, qint64 prosess);
