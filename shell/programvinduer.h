// The program's long-lived windows, created in the program's order and
// joined to the main window: the program entry and the screenshot tool make
// them the same way. The insemination window comes from semin/, so whoever
// uses this links hs_semin_vindu too.
#pragma once

#include <QDialog>
#include <filesystem>
#include <optional>

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
  // Without `dataMappe` the main window finds the data folder itself.
  explicit TProgramvinduer(std::optional<std::filesystem::path> dataMappe = std::nullopt)
      : hoved(std::move(dataMappe)) {
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
    semreg.Register = [this] { return hoved.Register(); };
    semreg.Innstillinger = [this] { return hoved.Innstillinger(); };
    semreg.Avlsdata = [this] { return hoved.Avlsdata(); };
  }

  // In this order: main window, about box, lookup, catalogue, reading,
  // insemination and download windows, the ewe list, the relationship window,
  // the list window and the statistics.
  TFormVaer hoved;
  QDialog* om = LagOmBoks(&hoved);
  TFormVer ver;
  TFormKatalog katalog;
  TFormLes1 les{&hoved};
  TFormSemReg semreg;
  TFormNedlast nedlast{&hoved};
  TFormSoyer soyer;
  TFormSlektskap slektskap;
  TFormLister lister;
  TFormStatistikk statistikk;
};
