// A ram's pedigree as a one-page document for the print preview: the tree is
// owned by the document and goes with it when the preview closes.
#pragma once

#include <memory>

#include "sidedokument.h"
#include "stamtre.h"

class TStamtredokument final : public TSidedokument {
 public:
  explicit TStamtredokument(std::unique_ptr<TVerBoks> rot) : rot_(std::move(rot)) {}

  int Sider() const override { return 1; }
  void TegnSide(QPainter& p, int bredde, int hoyde, int) const override { TegnStamtre(p, bredde, hoyde, *rot_, false); }
  void TegnSkjerm(QPainter& p, int bredde, int hoyde, int) const override {
    TegnStamtre(p, bredde, hoyde, *rot_, true);
  }

  const TVerBoks& Rot() const { return *rot_; }

 private:
  std::unique_ptr<TVerBoks> rot_;
};
