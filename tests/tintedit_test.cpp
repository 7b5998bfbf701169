// The integer field and the message box under the offscreen platform.
#include "tintedit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>
#include <string>
#include <vector>

#include "melding.h"
#include "synligtekst.h"

// Readable QString in failure messages.
void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

const QColor Rod(255, 0, 0);

// A window with the field and one other field to move the focus to.
class TIntEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* lag = new QVBoxLayout(&vindu);
    felt = new TIntEdit(&vindu);
    annet = new QLineEdit(&vindu);
    lag->addWidget(felt);
    lag->addWidget(annet);
    vindu.show();
    vindu.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&vindu));
    felt->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(felt->hasFocus());
  }

  void Skriv(const QString& t) { QTest::keyClicks(felt, t); }
  void Tom() {
    felt->selectAll();
    QTest::keyClick(felt, Qt::Key_Backspace);
  }
  // Leaves the field the way the user does, with Tab, and comes back.
  void Ut() {
    QTest::keyClick(felt, Qt::Key_Tab);
    ASSERT_TRUE(annet->hasFocus());
  }
  void Inn() {
    QTest::keyClick(annet, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(felt->hasFocus());
  }
  QColor Farge() const { return felt->palette().color(QPalette::Base); }
  // The colour as painted, right of the text and inside the frame.
  QColor MaltFarge() const {
    const QImage bilde = felt->grab().toImage();
    return bilde.pixelColor(bilde.width() - 6, bilde.height() / 2);
  }

  QWidget vindu;
  TIntEdit* felt = nullptr;
  QLineEdit* annet = nullptr;
};

std::string Navn(const QColor& c) {
  if (c == Rod) return "rød";
  return c.name().toStdString();
}

}  // namespace

// ---------------------------------------------------------------------------
// Reading while typing

TEST_F(TIntEditTest, RodMensTekstenIkkeErEtTall) {
  const QColor normal = QLineEdit().palette().color(QPalette::Base);
  ASSERT_NE(normal, Rod);
  EXPECT_EQ(felt->Normalfarge(), normal);

  Skriv("abc");
  EXPECT_EQ(felt->Verdi(), 0);
  EXPECT_EQ(Navn(Farge()), "rød");
  EXPECT_EQ(Navn(MaltFarge()), "rød");

  // An emptied field reads 0 and keeps its colour until something is typed.
  Tom();
  EXPECT_EQ(felt->text(), "");
  EXPECT_EQ(felt->Verdi(), 0);
  EXPECT_EQ(Navn(Farge()), "rød");

  Skriv("12");
  EXPECT_EQ(felt->Verdi(), 12);
  EXPECT_EQ(Navn(Farge()), Navn(normal));
  EXPECT_EQ(Navn(MaltFarge()), Navn(normal));
}

TEST_F(TIntEditTest, VerdienLesesVedHvertTegn) {
  struct Steg {
    QChar tegn;
    int32_t verdi;
    bool rod;
  };
  const Steg steg[] = {{'1', 1, false}, {'2', 12, false}, {'a', 12, true}, {'3', 123, true}, {'-', 123, true}};
  for (const Steg& s : steg) {
    Skriv(s.tegn);
    SCOPED_TRACE(felt->text().toStdString());
    EXPECT_EQ(felt->Verdi(), s.verdi);
    EXPECT_EQ(Farge() == Rod, s.rod);
  }
  // Limits are not checked while typing.
  felt->Maksimum = 100;
  EXPECT_EQ(felt->Verdi(), 123);
  EXPECT_FALSE(felt->feil);
}

TEST(TIntEditFarge, SvartNormalfargeBlirHvit) {
  QWidget mor;
  QPalette p = mor.palette();
  p.setColor(QPalette::Base, Qt::black);
  mor.setPalette(p);
  TIntEdit felt(&mor);
  ASSERT_EQ(felt.Normalfarge(), QColor(Qt::black));
  felt.setText("5");
  EXPECT_EQ(felt.Normalfarge(), QColor(Qt::white));
  EXPECT_EQ(felt.palette().color(QPalette::Base), QColor(Qt::white));
  felt.setText("5x");
  EXPECT_EQ(felt.palette().color(QPalette::Base), Rod);
  felt.setText("6");
  EXPECT_EQ(felt.palette().color(QPalette::Base), QColor(Qt::white));
}

// ---------------------------------------------------------------------------
// Leaving the field

TEST_F(TIntEditTest, TekstenSkrivesOmNaarFeltetForlates) {
  struct Tilfelle {
    const char* tekst;
    int32_t underveis;  // value while the focus stays
    const char* etter;  // text after leaving
    int32_t verdi;
    bool feil;
  };
  // Default limits -2440000 to 2440000.
  const Tilfelle tilfeller[] = {
      {"12a3", 123, "123", 123, false},
      {"Bjørn", 0, "0", 0, false},
      {"", 0, "0", 0, false},
      {" 7 ", 7, "7", 7, false},
      {"-5", -5, "-5", -5, false},
      {"2440000", 2440000, "2440000", 2440000, false},
      {"-2440000", -2440000, "-2440000", -2440000, false},
      {"2440001", 2440001, "", 0, true},
      {"-2440001", -2440001, "", 0, true},
      {"99999999999", 999999999, "", 0, true},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.tekst);
    felt->clear();
    Skriv(QString::fromUtf8(t.tekst));
    ASSERT_EQ(felt->text(), QString::fromUtf8(t.tekst));
    EXPECT_EQ(felt->Verdi(), t.underveis);
    Ut();
    EXPECT_EQ(felt->text(), t.etter);
    EXPECT_EQ(felt->Verdi(), t.verdi);
    EXPECT_EQ(felt->feil, t.feil);
    EXPECT_EQ(Navn(Farge()), Navn(felt->Normalfarge()));
    Inn();
  }
}

// A field for a judging number that may be unknown: an empty field stays
// empty, and a number outside the field or too long for 32 bits is refused
// as typed: value 0 and red while it stands, kept with `feil` when left.
TEST_F(TIntEditTest, NummerfeltBeholderTomtOgAvviserTallSomIkkePasser) {
  felt->Minimum = 0;
  felt->Maksimum = INT32_MAX;
  felt->BeholdTomt = true;
  felt->AvvisUtenfor = true;
  struct Tilfelle {
    const char* tekst;
    int32_t verdi;  // while the focus stays, and after leaving
    bool avvist;
    const char* etter;  // text after leaving
  };
  const Tilfelle tilfeller[] = {
      {"", 0, false, ""},
      {"1958258", 1958258, false, "1958258"},
      {"2147483647", INT32_MAX, false, "2147483647"},
      {"0001958258", 1958258, false, "1958258"},
      {"12a3", 123, false, "123"},
      {"2147483648", 0, true, "2147483648"},
      {"99999999999", 0, true, "99999999999"},
      {"1 234 567 890 123", 0, true, "1 234 567 890 123"},
      {"-5", 0, true, "-5"},
      {"Bjørn", 0, true, "Bjørn"},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.tekst);
    felt->clear();
    Skriv(QString::fromUtf8(t.tekst));
    EXPECT_EQ(felt->Verdi(), t.verdi);
    EXPECT_EQ(felt->Avvist(), t.avvist);
    if (t.avvist) EXPECT_EQ(Navn(Farge()), "rød");
    Ut();
    EXPECT_EQ(felt->text(), QString::fromUtf8(t.etter));
    EXPECT_EQ(felt->Verdi(), t.verdi);
    EXPECT_EQ(felt->feil, t.avvist);
    EXPECT_EQ(Navn(Farge()), t.avvist ? "rød" : Navn(felt->Normalfarge()));
    Inn();
  }
  // Mended, the field is as any other again.
  felt->clear();
  Skriv("99999999999");
  Ut();
  Inn();
  felt->selectAll();
  Skriv("1958258");
  EXPECT_FALSE(felt->Avvist());
  Ut();
  EXPECT_FALSE(felt->feil);
  EXPECT_EQ(felt->Verdi(), 1958258);
  EXPECT_EQ(Navn(Farge()), Navn(felt->Normalfarge()));
}

TEST_F(TIntEditTest, GrenseneGjelderForstNaarFeltetForlates) {
  felt->Minimum = 0;
  felt->Maksimum = 290013394;

  Skriv("290013395");
  EXPECT_EQ(felt->Verdi(), 290013395);
  EXPECT_EQ(felt->text(), "290013395");
  EXPECT_FALSE(felt->feil);
  Ut();
  EXPECT_EQ(felt->text(), "");
  EXPECT_EQ(felt->Verdi(), 0);
  EXPECT_TRUE(felt->feil);

  // Leaving again with an accepted value clears the flag.
  Inn();
  Skriv("290013394");
  EXPECT_TRUE(felt->feil);
  Ut();
  EXPECT_EQ(felt->text(), "290013394");
  EXPECT_EQ(felt->Verdi(), 290013394);
  EXPECT_FALSE(felt->feil);

  Inn();
  Tom();
  Skriv("-1");
  Ut();
  EXPECT_EQ(felt->text(), "");
  EXPECT_TRUE(felt->feil);
}

TEST_F(TIntEditTest, AnnetVinduErIkkeAaForlateFeltet) {
  int ut = 0, inn = 0;
  felt->OnExit = [&] { ++ut; };
  felt->OnEnter = [&] { ++inn; };
  Skriv("12a3");

  QWidget annetVindu;
  annetVindu.show();
  annetVindu.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&annetVindu));
  EXPECT_EQ(felt->text(), "12a3");
  EXPECT_EQ(Farge(), Rod);

  vindu.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&vindu));
  ASSERT_TRUE(felt->hasFocus());
  EXPECT_EQ(ut, 0);
  EXPECT_EQ(inn, 0);

  // A mouse click elsewhere in the window is leaving.
  QTest::mouseClick(annet, Qt::LeftButton);
  ASSERT_TRUE(annet->hasFocus());
  EXPECT_EQ(ut, 1);
  EXPECT_EQ(felt->text(), "123");
}

// ---------------------------------------------------------------------------
// Setting the value

TEST_F(TIntEditTest, SettVerdiSkriverTalletUtenAaSjekkeGrensene) {
  felt->Maksimum = 290013394;
  Skriv("999999999");
  Ut();
  ASSERT_TRUE(felt->feil);

  felt->SettVerdi(999999999);
  EXPECT_EQ(felt->Verdi(), 999999999);
  EXPECT_EQ(felt->text(), "999999999");
  EXPECT_FALSE(felt->feil);

  // Over a red text the field gets its normal colour back.
  felt->setText("abc");
  ASSERT_EQ(Farge(), Rod);
  felt->SettVerdi(-17);
  EXPECT_EQ(felt->text(), "-17");
  EXPECT_EQ(felt->Verdi(), -17);
  EXPECT_EQ(Navn(Farge()), Navn(felt->Normalfarge()));
}

// ---------------------------------------------------------------------------
// Events for the owner

TEST_F(TIntEditTest, HendelserKommerEtterAtFeltetErOppdatert) {
  std::vector<std::string> logg;
  auto tilstand = [&] {
    return felt->text().toStdString() + " " + std::to_string(felt->Verdi()) + " " + Navn(Farge()) +
           (felt->feil ? " feil" : "");
  };
  felt->OnChange = [&] { logg.push_back("endret " + tilstand()); };
  felt->OnExit = [&] { logg.push_back("ut " + tilstand()); };
  felt->OnEnter = [&] { logg.push_back("inn " + tilstand()); };
  felt->Maksimum = 99;
  const std::string normal = Navn(felt->Normalfarge());

  Skriv("1a");
  Ut();
  Inn();
  QTest::keyClick(felt, Qt::Key_End);  // coming in with Tab selects the text
  Skriv("00");
  Ut();
  felt->SettVerdi(5);
  const std::vector<std::string> venter = {
      "endret 1 1 " + normal, "endret 1a 1 rød",
      "endret 1 1 " + normal,  // the leave rules rewrite the text
      "ut 1 1 " + normal,     "inn 1 1 " + normal,         "endret 10 10 " + normal, "endret 100 100 " + normal,
      "endret  0 " + normal,  "ut  0 " + normal + " feil", "endret 5 5 " + normal,
  };
  EXPECT_EQ(logg, venter);
}

TEST_F(TIntEditTest, OnKeypressKanSvelgeEnter) {
  // As the lookup window does: Enter with more than two characters searches.
  int sok = 0, retur = 0;
  std::vector<std::string> etter;
  felt->OnKeypress = [&](QKeyEvent* e) {
    if (e->key() == Qt::Key_Return && felt->text().size() > 2) {
      ++sok;
      return true;
    }
    return false;
  };
  felt->EtterTast = [&](QKeyEvent* e) { etter.push_back(e->text().toStdString()); };
  QObject::connect(felt, &QLineEdit::returnPressed, [&] { ++retur; });

  Skriv("12");
  QTest::keyClick(felt, Qt::Key_Return);
  EXPECT_EQ(sok, 0);
  EXPECT_EQ(retur, 1);
  EXPECT_EQ(etter, (std::vector<std::string>{"1", "2", "\r"}));

  Skriv("3");
  QTest::keyClick(felt, Qt::Key_Return);
  EXPECT_EQ(sok, 1);
  EXPECT_EQ(retur, 1);  // swallowed: the field never saw it
  EXPECT_EQ(etter.back(), "3");
  EXPECT_EQ(felt->text(), "123");
}

TEST_F(TIntEditTest, OnKeypressSerTekstenForTastenOgEtterTastEtter) {
  std::vector<std::string> logg;
  felt->OnKeypress = [&](QKeyEvent*) {
    logg.push_back("før " + felt->text().toStdString());
    return false;
  };
  felt->EtterTast = [&](QKeyEvent*) { logg.push_back("etter " + felt->text().toStdString()); };
  Skriv("ab");
  QTest::keyClick(felt, Qt::Key_Backspace);
  const std::vector<std::string> venter = {"før ", "etter a", "før a", "etter ab", "før ab", "etter a"};
  EXPECT_EQ(logg, venter);

  // A swallowed key never reaches the field.
  felt->OnKeypress = [](QKeyEvent* e) { return e->text() == "x"; };
  Skriv("x7");
  EXPECT_EQ(felt->text(), "a7");
}

TEST_F(TIntEditTest, BareTegntasterNaarOnKeypress) {
  int tegn = 0, etter = 0, ned = 0, opp = 0;
  felt->OnKeypress = [&](QKeyEvent*) {
    ++tegn;
    return false;
  };
  felt->EtterTast = [&](QKeyEvent*) { ++etter; };
  felt->OnKeyDown = [&](QKeyEvent*) {
    ++ned;
    return false;
  };
  felt->OnKeyUp = [&](QKeyEvent*) { ++opp; };
  Skriv("123");
  ASSERT_EQ(tegn, 3);
  ASSERT_EQ(etter, 3);
  tegn = etter = ned = opp = 0;

  const Qt::Key taster[] = {Qt::Key_Left, Qt::Key_Right,  Qt::Key_Up,     Qt::Key_Down, Qt::Key_Home,
                            Qt::Key_End,  Qt::Key_Delete, Qt::Key_Insert, Qt::Key_F2,   Qt::Key_Shift};
  for (Qt::Key k : taster) QTest::keyClick(felt, k);
  // Delete as X11 reports it, carrying the DEL character.
  QTest::sendKeyEvent(QTest::Click, felt, Qt::Key_Delete, QString(QChar(0x7F)), Qt::NoModifier);
  EXPECT_EQ(tegn, 0);
  EXPECT_EQ(etter, 0);
  EXPECT_EQ(ned, static_cast<int>(std::size(taster)) + 1);
  EXPECT_EQ(opp, static_cast<int>(std::size(taster)) + 1);

  // The keys did reach the field: End, then Left and Delete removed the 3.
  QTest::keyClick(felt, Qt::Key_End);
  QTest::keyClick(felt, Qt::Key_Left);
  QTest::keyClick(felt, Qt::Key_Delete);
  EXPECT_EQ(felt->text(), "12");
  EXPECT_EQ(tegn, 0);

  // OnKeyDown may swallow any key.
  felt->OnKeyDown = [](QKeyEvent* e) { return e->key() == Qt::Key_9; };
  Skriv("89");
  EXPECT_EQ(felt->text(), "128");
}

// ---------------------------------------------------------------------------
// Message box

namespace {

// Calls `svar` with the next message box once it is on screen. A box that is
// still open 5 s later is closed, so a fault cannot hang the run.
class Svarer {
 public:
  explicit Svarer(std::function<void(QMessageBox*)> svar) : svar_(std::move(svar)) {
    klokke_.start();
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* boks = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (boks != nullptr && boks->isVisible()) {
        timer_.stop();
        sett = true;
        QTimer::singleShot(5000, boks, [boks] { boks->reject(); });
        svar_(boks);
      } else if (klokke_.hasExpired(10000)) {
        timer_.stop();
      }
    });
    timer_.start();
  }
  bool sett = false;

 private:
  std::function<void(QMessageBox*)> svar_;
  QElapsedTimer klokke_;
  QTimer timer_;
};

}  // namespace

TEST(Melding, GirKnappenSomBleTrykket) {
  struct Tilfelle {
    TMeldingstype type;
    QMessageBox::StandardButtons knapper;
    QMessageBox::StandardButton trykk;
    QMessageBox::Icon ikon;
    const char* tittel;
    const char* knappetekst;
  };
  const Tilfelle tilfeller[] = {
      {TMeldingstype::Bekreftelse, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::Question,
       "Bekreft", "&Nei"},
      {TMeldingstype::Bekreftelse, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::Question,
       "Bekreft", "&Ja"},
      {TMeldingstype::Advarsel, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel, QMessageBox::Warning,
       "Advarsel", "Avbryt"},
      {TMeldingstype::Feil, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::Retry,
       QMessageBox::Critical, "Feil", "&Prøv igjen"},
      {TMeldingstype::Informasjon, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Information, "Informasjon", "OK"},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.tittel);
    SCOPED_TRACE(t.knappetekst);
    Svarer svarer([&](QMessageBox* boks) {
      EXPECT_EQ(boks->text(), "Værnummeret finnes ikke.");
      EXPECT_EQ(boks->icon(), t.ikon);
      EXPECT_EQ(boks->windowTitle(), QString::fromUtf8(t.tittel));
      EXPECT_EQ(boks->standardButtons(), t.knapper);
      QAbstractButton* knapp = boks->button(t.trykk);
      ASSERT_NE(knapp, nullptr);
      EXPECT_EQ(knapp->text(), QString::fromUtf8(t.knappetekst));
      knapp->click();
    });
    EXPECT_EQ(Melding("Værnummeret finnes ikke.", t.type, t.knapper, 0, QMessageBox::NoButton), t.trykk);
    EXPECT_TRUE(svarer.sett);
  }

  // Closed without a button.
  Svarer lukker([](QMessageBox* boks) { boks->reject(); });
  EXPECT_EQ(Melding("Lagre?", TMeldingstype::Bekreftelse, QMessageBox::Yes | QMessageBox::No, 0, QMessageBox::Yes),
            QMessageBox::NoButton);
}

TEST(Melding, StandardknappenHarFokusOgSvarerPaaEnter) {
  struct Tilfelle {
    QMessageBox::StandardButtons knapper;
    QMessageBox::StandardButton standard;
  };
  const Tilfelle tilfeller[] = {
      {QMessageBox::Yes | QMessageBox::No, QMessageBox::No},
      {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes},
      {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel},
      {QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::Ignore},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(static_cast<int>(t.standard));
    Svarer svarer([&](QMessageBox* boks) {
      EXPECT_TRUE(QTest::qWaitForWindowActive(boks));
      QAbstractButton* standard = boks->button(t.standard);
      ASSERT_NE(standard, nullptr);
      EXPECT_TRUE(standard->hasFocus());
      EXPECT_EQ(boks->defaultButton(), standard);
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(Melding("Endre navnet?", TMeldingstype::Bekreftelse, t.knapper, 0, t.standard), t.standard);
    EXPECT_TRUE(svarer.sett);
  }
}

TEST(Melding, PlasseresDerKallerenBer) {
  QPoint plass;
  Svarer svarer([&](QMessageBox* boks) {
    plass = boks->pos();
    boks->button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(Melding("Lagret.", TMeldingstype::Informasjon, QMessageBox::Ok, 0, QMessageBox::Ok, 120, 80),
            QMessageBox::Ok);
  ASSERT_TRUE(svarer.sett);
  EXPECT_EQ(plass, QPoint(120, 80));
}

TEST(Melding, ViserTekstenSomDenErSkrevet) {
  // Names come from the breeder and the register: markup in them is text.
  const QString tekst = "1 vær lagt i lista «Beste <b>æøå</b> \"x\" & co», som nå har 1 vær.";
  struct Tilfelle {
    const char* hva;
    std::function<QMessageBox::StandardButton()> vis;
  };
  const Tilfelle tilfeller[] = {
      {"Melding", [&] { return Melding(tekst, TMeldingstype::Informasjon, QMessageBox::Ok, 0, QMessageBox::Ok); }},
      {"Meldingsboks", [&] { return Meldingsboks(nullptr, QMessageBox::Information, "Hornstad", tekst); }},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.hva);
    QString vist;
    Svarer svarer([&](QMessageBox* boks) {
      vist = SynligTekst(boks);
      boks->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(t.vis(), QMessageBox::Ok);
    ASSERT_TRUE(svarer.sett);
    EXPECT_EQ(vist, tekst);
  }
}

TEST(Melding, MeldingsboksGirKnappenOgStandardknappen) {
  struct Tilfelle {
    QMessageBox::StandardButtons knapper;
    QMessageBox::StandardButton standard;
    bool lukk;  // closed with Escape instead of Enter
    QMessageBox::StandardButton svar;
  };
  const Tilfelle tilfeller[] = {
      {QMessageBox::Yes | QMessageBox::No, QMessageBox::No, false, QMessageBox::No},
      {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, false, QMessageBox::Yes},
      {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, true, QMessageBox::Cancel},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(static_cast<int>(t.standard));
    Svarer svarer([&](QMessageBox* boks) {
      EXPECT_TRUE(QTest::qWaitForWindowActive(boks));
      QTest::keyClick(QApplication::focusWidget(), t.lukk ? Qt::Key_Escape : Qt::Key_Return);
    });
    EXPECT_EQ(Meldingsboks(nullptr, QMessageBox::Question, "Lister", "Slette lista?", t.knapper, t.standard), t.svar);
    EXPECT_TRUE(svarer.sett);
  }
}
