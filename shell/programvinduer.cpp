#include "programvinduer.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QToolBar>

#include "cp1252.h"
#include "hovedbilde.h"
#include "register.h"
#include "tekst.h"
#include "tvindu.h"

std::filesystem::path TProgramvinduer::EgenDatamappe() {
  return ResolveDataFolder(QCoreApplication::applicationDirPath().toStdString());
}

TProgramvinduer::TProgramvinduer(std::optional<std::filesystem::path> dataMappe)
    : okt(dataMappe ? *dataMappe : EgenDatamappe()),
      hoved(okt),
      om(LagOmBoks(&hoved)),
      ver(okt),
      katalog(okt),
      les(&hoved),
      semreg(okt),
      nedlast(&hoved),
      soyer(okt),
      slektskap(okt),
      lister(okt),
      statistikk(okt) {
  hoved.OmBoks = om;
  hoved.FormVer = &ver;
  hoved.FormKatalog = &katalog;
  hoved.FormLes = &les;
  hoved.FormSemReg = &semreg;
  hoved.FormNedlast = &nedlast;
  hoved.FormSoyer = &soyer;
  hoved.FormSlektskap = &slektskap;
  hoved.FormLister = &lister;
  hoved.FormStatistikk = &statistikk;

  // What one window asks of another.
  QObject::connect(&ver, &TFormVer::slektskapOnsket, &slektskap, &TFormSlektskap::VisFor);
  QObject::connect(&ver, &TFormVer::leggIListeOnsket, &hoved, [this](const TVerPost& v) {
    hoved.LeggIListe({v.Nummer}, TilQString(NameCase(TrimText(v.Navn.Verdi()))) + QString(" (%1)").arg(v.Nummer));
  });
  QObject::connect(&slektskap, &TFormSlektskap::soyerOnsket, &hoved, &TFormVaer::SoyerClick);
  // The catalogue's table offers its marked rams to a list and to the comparison.
  QObject::connect(&katalog, &TFormKatalog::nyTabell, &hoved, [this](TVindu* vindu) {
    auto* leggTil = new QAction("Legg merkede i liste …", vindu);
    leggTil->setStatusTip("Legg de merkede værene i en av listene dine");
    QObject::connect(leggTil, &QAction::triggered, &hoved, [this, vindu] {
      const std::vector<int32_t> nummer = vindu->Tabell().MerkedeNumre();
      hoved.LeggIListe(nummer, nummer.size() == 1 ? QString("den merkede væren")
                                                  : QString("de %1 merkede værene").arg(nummer.size()));
    });
    auto* sammenlign = new QAction("Sammenlign merkede …", vindu);
    sammenlign->setStatusTip("Sammenlign 2 til 6 merkede værer side om side");
    QObject::connect(sammenlign, &QAction::triggered, &hoved,
                     [this, vindu] { VisSammenligning(okt, vindu->Tabell().MerkedeNumre(), &hoved, hoved.Melding); });
    auto* lomme = new QAction("Lagre lommekatalog …", vindu);
    lomme->setStatusTip("Værene i tabellen, eller de merkede, som én nettside for telefonen");
    QObject::connect(lomme, &QAction::triggered, &hoved, [this, vindu] { LommekatalogFraTabell(*vindu); });
    vindu->Redmen->addSeparator();
    vindu->Redmen->addAction(leggTil);
    vindu->Redmen->addAction(sammenlign);
    vindu->Redmen->addAction(lomme);
    vindu->VerkT->addAction(leggTil);
    vindu->VerkT->addAction(lomme);
  });
}

std::filesystem::path TProgramvinduer::LommekatalogFraTabell(TVindu& vindu) {
  // The marked rams when more than one row is marked, otherwise every row.
  const TTabell& t = vindu.Tabell();
  const TOmraade& valg = t.Hoved().Valg();
  const std::vector<int32_t> nummer = valg.bunn > valg.topp ? t.MerkedeNumre() : t.AlleNumre();
  if (nummer.empty()) return {};
  TLommeDialog d = LommeDialog(&vindu);
  if (LommeDialogFor) d = LommeDialogFor(&vindu);
  if (nummer.size() > StorLommekatalog && d.bekreft &&
      !d.bekreft(QString("Lommekatalogen får %1 værer og blir stor (omtrent 1 kB per vær). Merk værene du vil ha "
                         "med for en mindre side.\nVil du lagre alle %1?")
                     .arg(nummer.size())))
    return {};
  return LagreLommekatalog(okt, nummer, d);
}
