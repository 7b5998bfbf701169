// The breeder's lists of rams in Lister.Txt, a list in the table, and the
// report of what an import changed for the listed rams: an export changed on
// purpose, imported as the program imports it.
#include "lister.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cp1252.h"
#include "dato.h"
#include "eksempeldata.h"
#include "endringer.h"
#include "filer.h"
#include "filimport.h"
#include "innavl.h"
#include "listing.h"
#include "slektskap.h"
#include "soyer.h"
#include "stamtavle.h"
#include "tabell.h"
#include "tekst.h"
#include "testmappe.h"

namespace fs = std::filesystem;

namespace {

std::string C(const std::string& utf8) { return Utf8TilCp1252(utf8); }

std::string LesFil(const fs::path& f) { return LesHeleFila(f); }

// ---- the file ----

TEST(Lister, FilaSkrivesOgLesesTilbake) {
  TLister l;
  ASSERT_EQ(l.Ny(C("Mine værer")), "");
  ASSERT_EQ(l.Ny("Reserve"), "");
  ASSERT_EQ(l.LeggTil(C("Mine værer"), std::vector<int32_t>{1900123, 1900456, 1900123}), 2);
  ASSERT_EQ(l.LeggTil(C("Æ-lista"), std::vector<int32_t>{7}), 1);  // made when missing
  const std::string tekst = ListeTekst(l);
  // A person can read it: a name in brackets, then one number a line, CR LF, Windows-1252.
  EXPECT_NE(tekst.find(C("\r\n[Mine værer]\r\n1900123\r\n1900456\r\n\r\n[Reserve]\r\n\r\n[Æ-lista]\r\n7\r\n")),
            std::string::npos)
      << tekst;
  EXPECT_EQ(tekst.rfind("#", 0), 0u);
  for (std::size_t i = 0; i < tekst.size(); ++i)
    if (tekst[i] == '\n') {
      EXPECT_EQ(tekst[i - 1], '\r');
    }
  const TListeLesing les = TolkLister(tekst);
  EXPECT_TRUE(les.meldinger.empty());
  EXPECT_EQ(les.lister, l);
  EXPECT_EQ(les.lister.Alle()[0].nummer, (std::vector<int32_t>{1900123, 1900456}));
  EXPECT_TRUE(les.lister.Alle()[1].nummer.empty());
  // LF alone, tabs, blanks around names and numbers, comments.
  const TListeLesing los = TolkLister(C("  # kommentar\n\t[ Mine værer ]  \n 1 900 123 \n\n#1\n[reserve]\n"));
  EXPECT_TRUE(los.meldinger.empty());
  ASSERT_EQ(los.lister.Alle().size(), 2u);
  EXPECT_EQ(los.lister.Alle()[0].navn, C("Mine værer"));
  EXPECT_EQ(los.lister.Alle()[0].nummer, (std::vector<int32_t>{1900123}));
  EXPECT_EQ(los.lister.Alle()[1].navn, "reserve");
}

TEST(Lister, LinjerSomIkkeLesesGirMeldingOgGaarIkkeTapt) {
  const std::string tekst =
      C("1900001\r\n"       // 1: before any list
        "[Mine værer]\r\n"  // 2
        "1900002\r\n"       // 3
        "19000x3\r\n"       // 4
        "0\r\n"             // 5
        "99999999999\r\n"   // 6
        "1900002\r\n"       // 7: twice, kept once, no message
        "[Uten slutt\r\n"   // 8
        "1900004\r\n"       // 9: under a name that did not read
        "[]\r\n"            // 10
        "[a;b]\r\n"         // 11
        "[Reserve]\r\n"     // 12
        "-5\r\n"            // 13
        "1900005\r\n");     // 14
  const TListeLesing les = TolkLister(tekst);
  const std::vector<std::string> ventet = {
      "Linje 1 i Lister.Txt: kåringsnummeret står ikke under noe listenavn i klammer ([Navn]); linja er hoppet over.",
      "Linje 4 i Lister.Txt: «19000x3» er ikke et kåringsnummer; linja er hoppet over.",
      "Linje 5 i Lister.Txt: «0» er ikke et kåringsnummer; linja er hoppet over.",
      "Linje 6 i Lister.Txt: «99999999999» er ikke et kåringsnummer; linja er hoppet over.",
      "Linje 8 i Lister.Txt: listenavnet mangler ]; linja og kåringsnumrene under den er hoppet over.",
      "Linje 10 i Lister.Txt: lista må ha et navn; linja og kåringsnumrene under den er hoppet over.",
      "Linje 11 i Lister.Txt: listenavnet kan ikke inneholde semikolon; linja og kåringsnumrene under den er hoppet "
      "over.",
      "Linje 13 i Lister.Txt: «-5» er ikke et kåringsnummer; linja er hoppet over.",
  };
  ASSERT_EQ(les.meldinger.size(), ventet.size());
  for (std::size_t i = 0; i < ventet.size(); ++i) EXPECT_EQ(Cp1252TilUtf8(les.meldinger[i]), ventet[i]);
  ASSERT_EQ(les.lister.Alle().size(), 2u);
  EXPECT_EQ(les.lister.Alle()[0].nummer, (std::vector<int32_t>{1900002}));
  EXPECT_EQ(les.lister.Alle()[1].nummer, (std::vector<int32_t>{1900005}));

  // Written back, every line that did not read is kept as a comment, and
  // stays through later writes without a new message.
  const std::string skrevet = ListeTekst(les.lister);
  for (const char* linje : {"1900001", "19000x3", "0", "99999999999", "[Uten slutt", "1900004", "[]", "[a;b]", "-5"})
    EXPECT_NE(skrevet.find("# Ikke lest: " + std::string(linje) + "\r\n"), std::string::npos) << linje;
  const TListeLesing igjen = TolkLister(skrevet);
  EXPECT_TRUE(igjen.meldinger.empty());
  EXPECT_EQ(igjen.lister, les.lister);
  EXPECT_EQ(ListeTekst(igjen.lister), skrevet);
}

TEST(Lister, NavnSomBrukerenVenter) {
  TLister l;
  ASSERT_EQ(l.Ny(C("Mine værer")), "");
  // Letter case (Norwegian letters too) and outer blanks do not make another list.
  for (const char* navn : {"MINE VÆRER", "mine værer", "  Mine Værer "})
    EXPECT_EQ(l.Finn(C(navn)), &l.Alle()[0]) << navn;
  EXPECT_EQ(Cp1252TilUtf8(l.Ny(C("MINE VÆRER"))), "Det finnes alt ei liste som heter Mine værer.");
  EXPECT_EQ(l.LeggTil(C("MINE VÆRER"), std::vector<int32_t>{5, 6}), 2);
  EXPECT_EQ(l.Alle().size(), 1u);

  const struct {
    std::string navn, feil;
  } ugyldige[] = {
      {"", "Lista må ha et navn."},
      {"   ", "Lista må ha et navn."},
      {"a;b", "Listenavnet kan ikke inneholde semikolon."},
      {"a\tb", "Listenavnet kan ikke inneholde kontrolltegn."},
      {std::string(61, 'x'), "Listenavnet kan ikke være lengre enn 60 tegn."},
  };
  for (const auto& u : ugyldige) {
    EXPECT_EQ(Cp1252TilUtf8(l.Ny(C(u.navn))), u.feil) << u.navn;
    std::string feil;
    EXPECT_FALSE(l.LeggTil(C(u.navn), std::vector<int32_t>{1}, &feil).has_value());
    EXPECT_EQ(Cp1252TilUtf8(feil), u.feil);
  }
  EXPECT_EQ(l.Ny(std::string(60, 'x')), "");

  // Renaming: to other letter case is fine, to another list's name is not.
  ASSERT_EQ(l.Ny("Reserve"), "");
  EXPECT_EQ(l.GiNyttNavn("reserve", "RESERVE"), "");
  EXPECT_EQ(l.Alle()[2].navn, "RESERVE");
  EXPECT_EQ(Cp1252TilUtf8(l.GiNyttNavn("RESERVE", C("mine VÆRER"))), "Det finnes alt ei liste som heter Mine værer.");
  EXPECT_EQ(Cp1252TilUtf8(l.GiNyttNavn("Ingen", "Ny")), "Fant ingen liste som heter Ingen.");

  // Removing numbers, deleting lists; numbers below 1 are never taken.
  EXPECT_EQ(l.LeggTil("RESERVE", std::vector<int32_t>{0, -3, 9, 8, 9}), 2);
  EXPECT_EQ(l.Fjern("reserve", std::vector<int32_t>{9, 77}), 1);
  EXPECT_EQ(l.Finn("Reserve")->nummer, (std::vector<int32_t>{8}));
  EXPECT_EQ(l.Fjern("Ingen", std::vector<int32_t>{8}), 0);
  EXPECT_TRUE(l.Slett(C("MINE værer")));
  EXPECT_FALSE(l.Slett(C("Mine værer")));
  EXPECT_EQ(l.Alle().size(), 2u);

  // In the file, a name met twice in other letter case joins the first list.
  const TListeLesing les = TolkLister("[Reserve]\r\n1\r\n2\r\n[x]\r\n3\r\n[RESERVE]\r\n2\r\n4\r\n");
  EXPECT_TRUE(les.meldinger.empty());
  ASSERT_EQ(les.lister.Alle().size(), 2u);
  EXPECT_EQ(les.lister.Alle()[0].nummer, (std::vector<int32_t>{1, 2, 4}));
  EXPECT_EQ(StandardListenavn(), (std::vector<std::string>{C("Mine værer"), "Reserve"}));
}

TEST(Lister, SkrivesTryggtIDatamappa) {
  TestMappe m;
  // No file: no lists, no message; a change writes it.
  TListeLesing les =
      EndreLister(m.Sti(), [](TLister& l) { return l.LeggTil("Reserve", std::vector<int32_t>{1900123}).has_value(); });
  EXPECT_TRUE(les.meldinger.empty());
  const std::string forste = LesFil(m / ListeFilNavn);
  EXPECT_EQ(LesLister(m / ListeFilNavn).lister, les.lister);
  // Nothing is written when the change says no.
  EndreLister(m.Sti(), [](TLister& l) {
    l.Slett("Reserve");
    return false;
  });
  EXPECT_EQ(LesFil(m / ListeFilNavn), forste);
  // A file named in other letter case is the same file.
  fs::rename(m / ListeFilNavn, m / "LISTER.TXT");
  EXPECT_EQ(ListeFil(m.Sti()), m / "LISTER.TXT");
  les = EndreLister(m.Sti(), [](TLister& l) { return l.LeggTil("Reserve", std::vector<int32_t>{7}).has_value(); });
  EXPECT_EQ(LesLister(m / "LISTER.TXT").lister.Alle()[0].nummer, (std::vector<int32_t>{1900123, 7}));
  EXPECT_FALSE(fs::exists(m / ListeFilNavn));
  // A write that fails (a full disk) leaves the old file whole.
  const std::string for_ = LesFil(m / "LISTER.TXT");
  TLister stor = les.lister;
  std::vector<int32_t> mange;
  for (int32_t i = 1; i <= 5000; ++i) mange.push_back(i);
  stor.LeggTil("Reserve", mange);
  {
    Filgrense grense(1024);
    EXPECT_THROW(SkrivLister(m / "LISTER.TXT", stor), IoFeil);
  }
  EXPECT_EQ(LesFil(m / "LISTER.TXT"), for_);
  std::set<std::string> filer;
  for (const auto& f : fs::directory_iterator(m.Sti())) filer.insert(f.path().filename().string());
  EXPECT_EQ(filer, (std::set<std::string>{"LISTER.TXT"}));
}

TEST(Lister, NummerSomBrukerenSkriverDem) {
  const struct {
    std::string tekst;
    std::vector<int32_t> nummer;
    std::string feil;
  } fall[] = {
      {"1900123,1900456", {1900123, 1900456}, ""},
      {" 1900123 ;  1900456\n7\t8 , ", {1900123, 1900456, 7, 8}, ""},
      {"5,5,6,5", {5, 6}, ""},
      {"", {}, ""},
      {"12,x3", {12}, "«x3» er ikke et kåringsnummer."},
      {"0", {}, "«0» er ikke et kåringsnummer."},
      {"-4", {}, "«-4» er ikke et kåringsnummer."},
  };
  for (const auto& f : fall) {
    std::vector<int32_t> n;
    EXPECT_EQ(Cp1252TilUtf8(TolkNummerliste(f.tekst, n)), f.feil) << f.tekst;
    EXPECT_EQ(n, f.nummer) << f.tekst;
  }
}

// ---- a list in the table ----

TVerPost Ver(int32_t nummer, const std::string& navn, int32_t far = 0, int16_t o = 0) {
  TVerPost p = TomVerPost();
  p.Nummer = nummer;
  p.Navn.Sett(C(navn));
  p.Farnr = far;
  p.OIndeks = o;
  p.KIndeks = static_cast<int16_t>(o + 1);
  p.MorevVaar = static_cast<int16_t>(o + 2);
  p.Rase = 1;
  p.Aar = 2001;
  return p;
}

TEST(Lister, TabellMedKatalogfeltInnavlOgVererSomErBorte) {
  TestMappe m;
  const std::vector<TVerPost> poster = {Ver(1000, "stamfar", 0, 100), Ver(2000, "sønn", 1000, 110),
                                        Ver(3000, "sønnesønn", 2000, 950)};
  SkrivVerFil(m / VerFilNavn, poster);
  TProdusent reg(m.Sti());
  reg.LoadRegister();
  TListe liste{C("Mine værer"), {3000, 4444, 1000}};
  TSkalMed felt{};
  felt[0] = felt[3] = felt[17] = true;  // Navn, OKM, FarNr

  // Without Soyer.Txt there is no "Innavl %".
  TAvlsdata avl;
  avl.Bruk(reg);
  EXPECT_EQ(ListeInnavl(avl, {}), nullptr);
  TTabell uten;
  ListListe(liste, reg, felt, nullptr, uten);
  EXPECT_EQ(uten.Tittel, C("Liste Mine værer: 3 værer"));
  ASSERT_EQ(uten.Hoved().Kolonner(), 6);
  EXPECT_EQ(uten.Hoved().Rad(0), (std::vector<std::string>{C("Værnr."), "Navn", "O", "-", "MorV", "FarNr"}));
  ASSERT_EQ(uten.Hoved().Rader(), 4);
  // The rows are the catalogue's, in the list's order.
  EXPECT_EQ(uten.Hoved().Rad(1), (std::vector<std::string>{"3000", C("Sønnesønn"), " gul", " gul", " gul", "2000"}));
  EXPECT_EQ(uten.Hoved().Rad(2), (std::vector<std::string>{"\x04"
                                                           "4444",
                                                           "(ikke i registeret)", "", "", "", ""}));
  EXPECT_EQ(uten.Hoved().Rad(3), (std::vector<std::string>{"1000", "Stamfar", "100", "101", "102", "0"}));
  EXPECT_EQ(uten.Bunn().Rad(0), std::vector<std::string>(6, ""));

  // With the ewes: the mean expected inbreeding of a lamb with them.
  const auto innavl = ListeInnavl(avl, {{"1", 2000, 0}, {"2", 0, 0}});
  ASSERT_NE(innavl, nullptr);
  TTabell med;
  ListListe(liste, reg, felt, innavl.get(), med);
  ASSERT_EQ(med.Hoved().Kolonner(), 7);
  EXPECT_EQ(med.Hoved().Celle(6, 0), "Innavl %");
  // 3000 is the son of 2000: a lamb of 3000 and a daughter of 2000 has
  // ¼·a(3000, 2000) = ¼·½ = 12,5 %; with the other ewe 0: the mean 6,25.
  EXPECT_EQ(med.Hoved().Celle(6, 1), "6,25");
  EXPECT_EQ(med.Hoved().Celle(6, 2), "");
  EXPECT_EQ(med.Hoved().Celle(6, 3), innavl->Celle(1000));
  for (int r = 1; r < 4; ++r)
    for (int k = 0; k < 6; ++k) EXPECT_EQ(med.Hoved().Celle(k, r), uten.Hoved().Celle(k, r));

  // "Innavl %" checked among the catalogue's fields is the same one column,
  // filled with the ewes and left out without them.
  TSkalMed medFelt = felt;
  medFelt[InnavlFelt] = true;
  TTabell avkrysset;
  ListListe(liste, reg, medFelt, innavl.get(), avkrysset);
  EXPECT_EQ(avkrysset.Hoved().Rad(0), med.Hoved().Rad(0));
  EXPECT_EQ(avkrysset.Hoved().Rad(1), med.Hoved().Rad(1));
  TTabell avkryssetUten;
  ListListe(liste, reg, medFelt, nullptr, avkryssetUten);
  EXPECT_EQ(avkryssetUten.Hoved().Rad(0), uten.Hoved().Rad(0));

  // No field checked: the number alone; a list of one ram.
  TTabell bare;
  ListListe({"x", {4444}}, reg, TSkalMed{}, nullptr, bare);
  EXPECT_EQ(bare.Tittel, C("Liste x: 1 vær"));
  ASSERT_EQ(bare.Hoved().Kolonner(), 1);
  EXPECT_EQ(bare.Hoved().Rad(1), (std::vector<std::string>{"\x04"
                                                           "4444"}));
}

// ---- the change report ----

// The lines of an export and their ';'-separated fields (the generated
// export has no ';' inside a field).
struct Eksport {
  std::string hode;
  std::vector<std::vector<std::string>> linjer;

  explicit Eksport(const std::string& tekst) {
    bool forste = true;
    ForHverLinje(tekst, [&](std::string_view l) {
      if (forste) {
        hode = std::string(l);
        forste = false;
        return;
      }
      std::vector<std::string> f;
      std::size_t pos = 0;
      while (true) {
        const std::size_t s = l.find(';', pos);
        f.emplace_back(l.substr(pos, s == std::string_view::npos ? std::string_view::npos : s - pos));
        if (s == std::string_view::npos) break;
        pos = s + 1;
      }
      linjer.push_back(std::move(f));
    });
  }
  // Column `kol` (1 to 50) of the line of ram `nummer`.
  std::string& Felt(int32_t nummer, int kol) { return linjer[Linje(nummer)][static_cast<std::size_t>(kol - 1)]; }
  std::size_t Linje(int32_t nummer) const {
    for (std::size_t i = 0; i < linjer.size(); ++i)
      if (linjer[i][2] == std::to_string(nummer)) return i;
    throw std::runtime_error("mangler " + std::to_string(nummer));
  }
  void Fjern(int32_t nummer) { linjer.erase(linjer.begin() + static_cast<std::ptrdiff_t>(Linje(nummer))); }
  std::string Tekst() const {
    std::string t = hode + "\r\n";
    for (const auto& f : linjer) {
      for (std::size_t k = 0; k < f.size(); ++k) t += f[k] + (k + 1 < f.size() ? ";" : "\r\n");
    }
    return t;
  }
};

// Judging numbers that occur once in the export, with an O-indeks from 70
// to 140, a K-indeks below 900 and Type 0.
std::vector<int32_t> Enkle(const Eksport& e) {
  std::map<std::string, int> antall;
  for (const auto& f : e.linjer) ++antall[f[2]];
  std::vector<int32_t> ut;
  for (const auto& f : e.linjer) {
    const int o = std::stoi(f[27]), k = std::stoi(f[28]);
    if (antall[f[2]] == 1 && o >= 70 && o <= 140 && k < 900 && f[46] == "0") ut.push_back(std::stoi(f[2]));
  }
  return ut;
}

TEST(Endringer, EksaktForEnEksportEndretMedVilje) {
  const std::string original = LagEksport(400, 17);
  Eksport gammel(original), ny(original);
  const std::vector<int32_t> enkle = Enkle(gammel);
  ASSERT_GE(enkle.size(), 12u);
  const int32_t a = enkle[0], b = enkle[1], c = enkle[2], d = enkle[3], e = enkle[4], f = enkle[5], g = enkle[6],
                uendret = enkle[7], kommer = enkle[8], aldri = 1999999999;
  // Names as the report gives them: the record's, in name case.
  const std::vector<TVerPost> poster = KonverterEksport(original);
  const auto navn = [&](int32_t n) {
    for (const TVerPost& p : poster)
      if (p.Nummer == n) return TrimText(NameCase(p.Navn.Verdi()));
    return std::string("?");
  };
  const auto tall = [&](int32_t n, int kol) { return gammel.Felt(n, kol); };

  // What is changed on purpose, and the rows it must give.
  std::vector<TEndring> ventet;
  const std::string mine = C("Mine værer"), reserve = "Reserve";
  const auto rad = [&](const std::string& liste, int32_t n, const std::string& felt, const std::string& for_,
                       const std::string& etter) {
    ventet.push_back({liste, n, navn(n), C(felt), for_, C(etter)});
  };
  // a: O-indeks up, Slakt (column 36) and Fruktbarhet (41) changed.
  const std::string aO = tall(a, 28), aS = tall(a, 36), aF = tall(a, 41);
  ny.Felt(a, 28) = std::to_string(std::stoi(aO) + 4);
  ny.Felt(a, 36) = std::to_string(std::stoi(aS) - 1);
  ny.Felt(a, 41) = std::to_string(std::stoi(aF) + 1);
  // b: becomes an insemination ram.
  ny.Felt(b, 47) = "1";
  // c: its O-indeks falls to 25, so it reads as judged only.
  const std::string cO = tall(c, 28);
  ny.Felt(c, 28) = "25";
  // d: gone from the new export.
  ny.Fjern(d);
  // e: K-indeks and Morev.Vår (39) changed, and retired from insemination
  // (Type 0 -> 2); it is on both lists.
  const std::string eK = tall(e, 29), eM = tall(e, 39);
  ny.Felt(e, 29) = std::to_string(std::stoi(eK) + 10);
  ny.Felt(e, 39) = std::to_string(std::stoi(eM) + 1);
  ny.Felt(e, 47) = "2";
  // f: fields the report does not compare (name, weight) changed only.
  ny.Felt(f, 32) = "\"Nytt Navn\"";
  ny.Felt(f, 24) = "99,9";
  // g: stored twice in the new export; the later record counts.
  const std::string gO = tall(g, 28);
  {
    std::vector<std::string> kopi = ny.linjer[ny.Linje(g)];
    kopi[27] = std::to_string(std::stoi(gO) + 7);
    ny.linjer.push_back(kopi);
  }
  // kommer: missing from the old export, in the new one.
  gammel.Fjern(kommer);

  rad(mine, a, "O-indeks", aO, std::to_string(std::stoi(aO) + 4));
  rad(mine, a, "Slakt", aS, std::to_string(std::stoi(aS) - 1));
  rad(mine, a, "Fruktbarhet", aF, std::to_string(std::stoi(aF) + 1));
  rad(mine, b, "Seminstatus", "Ikke semin", "Semin");
  rad(mine, c, "O-indeks", cO, "25");
  rad(mine, c, "Gransking", "Avkomsgransket", "Kåra");
  rad(mine, d, "Registeret", "I registeret", "Ikke lenger i registeret");
  rad(mine, e, "K-indeks", eK, std::to_string(std::stoi(eK) + 10));
  rad(mine, e, "Morev.Vår", eM, std::to_string(std::stoi(eM) + 1));
  rad(mine, e, "Seminstatus", "Ikke semin", "Utg. semin");
  rad(reserve, g, "O-indeks", gO, std::to_string(std::stoi(gO) + 7));
  rad(reserve, kommer, "Registeret", "Ikke i registeret", "I registeret");
  for (std::size_t i = 7; i < 10; ++i) {  // e's rows again, under the second list
    TEndring kopi = ventet[i];
    kopi.liste = reserve;
    ventet.push_back(kopi);
  }

  // The import as the program makes it: the old register, the lists, a new
  // export read into Verene.Dat, the report.
  TestMappe m;
  m.Skriv("gammel.Tex", gammel.Tekst());
  m.Skriv("ny.Tex", ny.Tekst());
  ImporterFil(m / "gammel.Tex", m.Sti());
  TLister lister;
  lister.LeggTil(mine, std::vector<int32_t>{a, b, uendret, c, d, e, f, aldri});
  lister.LeggTil(reserve, std::vector<int32_t>{g, kommer, e});
  SkrivLister(ListeFil(m.Sti()), lister);
  const std::string listefil = LesFil(ListeFil(m.Sti()));

  TProdusent reg(m.Sti());
  reg.LoadRegister();
  std::shared_ptr<const TPostKart> gamle = reg.Kart();
  ImporterFil(m / "ny.Tex", m.Sti());
  reg.LoadRegister();
  const double dato = *EncodeDate(2026, 3, 12);
  const TEndringsrapport r = LagEndringsrapport(gamle, reg, m.Sti(), dato);
  gamle.reset();

  EXPECT_EQ(r.dato, dato);
  ASSERT_EQ(r.endringer.size(), ventet.size());
  // In the lists' order, each ram's rows in field order.
  for (std::size_t i = 0; i < ventet.size(); ++i) {
    const TEndring& x = r.endringer[i];
    const TEndring& v = ventet[i];
    EXPECT_EQ(x, v) << i << ": " << Cp1252TilUtf8(x.liste) << " " << x.nummer << " " << Cp1252TilUtf8(x.navn) << " "
                    << Cp1252TilUtf8(x.felt) << " " << x.for_ << " -> " << x.etter;
  }
  EXPECT_EQ(r.Verer(), 7);
  // The lists are untouched by the import; the report is kept and reads back the same.
  EXPECT_EQ(LesFil(ListeFil(m.Sti())), listefil);
  const TEndringsLesing les = LesEndringer(EndringsFil(m.Sti()));
  EXPECT_TRUE(les.meldinger.empty());
  ASSERT_TRUE(les.rapport.has_value());
  EXPECT_EQ(*les.rapport, r);
  EXPECT_EQ(Cp1252TilUtf8(EndringsMelding(r)), "7 værer på listene er endret ved innlesingen (15 endringer).");

  // The same export again: nothing changed, and the report says so.
  reg.LoadRegister();
  gamle = reg.Kart();
  ImporterFil(m / "ny.Tex", m.Sti());
  reg.LoadRegister();
  const TEndringsrapport tom = LagEndringsrapport(gamle, reg, m.Sti(), dato + 1);
  EXPECT_TRUE(tom.endringer.empty());
  EXPECT_EQ(Cp1252TilUtf8(EndringsMelding(tom)), "Ingen av værene på listene er endret ved innlesingen.");
  EXPECT_EQ(Cp1252TilUtf8(EndringsTittel(tom)), "Ingen endringer for værer på listene, innlest 13/03/2026");
  EXPECT_EQ(*LesEndringer(EndringsFil(m.Sti())).rapport, tom);
}

TEST(Endringer, ForsteInnlesingOgVererSomKommerOgGaar) {
  // No register before (no mapping): a listed ram that comes is new; one
  // that comes and then goes is gone.
  TLister lister;
  lister.LeggTil("L", std::vector<int32_t>{2000, 1000});
  const std::vector<TVerPost> ny = {Ver(1000, "en"), Ver(2000, "to")};
  const TEndringsrapport r = SammenlignRegistre({}, ny, lister, 50000);
  ASSERT_EQ(r.endringer.size(), 2u);
  EXPECT_EQ(r.endringer[0], (TEndring{"L", 2000, "To", "Registeret", "Ikke i registeret", "I registeret"}));
  EXPECT_EQ(r.endringer[1].nummer, 1000);
  const TEndringsrapport borte = SammenlignRegistre(ny, std::vector<TVerPost>{ny[1]}, lister, 50000);
  ASSERT_EQ(borte.endringer.size(), 1u);
  EXPECT_EQ(borte.endringer[0], (TEndring{"L", 1000, "En", "Registeret", "I registeret", "Ikke lenger i registeret"}));
  EXPECT_TRUE(SammenlignRegistre(ny, ny, TLister{}, 50000).endringer.empty());
}

TEST(Endringer, FilOgTabell) {
  TEndringsrapport r;
  r.dato = *EncodeDate(2026, 1, 2);
  r.endringer = {{C("Mine værer"), 1900123, C("Bjørn \"Den Store\""), "O-indeks", "121", "125"},
                 {"Reserve", 7, "a;b", "Seminstatus", "Ikke semin", "Semin"},
                 {"Reserve", 8, "", "Registeret", "I registeret", "Ikke lenger i registeret"}};
  const std::string tekst = EndringsTekst(r);
  EXPECT_NE(tekst.find(C("Innlest;02/01/2026\r\nListe;Kåringsnr.;Navn;Felt;Før;Etter\r\n"
                         "Mine værer;1900123;\"Bjørn \"\"Den Store\"\"\";O-indeks;121;125\r\n"
                         "Reserve;7;\"a;b\";Seminstatus;Ikke semin;Semin\r\n"
                         "Reserve;8;;Registeret;I registeret;Ikke lenger i registeret\r\n")),
            std::string::npos)
      << tekst;
  const TEndringsLesing les = TolkEndringer(tekst);
  EXPECT_TRUE(les.meldinger.empty());
  EXPECT_EQ(*les.rapport, r);

  // Lines that do not read are skipped with a message naming them.
  const TEndringsLesing feil = TolkEndringer(
      "Innlest;31/02/2026\r\nL;1;n;f;a;b\r\nL;x;n;f;a;b\r\nL;1;n;f;a\r\nL;1;\"n;f;a;b\r\nL;2;n;f;a;b\r\n");
  const std::vector<std::string> ventet = {
      "Linje 1 i Endringer.Txt: datoen for innlesingen leses ikke; linja er hoppet over.",
      "Linje 3 i Endringer.Txt: «x» er ikke et kåringsnummer; linja er hoppet over.",
      "Linje 4 i Endringer.Txt: venter seks felt: liste;kåringsnr.;navn;felt;før;etter; linja er hoppet over.",
      "Linje 5 i Endringer.Txt: et felt i anførselstegn slutter ikke; linja er hoppet over.",
  };
  ASSERT_EQ(feil.meldinger.size(), ventet.size());
  for (std::size_t i = 0; i < ventet.size(); ++i) EXPECT_EQ(Cp1252TilUtf8(feil.meldinger[i]), ventet[i]);
  ASSERT_EQ(feil.rapport->endringer.size(), 2u);
  EXPECT_EQ(feil.rapport->endringer[1].nummer, 2);
  EXPECT_FALSE(LesEndringer(fs::temp_directory_path() / "finnes-ikke" / EndringsFilNavn).rapport.has_value());

  TTabell t;
  ListEndringer(r, t);
  EXPECT_EQ(Cp1252TilUtf8(t.Tittel), "Endringer for værer på listene, innlest 02/01/2026");
  ASSERT_EQ(t.Hoved().Kolonner(), EndringsKolonner);
  ASSERT_EQ(t.Hoved().Rader(), 4);
  EXPECT_EQ(t.Hoved().Rad(0), (std::vector<std::string>{"Liste", C("Værnr."), "Navn", "Felt", C("Før"), "Etter"}));
  EXPECT_EQ(t.Hoved().Rad(1),
            (std::vector<std::string>{C("Mine værer"), "1900123", C("Bjørn \"Den Store\""), "O-indeks", "121", "125"}));
  // A ';' would part the table's cells.
  EXPECT_EQ(t.Hoved().Celle(2, 2), "a,b");
  EXPECT_EQ(t.Bunn().Rad(0), std::vector<std::string>(6, ""));
}

}  // namespace
