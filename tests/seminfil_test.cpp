// The insemination files: the data file per producer and season (save and
// fetch through real files), the report lines, the file names and their
// refusals, the approved-inseminator list, the send rule and the mail
// hand-off through a stand-in xdg-email.
#include "seminfil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "dato.h"
#include "filer.h"
#include "inifil.h"
#include "tekst.h"
#include "testmappe.h"

namespace fs = std::filesystem;

namespace {

const std::string Prod = "1234567890";
const std::string Sem = "12345";

// Two complete rows (the first with ewe 7, ram 12345 and no return; the
// second with a return date and a nine-digit ram) and an incomplete one.
const std::vector<std::string> Rad1 = {"2003",  "7",  "10/10/2005", "20", "2", "11/10/2005", "08",
                                       "12345", "41", "2005",       "1",  "1", "1",          ""};
const std::vector<std::string> Rad3 = {"2004",      "1234", "12/10/2005", "06", "3", "13/10/2005", "14",
                                       "200012345", "40",   "2005",       "0",  "2", "2",          "30/10/2005"};
const std::vector<std::string> Ufullstendig = {"2005", "15", "12/10/2005", "06", "3", "13/10/2005", "14",
                                               "",     "40", "2005",       "0",  "2", "2",          ""};

// A registration grid: header row, the given data rows and an empty last row.
TRutenett Grid(const std::vector<std::vector<std::string>>& rader) {
  TRutenett g(SeminKolonner, 1);
  g.SettFaste(0, 1);
  for (const auto& rad : rader) {
    const int r = g.Rader();
    g.SettRader(r + 1);
    for (int c = 0; c < SeminKolonner; ++c) g.SettCelle(c, r, rad[static_cast<std::size_t>(c)]);
  }
  g.SettRader(g.Rader() + 1);
  return g;
}

// Stands in for the window's row check: every cell but the production week and
// the return date is filled. Records the rows it was asked about.
struct TKomplett {
  const TRutenett& g;
  std::vector<int> spurt;
  bool operator()(int rad) {
    spurt.push_back(rad);
    for (int c = 0; c < SeminKolonner; ++c)
      if (c != 8 && c != 13 && g.Celle(c, rad).empty()) return false;
    return true;
  }
};

// Sets an environment variable for the lifetime of the object.
class Miljo {
 public:
  Miljo(const char* navn, const std::string& verdi) : navn_(navn) {
    if (const char* v = std::getenv(navn)) gammel_ = v, hadde_ = true;
    ::setenv(navn, verdi.c_str(), 1);
  }
  ~Miljo() {
    if (hadde_)
      ::setenv(navn_, gammel_.c_str(), 1);
    else
      ::unsetenv(navn_);
  }

 private:
  const char* navn_;
  std::string gammel_;
  bool hadde_ = false;
};

}  // namespace

TEST(SeminFil, LagreHenteOgRapportGjennomEkteFiler) {
  TestMappe m;
  IMappe i(m.Sti());
  TRutenett g = Grid({Rad1, Ufullstendig, Rad3});
  const fs::path fil = DatafilNavn(2005, Prod);

  TKomplett komplett{g, {}};
  const TLagret lagret = Lagre(fil, Prod, Sem, g, std::ref(komplett));
  EXPECT_EQ(lagret.antall, 2);
  EXPECT_EQ(lagret.feilRader, 1);  // the empty last row is not a faulty row
  EXPECT_EQ(lagret.melding, "1 Linjer har feil eller mangler og blir ikke lagret");
  EXPECT_EQ(komplett.spurt, (std::vector<int>{1, 2, 3, 4}));

  // Grid row 3 becomes saved row 2; the empty return date of row 1 and the
  // whole incomplete row leave no lines.
  EXPECT_EQ(LesHeleFila(m / "2005Semin1234567890.Data"),
            "ProdNr=1234567890\r\nSemNr=12345\r\n"
            "Sem1C0=2003\r\nSem1C1=7\r\nSem1C2=10/10/2005\r\nSem1C3=20\r\nSem1C4=2\r\nSem1C5=11/10/2005\r\n"
            "Sem1C6=08\r\nSem1C7=12345\r\nSem1C8=41\r\nSem1C9=2005\r\nSem1C10=1\r\nSem1C11=1\r\nSem1C12=1\r\n"
            "Sem2C0=2004\r\nSem2C1=1234\r\nSem2C2=12/10/2005\r\nSem2C3=06\r\nSem2C4=3\r\nSem2C5=13/10/2005\r\n"
            "Sem2C6=14\r\nSem2C7=200012345\r\nSem2C8=40\r\nSem2C9=2005\r\nSem2C10=0\r\nSem2C11=2\r\nSem2C12=2\r\n"
            "Sem2C13=30/10/2005\r\n"
            "Antall=2\r\n");
  EXPECT_FALSE(fs::exists(m / "2005Semin1234567890.Data.ny"));

  // Fetching into a grid that holds other rows and a red cell.
  TRutenett h = Grid({Ufullstendig, Ufullstendig, Ufullstendig, Ufullstendig});
  h.SettFlagg(3, 2, 1);
  h.SettGjeldende(5, 3);
  const double tidligere = *EncodeDate(2005, 10, 1);
  const THentet hentet = Hente(2005, Prod, h, tidligere);
  EXPECT_EQ(hentet.fil, fil);
  EXPECT_TRUE(hentet.lest);
  EXPECT_EQ(hentet.prodNr, Prod);
  EXPECT_EQ(hentet.semNr, Sem);
  EXPECT_EQ(hentet.antall, 2);
  EXPECT_EQ(hentet.feil, "");
  EXPECT_EQ(hentet.sisteSemin, *EncodeDate(2005, 10, 13));
  ASSERT_EQ(h.Rader(), 4);
  EXPECT_EQ(h.Rad(1), Rad1);
  EXPECT_EQ(h.Rad(2), Rad3);
  EXPECT_EQ(h.Rad(3), std::vector<std::string>(SeminKolonner));
  EXPECT_EQ(h.Flagg(3, 2), 0u);
  EXPECT_EQ(h.GjeldendeKol(), 0);
  EXPECT_EQ(h.GjeldendeRad(), 1);

  // The report comes from the grid, not from the file: one 54-character line
  // per complete row, in grid order.
  TKomplett k2{g, {}};
  const fs::path rapport = SkrivRapport(g, std::ref(k2), Sem, Prod);
  EXPECT_EQ(rapport, fs::current_path() / "1234567890.Txt");
  EXPECT_EQ(LesHeleFila(rapport),
            "12345"
            "1234567890"
            "03"
            "0007"
            "10"
            "10"
            "20"
            "2"
            "11"
            "10"
            "08"
            "000012345"
            "41"
            "05"
            "1"
            "1"
            "1"
            "    "
            "\r\n"
            "12345"
            "1234567890"
            "04"
            "1234"
            "12"
            "10"
            "06"
            "3"
            "13"
            "10"
            "14"
            "200012345"
            "40"
            "05"
            "0"
            "2"
            "2"
            "3010"
            "\r\n");

  // Saving again replaces the file whole: no row keys of the earlier save
  // stay. A save without complete rows over a file with rows asks first:
  // without an answer or with "no" the file stays byte for byte.
  TRutenett tom = Grid({Ufullstendig});
  const std::string foer = LesHeleFila(fil);
  std::vector<int> spurt;
  for (const bool ja : {false, true}) {
    SCOPED_TRACE(ja);
    TKomplett k3{tom, {}};
    const TLagret igjen = Lagre(fil, "", "", tom, std::ref(k3), [&](const fs::path& f, int lagrede) {
      EXPECT_EQ(f, fil);
      spurt.push_back(lagrede);
      return ja;
    });
    EXPECT_EQ(igjen.skrevet, ja);
    EXPECT_EQ(igjen.antall, 0);
    EXPECT_EQ(igjen.melding, "1 Linjer har feil eller mangler og blir ikke lagret");
    EXPECT_EQ(LesHeleFila(fil), ja ? "ProdNr=\r\nAntall=0\r\n" : foer);
  }
  EXPECT_EQ(spurt, (std::vector<int>{2, 2}));
  // A file of no rows is replaced without asking.
  TKomplett k4{tom, {}};
  EXPECT_TRUE(Lagre(fil, Prod, "", tom, std::ref(k4)).skrevet);
  EXPECT_EQ(LesHeleFila(fil), "ProdNr=1234567890\r\nAntall=0\r\n");
}

TEST(SeminFil, TomLagringRorIkkeEnFilMedRader) {
  TestMappe m;
  IMappe i(m.Sti());
  struct Tilfelle {
    const char* navn;
    const char* innhold;  // nullptr: no file
    int rader;
  };
  const Tilfelle tilfeller[] = {
      {"ingen fil", nullptr, 0},
      {"tom fil", "", 0},
      {"Antall=0", "ProdNr=1\r\nAntall=0\r\n", 0},
      {"Antall=3", "ProdNr=1\r\nSem1C0=2003\r\nAntall=3\r\n", 3},
      {"rader uten Antall", "ProdNr=1\r\nSemNr=12345\r\nSem1C0=2003\r\nSem1C1=7\r\nsem2c0=2004\r\n", 2},
  };
  const TRutenett tom = Grid({});
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    const fs::path fil = m / "2005Semin1234567890.Data";
    fs::remove(fil);
    if (t.innhold) m.Skriv(fil.filename().string(), t.innhold);
    EXPECT_EQ(RaderIDatafil(fil), t.rader);
    bool spurt = false;
    const TLagret l = Lagre(
        fil, Prod, Sem, tom, [](int) { return false; },
        [&](const fs::path&, int) {
          spurt = true;
          return false;
        });
    EXPECT_EQ(spurt, t.rader > 0);
    EXPECT_EQ(l.skrevet, t.rader == 0);
    if (t.rader > 0) {
      EXPECT_EQ(LesHeleFila(fil), t.innhold);
    }
  }
  EXPECT_EQ(TomLagringSporsmal("2005Semin1234567890.Data", 2),
            "Ingen linjer i skjemaet er fullstendige, men «2005Semin1234567890.Data» har 2 lagrede linjer. Lagrer du "
            "nå, blir de borte fra fila. Vil du lagre likevel?");
}

// A data file another program (a second copy, an editor) changed after the
// fetch is replaced only when the user says so; unchanged, nobody is asked.
TEST(SeminFil, FilEndretEtterHentingSkrivesIkkeOverUspurt) {
  TestMappe m;
  IMappe i(m.Sti());
  const fs::path fil = DatafilNavn(2005, Prod);
  TRutenett g = Grid({Rad1});
  TKomplett k{g, {}};
  ASSERT_TRUE(Lagre(fil, Prod, Sem, g, std::ref(k)).skrevet);
  struct Tilfelle {
    const char* hva;
    bool endreAndreSteder;
    bool svar;
    bool spurt, skrevet;
  };
  const Tilfelle tilfeller[] = {
      {"uendret", false, false, false, true},
      {"endret, nei", true, false, true, false},
      {"endret, ja", true, true, true, true},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.hva);
    TRutenett hentetGrid = Grid({});
    const THentet h = Hente(2005, Prod, hentetGrid, 0.0);
    ASSERT_TRUE(h.innhold.fantes);
    if (t.endreAndreSteder) m.Skriv(fil.filename().string(), h.innhold.tekst + "Sem2C0=2004\r\n");
    const std::string foer = LesHeleFila(fil);
    bool spurt = false;
    TKomplett k2{g, {}};
    const TLagret l = Lagre(fil, Prod, Sem, g, std::ref(k2), {}, &h.innhold, [&](const fs::path& f) {
      spurt = true;
      EXPECT_EQ(f, fil);
      return t.svar;
    });
    EXPECT_EQ(spurt, t.spurt);
    EXPECT_EQ(l.skrevet, t.skrevet);
    if (t.skrevet) {
      EXPECT_EQ(LesHeleFila(fil), l.tekst);
    } else {
      EXPECT_EQ(LesHeleFila(fil), foer) << "the other program's file stays byte for byte";
    }
  }
}

TEST(SeminFil, HenteLeserFremmedeLinjeskiftOgStopperVedUlesbarDato) {
  TestMappe m;
  IMappe i(m.Sti());
  // LF line ends, names in other letter case, a row without a readable
  // insemination date and one after it that is never reached.
  m.Skriv("2006Semin42.Data",
          "prodnr=42\nSEMNR=777\nSem1C0=2004\nSem1C5=02/10/2006\nSem2C0=2005\nSem2C5=Feildato\n"
          "Sem3C0=2003\nSem3C5=09/10/2006\nAntall=3\n");
  TRutenett g = Grid({});
  const THentet h = Hente(2006, "42", g, 0);
  EXPECT_EQ(h.prodNr, "42");
  EXPECT_EQ(h.semNr, "777");
  EXPECT_EQ(h.antall, 2);
  EXPECT_EQ(h.feil, "«Feildato» er ikke en gyldig dato");
  EXPECT_EQ(h.sisteSemin, *EncodeDate(2006, 10, 2));
  ASSERT_EQ(g.Rader(), 4);
  EXPECT_EQ(g.Celle(0, 2), "2005");
  EXPECT_EQ(g.Celle(0, 3), "");

  // No file: an empty grid of one data row, nothing read.
  TRutenett full = Grid({Rad1, Rad3});
  const THentet ny = Hente(2006, "43", full, 5.0);
  EXPECT_FALSE(ny.lest);
  EXPECT_EQ(ny.fil, fs::path("2006Semin43.Data"));
  EXPECT_EQ(ny.antall, 0);
  EXPECT_EQ(ny.sisteSemin, 5.0);
  ASSERT_EQ(full.Rader(), 2);
  EXPECT_EQ(full.Rad(1), std::vector<std::string>(SeminKolonner));
}

TEST(SeminFil, Filnavn) {
  EXPECT_EQ(DatafilNavn(2005, Prod), fs::path("2005Semin1234567890.Data"));
  EXPECT_EQ(DatafilNavn(2005, ""), fs::path("2005Semin.Data"));
  EXPECT_EQ(DatafilNavn(1999, "12 3"), fs::path("1999Semin12 3.Data"));
  EXPECT_EQ(RapportfilNavn(Prod), fs::path("1234567890.Txt"));
  // Windows-1252 producer texts give UTF-8 file names.
  EXPECT_EQ(RapportfilNavn("\xC5s"), fs::path("Ås.Txt"));
}

TEST(SeminFil, ProdusenttekstSomLederUtAvMappenAvvises) {
  TestMappe m;
  fs::create_directory(m / "inne");
  IMappe i(m / "inne");
  const std::vector<std::string> avviste = {"../1234567890",
                                            "a/b",
                                            "/tmp/x",
                                            "..",
                                            "12..34",
                                            std::string("12\0"
                                                        "3",
                                                        4)};
  for (const std::string& p : avviste) {
    SCOPED_TRACE(p);
    EXPECT_THROW(DatafilNavn(2005, p), IoFeil);
    EXPECT_THROW(RapportfilNavn(p), IoFeil);

    TRutenett g = Grid({Rad1});
    try {
      Hente(2005, p, g, 0);
      ADD_FAILURE() << "Hente godtok produsentteksten";
    } catch (const IoFeil& e) {
      EXPECT_NE(std::string(e.what()).find("«/» eller «..»"), std::string::npos) << e.what();
    }
    EXPECT_EQ(g.Rad(1), Rad1);  // the grid is untouched

    TKomplett k{g, {}};
    EXPECT_THROW(SkrivRapport(g, std::ref(k), Sem, p), IoFeil);
    EXPECT_THROW(SendRapport(g, std::ref(k), Sem, p, 2005, ""), IoFeil);
  }
  // Nothing was written, inside the folder or beside it.
  EXPECT_TRUE(fs::is_empty(m / "inne"));
  std::set<std::string> navn;
  for (const auto& e : fs::directory_iterator(m.Sti())) navn.insert(e.path().filename().string());
  EXPECT_EQ(navn, std::set<std::string>{"inne"});
}

TEST(SeminFil, LagreUtenHentetFilAvvises) {
  TRutenett g = Grid({Rad1});
  TKomplett k{g, {}};
  EXPECT_THROW(Lagre({}, Prod, Sem, g, std::ref(k)), IoFeil);
}

TEST(SeminFil, Rapportlinjer) {
  struct Tilfelle {
    const char* hva;
    int kol;
    std::string verdi;
    std::string ventet;  // the line from column 14 of the first line on
  };
  const std::vector<Tilfelle> tilfeller = {
      {"ewe number trimmed and zero-filled", 1, " 7 ", "0007"},
      {"ram longer than its width is written whole", 7, "1234567890", "1234567890"},
      {"deposition other than exactly 1 is 2", 11, " 1", "2"},
      {"return checked other than exactly 1 is 2", 12, "7", "2"},
      {"a return of two characters gives blanks", 13, "12", "    "},
      {"a return date gives day and month", 13, "28/10/2005", "2810"},
      {"production year of two digits keeps what is there", 9, "5", ""},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.hva);
    std::vector<std::string> rad = Rad1;
    rad[static_cast<std::size_t>(t.kol)] = t.verdi;
    const std::string fast = Rapportlinje(Rad1, Sem, Prod);
    ASSERT_EQ(fast.size(), 54u);
    // Where the field of each grid column starts in the line, and its width.
    const std::size_t fra[14] = {15, 17, 21, 25, 27, 28, 32, 34, 43, 45, 47, 48, 49, 50};
    const std::size_t bredde[14] = {2, 4, 4, 2, 1, 4, 2, 9, 2, 2, 1, 1, 1, 4};
    const auto f = static_cast<std::size_t>(t.kol);
    EXPECT_EQ(Rapportlinje(rad, Sem, Prod), fast.substr(0, fra[f]) + t.ventet + fast.substr(fra[f] + bredde[f]));
  }
  // Header numbers are read as numbers and zero-filled.
  EXPECT_EQ(Rapportlinje(Rad1, "345", "42").substr(0, 15),
            "00345"
            "0000000042");
}

TEST(SeminFil, GodkjentlistaIDatamappaEllerArbeidsmappa) {
  TestMappe m;
  fs::create_directory(m / "data");
  fs::create_directory(m / "arbeid");
  IMappe i(m / "arbeid");
  struct Tilfelle {
    const char* navn;
    const char* iData;    // the file name in the data folder, or nullptr
    const char* iArbeid;  // the file name in the working folder, or nullptr
    const char* funnet;   // "data", "arbeid" or ""
  };
  const Tilfelle tilfeller[] = {
      {"i datamappa", "SemGodkj.Txt", nullptr, "data"},
      {"i begge: datamappa vinner", "SemGodkj.Txt", "SemGodkj.Txt", "data"},
      {"annen stor bokstav", "SEMGODKJ.TXT", nullptr, "data"},
      {"bare i arbeidsmappa", nullptr, "SemGodkj.Txt", "arbeid"},
      {"ingen", nullptr, nullptr, ""},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    for (const char* mappe : {"data", "arbeid"})
      for (const auto& f : fs::directory_iterator(m / mappe)) fs::remove(f.path());
    if (t.iData) m.Skriv(std::string("data/") + t.iData, "12345=Kari\r\n");
    if (t.iArbeid) m.Skriv(std::string("arbeid/") + t.iArbeid, "54321=Per\r\n");
    const fs::path fil = FinnGodkjentFil(m / "data");
    if (*t.funnet == 0) {
      EXPECT_TRUE(fil.empty()) << fil;
    } else {
      EXPECT_EQ(fil.parent_path().filename(), t.funnet);
      EXPECT_EQ(LesGodkjente(fil).size(), 1u);
    }
  }
}

TEST(SeminFil, GodkjenteInseminorer) {
  TestMappe m;
  EXPECT_TRUE(LesGodkjente(m / "SemGodkj.Txt").empty());
  m.Skriv("SemGodkj.Txt", "12345=Ola Nordmann\r\n123=Kari=Li\r\n99999\r\n12345=Annen\r\n 555=Blank\n");
  const std::vector<std::string> g = LesGodkjente(m / "SemGodkj.Txt");
  EXPECT_EQ(g.size(), 5u);
  EXPECT_EQ(GodkjentNavn(g, "12345"), "Ola Nordmann");
  EXPECT_EQ(GodkjentNavn(g, "123"), "Kari=Li");
  EXPECT_EQ(GodkjentNavn(g, "1234"), std::nullopt);
  EXPECT_EQ(GodkjentNavn(g, "99999"), std::nullopt);
  EXPECT_EQ(GodkjentNavn(g, "555"), std::nullopt);  // the number text must match exactly
}

TEST(SeminFil, SendeknappensRegel) {
  const double naa = *EncodeDate(2005, 11, 1) + 0.5;
  const double for19 = naa - 19, for18 = naa - 18;
  // After a fetch: 2 rows, the save button on, a latest insemination more than
  // 18 days ago.
  EXPECT_TRUE(KanSendeEtterHenting(2, true, for19, naa));
  EXPECT_FALSE(KanSendeEtterHenting(1, true, for19, naa));
  EXPECT_FALSE(KanSendeEtterHenting(2, false, for19, naa));
  EXPECT_FALSE(KanSendeEtterHenting(2, true, for18, naa));
  EXPECT_TRUE(KanSendeEtterHenting(2, true, for18 - 0.01, naa));
  EXPECT_FALSE(KanSendeEtterHenting(5, true, 0, naa));
  // After a save the same two rows are not enough.
  EXPECT_FALSE(KanSendeEtterLagring(2, for19, naa));
  EXPECT_TRUE(KanSendeEtterLagring(3, for19, naa));
  EXPECT_FALSE(KanSendeEtterLagring(3, for18, naa));
  EXPECT_FALSE(KanSendeEtterLagring(3, 0, naa));
  EXPECT_GT(SeminNaa(), IDag());
  EXPECT_LT(SeminNaa(), IDag() + 1);
}

TEST(SeminFil, Mottaker) {
  TestMappe m;
  {
    QSettings ini(QString::fromStdString((m / "Hornstad.Ini").string()), InnstillingsFormat());
    EXPECT_EQ(SeminMottaker(ini), StandardSeminEpost);
    ini.setValue("Semin/Epost", "rapport@avl.example");
    EXPECT_EQ(SeminMottaker(ini), "rapport@avl.example");
  }
  EXPECT_EQ(LagEpost(Prod, 2005, "", "x").mottaker, StandardSeminEpost);
}

// The mail hand-off through a stand-in xdg-email that records its arguments,
// one per line, and ends with the exit code of XDG_SVAR.
class Epost : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(m / "bin");
    fs::create_directory(m / "arbeid");
    m.Skriv("bin/xdg-email",
            "#!/bin/sh\n"
            "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$XDG_ARGS\"\n"
            "exit ${XDG_SVAR:-0}\n");
    fs::permissions(m / "bin/xdg-email", fs::perms::owner_all);
  }
  std::vector<std::string> Argumenter() const { return TekstLinjer(LesHeleFila(m / "args")); }

  TestMappe m;
  Miljo args{"XDG_ARGS", (m / "args").string()};
};

TEST_F(Epost, LeveresMedArgumentlisteOgGirMeldingenForSendt) {
  Miljo sti("PATH", (m / "bin").string());
  IMappe i(m / "arbeid");
  // A producer text that a shell would act on, with a Windows-1252 letter.
  const std::string p = "12\xC5 $(touch pwned);'x";
  TRutenett g = Grid({Rad1, Ufullstendig, Rad3});
  TKomplett k{g, {}};
  const TSendeSvar s = SendRapport(g, std::ref(k), Sem, p, 2005, "");
  EXPECT_EQ(s.utfall, TSendeUtfall::Sendt);
  EXPECT_EQ(s.melding,
            "Rapporten er lagt i utboksen på din e-postleser. Åpne e-postleseren å sjekk at posten er sendt. "
            "Hvis ikke, trykk sende/motte.");
  const fs::path rapport = m / "arbeid" / "12Å $(touch pwned);'x.Txt";
  EXPECT_EQ(Argumenter(), (std::vector<std::string>{"--utf8", "--subject", "Seminrapport fra Hornstad 2005. ", "--body",
                                                    "Seminrapport fra 12Å $(touch pwned);'x år 2005 Godkjent. ",
                                                    "--attach", rapport.string(), StandardSeminEpost}));
  EXPECT_EQ(LesHeleFila(rapport).size(), 2u * 56u);
  EXPECT_FALSE(fs::exists(m / "arbeid" / "pwned"));
  EXPECT_FALSE(fs::exists(m / "bin" / "pwned"));
}

// A mail without a recipient (the pocket catalogue, to oneself) leaves the
// address out for the user; the plain hand-off makes no message.
TEST_F(Epost, UtenMottakerSlippesAdressenOgIngenMelding) {
  Miljo sti("PATH", (m / "bin").string());
  const TSendeSvar s = GiTilEpostprogram({"Emne", "Tekst", "", m / "side.html"});
  EXPECT_EQ(s.utfall, TSendeUtfall::Sendt);
  EXPECT_EQ(s.melding, "");
  EXPECT_EQ(Argumenter(), (std::vector<std::string>{"--utf8", "--subject", "Emne", "--body", "Tekst", "--attach",
                                                    (m / "side.html").string()}));
}

TEST_F(Epost, FeilFraEpostprogrammetNevnerRapporten) {
  Miljo sti("PATH", (m / "bin").string());
  Miljo svar("XDG_SVAR", "4");
  IMappe i(m / "arbeid");
  TRutenett g = Grid({Rad1});
  TKomplett k{g, {}};
  const TSendeSvar s = SendRapport(g, std::ref(k), Sem, Prod, 2006, "rapport@avl.example");
  EXPECT_EQ(s.utfall, TSendeUtfall::Feil);
  EXPECT_EQ(s.kode, 4);
  const fs::path rapport = m / "arbeid" / "1234567890.Txt";
  EXPECT_EQ(s.melding, "Kunne ikke sende e-post direkte fra programmet. Det ligger ei fil \"" + rapport.string() +
                           "\" som du manuelt må sende som e-postvedlegg, eller på diskett");
  EXPECT_EQ(Argumenter().back(), "rapport@avl.example");
  EXPECT_EQ(Argumenter()[2], "Seminrapport fra Hornstad 2006. ") << "the subject names the season";
  EXPECT_EQ(Argumenter()[4], "Seminrapport fra 1234567890 år 2006 Godkjent. ");
  EXPECT_TRUE(fs::exists(rapport));
}

TEST_F(Epost, UtenXdgEmailErDetSomAvbruttOgRapportenBlir) {
  fs::create_directory(m / "tom");
  Miljo sti("PATH", (m / "tom").string());
  IMappe i(m / "arbeid");
  TRutenett g = Grid({Rad1, Rad3});
  TKomplett k{g, {}};
  const TSendeSvar s = SendRapport(g, std::ref(k), Sem, Prod, 2005, "");
  EXPECT_EQ(s.utfall, TSendeUtfall::Avbrutt);
  EXPECT_EQ(s.melding, "");
  EXPECT_EQ(LesHeleFila(m / "arbeid" / "1234567890.Txt").size(), 2u * 56u);
  EXPECT_FALSE(fs::exists(m / "args"));
}
