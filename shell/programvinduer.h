// The program's state and its long-lived windows, created in the program's
// order and joined to each other: the program entry, the tests and the
// screenshot tool make them the same way.
#pragma once

#include <QDialog>
#include <filesystem>
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
};
