#include "avlvindu.h"

#include <cstdio>

#include "cp1252.h"
#include "slektskap.h"
#include "timeglass.h"

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
