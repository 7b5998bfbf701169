// The program's state: files that another program (a second copy, the
// command-line tool, an editor) changes while the program holds them are
// merged with, not written over, and noticed.
#include "okt.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QSignalSpy>
#include <cstdlib>
#include <string>
#include <vector>

#include "eksempeldata.h"
#include "filer.h"
#include "inifil.h"
#include "lister.h"
#include "paringsforslag.h"
#include "register.h"
#include "soyer.h"
#include "testmappe.h"

namespace {

std::vector<TSoye> Lest(const TestMappe& m) { return LesSoyer(SoyeFil(m.Sti())).soyer; }

std::vector<TVerPost> Verer(int antall, int32_t forste = 2000) {
  std::vector<TVerPost> v;
  for (int i = 0; i < antall; ++i) {
    TVerPost p = TomVerPost();
    p.Nummer = forste + i;
    p.Navn.Sett("VER" + std::to_string(i));
    v.push_back(p);
  }
  return v;
}

}  // namespace

// A window read the ewes, the user changed them there, and meanwhile another
// program saved the file: what each side did alone is kept, and only a ewe
// both changed differently is a question, answered as the user chooses.
TEST(Okt, SoyerLagretEtAnnetStedFlettesInnVedLagring) {
  const std::vector<TSoye> grunnlag = {{"1", 100, 0}, {"2", 200, 0}, {"3", 300, 0}};
  struct Tilfelle {
    const char* hva;
    std::vector<TSoye> mine, deres;
    int svar;  // to the question, when there is one
    bool spurt;
    std::vector<TSoye> ventet;  // in the file afterwards; empty: the file is left as theirs
    bool lagret;
  };
  const std::vector<Tilfelle> tilfeller = {
      {"hver sin nye søye",
       {{"1", 100, 0}, {"2", 200, 0}, {"3", 300, 0}, {"9", 900, 0}},
       {{"1", 100, 0}, {"2", 200, 0}, {"3", 300, 0}, {"8", 800, 0}},
       1,
       false,
       {{"1", 100, 0}, {"2", 200, 0}, {"3", 300, 0}, {"8", 800, 0}, {"9", 900, 0}},
       true},
      {"jeg fjerner en, de endrer en annen",
       {{"1", 100, 0}, {"3", 300, 0}},
       {{"1", 100, 0}, {"2", 200, 0}, {"3", 333, 0}},
       1,
       false,
       {{"1", 100, 0}, {"3", 333, 0}},
       true},
      {"samme søye endret ulikt, mine vinner",
       {{"1", 100, 0}, {"2", 222, 0}, {"3", 300, 0}},
       {{"1", 100, 0}, {"2", 250, 0}, {"3", 300, 0}, {"4", 400, 0}},
       1,
       true,
       {{"1", 100, 0}, {"2", 222, 0}, {"3", 300, 0}, {"4", 400, 0}},
       true},
      {"samme søye endret ulikt, deres vinner",
       {{"1", 100, 0}, {"2", 222, 0}, {"3", 300, 0}},
       {{"1", 100, 0}, {"2", 250, 0}, {"3", 300, 0}, {"4", 400, 0}},
       0,
       true,
       {{"1", 100, 0}, {"2", 250, 0}, {"3", 300, 0}, {"4", 400, 0}},
       true},
      {"jeg fjerner en som de endret, avbryt",
       {{"1", 100, 0}, {"3", 300, 0}},
       {{"1", 100, 0}, {"2", 250, 0}, {"3", 300, 0}},
       -1,
       true,
       {},
       false},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.hva);
    TestMappe m;
    SkrivSoyer(SoyeFil(m.Sti()), grunnlag);
    TOkt okt(m.Sti());
    ASSERT_EQ(okt.Soyer(), grunnlag);
    // Another program saves its list.
    SkrivSoyer(SoyeFil(m.Sti()), t.deres);
    bool spurt = false;
    QSignalSpy endret(&okt, &TOkt::soyerEndret);
    const TSoyelagring r = okt.LagreSoyer(grunnlag, t.mine, [&](const std::vector<TSoyeKonflikt>& k) {
      spurt = true;
      EXPECT_EQ(k.size(), 1u);
      if (!k.empty()) {
        EXPECT_EQ(k[0].deres, (t.deres.size() > 1 ? std::optional<TSoye>(t.deres[1]) : std::nullopt));
      }
      return t.svar;
    });
    EXPECT_EQ(spurt, t.spurt);
    EXPECT_EQ(r.lagret, t.lagret);
    EXPECT_EQ(Lest(m), t.lagret ? t.ventet : t.deres);
    EXPECT_EQ(endret.count(), t.lagret ? 1 : 0);
    if (t.lagret) {
      EXPECT_EQ(okt.Soyer(), t.ventet) << "the ewes held are the ones saved";
    }
  }
}

// What another program writes is read and told; what the program writes
// itself is not told twice.
TEST(Okt, FilerEndretAvAndreProgrammerMeldes) {
  TestMappe m;
  IMappe i(m.Sti());
  SkrivVerFil(m / VerFilNavn, Verer(150));
  SkrivSoyer(SoyeFil(m.Sti()), {{"1", 2000, 0}});
  TOkt okt(m.Sti());
  okt.LastRegister();
  ASSERT_EQ(okt.Soyer().size(), 1u);
  ASSERT_TRUE(okt.Lister().Tom());
  okt.Folg();
  QSignalSpy soyer(&okt, &TOkt::soyerEndret), lister(&okt, &TOkt::listerEndret), ini(&okt, &TOkt::innstillingerEndret),
      endringer(&okt, &TOkt::endringerEndret), egen(&okt, &TOkt::egenlisteEndret),
      erstattet(&okt, &TOkt::registerErstattet);
  okt.SjekkFiler();
  EXPECT_EQ(soyer.count() + lister.count() + endringer.count() + egen.count() + erstattet.count(), 0);

  m.Skriv("Soyer.Txt", "1;2000;0\r\n2;2001;0\r\n");
  TLister l;
  const int32_t n[] = {2005};
  l.LeggTil("Reserve", n);
  SkrivLister(ListeFil(m.Sti()), l);
  m.Skriv("Endringer.Txt", "# Hornstad\r\n");
  m.Skriv("EgenVerer.Txt", "2001\r\n");
  okt.SjekkFiler();
  EXPECT_EQ(soyer.count(), 1);
  EXPECT_EQ(okt.Soyer().size(), 2u);
  EXPECT_EQ(lister.count(), 1);
  ASSERT_NE(okt.Lister().Finn("Reserve"), nullptr);
  EXPECT_EQ(endringer.count(), 1);
  EXPECT_EQ(egen.count(), 1);
  EXPECT_EQ(erstattet.count(), 0) << "the register was not touched";

  // Saved by the program itself: told once, by the save.
  okt.LagreSoyer(okt.Soyer(), {{"1", 2000, 0}});
  okt.EndreLister([](TLister& l) { return l.Ny("Mine værer").empty(); });
  okt.SjekkFiler();
  EXPECT_EQ(soyer.count(), 2);
  EXPECT_EQ(lister.count(), 2);
}

// A register that another program puts in place of the loaded one is told
// once; one the program's own import puts there is not, and a load makes it
// the register.
TEST(Okt, RegisterByttetUtAvEtAnnetProgramMeldesEnGang) {
  TestMappe m;
  SkrivVerFil(m / VerFilNavn, Verer(150));
  TOkt okt(m.Sti());
  okt.LastRegister();
  okt.Folg();
  QSignalSpy erstattet(&okt, &TOkt::registerErstattet);
  SkrivVerFil(m / VerFilNavn, Verer(200));
  okt.SjekkFiler();
  okt.SjekkFiler();
  EXPECT_EQ(erstattet.count(), 1);
  EXPECT_EQ(okt.AntallVerer(), 150u) << "nothing is loaded until the user says so";
  okt.LastRegister();
  EXPECT_EQ(okt.AntallVerer(), 200u);
  EXPECT_TRUE(okt.Register()->FilaErLastet());

  // The program's own import.
  okt.SlippRegister();
  okt.SettImporterer(true);
  SkrivVerFil(m / VerFilNavn, Verer(250));
  okt.SjekkFiler();
  okt.LastRegister();
  okt.SettImporterer(false);
  okt.SjekkFiler();
  EXPECT_EQ(erstattet.count(), 1);
  EXPECT_EQ(okt.AntallVerer(), 250u);
}

// Hornstad.Ini written by another copy of the program while this one runs:
// each keeps the keys the other wrote.
TEST(Okt, InnstillingerFraEtAnnetProgramBeholdes) {
  TestMappe m;
  TOkt okt(m.Sti());
  QSettings& ini = okt.Innstillinger();
  ini.setValue("Hoved/Siste", "Alt.");
  ini.sync();
  // The other program: a process of its own, adding a section and changing nothing else.
  const std::string fil = Innstillingsfil(m.Sti()).string();
  const std::string py = "python3 -c \"f=open('" + fil + "','a'); f.write('\\n[Avl]\\nGrense=3.5\\n'); f.close()\"";
  ASSERT_EQ(std::system(py.c_str()), 0);
  ini.setValue("Ver/Left", 40);
  ini.sync();
  EXPECT_EQ(ini.status(), QSettings::NoError);
  const QSettings lest(QString::fromStdString(fil), InnstillingsFormat());
  const std::string tekst = LesHeleFila(fil);
  EXPECT_NE(tekst.find("Grense=3.5"), std::string::npos) << tekst;
  EXPECT_NE(tekst.find("Siste=Alt."), std::string::npos) << tekst;
  EXPECT_NE(tekst.find("Left=40"), std::string::npos) << tekst;
  EXPECT_DOUBLE_EQ(okt.Grense(), 3.5);
}

// The catalogue's selection is kept by record; the numbers of it are each
// number once.
TEST(Okt, KatalogutvalgetHolderPostene) {
  TestMappe m;
  std::vector<TVerPost> v = Verer(150);
  v[7].Nummer = v[3].Nummer;  // one number stored twice
  SkrivVerFil(m / VerFilNavn, v);
  TOkt okt(m.Sti());
  okt.LastRegister();
  QSignalSpy endret(&okt, &TOkt::katalogutvalgEndret);
  okt.SettKatalogutvalg({7, 3, 5, 999});
  EXPECT_EQ(endret.count(), 1);
  EXPECT_EQ(okt.Katalogutvalg(), (std::vector<int32_t>{7, 3, 5, 999}));
  EXPECT_EQ(okt.KatalogNumre(), (std::vector<int32_t>{2003, 2005}));
}

// The saved mating suggestion: a second copy that saved one since this copy
// read it is not written over unless the user says so, and its save is
// noticed.
TEST(Okt, ParingerLagretAvEnAnnenKopiSkrivesIkkeOver) {
  TestMappe m;
  TOkt denne(m.Sti()), annen(m.Sti());
  EXPECT_TRUE(denne.Paringer().par.empty()) << "no file: nothing saved";
  denne.Folg();
  QSignalSpy endret(&denne, &TOkt::paringerEndret);

  TLagretForslag mitt;
  mitt.valg.verer = {{2000, 40}};
  mitt.par = {{"1", 2000}};
  ASSERT_TRUE(denne.LagreParinger(mitt));
  EXPECT_EQ(endret.count(), 1);

  TLagretForslag deres = mitt;
  deres.par = {{"1", 0}};
  ASSERT_TRUE(annen.LagreParinger(deres));
  mitt.par = {{"1", 2000}, {"2", 2000}};
  EXPECT_FALSE(denne.LagreParinger(mitt)) << "the other copy's save stays";
  EXPECT_EQ(LesParinger(ParingsFil(m.Sti())).forslag, deres);

  denne.SjekkFiler();
  EXPECT_EQ(endret.count(), 2);
  EXPECT_EQ(denne.Paringer(), deres) << "read afresh";
  EXPECT_TRUE(denne.LagreParinger(mitt));
  ASSERT_TRUE(annen.LagreParinger(deres, true));
  EXPECT_EQ(LesParinger(ParingsFil(m.Sti())).forslag, deres);
}
