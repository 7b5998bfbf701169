#include "tformnedlast.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <thread>

#include "melding.h"

// What a worker shares with the window for one call. The worker holds it
// alive; once the call is over or cancelled, `slutt` is set and the worker
// hands nothing more to the window.
struct TFormNedlast::Kanal {
  std::atomic<bool> slutt{false};
};

namespace {

// Runs `f` on the window thread and waits for it, unless the call has ended.
template <typename F>
void PaaVindustraaden(QObject* mottaker, const std::shared_ptr<std::atomic<bool>>& slutt, F&& f) {
  if (slutt->load()) return;
  QMetaObject::invokeMethod(mottaker, std::forward<F>(f), Qt::BlockingQueuedConnection);
}

}  // namespace

TFormNedlast::TFormNedlast(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      aktive_(std::make_shared<std::atomic<int>>(0)) {
  setWindowTitle("Henter fil fra nett");
  setModal(true);
  Status = new QLabel(this);
  Status->setTextFormat(Qt::PlainText);
  Status->setWordWrap(true);
  Status->setMinimumHeight(fontMetrics().height() * 2 + 4);
  Grunn = new QLabel(this);
  Grunn->setTextFormat(Qt::PlainText);
  Grunn->setWordWrap(true);
  Grunn->hide();
  Llast = new QLabel(this);
  Llast->setTextFormat(Qt::PlainText);
  ProgLast = new QProgressBar(this);
  ProgLast->setTextVisible(false);
  BtBryt = new QPushButton("Avbryt", this);
  auto* lag = new QVBoxLayout(this);
  lag->addWidget(Llast);
  lag->addWidget(ProgLast);
  lag->addWidget(Status);
  lag->addWidget(Grunn);
  lag->addWidget(BtBryt, 0, Qt::AlignHCenter);
  setMinimumWidth(360);
  connect(BtBryt, &QPushButton::clicked, this, &TFormNedlast::BtBrytClick);
  Melding = [this](const QString& t) { Meldingsboks(parentWidget(), QMessageBox::Information, "Hornstad", t); };
}

TFormNedlast::~TFormNedlast() {
  if (kanal_) kanal_->slutt = true;
  VentPaaArbeidere();
}

void TFormNedlast::VentPaaArbeidere() {
  // A worker that was cancelled ends within a fraction of a second; while it
  // does, serve any call it is waiting to hand over.
  QElapsedTimer klokke;
  klokke.start();
  while (aktive_->load() > 0 && klokke.elapsed() < 5000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
}

void TFormNedlast::StartArbeider(std::function<void(std::shared_ptr<Kanal>)> arbeid) {
  ++*aktive_;
  std::thread([arbeid = std::move(arbeid), kanal = kanal_, aktive = aktive_]() {
    arbeid(kanal);
    --*aktive;
  }).detach();
}

void TFormNedlast::BtBrytClick() {
  avbrutt_ = true;
  if (kanal_) kanal_->slutt = true;
  reject();
}

bool TFormNedlast::DownloadFile(const std::string& url, const std::filesystem::path& maal, double datogrense,
                                bool* avbrutt) {
  nyere_ = false;
  avbrutt_ = false;
  lyktes_ = false;
  datogrense_ = datogrense + 0.1;
  tjenerdato_ = 0;
  const TNedlastValg valgKopi = valg;

  setWindowTitle("Henter fil fra nett");
  std::error_code ec;
  std::filesystem::create_directories(maal.parent_path(), ec);
  Llast->setText("Laster ned arkiv");
  Status->setText("Prøver å åpne for nedlasting");
  Grunn->clear();
  Grunn->hide();
  adjustSize();
  ProgLast->setRange(0, 100);
  ProgLast->setValue(0);

  // Phase 1: the server's date of the file.
  kanal_ = std::make_shared<Kanal>();
  {
    auto slutt = std::shared_ptr<std::atomic<bool>>(kanal_, &kanal_->slutt);
    StartArbeider([this, url, valgKopi, slutt](std::shared_ptr<Kanal>) {
      const double dato = HentSistEndret(url, valgKopi, [slutt] { return !slutt->load(); });
      PaaVindustraaden(this, slutt, [this, dato, slutt] {
        if (slutt->load()) return;
        if (dato > 0) {
          nyere_ = dato > datogrense_;
          tjenerdato_ = dato;
        } else {
          nyere_ = true;
        }
        slutt->store(true);
        accept();
      });
    });
  }
  exec();
  kanal_->slutt = true;

  if (nyere_ && !avbrutt_) {
    // Phase 2: the transfer.
    Status->setText("Prøver å åpne for nedlasting");
    kanal_ = std::make_shared<Kanal>();
    auto slutt = std::shared_ptr<std::atomic<bool>>(kanal_, &kanal_->slutt);
    StartArbeider([this, url, maal, valgKopi, slutt](std::shared_ptr<Kanal>) {
      TOverforingsHendelser h;
      h.kobler = [this, slutt] {
        PaaVindustraaden(this, slutt, [this, slutt] {
          if (!slutt->load()) Status->setText("Fikk kontakt med tjener");
        });
      };
      h.fremdrift = [this, slutt](int64_t lest, int64_t totalt) {
        PaaVindustraaden(this, slutt, [this, slutt, lest, totalt] {
          if (slutt->load()) return;
          // The bar counts in kilobytes so that large files fit its range.
          const int skala = totalt > (int64_t{1} << 30) ? 1024 : 1;
          ProgLast->setRange(0, totalt > 0 ? static_cast<int>(totalt / skala) : 0);
          if (totalt > 0) ProgLast->setValue(static_cast<int>(std::min(lest, totalt) / skala));
          Status->setText(QString("Laster %1 av %2").arg(lest).arg(totalt));
        });
        return !slutt->load();
      };
      h.feil = [this, slutt](const std::string& melding) {
        PaaVindustraaden(this, slutt, [this, slutt, melding] {
          if (slutt->load()) return;
          Status->setText("Kunne ikke fullføre");
          Grunn->setText(QString::fromStdString(melding) + (melding.ends_with('.') ? "" : "."));
          Grunn->show();
          adjustSize();
        });
      };
      h.fortsett = [slutt] { return !slutt->load(); };
      const TOverforing r = HentFil(url, maal, valgKopi, h);
      if (r == TOverforing::Ferdig) {
        PaaVindustraaden(this, slutt, [this, slutt] {
          if (slutt->load()) return;
          Status->setText("Nedlasting ferdig");
          lyktes_ = !avbrutt_;
          slutt->store(true);
          accept();
        });
      }
      // A failure leaves the window open with its message until the user
      // presses "Avbryt".
    });
    exec();
    kanal_->slutt = true;
  } else {
    Melding("Din versjon er allerede oppdatert.");
    if (avbrutt) *avbrutt = avbrutt_;
    return false;
  }
  if (avbrutt) *avbrutt = avbrutt_;
  return lyktes_;
}
