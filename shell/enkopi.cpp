#include "enkopi.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The one call a copy makes, and the owner's answer once it has come forward.
constexpr char Kallet[] = "Hornstad: kom fram\n";
constexpr char Svaret[] = "ok\n";

// A lock file that is empty or unreadable and younger than this may be one a
// copy is writing just now; an older one was left half written.
constexpr qint64 UferdigLaasMs = 2000;

}  // namespace

QString Kopinavn(const fs::path& dataMappe) {
  const QFileInfo mappe(QString::fromStdString(dataMappe.string()));
  QString sti = mappe.canonicalFilePath();
  if (sti.isEmpty()) sti = mappe.absoluteFilePath();
  QCryptographicHash sum(QCryptographicHash::Sha256);
  sum.addData(sti.toUtf8());
  sum.addData(QByteArrayView("\n"));
  sum.addData(QByteArray::number(static_cast<qulonglong>(::getuid())));
  const QString navn = "hornstad-" + QString::fromLatin1(sum.result().toHex().left(16));
  // A socket's path has room for about a hundred bytes.
  const QString kjoring = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!kjoring.isEmpty() && kjoring.size() < 80 && QFileInfo(kjoring).isDir()) return kjoring + "/" + navn;
  return navn;
}

TEnKopi::TEnKopi(fs::path dataMappe, QObject* parent)
    : QObject(parent),
      dataMappe_(std::move(dataMappe)),
      navn_(Kopinavn(dataMappe_)),
      laas_(std::make_unique<QLockFile>(QString::fromStdString((dataMappe_ / LaasfilNavn).string()))) {
  // Only a holder that is gone makes a lock stale, however long it has run.
  laas_->setStaleLockTime(0);
}

TEnKopi::~TEnKopi() {
  // The socket goes before the lock: once the lock is free a new copy may
  // listen on the same name, and closing removes the socket file by name.
  delete server_;
  server_ = nullptr;
  laas_.reset();
}

TEnKopi::TStart TEnKopi::Start(std::chrono::milliseconds ventetid) {
  const QDeadlineTimer frist(ventetid);
  for (;;) {
    if (laas_->tryLock(0)) {
      Lytt();
      return TStart::Eier;
    }
    if (laas_->error() != QLockFile::LockFailedError) return TStart::UtenLaas;
    const auto igjen = std::chrono::milliseconds(std::max<qint64>(frist.remainingTime(), 0));
    switch (Ring(igjen)) {
      case TKall::Svar: return TStart::Vekket;
      case TKall::Stille: laas_->getLockInfo(&eierprosess_, nullptr, nullptr); return TStart::SvarerIkke;
      case TKall::Ingen: break;
    }
    // Nobody listens. A lock whose holder has gone (a crash) is removed: a
    // live holder keeps its lock file locked, and the removal fails.
    qint64 prosess = 0;
    const bool lesbar = laas_->getLockInfo(&prosess, nullptr, nullptr);
    const QFileInfo fil(laas_->fileName());
    const bool ny = qAbs(fil.lastModified().msecsTo(QDateTime::currentDateTime())) < UferdigLaasMs;
    if ((lesbar || !ny) && laas_->removeStaleLockFile()) continue;
    if (frist.hasExpired()) {
      eierprosess_ = prosess;
      return TStart::SvarerIkke;
    }
    // A copy that has just taken the lock listens in a moment.
    QThread::msleep(100);
  }
}

TEnKopi::TKall TEnKopi::Ring(std::chrono::milliseconds ventetid) {
  QLocalSocket s;
  s.connectToServer(navn_);
  if (!s.waitForConnected(static_cast<int>(std::clamp<std::chrono::milliseconds>(ventetid, 100ms, 1000ms).count())))
    return TKall::Ingen;
  s.write(Kallet);
  QByteArray svar;
  // The answer comes through the event loop, so that an owner in this
  // process (a test) can give it.
  QEventLoop loekke;
  QTimer tid;
  tid.setSingleShot(true);
  connect(&tid, &QTimer::timeout, &loekke, &QEventLoop::quit);
  connect(&s, &QLocalSocket::readyRead, &loekke, [&] {
    svar += s.readAll();
    if (svar.contains('\n')) loekke.quit();
  });
  connect(&s, &QLocalSocket::disconnected, &loekke, &QEventLoop::quit);
  tid.start(std::max(ventetid, std::chrono::milliseconds(500)));
  loekke.exec(QEventLoop::ExcludeUserInputEvents);
  svar += s.readAll();
  return svar == Svaret ? TKall::Svar : TKall::Stille;
}

void TEnKopi::Lytt() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &TEnKopi::NyForbindelse);
  // This copy holds the lock, so a socket file of that name is one a crashed
  // copy left behind.
  QLocalServer::removeServer(navn_);
  if (!server_->listen(navn_))
    qWarning("Hornstad: kan ikke lytte på %s: %s", qPrintable(navn_), qPrintable(server_->errorString()));
}

void TEnKopi::Steng() {
  if (server_) server_->close();
}

bool TEnKopi::Lytter() const { return server_ && server_->isListening(); }

void TEnKopi::NyForbindelse() {
  while (QLocalSocket* s = server_->nextPendingConnection()) {
    connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
    connect(s, &QLocalSocket::readyRead, this, [this, s] { Les(s); });
    // A caller that says nothing is let go.
    QTimer::singleShot(5s, s, [s] { s->abort(); });
    Les(s);
  }
}

void TEnKopi::Les(QLocalSocket* s) {
  if (!s->canReadLine()) {
    if (s->bytesAvailable() > 64) s->abort();
    return;
  }
  if (s->readLine() == Kallet) {
    emit kalt();
    s->write(Svaret);
  }
  s->disconnectFromServer();
}

QString SvarerIkkeTekst(const fs::path& dataMappe, qint64 prosess) {
  QString tekst = "Hornstad er allerede i gang med datamappen\n" + QString::fromStdString(dataMappe.string()) + "\n";
  tekst += prosess > 0 ? QString("men svarer ikke (prosess %1).").arg(prosess) : QString("men svarer ikke.");
  tekst +=
      "\n\nVent litt og start Hornstad på nytt. Svarer det fortsatt ikke, må det andre Hornstad-vinduet avsluttes "
      "først.";
  return tekst;
}
