// The pedigree tree of a ram: its ancestors up to five generations back as a
// tree of boxes, built once from the register, drawn as often as the preview
// repaints or prints, and hit-tested for clicks on a ram's number.
//
// Positions are logical units of a page 640 wide (960 high at 100 %); drawing
// scales them by the device width / 640 in both directions. Texts are
// Windows-1252 byte strings.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "verpost.h"

class QPainter;
class TProdusent;
class Trase;
class TVerBoks;
class TSoyeBoks;
struct TStamTegning;

// The root box: a ram at x 10, y 430 with step 220.
inline constexpr int32_t StamRotX = 10;
inline constexpr int32_t StamRotY = 430;
inline constexpr int32_t StamRotSteg = 220;
// Boxes at an X above this are the last generation: no parents, a lower and
// shorter box.
inline constexpr int32_t StamSisteX = 400;
// Every box is this wide; only its upper-left StamTreffBredde x StamTreffHoyde
// (where the number is written) reacts to a click.
inline constexpr int32_t StamBoksBredde = 110;
inline constexpr int32_t StamTreffBredde = 55;
inline constexpr int32_t StamTreffHoyde = 20;

// The record of a judging number, as TProdusent::FindByNumber gives it (the
// all-zero record when the register does not hold it).
using TFinnVer = std::function<TVerPost(int32_t nummer)>;

// A box of the tree: a ram (TVerBoks) or a dam (TSoyeBoks). A box owns its
// parents' boxes, so destroying the root frees the tree.
class TStamBoks {
 public:
  // X, Y and Steg as given, except that Y drops 5 in the last generation.
  TStamBoks(int32_t x, int32_t y, int32_t steg);
  virtual ~TStamBoks();
  TStamBoks(const TStamBoks&) = delete;
  TStamBoks& operator=(const TStamBoks&) = delete;

  // Draws the box, then its sire's branch, then its dam's. `skjerm` is 1 on
  // screen and 0 on paper; it is passed on and not otherwise used.
  virtual void Tegn(TStamTegning& t, uint8_t skjerm) const = 0;

  int32_t Bredde;       // horizontal distance to the parents' boxes: 60 while X < 120, else 115
  std::string NrTekst;  // the number, zero-filled (9 digits for a ram, 6 for a dam)
  int32_t FarNr = 0;    // judging number of the sire of the animal in the box (0 = unknown)
  int32_t Indeks = 0;   // shown after "O-indeks:"
  int32_t X, Y;         // top-left corner
  int32_t Steg;         // vertical distance to each parent's box
  std::unique_ptr<TVerBoks> Far;
  std::unique_ptr<TSoyeBoks> Mor;  // only a ram box has one

 protected:
  // The sire's box from the record of FarNr, unless this is the last generation.
  void LagFar(const TFinnVer& finn, const Trase& raser);
  // The link from the pen position to the left edge, and the outline.
  void TegnRamme(TStamTegning& t, int32_t h) const;
  // The parents' branches, sire first, each linked from this box.
  void TegnForeldre(TStamTegning& t, int32_t h, uint8_t skjerm) const;
};

// A ram of the register.
class TVerBoks : public TStamBoks {
 public:
  // The box of `ver` with the ancestors the register gives: the sire when
  // Farnr > 0, the dam when MorFar > 0 (never for Mornr alone).
  TVerBoks(const TVerPost& ver, int32_t x, int32_t y, int32_t steg, const TFinnVer& finn, const Trase& raser);
  void Tegn(TStamTegning& t, uint8_t skjerm) const override;

  std::string Navn;       // the stored name, at most 20 characters
  std::string RaseFylke;  // breed name, two blanks, county name; at most 40 characters
  std::string Buskap;     // the first 30 characters of Fodebuskap
};

// A dam: only what her child's record says (number, index, her sire).
class TSoyeBoks : public TStamBoks {
 public:
  TSoyeBoks(int32_t mornr, int32_t indeks, int32_t morFar, int32_t x, int32_t y, int32_t steg, const TFinnVer& finn,
            const Trase& raser);
  void Tegn(TStamTegning& t, uint8_t skjerm) const override;
};

// The tree of `ver`, its root at (10, 430) with step 220; ancestors are read
// with `finn`.
std::unique_ptr<TVerBoks> ByggStamtre(const TVerPost& ver, const TFinnVer& finn, const Trase& raser);
// The same through the register's FindByNumber (which moves its
// CurrentRamIndex, as every lookup does).
std::unique_ptr<TVerBoks> ByggStamtre(const TVerPost& ver, TProdusent& reg, const Trase& raser);

// The preview's caption: "Stamtre for " + number + " " + name, at most 42
// characters.
std::string StamtreTittel(const TVerBoks& rot);

// Draws the tree to fill a `bredde` x `hoyde` area of the painter's device
// (device pixels), scaled by bredde / 640 in both directions. The area is
// first filled with the painter's background brush (white unless the caller
// sets another).
void TegnStamtre(QPainter& p, int bredde, int hoyde, const TStamBoks& rot, bool skjerm);

// The judging number whose number area (55 x 20 units at the top left of a
// box) strictly contains the logical point (x, y), searched root first, then
// the sire's branch, then the dam's; 0 when none does. Dams' numbers count too.
int32_t TreffStamtre(const TStamBoks& rot, int32_t x, int32_t y);

// A mouse release on the preview surface at device (musX, musY) at zoom
// factor `zoom` (2 for "200%", 0.25 for "25%"): the position is divided by the
// zoom and rounded half away from zero, then hit-tested. Gives the ram to look
// up (a number above 999999) or 0 (nothing hit, or a dam's number).
int32_t StamtreKlikk(const TStamBoks& rot, double musX, double musY, double zoom);

// ---- The tree as a file ----

// The kinds of file the tree is written as, told by the file's extension in
// any letter case: .pdf, .png or .svg.
enum class TStamtreFil { Pdf, Png, Svg };
std::optional<TStamtreFil> StamtreFiltype(const std::filesystem::path& fil);

// The picture's size in pixels, for the PNG and the SVG: the preview's page
// at 200 %.
inline constexpr int StamtreBildeBredde = 1280;
inline constexpr int StamtreBildeHoyde = 1920;

// Draws the tree of `rot` (as on paper) into `fil`, by its extension: one PDF
// page (A4 portrait, 10 mm margins, 600 dots per inch, the preview's caption
// as its title, "Hornstad" as its creator), a white PNG of
// StamtreBildeBredde x StamtreBildeHoyde, or an SVG of that size and view box
// with the caption as its title. The file is made in memory and replaces
// `fil` whole. Throws IoFeil, also for an extension StamtreFiltype does not
// know.
void SkrivStamtre(const TVerBoks& rot, const std::filesystem::path& fil);
