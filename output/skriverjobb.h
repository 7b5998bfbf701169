// The one printer of the program: while a print job of ours runs (the pages
// are being drawn and handed to the print system), no other may begin. Every
// way to print holds a TSkriverjobb for as long as its job runs, and asks
// SkriverOpptatt() before it begins; the job ends with the object's scope,
// also when the printing ends with an error.
#pragma once

// What the user is told when a job of ours is still running (UTF-8).
inline constexpr const char* SkriverOpptattTekst =
    "Skriveren er opptatt med en annen utskrift. Vent til den er ferdig, og prøv igjen.";

// True while a TSkriverjobb lives.
bool SkriverOpptatt();

// Marks a print job of this program as running for the object's lifetime.
class TSkriverjobb {
 public:
  TSkriverjobb();
  ~TSkriverjobb();
  TSkriverjobb(const TSkriverjobb&) = delete;
  TSkriverjobb& operator=(const TSkriverjobb&) = delete;
};
