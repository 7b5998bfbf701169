// The program's state and its long-lived windows, created in the program's
// order and joined to each other: the program entry, the tests and the
// screenshot tool make them the same way.
#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <optional>

#include "okt.h"
#include "tformkatalog.h"
#include "tformles.h"
#include "tformlister.h"
#include "tformnedlast.h"
#include "tformsemreg.h"
#include "tformslektskap.h"
#include "tformsoyer.h"
#include "tformstatistikk.h"
#include "tformvaer.h"
#include "tformver.h"

struct TProgramvinduer {
  // Without `dataMappe` the data folder is the program's own folder when it
  // is writable, otherwise the per-user data folder.
  explicit TProgramvinduer(std::optional<std::filesystem::path> dataMappe = std::nullopt);

  // The data folder as the program finds it for itself.
  static std::filesystem::path EgenDatamappe();

  TOkt okt;
  // In this order: main window, about box, lookup, catalogue, reading,
  // insemination and download windows, the ewe list, the relationship window,
  // the list window and the statistics.
  TFormVaer hoved;
  QDialog* om;
  TFormVer ver;
  TFormKatalog katalog;
  TFormLes1 les;
  TFormSemReg semreg;
  TFormNedlast nedlast;
  TFormSoyer soyer;
  TFormSlektskap slektskap;
  TFormLister lister;
  TFormStatistikk statistikk;

  // The catalogue's table window's "Lagre lommekatalog …": the marked rams
  // when more than one row is marked, otherwise every row; a very large
  // page is asked about first. The file written, or empty.
  std::filesystem::path LommekatalogFraTabell(TVindu& vindu);
  // The dialogs it uses (LommeDialog when empty), for tests.
  std::function<TLommeDialog(QWidget*)> LommeDialogFor;
};
