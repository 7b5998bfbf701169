#include "avlvindu.h"

#include <cstdio>

#include "cp1252.h"
#include "slektskap.h"
#include "timeglass.h"
#include "tintedit.h"

const TInnavl* HentInnavl(TAvlsdata* avl, const std::function<void(const QString&)>& melding) {
  if (avl == nullptr) return nullptr;
  const TInnavl* innavl = nullptr;
  if (avl->Beregnet()) {
    innavl = &avl->Innavl();
  } else {
    const TTimeglass timeglass;
    innavl = &avl->Innavl();
  }
  if (const std::string m = avl->NySloyfeMelding(); !m.empty()) {
    std::fprintf(stderr, "%s\n", Cp1252TilUtf8(m).c_str());
    if (melding) melding(TilQString(m));
  }
  return innavl;
}

void SettOppNummerfelt(TIntEdit* felt) {
  felt->Minimum = 0;
  felt->Maksimum = INT32_MAX;
  felt->BeholdTomt = true;
  felt->AvvisUtenfor = true;
}

QString Nummerfeil(const TIntEdit* felt, const QString& hva) {
  if (!felt->Avvist()) return {};
  const QString tekst = felt->text().trimmed();
  if (ForLangtTall(tekst)) return hva + " «" + tekst + "» har for mange sifre til å være et kåringsnummer.";
  return hva + " «" + tekst + "» er ikke et kåringsnummer.";
}
