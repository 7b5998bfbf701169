// The table of hornstad-cli's commands. A new command is a file of its own
// that defines its TKommando and a function giving it, declared and listed
// here.
#include "verktoy.h"

const TKommando& KommandoImporter();
const TKommando& KommandoHent();
const TKommando& KommandoOppslag();
const TKommando& KommandoAvkom();
const TKommando& KommandoStamtre();
const TKommando& KommandoKatalog();
const TKommando& KommandoStatus();
const TKommando& KommandoSlektskap();
const TKommando& KommandoInnavl();
const TKommando& KommandoParingsplan();
const TKommando& KommandoParingsforslag();
const TKommando& KommandoListe();
const TKommando& KommandoEndringer();
const TKommando& KommandoSammenlign();
const TKommando& KommandoStatistikk();
const TKommando& KommandoLommekatalog();

const std::vector<const TKommando*>& Kommandoer() {
  static const std::vector<const TKommando*> alle = {
      &KommandoImporter(),  &KommandoHent(),        &KommandoOppslag(),        &KommandoAvkom(),
      &KommandoStamtre(),   &KommandoKatalog(),     &KommandoStatus(),         &KommandoSlektskap(),
      &KommandoInnavl(),    &KommandoParingsplan(), &KommandoParingsforslag(), &KommandoListe(),
      &KommandoEndringer(), &KommandoSammenlign(),  &KommandoStatistikk(),     &KommandoLommekatalog(),
  };
  return alle;
}
