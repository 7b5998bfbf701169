// The grid model: rows and columns of text cells with fixed header rows and
// columns, a selection, a current cell and per-cell flags. Sorting, finding,
// the column figures and the exports work on this model; the grid widget
// only shows it.
//
// Rows either hold their cells, or take them from a row source that makes a
// row's cells when they are read (a table of a million rows then holds no
// text for them). A cell or flag set in such a row is kept with the row.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A rectangle of cells, inclusive at both ends.
struct TOmraade {
  int venstre = 0;
  int topp = 0;
  int hoyre = 0;
  int bunn = 0;
  bool operator==(const TOmraade&) const = default;
  bool Inneholder(int kol, int rad) const { return kol >= venstre && kol <= hoyre && rad >= topp && rad <= bunn; }
};

// Rows made when they are read: how many, and a function that gives row i's
// cells (from 0, in the source's column order; `celler` comes empty).
struct TRadkilde {
  int antall = 0;
  std::function<void(int rad, std::vector<std::string>& celler)> lag;
};

class TRutenett {
 public:
  TRutenett(int kolonner = 0, int rader = 0);
  TRutenett(const TRutenett& annen);
  TRutenett& operator=(const TRutenett& annen);
  TRutenett(TRutenett&&) noexcept;
  TRutenett& operator=(TRutenett&&) noexcept;
  ~TRutenett();

  int Kolonner() const { return kolonner_; }
  int Rader() const { return static_cast<int>(rader_.size()); }
  // Changes the size; cells that remain keep their text, new cells are empty.
  void SettStorrelse(int kolonner, int rader);
  void SettKolonner(int kolonner) { SettStorrelse(kolonner, Rader()); }
  void SettRader(int rader) { SettStorrelse(kolonner_, rader); }

  // Fixed (frozen) columns at the left and header rows at the top.
  int FasteKol() const { return fasteKol_; }
  int FasteRader() const { return fasteRader_; }
  void SettFaste(int kolonner, int rader);

  // Cells are Windows-1252 texts; outside the grid a cell reads empty and a
  // write is ignored. A cell of a source's row is made when it is read, with
  // the rest of its row; the reference holds until the grid changes or a
  // few other rows of the source have been read (one thread at a time).
  const std::string& Celle(int kol, int rad) const;
  void SettCelle(int kol, int rad, std::string tekst);
  // The cells of one row; a row outside the grid has none.
  const std::vector<std::string>& Rad(int rad) const;

  // Rows fra .. fra + antall - 1 become the source's rows 0 .. antall - 1, in
  // place of any rows there (the grid grows to hold them; their heights
  // stay). The source's columns are the grid's, moved along when a column
  // moves. One source at a time: the rows of an earlier one get cells of
  // their own first.
  void SettKilde(int fra, std::shared_ptr<const TRadkilde> kilde);
  // The source's row that grid row `rad` shows, or -1 (a row of its own,
  // also one a source's row became when it was edited).
  int Kilderad(int rad) const;
  // What the source makes has changed: its rows are made again when next
  // read (rows with cells of their own keep them).
  void KildeEndret();
  // Rows that hold cells of their own (for tests and benchmarks).
  int LagredeRader() const;
  // Per-cell flags for the window's own use (error marks and the like).
  uint32_t Flagg(int kol, int rad) const;
  void SettFlagg(int kol, int rad, uint32_t flagg);

  // Rows carry their cells, flags and heights along in all of these.
  // Removes rows `fra` to `til` (inclusive, cut to the grid); the rows below
  // move up.
  void SlettRader(int fra, int til);
  // Inserts an empty row of the standard height before `rad` (at the end when
  // `rad` is Rader() or more).
  void SettInnRad(int rad);
  // Swaps two rows.
  void ByttRader(int a, int b);
  // Moves a column or a row, with its flags and size, to another place; the
  // ones between shift by one.
  void FlyttKolonne(int fra, int til);
  void FlyttRad(int fra, int til);
  // Puts the rows of a block in the order given: row i becomes the old row
  // rekkefolge[i - fra]. The order must name every row from `fra` to
  // `fra + rekkefolge.size() - 1` once; any other order changes nothing.
  void OrdneRader(int fra, const std::vector<int>& rekkefolge);

  // Sizes in pixels.
  int StandardBredde() const { return standardBredde_; }
  int StandardHoyde() const { return standardHoyde_; }
  void SettStandardBredde(int b);  // also resets every column to it
  void SettStandardHoyde(int h);   // also resets every row to it
  int Kolbredde(int kol) const;
  void SettKolbredde(int kol, int b);
  int Radhoyde(int rad) const;
  void SettRadhoyde(int rad, int h);

  // The selection and the current cell, kept inside the grid. The current
  // cell is further kept out of the fixed rows and columns whenever the grid
  // has other cells; a selection of just the current cell moves with it. A
  // selection set by the program may include fixed cells.
  const TOmraade& Valg() const { return valg_; }
  void SettValg(TOmraade valg);
  int GjeldendeKol() const { return gjeldendeKol_; }
  int GjeldendeRad() const { return gjeldendeRad_; }
  // Makes (kol, rad) the current cell and the selection that one cell.
  void SettGjeldende(int kol, int rad);

  // Called after every change, so that a view can redraw. A grid widget that
  // shows this model sets it itself.
  std::function<void()> VedEndring;

 private:
  // What a row holds: its own cells (kolonner_ of them, or none yet: all
  // empty) unless it is a source's row, and its flags (none yet: all 0).
  struct TLagret {
    std::vector<std::string> celler;
    std::vector<uint32_t> flagg;
  };
  struct TRad {
    int32_t kilde = -1;  // the source's row, or -1
    int hoyde = 0;
    std::unique_ptr<TLagret> lagret;
  };
  // The made rows of the source, kept for a few reads.
  struct TLaget {
    int32_t kilde = -1;
    std::vector<std::string> celler;
  };

  void Endret() const;
  void Klem();
  static std::vector<TRad> Kopi(const std::vector<TRad>& rader);
  const std::vector<std::string>& Laget(int32_t kilde) const;
  // Gives a source's row cells of its own; a row's own data, made when needed.
  void Egne(TRad& r);
  TLagret& Lagret(TRad& r);
  void GlemLaget();

  int kolonner_ = 0;
  int fasteKol_ = 0;
  int fasteRader_ = 0;
  std::vector<TRad> rader_;
  std::shared_ptr<const TRadkilde> kilde_;
  std::vector<int> kildeKol_;  // the source's column shown in each column, or -1
  mutable std::array<TLaget, 4> laget_;
  mutable std::size_t nesteLaget_ = 0;
  mutable std::vector<std::string> raa_;  // a source's row as made
  std::vector<std::string> tomRad_;       // the cells of a row with none of its own
  int standardBredde_ = 64;
  int standardHoyde_ = 24;
  std::vector<int> kolbredde_;
  TOmraade valg_;
  int gjeldendeKol_ = 0;
  int gjeldendeRad_ = 0;
};
