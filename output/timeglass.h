// The busy cursor for as long as the object lives, also when the work it
// covers ends with an error.
#pragma once

#include <QApplication>

class TTimeglass {
 public:
  TTimeglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TTimeglass() { QApplication::restoreOverrideCursor(); }
  TTimeglass(const TTimeglass&) = delete;
  TTimeglass& operator=(const TTimeglass&) = delete;
};
