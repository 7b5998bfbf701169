// The input dialog, its typed fields and the editing of a ram from the lookup
// window, under the offscreen platform.
#include "tlesing.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <csignal>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cp1252.h"
#include "dato.h"
#include "eksempeldata.h"
#include "endring.h"
#include "filer.h"
#include "okt.h"
#include "register.h"
#include "tekst.h"
#include "testmappe.h"
#include "tformver.h"
#include "tgrid.h"
#include "tintedit.h"
#include "trase.h"

namespace fs = std::filesystem;

// Readable QString in failure messages.
void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

std::string W(const char* utf8) { return Utf8TilCp1252(utf8); }

double Dato(int aar, int maaned, int dag) { return *EncodeDate(aar, maaned, dag); }

void Skjermbilde(QWidget* w, const char* navn) {
  if (const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER")) w->grab().save(QString(mappe) + "/" + navn + ".png");
}

// Replaces the text of a line edit the way the user does: select all, type.
void Skriv(QLineEdit* e, const QString& tekst) {
  e->setFocus(Qt::TabFocusReason);
  e->selectAll();
  if (tekst.isEmpty())
    QTest::keyClick(e, Qt::Key_Backspace);
  else
    QTest::keyClicks(e, tekst);
}

}  // namespace

// ---------------------------------------------------------------------------
// Readings without widgets

TEST(Endring, FeltNavnecase) {
  const std::pair<const char*, const char*> tilfeller[] = {
      {"øvre nord-dal", "Øvre Nord-Dal"},
      {"a,b", "A,b"},  // a comma starts no word
      {"ab", "ab"},    // 2 characters are taken as typed
      {"AB", "AB"},
      {"BLAKKEN II", "Blakken Ii"},
      {"ola/kari", "Ola/kari"},
      {"st.hans", "St.Hans"},
      {"o'neill", "O'neill"},
      {"ÆRLIG ÅSE", "Ærlig Åse"},
      {"", ""},
  };
  for (const auto& [inn, ut] : tilfeller) EXPECT_EQ(FeltNavnecase(W(inn)), W(ut)) << inn;
}

TEST(Endring, LesDesimaltall) {
  const std::pair<const char*, float> tilfeller[] = {
      {"12,5", 12.5f},
      {"12.5", 12.5f},
      {"1 234,50", 1234.5f},
      {"4.5 kg", 4.5f},
      {"-2,5", -2.5f},
      {"abc", 0.0f},
      {"----", 0.0f},
      {"1,2,5", 1.25f},
      // only the first 30 characters count
      {"000000000000000000000000000001", 1.0f},
      {"0000000000000000000000000000005", 0.0f},
  };
  for (const auto& [inn, ut] : tilfeller) EXPECT_FLOAT_EQ(LesDesimaltall(inn), ut) << inn;
  EXPECT_EQ(DesimalTekst(12.5f, 4, 2), "12,50");
  EXPECT_EQ(DesimalTekst(1234.5f, 4, 2), "1 234,50");
  EXPECT_EQ(DesimalTekst(0.5f, 6, 2), "  0,50");
}

TEST(Endring, Indeksdato) {
  // The working text is always a date, so an untouched text reads back as it was.
  EXPECT_EQ(IndeksdatoTekst(IngenDato), "01/01/1900");
  EXPECT_EQ(IndeksdatoTekst(Dato(2005, 5, 1)), "01/05/2005");
  for (const double d : {IngenDato, Dato(2005, 5, 1), Dato(1999, 12, 31)}) {
    const TDatolesing l = LesIndeksdato(IndeksdatoTekst(d));
    EXPECT_EQ(l.utfall, TDatolesing::Utfall::Ny);
    EXPECT_EQ(l.dato, d);
  }

  using U = TDatolesing::Utfall;
  struct Tilfelle {
    const char* tekst;
    U utfall;
    double dato;
  };
  const Tilfelle tilfeller[] = {
      {"01.05.2005", U::Ny, Dato(2005, 5, 1)},
      {"01,05 2005", U::Ny, Dato(2005, 5, 1)},
      {"29/02/2004", U::Ny, Dato(2004, 2, 29)},
      {"1.5.2005", U::Uendret, 0},
      {"1/5/2005", U::Uendret, 0},
      {"1.5.2005  ", U::Uendret, 0},  // trimmed to 8
      {"", U::Uendret, 0},
      {"31.04.2005", U::Feil, 0},  // no such day
      {"29.02.2005", U::Feil, 0},
      {"01.13.2005", U::Feil, 0},
      {"01..5.2005", U::Feil, 0},
      {"2005-05-01", U::Feil, 0},
      {"ab.cd.efgh", U::Feil, 0},
      {"1.05.20051", U::Feil, 0},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.tekst);
    const TDatolesing l = LesIndeksdato(t.tekst);
    EXPECT_EQ(l.utfall, t.utfall);
    if (t.utfall == U::Ny) {
      EXPECT_EQ(l.dato, t.dato);
    }
  }
}

TEST(Endring, NavneloggLeggesTilOgFeilMeldes) {
  TestMappe mappe;
  TVerPost v = TomVerPost();
  v.Nummer = 1200000;
  v.Navn.Sett("Blakken Ii");
  v.Fodebuskap.Sett("Ola Nordmann");
  v.Fodested.Sett("\xD8rsta");
  const std::string linje = "1200000\tBlakken Ii\tOla Nordmann\t\xD8rsta\r\n";
  EXPECT_EQ(NavneloggLinje(v), linje);

  const fs::path logg = mappe / "Verers.Nav";
  SkrivNavnelogg(logg, v);  // created
  mappe.Skriv("Annen.Nav", "x\r\n");
  SkrivNavnelogg(logg, v);  // appended
  EXPECT_EQ(LesHeleFila(logg), linje + linje);

  // A folder in the way: the error names the file, in Norwegian.
  fs::create_directory(mappe / "Mappe.Nav");
  try {
    SkrivNavnelogg(mappe / "Mappe.Nav", v);
    ADD_FAILURE() << "ingen feil";
  } catch (const IoFeil& e) {
    EXPECT_NE(std::string(e.what()).find("Kan ikke skrive navneendringen til"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("Mappe.Nav"), std::string::npos) << e.what();
  }
}

TEST(Endring, LagreVerTrengerHundreVerer) {
  for (const int antall : {99, 100}) {
    SCOPED_TRACE(antall);
    TestMappe mappe;
    std::vector<TVerPost> v;
    for (int i = 0; i < antall; ++i) {
      v.push_back(TomVerPost());
      v.back().Nummer = 1000 + i;
    }
    SkrivVerFil(mappe / "Verene.Dat", v);
    const std::string foer = LesHeleFila(mappe / "Verene.Dat");
    TProdusent reg(mappe.Sti());
    reg.LoadRegister();
    TVerPost ny = v[40];
    ny.Navn.Sett("Ny");
    EXPECT_EQ(LagreVer(reg, ny), antall >= 100);
    if (antall < 100) {
      EXPECT_EQ(LesHeleFila(mappe / "Verene.Dat"), foer);
    } else {
      EXPECT_EQ(reg.ReadAt(40).Navn.Verdi(), "Ny");
      EXPECT_EQ(LesHeleFila(mappe / "Verene.Dat").size(), foer.size());
    }
    // A ram that is not in the register is never written.
    TVerPost borte = ny;
    borte.Nummer = 5;
    EXPECT_FALSE(LagreVer(reg, borte));
  }
}

// ---------------------------------------------------------------------------
// Typed fields

namespace {

// A window with one typed field and one other field to leave it for.
struct Felthus {
  Felthus() {
    lag = new QVBoxLayout(&vindu);
    annet = new QLineEdit(&vindu);
  }
  template <typename F>
  F* Sett(F* f) {
    lag->insertWidget(0, f);
    felt = f;
    vindu.show();
    vindu.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&vindu));
    return f;
  }
  void Forlat() {
    felt->setFocus(Qt::TabFocusReason);
    QTest::keyClick(felt, Qt::Key_Tab);
    EXPECT_TRUE(annet->hasFocus());
  }

  QWidget vindu;
  QVBoxLayout* lag;
  QLineEdit* annet;
  QWidget* felt = nullptr;
};

}  // namespace

TEST(Typefelt, Heltallsfelt) {
  enum Slag { Y, M, I };
  struct Tilfelle {
    const char* navn;
    Slag slag;
    int64_t startverdi;
    const char* starttekst;
    const char* skrevet;  // "" empties the field
    int64_t lagret;
    const char* forlatt;  // the text after leaving the field
  };
  const Tilfelle tilfeller[] = {
      {"byte 300 gir de laveste 8 bitene", Y, 7, "7", "300", 44, "44"},
      {"byte tom gir 0", Y, 7, "7", "", 0, "0"},
      {"byte med bokstaver", Y, 0, "0", "1a2", 12, "12"},
      {"16 bit negativ", M, -5, "-5", "-7", -7, "-7"},
      {"16 bit tom beholder", M, -5, "-5", "", -5, "-5"},
      {"16 bit 65535 gir -1", M, 0, "0", "65535", -1, "-1"},
      {"16 bit 70000 gir de laveste 16 bitene", M, 0, "0", "70000", 4464, "4464"},
      {"32 bit tom beholder", I, 7, "7", "", 7, "7"},
      {"32 bit 12a3", I, 0, "0", "12a3", 123, "123"},
      {"32 bit negativ", I, 5, "5", "-1200000", -1200000, "-1200000"},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    // The bound variable sits between two guard bytes that must survive.
    struct {
      uint8_t foer = 0xAA;
      alignas(8) unsigned char var[8];
      uint8_t etter = 0xBB;
    } lager;
    std::memset(lager.var, 0xCC, sizeof lager.var);
    const auto sett = [&](int64_t v) {
      if (t.slag == Y) lager.var[0] = static_cast<uint8_t>(v);
      if (t.slag == M) {
        const auto x = static_cast<int16_t>(v);
        std::memcpy(lager.var, &x, 2);
      }
      if (t.slag == I) {
        const auto x = static_cast<int32_t>(v);
        std::memcpy(lager.var, &x, 4);
      }
    };
    const auto les = [&]() -> int64_t {
      if (t.slag == Y) return lager.var[0];
      if (t.slag == M) {
        int16_t x;
        std::memcpy(&x, lager.var, 2);
        return x;
      }
      int32_t x;
      std::memcpy(&x, lager.var, 4);
      return x;
    };
    const std::size_t bredde = t.slag == Y ? 1 : t.slag == M ? 2 : 4;
    sett(t.startverdi);

    Felthus hus;
    TTypeEdit* felt = nullptr;
    const char* hint = "";
    if (t.slag == Y) felt = hus.Sett(new TyEdit(&hus.vindu, 3, lager.var)), hint = "0..255";
    if (t.slag == M) felt = hus.Sett(new TmEdit(&hus.vindu, 3, lager.var)), hint = "0..65535";
    if (t.slag == I) felt = hus.Sett(new TiEdit(&hus.vindu, 9, lager.var)), hint = "Heltall+-";
    EXPECT_EQ(felt->text(), t.starttekst);
    EXPECT_EQ(felt->toolTip(), hint);
    Skriv(felt, t.skrevet);
    // Nothing reaches the variable before sett.
    EXPECT_EQ(les(), t.startverdi);
    hus.Forlat();
    EXPECT_EQ(felt->text(), t.forlatt);
    dynamic_cast<TTypefelt*>(felt)->sett();
    EXPECT_EQ(les(), t.lagret);
    for (std::size_t i = bredde; i < sizeof lager.var; ++i) EXPECT_EQ(lager.var[i], 0xCC) << i;
    EXPECT_EQ(lager.foer, 0xAA);
    EXPECT_EQ(lager.etter, 0xBB);
  }
}

TEST(Typefelt, Desimalfelt) {
  struct Tilfelle {
    const char* navn;
    float start;
    const char* starttekst;  // FitNumber, width 4, 2 decimals
    const char* skrevet;     // nullptr: the user only passes through the field
    float lagret;
    const char* forlatt;
  };
  const Tilfelle tilfeller[] = {
      {"12,5 gjennom feltet", 12.5f, "12.5", nullptr, 12.5f, "12,50"},
      {"0 vises som streker", 0.0f, "----", nullptr, 0.0f, "0,00"},
      {"komma som desimaltegn", 0.0f, "----", "21,35", 21.35f, "21,35"},
      {"tusenskille", 1.0f, "1.00", "1 234,5", 1234.5f, "1 234,50"},
      {"tomt beholder verdien", 3.5f, "3.50", "", 3.5f, "3,50"},
      {"negativ", 1.5f, "1.50", "-2,5", -2.5f, "-2,50"},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    float var = t.start;
    Felthus hus;
    auto* felt = hus.Sett(new TsEdit(&hus.vindu, 4, 2, &var));
    EXPECT_EQ(felt->text(), t.starttekst);
    EXPECT_EQ(felt->toolTip(), "Desimaltall");
    if (t.skrevet) Skriv(felt, t.skrevet);
    hus.Forlat();
    EXPECT_EQ(felt->text(), t.forlatt);
    EXPECT_EQ(var, t.start);
    felt->sett();
    EXPECT_FLOAT_EQ(var, t.lagret);
  }

  // A value whose first text has fewer decimals than it has keeps them when
  // the field is not edited.
  for (const float start : {30.25f, 123.45f}) {
    float var = start;
    Felthus hus;
    auto* felt = hus.Sett(new TsEdit(&hus.vindu, 4, 2, &var));
    EXPECT_EQ(felt->text(), start == 30.25f ? "30.3" : "123");
    felt->sett();
    EXPECT_EQ(var, start);
  }
}

TEST(Typefelt, Tekstfelt) {
  struct Tilfelle {
    const char* skrevet;
    bool navnecase;
    const char* lagret;
  };
  const Tilfelle tilfeller[] = {
      {"øvre nord-dal", true, "Øvre Nord-Dal"},
      {"a,b", true, "A,b"},
      {"ab", true, "ab"},
      {"øvre nord-dal", false, "øvre nord-dal"},
      {"", true, ""},
      // no more than the capacity can be typed
      {"abcdefghijklmnopqrstuvwxyz", false, "abcdefghijklmnopqrst"},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.skrevet);
    TVerPost post = TomVerPost();
    post.Navn.Sett("GAMMELT NAVN MED MER");
    post.Rase = 9;  // the byte after the text
    Felthus hus;
    auto* felt = hus.Sett(
        new TtEdit(&hus.vindu, t.navnecase, false, 20, 20, reinterpret_cast<char*>(&post) + offsetof(TVerPost, Navn)));
    EXPECT_EQ(felt->text(), "GAMMELT NAVN MED MER");
    EXPECT_EQ(felt->toolTip(), "Tekst");
    EXPECT_EQ(felt->maxLength(), 20);
    Skriv(felt, QString::fromUtf8(t.skrevet));
    hus.Forlat();
    // The box keeps what was typed; the copy is what is stored.
    EXPECT_EQ(felt->text(), QString::fromUtf8(t.skrevet).left(20));
    EXPECT_EQ(post.Navn.Verdi(), "GAMMELT NAVN MED MER");
    felt->sett();
    EXPECT_EQ(post.Navn.Verdi(), W(t.lagret));
    // The bytes past the text are cleared, and nothing beyond the field is touched.
    for (std::size_t i = post.Navn.lengde; i < 20; ++i) EXPECT_EQ(post.Navn.tegn[i], 0) << i;
    EXPECT_EQ(+post.Rase, 9);
  }

  // An untouched text is name-cased too: the dialog writes every text as its
  // box reads.
  TTekst<20> tekst;
  tekst.Sett("OLA NORDMANN");
  {
    Felthus hus;
    auto* felt = hus.Sett(new TtEdit(&hus.vindu, true, false, 20, 20, &tekst));
    felt->sett();
  }
  EXPECT_EQ(tekst.Verdi(), "Ola Nordmann");

  // With the upper-case flag every typed letter becomes a capital.
  tekst.Sett("");
  Felthus hus;
  auto* felt = hus.Sett(new TtEdit(&hus.vindu, false, true, 20, 20, &tekst));
  Skriv(felt, QString::fromUtf8("ås 1b"));
  EXPECT_EQ(felt->text(), QString::fromUtf8("ÅS 1B"));
  felt->sett();
  EXPECT_EQ(tekst.Verdi(), W("ÅS 1B"));
}

TEST(Typefelt, Avkrysning) {
  struct Tilfelle {
    uint8_t start;
    Qt::CheckState vist;
    int klikk;  // clicks on the box
    uint8_t lagret;
  };
  const Tilfelle tilfeller[] = {
      {0, Qt::Unchecked, 0, 0},
      {1, Qt::Checked, 0, 1},
      {2, Qt::PartiallyChecked, 0, 2},
      {0, Qt::Unchecked, 1, 2},  // unchecked -> grey -> checked -> unchecked
      {0, Qt::Unchecked, 2, 1},
      {2, Qt::PartiallyChecked, 1, 1},
      // a state the box cannot show is kept unless the user changes the box
      {3, Qt::PartiallyChecked, 0, 3},
      {3, Qt::PartiallyChecked, 1, 1},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(std::to_string(t.start) + " klikk " + std::to_string(t.klikk));
    uint8_t var[3] = {0xAA, t.start, 0xBB};
    Felthus hus;
    auto* boks = hus.Sett(new TBEdit(&hus.vindu, &var[1]));
    EXPECT_EQ(boks->checkState(), t.vist);
    EXPECT_TRUE(boks->text().isEmpty());
    for (int i = 0; i < t.klikk; ++i) QTest::mouseClick(boks, Qt::LeftButton, {}, boks->rect().center());
    EXPECT_EQ(var[1], t.start);
    boks->sett();
    EXPECT_EQ(var[1], t.lagret);
    EXPECT_EQ(var[0], 0xAA);
    EXPECT_EQ(var[2], 0xBB);
  }

  // The highlight colour while it has the focus, the button face otherwise.
  uint8_t var = 0;
  Felthus hus;
  auto* boks = hus.Sett(new TBEdit(&hus.vindu, &var));
  const QPalette standard = QApplication::palette();
  hus.annet->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(boks->palette().color(QPalette::Window), standard.color(QPalette::Button));
  boks->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(boks->palette().color(QPalette::Window), standard.color(QPalette::Highlight));
  hus.annet->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(boks->palette().color(QPalette::Window), standard.color(QPalette::Button));
}

// ---------------------------------------------------------------------------
// The dialog

namespace {

// One variable of each kind.
struct Variabler {
  uint8_t y = 7;
  int16_t m = -5;
  int32_t i = 1200000;
  float s = 12.5f;
  TTekst<20> t;
  uint8_t b = 1;
  Variabler() { t.Sett("BLAKKEN"); }
  bool operator==(const Variabler& a) const {
    return y == a.y && m == a.m && i == a.i && s == a.s && t.Verdi() == a.t.Verdi() && b == a.b;
  }
};

void Fyll(Tlesing& d, Variabler& v) {
  d.LeggTil("Byte", new TyEdit(&d, 2, &v.y));
  d.LeggTil("&Seksten", new TmEdit(&d, 3, &v.m));
  d.LeggTil("Trettito", new TiEdit(&d, 9, &v.i));
  d.LeggTil("Desimal", new TsEdit(&d, 4, 2, &v.s));
  d.LeggTil("Tekst", new TtEdit(&d, true, false, 20, 20, &v.t));
  d.LeggTil("Avkrysning", new TBEdit(&d, &v.b));
}

// Edits every field of a dialog filled by Fyll.
void EndreAlle(Tlesing& d) {
  const auto& f = d.Felter();
  Skriv(static_cast<QLineEdit*>(f[0]), "300");
  Skriv(static_cast<QLineEdit*>(f[1]), "12");
  Skriv(static_cast<QLineEdit*>(f[2]), "-3");
  Skriv(static_cast<QLineEdit*>(f[3]), "7,25");
  Skriv(static_cast<QLineEdit*>(f[4]), "blakken ii");
  QTest::mouseClick(f[5], Qt::LeftButton, {}, f[5]->rect().center());
}

}  // namespace

TEST(Tlesing, OkSkriverAlleFelterAngreIngen) {
  {
    Variabler v;
    const Variabler foer = v;
    Tlesing d;
    Fyll(d, v);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EXPECT_EQ(d.windowTitle(), "Skriv inn");
    EXPECT_EQ(d.ok_knapp->text(), "&OK");
    EXPECT_EQ(d.Byrt_knapp->text(), "&Angre");
    EndreAlle(d);
    QTest::mouseClick(d.Byrt_knapp, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.Resultat(), Tlesing::Angre);
    EXPECT_TRUE(v == foer);
  }
  {
    // Escape is "&Angre" too.
    Variabler v;
    const Variabler foer = v;
    Tlesing d;
    Fyll(d, v);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EndreAlle(d);
    QTest::keyClick(d.Felter()[2], Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.Resultat(), Tlesing::Angre);
    EXPECT_TRUE(v == foer);
  }
  {
    Variabler v;
    Tlesing d;
    Fyll(d, v);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EndreAlle(d);
    QTest::mouseClick(d.ok_knapp, Qt::LeftButton);
    EXPECT_EQ(d.Resultat(), Tlesing::Ok);
    EXPECT_EQ(v.y, 44);
    EXPECT_EQ(v.m, 12);
    EXPECT_EQ(v.i, -3);
    EXPECT_EQ(v.s, 7.25f);
    EXPECT_EQ(v.t.Verdi(), "Blakken Ii");
    EXPECT_EQ(v.b, 0);  // checked -> unchecked
  }
}

TEST(Tlesing, TasterFlytterMellomFeltene) {
  Variabler v;
  Tlesing d;
  Fyll(d, v);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  d.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
  const auto& f = d.Felter();
  EXPECT_TRUE(f[0]->hasFocus());
  // Enter moves on and closes nothing.
  QTest::keyClick(f[0], Qt::Key_Return);
  EXPECT_TRUE(f[1]->hasFocus());
  QTest::keyClick(f[1], Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_TRUE(f[2]->hasFocus());
  // The arrows move when released, not when pressed.
  QTest::keyPress(f[2], Qt::Key_Down);
  EXPECT_TRUE(f[2]->hasFocus());
  QTest::keyRelease(f[2], Qt::Key_Down);
  EXPECT_TRUE(f[3]->hasFocus());
  QTest::keyClick(f[3], Qt::Key_Up);
  EXPECT_TRUE(f[2]->hasFocus());
  // From the check box of the last row Enter goes to the buttons, and Enter
  // on a button presses nothing.
  f[5]->setFocus(Qt::TabFocusReason);
  QTest::keyClick(f[5], Qt::Key_Return);
  EXPECT_TRUE(d.ok_knapp->hasFocus());
  QTest::keyClick(d.ok_knapp, Qt::Key_Return);
  EXPECT_TRUE(d.isVisible());
  EXPECT_TRUE(d.Byrt_knapp->hasFocus());
  // The label's access key moves to its field.
  QTest::keyClick(&d, Qt::Key_S, Qt::AltModifier);
  EXPECT_TRUE(f[1]->hasFocus());
  EXPECT_TRUE(v == Variabler());
}

TEST(Tlesing, RadeneStillesOppOgDialogenHolderSegPaaSkjermen) {
  for (const int antall : {3, 40}) {
    SCOPED_TRACE(antall);
    std::vector<int32_t> var(static_cast<std::size_t>(antall), 0);
    Tlesing d;
    for (int i = 0; i < antall; ++i)
      d.LeggTil(i == 1 ? "En lang ledetekst for rad 2" : "Rad " + QString::number(i + 1),
                new TiEdit(&d, i == 2 ? 20 : 9, &var[static_cast<std::size_t>(i)]));
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    const QRect skjerm = d.screen()->availableGeometry();
    EXPECT_GE(d.width(), 245);
    EXPECT_GE(d.height(), 203);
    EXPECT_LE(d.frameGeometry().bottom(), skjerm.bottom());
    EXPECT_LE(d.frameGeometry().right(), skjerm.right());
    EXPECT_GE(d.frameGeometry().top(), skjerm.top());

    // All fields start where the longest label ends; rows are 25 apart.
    const auto& f = d.Felter();
    const auto etiketter = d.boksen->widget()->findChildren<QLabel*>();
    int lengst = 0;
    for (const QLabel* l : etiketter) lengst = std::max(lengst, l->fontMetrics().horizontalAdvance(l->text()));
    for (int i = 0; i < antall; ++i) {
      EXPECT_GE(f[i]->x(), lengst) << i;
      EXPECT_EQ(f[i]->x(), f[0]->x()) << i;
      EXPECT_EQ(f[i]->y(), 25 * i) << i;
      EXPECT_EQ(f[i]->height(), 24) << i;
    }
    // Never a horizontal scroll bar: the widest field fits beside the labels.
    EXPECT_FALSE(d.boksen->horizontalScrollBar()->isVisible());
    EXPECT_LE(d.boksen->widget()->width(), d.boksen->viewport()->width());

    QScrollBar* rull = d.boksen->verticalScrollBar();
    if (antall == 3) {
      EXPECT_EQ(rull->maximum(), 0);
      EXPECT_GE(d.boksen->viewport()->height(), d.boksen->widget()->height());
      continue;
    }
    // 40 rows do not fit: the dialog ends at the bottom of the screen and the
    // rows scroll with the focus.
    EXPECT_EQ(d.frameGeometry().bottom(), skjerm.bottom());
    EXPECT_GT(rull->maximum(), 0);
    EXPECT_EQ(rull->value(), 0);
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    for (int i = 0; i + 1 < antall; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    ASSERT_TRUE(f.back()->hasFocus());
    EXPECT_EQ(rull->value(), rull->maximum());
    const QRect synlig = d.boksen->viewport()->rect();
    EXPECT_TRUE(synlig.contains(QRect(f.back()->mapTo(d.boksen->viewport(), QPoint(0, 0)), f.back()->size())));
    Skjermbilde(&d, "skriv-inn-40");
  }
}

// ---------------------------------------------------------------------------
// Editing a ram from the lookup window

namespace {

TVerPost Ver(int32_t nummer, const std::string& navn) {
  TVerPost p = TomVerPost();
  p.Nummer = nummer;
  p.Navn.Sett(navn);
  p.Rase = 1;
  p.Fylke = 12;
  p.OIndeks = 112;
  p.KIndeks = 99;
  p.Kropp = 5;
  p.Bein = 6;
  p.Ullkvalitet = 7;
  p.Ullmengde = 8;
  p.Fiberdiameter = 30.25f;
  p.VektAvvik = 1.5f;
  p.OAett = 2.0f;
  p.Mornr = 4521;
  p.Hostvekt = 45.5f;
  p.Ullvekt = 4.5f;
  p.IndeksDato = Dato(2004, 3, 15);
  p.KlippeDato = Dato(2003, 10, 1);
  p.Aar = 2003;
  p.BurdFodt = 2;
  p.AntDotre = 14;
  p.Type = 3;
  p.Reservert[4] = 1;
  p.Fodebuskap.Sett("OLA NORDMANN");
  p.Fodested.Sett("\xD8RSTA");
  return p;
}

constexpr int32_t Blakken = 1200000;
constexpr int BlakkenIndeks = 10;

// A register of `antall` rams with BLAKKEN at index 10, and the lookup window
// showing BLAKKEN, with the working directory in the test folder.
class Redigering : public ::testing::Test {
 protected:
  void Lag(int antall, const std::function<void(TVerPost&)>& endre = {},
           const std::function<void(std::vector<TVerPost>&)>& endreAlle = {}) {
    std::vector<TVerPost> v;
    for (int i = 0; i < antall; ++i) v.push_back(Ver(1000 + i, "VER" + std::to_string(i)));
    v[BlakkenIndeks] = Ver(Blakken, "BLAKKEN");
    if (endre) endre(v[BlakkenIndeks]);
    if (endreAlle) endreAlle(v);
    SkrivVerFil(mappe / "Verene.Dat", v);
    reg.LoadRegister();
    okt.LastRegister();
    vindu = std::make_unique<TFormVer>(okt);
    vindu->Melding = [this](const QString& t, TMeldingstype type) { meldinger.emplace_back(t, type); };
    vindu->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(vindu.get()));
    vindu->Evernum->SettVerdi(Blakken);
    vindu->LetClick();
    ASSERT_EQ(+vindu->GjeldendeVer().Nummer, Blakken);
    filFoer = LesHeleFila(mappe / "Verene.Dat");
  }
  // Runs `fyll` on the dialog once it is shown, then presses the button.
  void Svar(std::function<void(Tlesing&)> fyll, bool ok, const char* bilde = nullptr) {
    vindu->KjorDialog = [this, fyll, ok, bilde](Tlesing& d) {
      d.show();
      EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
      ++dialoger;
      if (bilde) Skjermbilde(&d, bilde);
      fyll(d);
      QTest::mouseClick(ok ? d.ok_knapp : d.Byrt_knapp, Qt::LeftButton);
      return d.Resultat();
    };
  }
  QLineEdit* Felt(Tlesing& d, std::size_t rad) { return static_cast<QLineEdit*>(d.Felter().at(rad)); }
  // Record i as the file holds it now.
  TVerPost Lagret(int i) {
    const std::string fil = LesHeleFila(mappe / "Verene.Dat");
    TVerPost p;
    std::memcpy(&p, fil.data() + static_cast<std::size_t>(i) * sizeof p, sizeof p);
    return p;
  }
  std::vector<QString> Tekster() const {
    std::vector<QString> t;
    for (const auto& m : meldinger) t.push_back(m.first);
    return t;
  }

  TestMappe mappe;
  IMappe her{mappe.Sti()};
  TProdusent reg{mappe.Sti()};
  TOkt okt{mappe.Sti()};
  std::unique_ptr<TFormVer> vindu;
  std::vector<std::pair<QString, TMeldingstype>> meldinger;
  std::string filFoer;
  int dialoger = 0;
};

const QString Forst =
    "Hvis du endrer noen opplysninger her, må du gi beskjed til Ullvik slik at det kan rettes i Hornstad";
const QString Sist =
    "Hvis du har endret noen indekser, må du ta ut en liste over alle som er kåret etter denne væren og kåre dem om. "
    "Åpne her ENDRE for å få regnet om indeksen.";
const QString Mistet = "Mistet væren, kan ikke lagre";
const QString Datofeil = "Du har skrevet datoen feil, rett opp!";

}  // namespace

TEST_F(Redigering, NyttNavnLagresOgLogges) {
  Lag(150);
  struct Tilfelle {
    const char* skrevet;
    const char* lagret;
  };
  const Tilfelle tilfeller[] = {{"blakken ii", "Blakken Ii"}, {"ab", "ab"}};
  std::string logg;
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.skrevet);
    Svar(
        [&](Tlesing& d) {
          ASSERT_EQ(d.Felter().size(), 3u);
          EXPECT_EQ(Felt(d, 0)->text(), dialoger == 1 ? "BLAKKEN" : "Blakken Ii");
          EXPECT_EQ(Felt(d, 1)->maxLength(), 50);
          Skriv(Felt(d, 0), t.skrevet);
        },
        true, dialoger == 0 ? "endre-navn" : nullptr);
    // The button is connected and enabled while a ram is shown.
    ASSERT_TRUE(vindu->Endre->isEnabled());
    QTest::mouseClick(vindu->Endre, Qt::LeftButton);
    EXPECT_TRUE(meldinger.empty());

    TVerPost venter = Ver(Blakken, t.lagret);
    venter.Fodebuskap.Sett("Ola Nordmann");
    venter.Fodested.Sett("\xD8rsta");
    const TVerPost lagret = Lagret(BlakkenIndeks);
    EXPECT_EQ(std::memcmp(&lagret, &venter, sizeof lagret), 0) << lagret.Navn.Verdi();
    EXPECT_EQ(std::memcmp(&vindu->GjeldendeVer(), &venter, sizeof lagret), 0);
    EXPECT_TRUE(vindu->Rasnav->text().contains(" / " + TilQString(NameCase(t.lagret)) + "\n"))
        << vindu->Rasnav->text().toStdString();
    // The number search finds the changed record at once.
    EXPECT_EQ(reg.FindByNumber(Blakken).Navn.Verdi(), t.lagret);

    logg += std::to_string(Blakken) + "\t" + t.lagret + "\tOla Nordmann\t\xD8rsta\r\n";
    EXPECT_EQ(LesHeleFila(mappe / "Verers.Nav"), logg);
  }
  // Every other record is as it was.
  const std::string fil = LesHeleFila(mappe / "Verene.Dat");
  ASSERT_EQ(fil.size(), filFoer.size());
  EXPECT_EQ(fil.substr(0, BlakkenIndeks * 196), filFoer.substr(0, BlakkenIndeks * 196));
  EXPECT_EQ(fil.substr((BlakkenIndeks + 1) * 196), filFoer.substr((BlakkenIndeks + 1) * 196));
}

TEST_F(Redigering, NyttNavnFinnesStraksVedNavnesok) {
  Lag(150);
  Svar([&](Tlesing& d) { Skriv(Felt(d, 0), "stjernegutt"); }, true);
  QTest::mouseClick(vindu->Endre, Qt::LeftButton);
  ASSERT_EQ(Lagret(BlakkenIndeks).Navn.Verdi(), "Stjernegutt");
  // Typed into the field as a user would: the new name finds the ram, the old
  // one finds nothing.
  struct Tilfelle {
    const char* skriv;
    int32_t vist;
  };
  for (const Tilfelle& t : {Tilfelle{"jernegu", Blakken}, Tilfelle{"blakken", 0}}) {
    SCOPED_TRACE(t.skriv);
    vindu->Evernum->setFocus();
    vindu->Evernum->clear();
    QTest::keyClick(vindu->Evernum, Qt::Key_Space);  // the first key only empties the display
    vindu->Evernum->clear();
    QTest::keyClicks(vindu->Evernum, t.skriv);
    QTest::keyClick(vindu->Evernum, Qt::Key_Return);
    EXPECT_EQ(+vindu->GjeldendeVer().Nummer, t.vist);
    EXPECT_EQ(vindu->LiVer->count(), 0);
  }
}

TEST_F(Redigering, EndringAvValgtVerMedDobbeltNummerSkriverDenPosten) {
  // Record 5 holds Blakken's number too. Picked from the list, it is the one
  // changed; the later record with the number keeps its name.
  constexpr int Annen = 5;
  Lag(150, {}, [](std::vector<TVerPost>& v) { v[Annen] = Ver(Blakken, "BLAKKEN EN"); });
  vindu->Evernum->setFocus();
  vindu->Evernum->clear();
  QTest::keyClick(vindu->Evernum, Qt::Key_Space);
  vindu->Evernum->clear();
  QTest::keyClicks(vindu->Evernum, "blakken");
  QTest::keyClick(vindu->Evernum, Qt::Key_Return);
  ASSERT_EQ(vindu->LiVer->count(), 2);
  ASSERT_EQ(vindu->LiVer->item(0)->text(), "1200000 BLAKKEN EN");
  const QRect r = vindu->LiVer->visualItemRect(vindu->LiVer->item(0));
  QTest::mouseClick(vindu->LiVer->viewport(), Qt::LeftButton, {}, r.center());
  ASSERT_EQ(vindu->GjeldendeVer().Navn.Verdi(), "BLAKKEN EN");

  Svar([&](Tlesing& d) { Skriv(Felt(d, 0), "blakken to"); }, true);
  QTest::mouseClick(vindu->Endre, Qt::LeftButton);
  EXPECT_TRUE(meldinger.empty());
  EXPECT_EQ(Lagret(Annen).Navn.Verdi(), "Blakken To");
  EXPECT_EQ(Lagret(BlakkenIndeks).Navn.Verdi(), "BLAKKEN");
  EXPECT_EQ(LesHeleFila(mappe / "Verers.Nav"), "1200000\tBlakken To\tOla Nordmann\t\xD8rsta\r\n");
}

TEST_F(Redigering, FulltDialogSkriverHvertFeltPaaSinPlass) {
  Lag(150);
  // One value per row, top to bottom; the check box is clicked once (3 -> checked).
  const std::vector<const char*> verdier = {"5",    "1200001", "1200002", "4522", "7", "01.05.2005", "120",  "101",
                                            "102",  "103",     "104",     "105",  "4", "3",          "6",    "9",
                                            "21,5", "40",      "12,25",   "3",    "2", "1,5",        "-2,5", "98"};
  Svar(
      [&](Tlesing& d) {
        ASSERT_EQ(d.Felter().size(), verdier.size() + 1);
        EXPECT_EQ(Felt(d, 5)->text(), "15/03/2004");
        EXPECT_EQ(Felt(d, 16)->text(), "30.3");
        for (std::size_t i = 0; i < verdier.size(); ++i) Skriv(Felt(d, i), verdier[i]);
        QWidget* boks = d.Felter().back();
        d.boksen->ensureWidgetVisible(boks);
        QTest::mouseClick(boks, Qt::LeftButton, {}, boks->rect().center());
      },
      true, "endre-alt");
  ASSERT_TRUE(vindu->Endrealt->isEnabled());
  QTest::mouseClick(vindu->Endrealt, Qt::LeftButton);
  EXPECT_EQ(dialoger, 1);

  TVerPost venter = Ver(Blakken, "BLAKKEN");
  venter.Rase = 5;
  venter.Farnr = 1200001;
  venter.MorFar = 1200002;
  venter.Mornr = 4522;
  venter.Ring = 7;
  venter.IndeksDato = Dato(2005, 5, 1);
  venter.OIndeks = 120;
  venter.Slakt = 101;
  venter.Kjott = 102;
  venter.Fett = 103;
  venter.MorevSl = 104;
  venter.Fruktbarhet = 105;
  venter.Kropp = 4;
  venter.Bein = 3;
  venter.Ullkvalitet = 6;
  venter.Ullmengde = 9;
  venter.Fiberdiameter = 21.5f;
  venter.MaksMy = 40;
  venter.Stapel = 12.25f;
  venter.Marg = 3;
  venter.Dyrehaar = 2;
  venter.OAett = 1.5f;
  venter.VektAvvik = -2.5f;
  venter.MorIndeks = 98;
  venter.Type = 1;
  const TVerPost lagret = Lagret(BlakkenIndeks);
  EXPECT_EQ(std::memcmp(&lagret, &venter, sizeof lagret), 0);
  for (std::size_t i = 0; i < sizeof lagret; ++i)
    EXPECT_EQ(reinterpret_cast<const unsigned char*>(&lagret)[i], reinterpret_cast<const unsigned char*>(&venter)[i])
        << "byte " << i;
  EXPECT_EQ(std::memcmp(&vindu->GjeldendeVer(), &venter, sizeof lagret), 0);
  EXPECT_EQ(Tekster(), (std::vector<QString>{Forst, Sist}));
  EXPECT_EQ(meldinger.front().second, TMeldingstype::Bekreftelse);
  EXPECT_EQ(vindu->Verind->Tekst(1, 0), "01/05/2005");
  EXPECT_EQ(vindu->Verind->Tekst(1, 1), "120");
  // The full change writes no log line.
  EXPECT_FALSE(fs::exists(mappe / "Verers.Nav"));
}

TEST_F(Redigering, UrortFulltDialogEndrerIngenting) {
  // No index date, a Type the check box cannot show and a diameter with more
  // decimals than its first text: OK without a change keeps every byte.
  Lag(150, [](TVerPost& p) { p.IndeksDato = IngenDato; });
  Svar(
      [&](Tlesing& d) {
        EXPECT_EQ(Felt(d, 5)->text(), "01/01/1900");
        EXPECT_EQ(Felt(d, 16)->text(), "30.3");
        EXPECT_EQ(static_cast<QCheckBox*>(d.Felter().back())->checkState(), Qt::PartiallyChecked);
      },
      true);
  vindu->EndrealtClick();
  EXPECT_EQ(LesHeleFila(mappe / "Verene.Dat"), filFoer);
  EXPECT_EQ(Tekster(), (std::vector<QString>{Forst, Sist}));
}

TEST_F(Redigering, Indeksdato) {
  Lag(150);
  struct Tilfelle {
    const char* skrevet;
    double dato;
    bool melding;
  };
  const Tilfelle tilfeller[] = {
      {"01.05.2005", Dato(2005, 5, 1), false},
      {"1.5.2005", Dato(2005, 5, 1), false},  // 9 characters or fewer: unchanged, silently
      {"1/6/2006", Dato(2005, 5, 1), false},
      {"31.04.2006", Dato(2005, 5, 1), true},  // no date: the message, the old date
      {"02 06,2006", Dato(2006, 6, 2), false},
  };
  int16_t oindeks = 112;
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.skrevet);
    meldinger.clear();
    ++oindeks;
    Svar(
        [&](Tlesing& d) {
          Skriv(Felt(d, 5), t.skrevet);
          Skriv(Felt(d, 6), QString::number(oindeks));
        },
        true);
    vindu->EndrealtClick();
    const TVerPost lagret = Lagret(BlakkenIndeks);
    EXPECT_EQ(+lagret.IndeksDato, t.dato);
    // The other changes are saved in any case.
    EXPECT_EQ(+lagret.OIndeks, oindeks);
    EXPECT_EQ(+vindu->GjeldendeVer().IndeksDato, t.dato);
    if (t.melding)
      EXPECT_EQ(Tekster(), (std::vector<QString>{Forst, Datofeil, Sist}));
    else
      EXPECT_EQ(Tekster(), (std::vector<QString>{Forst, Sist}));
  }
}

TEST_F(Redigering, AngreEndrerIngenting) {
  Lag(150);
  const TVerPost foer = vindu->GjeldendeVer();
  Svar(
      [&](Tlesing& d) {
        for (std::size_t i = 0; i < 3; ++i) Skriv(Felt(d, i), "noe annet");
      },
      false);
  vindu->EndreClick();
  Svar(
      [&](Tlesing& d) {
        for (std::size_t i = 0; i + 1 < d.Felter().size(); ++i) Skriv(Felt(d, i), "12");
        QWidget* boks = d.Felter().back();
        d.boksen->ensureWidgetVisible(boks);
        QTest::mouseClick(boks, Qt::LeftButton, {}, boks->rect().center());
      },
      false);
  vindu->EndrealtClick();
  EXPECT_EQ(dialoger, 2);
  EXPECT_EQ(std::memcmp(&vindu->GjeldendeVer(), &foer, sizeof foer), 0);
  EXPECT_EQ(LesHeleFila(mappe / "Verene.Dat"), filFoer);
  EXPECT_FALSE(fs::exists(mappe / "Verers.Nav"));
  EXPECT_EQ(Tekster(), (std::vector<QString>{Forst}));
}

TEST_F(Redigering, FaerreEnnHundreVererKanIkkeLagres) {
  Lag(99);
  Svar([&](Tlesing& d) { Skriv(Felt(d, 0), "blakken ii"); }, true);
  vindu->EndreClick();
  EXPECT_EQ(Tekster(), (std::vector<QString>{Mistet}));
  // The window shows the edited values, the file keeps the old record, and a
  // change that was not saved is not logged.
  EXPECT_TRUE(vindu->Rasnav->text().contains("Blakken Ii"));
  EXPECT_EQ(LesHeleFila(mappe / "Verene.Dat"), filFoer);
  EXPECT_FALSE(fs::exists(mappe / "Verers.Nav"));

  meldinger.clear();
  Svar([&](Tlesing& d) { Skriv(Felt(d, 6), "130"); }, true);
  vindu->EndrealtClick();
  EXPECT_EQ(Tekster(), (std::vector<QString>{Forst, Mistet, Sist}));
  EXPECT_EQ(vindu->Verind->Tekst(1, 1), "130");
  EXPECT_EQ(LesHeleFila(mappe / "Verene.Dat"), filFoer);
}

TEST_F(Redigering, FilfeilMeldesPaaNorsk) {
  Lag(150);
  // The log cannot be written: the record is saved, then the error is shown.
  fs::create_directory(mappe / "Verers.Nav");
  Svar([&](Tlesing& d) { Skriv(Felt(d, 0), "blakken ii"); }, true);
  vindu->EndreClick();
  EXPECT_EQ(Lagret(BlakkenIndeks).Navn.Verdi(), "Blakken Ii");
  ASSERT_EQ(meldinger.size(), 1u);
  EXPECT_TRUE(meldinger[0].first.startsWith("Kan ikke skrive navneendringen til Verers.Nav: "))
      << meldinger[0].first.toStdString();
  EXPECT_EQ(meldinger[0].second, TMeldingstype::Feil);

  // The register file cannot be written: the error is shown, nothing crashes,
  // no log line is written for a change that was not saved.
  fs::remove(mappe / "Verers.Nav");
  meldinger.clear();
  const std::string foer = LesHeleFila(mappe / "Verene.Dat");
  rlimit gammel{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &gammel), 0);
  const auto gammelSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit liten = gammel;
  liten.rlim_cur = 100;  // below the record's place in the file
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &liten), 0);
  Svar([&](Tlesing& d) { Skriv(Felt(d, 0), "Blakka"); }, true);
  vindu->EndreClick();
  ::setrlimit(RLIMIT_FSIZE, &gammel);
  std::signal(SIGXFSZ, gammelSignal);
  ASSERT_EQ(meldinger.size(), 1u);
  EXPECT_TRUE(meldinger[0].first.startsWith("Kan ikke skrive til værregisteret")) << meldinger[0].first.toStdString();
  EXPECT_EQ(meldinger[0].second, TMeldingstype::Feil);
  EXPECT_EQ(LesHeleFila(mappe / "Verene.Dat"), foer);
  EXPECT_FALSE(fs::exists(mappe / "Verers.Nav"));
  EXPECT_TRUE(vindu->Rasnav->text().contains("Blakka"));
}
