#include "skriverjobb.h"

#include <atomic>

namespace {

// The jobs running now: a window's print run may hold one inside its click's.
std::atomic<int> jobber{0};

}  // namespace

bool SkriverOpptatt() { return jobber.load() > 0; }

TSkriverjobb::TSkriverjobb() { ++jobber; }

TSkriverjobb::~TSkriverjobb() { --jobber; }
