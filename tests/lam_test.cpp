// Lamb and producer records, the lamb and member reading, and the reading
// window under the offscreen platform.
#include "lam.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>

#include "dato.h"
#include "filer.h"
#include "lamimport.h"
#include "register.h"
#include "tekst.h"
#include "testmappe.h"
#include "tformles.h"
#include "tformnedlast.h"
#include "tjener.h"

namespace fs = std::filesystem;

namespace {

std::string Sitat(const fs::path& p) { return "'" + p.string() + "'"; }

// A line of `antall` columns: column k holds `verdier[k]` when given, else "".
std::string Linje(const std::map<int, std::string>& verdier, int antall) {
  std::string l;
  for (int k = 1; k <= antall; ++k) {
    if (k > 1) l += ';';
    if (auto it = verdier.find(k); it != verdier.end()) l += it->second;
  }
  return l;
}

template <typename T>
T Les(const void* post, std::size_t offset) {
  T v;
  std::memcpy(&v, static_cast<const char*>(post) + offset, sizeof v);
  return v;
}

std::map<int, std::string> LamKolonner(const std::string& nr) {
  std::map<int, std::string> k;
  for (int i = 1; i <= 27; ++i) k[i] = std::to_string(i);
  k[1] = nr;
  k[6] = "12042005";
  k[10] = "01092005";
  k[14] = "03102005";
  k[11] = "41,5";
  k[13] = "2,5";
  k[23] = "kastes";
  return k;
}

}  // namespace

TEST(LamTest, LammepostByteForByte) {
  TLamPost p;
  TTupp t;
  ASSERT_TRUE(KonverterLamLinje(Linje(LamKolonner("1201234"), 27), p, t));
  EXPECT_EQ(Les<int32_t>(&p, 0), 1201234);
  EXPECT_EQ(Les<int32_t>(&p, 4), 2);
  EXPECT_EQ(Les<uint8_t>(&p, 8), 3);
  EXPECT_EQ(Les<double>(&p, 9), EncodeDate(2005, 4, 12).value());
  EXPECT_EQ(Les<uint8_t>(&p, 17), 7);
  EXPECT_EQ(Les<uint8_t>(&p, 18), 12);
  EXPECT_EQ(Les<uint8_t>(&p, 19), 5);
  EXPECT_EQ(Les<uint8_t>(&p, 20), 8);
  EXPECT_FLOAT_EQ(Les<float>(&p, 21), 41.5f);
  EXPECT_EQ(Les<double>(&p, 25), EncodeDate(2005, 9, 1).value());
  EXPECT_EQ(Les<int32_t>(&p, 33), 22);
  EXPECT_EQ(Les<int32_t>(&p, 37), 24);
  EXPECT_EQ(Les<uint8_t>(&p, 41), 25);
  EXPECT_EQ(Les<double>(&p, 42), EncodeDate(2005, 10, 3).value());
  const int16_t forventet[8] = {15, 0, 19, 16, 17, 18, 20, 21};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Les<int16_t>(&p, 50 + 2 * i), forventet[i]) << i;
  EXPECT_EQ(Les<int32_t>(&p, 66), 27);
  EXPECT_EQ(Les<int16_t>(&p, 78), 3) << "2,5 rounded half away from zero";
  EXPECT_EQ(Les<int16_t>(&p, 84), 26);
  EXPECT_EQ(Les<int16_t>(&p, 86), 4);
  EXPECT_EQ(Les<int32_t>(&p, 88), 9);
  for (std::size_t o : {70u, 71u, 72u, 73u, 74u, 75u, 76u, 77u, 80u, 81u, 82u, 83u})
    EXPECT_EQ(Les<uint8_t>(&p, o), 0) << o;

  EXPECT_EQ(t.Kol1, 1201234);
  EXPECT_EQ(t.Kol2, 2);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(t.Verdier[i], forventet[i]);
  EXPECT_EQ(t.Dato, EncodeDate(2005, 10, 3).value());
}

TEST(LamTest, TelleverdierOgTomtNummer) {
  struct Tilfelle {
    std::string inn;
    int16_t ut;
  } tilfeller[] = {{"255", 255}, {"256", 0}, {"-3", -3}, {"", 0}, {"1000", 0}};
  for (const auto& c : tilfeller) {
    auto k = LamKolonner("5");
    for (int kol : {15, 16, 17, 18, 19, 20, 21}) k[kol] = c.inn;
    TLamPost p;
    TTupp t;
    ASSERT_TRUE(KonverterLamLinje(Linje(k, 27), p, t));
    EXPECT_EQ(p.Kol15, c.ut) << c.inn;
    EXPECT_EQ(p.Kol21, c.ut) << c.inn;
    EXPECT_EQ(t.Verdier[0], c.ut) << c.inn;
  }
  TLamPost p;
  TTupp t;
  EXPECT_FALSE(KonverterLamLinje(Linje(LamKolonner("0"), 27), p, t));
  EXPECT_FALSE(KonverterLamLinje(Linje(LamKolonner(""), 27), p, t));
  EXPECT_FALSE(KonverterLamLinje("", p, t));
  // A short line still makes a whole record.
  EXPECT_TRUE(KonverterLamLinje("77;8", p, t));
  EXPECT_EQ(p.Kol1, 77);
}

TEST(LamTest, ProdusentpostByteForByte) {
  std::map<int, std::string> k;
  k[1] = "1201234";
  k[2] = "Ola Nordmann med et navn som er altfor langt";  // capacity 30
  k[3] = "Søre Lien";
  k[4] = "Postveg 1";
  k[5] = "5000 Bergen og omegn til";  // capacity 18
  k[6] = "Ørsta";
  k[7] = "42";
  k[8] = "01012005";
  k[9] = "02012005";
  k[10] = "1,5";
  k[11] = "03012005";
  k[12] = "04012005";
  k[13] = "2,25";
  k[14] = "05012005";
  k[15] = "06012005";
  k[16] = "-3,5";
  k[17] = "ikke lest";
  TProdusentPost p;
  std::memset(&p, 0xAB, sizeof p);  // what an earlier line left must not show
  KonverterMedlemLinje(Linje(k, 17), p);
  EXPECT_EQ(Les<int32_t>(&p, 0), 1201234);
  auto tekst = [&](std::size_t o) {
    const uint8_t n = Les<uint8_t>(&p, o);
    return std::string(reinterpret_cast<const char*>(&p) + o + 1, n);
  };
  EXPECT_EQ(tekst(4), "Søre Lien");
  EXPECT_EQ(tekst(25), "5000 Bergen og ome");
  EXPECT_EQ(tekst(46), "Ola Nordmann med et navn som e");
  EXPECT_EQ(tekst(77), "Postveg 1");
  EXPECT_EQ(tekst(108), "Ørsta");
  EXPECT_EQ(Les<int32_t>(&p, 139), 42);
  const std::pair<std::size_t, int> datoer[] = {{151, 1}, {159, 3}, {167, 5}, {183, 2}, {191, 4}, {199, 6}};
  for (auto [o, dag] : datoer) EXPECT_EQ(Les<double>(&p, o), EncodeDate(2005, 1, dag).value()) << o;
  EXPECT_FLOAT_EQ(Les<float>(&p, 215), 1.5f);
  EXPECT_FLOAT_EQ(Les<float>(&p, 219), 2.25f);
  EXPECT_FLOAT_EQ(Les<float>(&p, 223), -3.5f);
  // Reserved bytes and the bytes past each text's length are 0.
  const auto* b = reinterpret_cast<const uint8_t*>(&p);
  for (std::size_t o = 4 + 1 + k[3].size(); o < 25; ++o) EXPECT_EQ(b[o], 0) << o;
  for (std::size_t o : {44u, 45u}) EXPECT_EQ(b[o], 0) << o;
  for (std::size_t o = 108 + 1 + k[6].size(); o < 139; ++o) EXPECT_EQ(b[o], 0) << o;
  for (std::size_t o = 143; o < 151; ++o) EXPECT_EQ(b[o], 0) << o;
  for (std::size_t o = 227; o < 266; ++o) EXPECT_EQ(b[o], 0) << o;
}

TEST(LamTest, FinnOgLesProdusent) {
  EXPECT_EQ(FindProducer(5, {}), -1);
  const std::vector<TProdusentElement> liste = {{7, 0}, {5, 1}, {5, 2}};
  EXPECT_EQ(FindProducer(5, liste), 1);
  EXPECT_EQ(FindProducer(8, liste), -1);

  TestMappe m;
  TProdusent reg(m.Sti());
  const auto erNull = [](const TProdusentPost& p) {
    const auto* b = reinterpret_cast<const uint8_t*>(&p);
    return std::all_of(b, b + sizeof p, [](uint8_t x) { return x == 0; });
  };
  EXPECT_TRUE(erNull(reg.ReadProducer(0))) << "a closed producer file";
  reg.OpenProducers();  // missing: stays closed
  EXPECT_TRUE(erNull(reg.ReadProducer(0)));

  std::string fil;
  for (int nr : {101, 202}) {
    TProdusentPost p;
    KonverterMedlemLinje(std::to_string(nr) + ";Navn" + std::to_string(nr), p);
    fil.append(reinterpret_cast<const char*>(&p), sizeof p);
  }
  fil += "kort";  // a trailing part of a record is not a record
  m.Skriv("Produsenter.Dat", fil);
  reg.OpenProducers();
  EXPECT_EQ(reg.ReadProducer(1).Nummer, 202);
  EXPECT_EQ(reg.ReadProducer(1).Kol2.Verdi(), "Navn202");
  EXPECT_EQ(reg.ReadProducer(0).Nummer, 101);
  EXPECT_TRUE(erNull(reg.ReadProducer(-1)));
  EXPECT_TRUE(erNull(reg.ReadProducer(2)));
}

TEST(LamTest, FylkestekstenOgFilnavn) {
  ASSERT_EQ(LammeFylker().size(), 20u);
  EXPECT_EQ(LammeFylker()[0], "01  \xD8stfold");
  EXPECT_EQ(LammeFylker()[12], "13  Ingen fylke");
  EXPECT_EQ(LammeFylker()[19], "20  Finnmark");
  EXPECT_EQ(LamFilNavn(2026), "Lamma2026.Dat");
  EXPECT_EQ(LamEksportNavn(3), "Lam03.Dos");
  EXPECT_EQ(LammeArkivSti(2026), "/karingsfiler_kvistmo/Lam_landet_2026.zip");
}

namespace {

// An unpacked lamb archive: two counties' lambs and the members.
struct Utpakket {
  TestMappe m;
  fs::path pakket = m / "OpPakket";
  std::string lam01, lam12, medlem;
  Utpakket() {
    fs::create_directories(pakket);
    lam01 = Linje(LamKolonner("101"), 27) + "\r\n" + Linje(LamKolonner("0"), 27) + "\r\n" +
            Linje(LamKolonner("102"), 27) + "\r\n";
    lam12 = Linje(LamKolonner("1201"), 27);  // no line break at the end
    medlem = "0101;Anne\r\n1201;Per\r\n0501;Kari\r\n1205;Berit\r\n";
    std::ofstream(pakket / "Lam01.Dos", std::ios::binary) << lam01;
    std::ofstream(pakket / "LAM12.DOS", std::ios::binary) << lam12;
    std::ofstream(pakket / "medlem.Dos", std::ios::binary) << medlem;
  }
};

std::vector<int32_t> Produsenter(const fs::path& fil) {
  const std::string innhold = LesHeleFila(fil);
  std::vector<int32_t> nr;
  for (std::size_t o = 0; o + ProdusentPostStorrelse <= innhold.size(); o += ProdusentPostStorrelse)
    nr.push_back(Les<int32_t>(innhold.data(), o));
  return nr;
}

}  // namespace

TEST(LamTest, LeserValgteFylkerOgDeresProdusenter) {
  Utpakket u;
  const TLesing r = LesLamOgMedlemmer({1, 12}, true, u.pakket, u.m.Sti(), 2026);
  EXPECT_TRUE(r.lest);
  EXPECT_EQ(r.valgteFylker, " 01 12");
  EXPECT_EQ(r.lam, 3);
  const std::string lamfil = LesHeleFila(u.m / "Lamma2026.Dat");
  ASSERT_EQ(lamfil.size(), 3 * LamPostStorrelse);
  EXPECT_EQ(Les<int32_t>(lamfil.data(), 0), 101);
  EXPECT_EQ(Les<int32_t>(lamfil.data(), 92), 102);
  EXPECT_EQ(Les<int32_t>(lamfil.data(), 184), 1201);
  ASSERT_EQ(r.lammeliste.size(), 3u);
  EXPECT_EQ(r.lammeliste[0].Kol1, 101);
  EXPECT_EQ(r.lammeliste[2].Kol1, 1201);
  EXPECT_EQ(Produsenter(u.m / "Produsenter.Dat"), (std::vector<int32_t>{101, 1201, 1205}));
  EXPECT_FALSE(fs::exists(u.m / "Lamma2026.Dat.ny"));

  // Only county 12 this time; both files are made anew.
  const TLesing r12 = LesLamOgMedlemmer({12}, true, u.pakket, u.m.Sti(), 2026);
  EXPECT_EQ(r12.lam, 1);
  EXPECT_EQ(LesHeleFila(u.m / "Lamma2026.Dat").size(), LamPostStorrelse);
  EXPECT_EQ(Produsenter(u.m / "Produsenter.Dat"), (std::vector<int32_t>{1201, 1205}));
}

TEST(LamTest, UtenValgtFylkeIngenLammefilOgTomProdusentfil) {
  Utpakket u;
  const TLesing r = LesLamOgMedlemmer({}, false, u.pakket, u.m.Sti(), 2026);
  EXPECT_FALSE(r.lest);
  EXPECT_FALSE(fs::exists(u.m / "Lamma2026.Dat"));
  ASSERT_TRUE(fs::exists(u.m / "Produsenter.Dat"));
  EXPECT_EQ(fs::file_size(u.m / "Produsenter.Dat"), 0u);
  // A missing county export is passed over; without the member export no producer file is made.
  fs::remove(u.pakket / "medlem.Dos");
  fs::remove(u.m / "Produsenter.Dat");
  const TLesing r2 = LesLamOgMedlemmer({5}, true, u.pakket, u.m.Sti(), 2026);
  EXPECT_TRUE(r2.lest);
  EXPECT_EQ(fs::file_size(u.m / "Lamma2026.Dat"), 0u);
  EXPECT_FALSE(fs::exists(u.m / "Produsenter.Dat"));
}

TEST(LamTest, SkrivefeilLarGamleFilerVaere) {
  Utpakket u;
  u.m.Skriv("Lamma2026.Dat", "gammel");
  u.m.Skriv("Produsenter.Dat", "gamle");
  // The lamb file cannot be written beside the old one: neither file changes.
  fs::create_directory(u.m / "Lamma2026.Dat.ny");
  EXPECT_THROW(LesLamOgMedlemmer({1}, true, u.pakket, u.m.Sti(), 2026), IoFeil);
  EXPECT_EQ(LesHeleFila(u.m / "Lamma2026.Dat"), "gammel");
  EXPECT_EQ(LesHeleFila(u.m / "Produsenter.Dat"), "gamle");
  fs::remove(u.m / "Lamma2026.Dat.ny");
  // The producer file cannot: the lamb file, although whole, does not replace
  // the old one either, and the message says both are unchanged.
  fs::create_directory(u.m / "Produsenter.Dat.ny");
  try {
    LesLamOgMedlemmer({1}, true, u.pakket, u.m.Sti(), 2026);
    ADD_FAILURE() << "no error";
  } catch (const IoFeil& e) {
    EXPECT_NE(std::string(e.what()).find("Lamme- og produsentfilene er uendret"), std::string::npos) << e.what();
  }
  EXPECT_EQ(LesHeleFila(u.m / "Lamma2026.Dat"), "gammel");
  EXPECT_EQ(LesHeleFila(u.m / "Produsenter.Dat"), "gamle");
  EXPECT_FALSE(fs::exists(u.m / "Lamma2026.Dat.ny"));
}

// The files are replaced together at the end. When a replacement itself
// fails, the message tells what became of each file.
TEST(LamTest, UtbyttingSomFeilerSierHvaSomSkjedde) {
  struct Tilfelle {
    const char* navn;
    const char* mappe;       // a folder by this name stands where a file goes
    bool nyLamfil;           // the lamb file is the new one afterwards
    const char* meldingDel;  // part of the message
  };
  const Tilfelle tilfeller[] = {
      {"lammefila kan ikke byttes ut", "Lamma2026.Dat", false, "Lamme- og produsentfilene er uendret"},
      {"produsentfila kan ikke byttes ut", "Produsenter.Dat", true,
       "Den nye lammefila er lagret, men produsentfila er den gamle"},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    Utpakket u;
    u.m.Skriv("Lamma2026.Dat", "gammel");
    u.m.Skriv("Produsenter.Dat", "gamle");
    fs::remove(u.m / t.mappe);
    fs::create_directory(u.m / t.mappe);
    try {
      LesLamOgMedlemmer({1}, true, u.pakket, u.m.Sti(), 2026);
      ADD_FAILURE() << "no error";
    } catch (const IoFeil& e) {
      EXPECT_NE(std::string(e.what()).find(t.meldingDel), std::string::npos) << e.what();
    }
    // The other file: the new lamb file beside the old producers, or the old producers.
    if (t.nyLamfil)
      EXPECT_EQ(fs::file_size(u.m / "Lamma2026.Dat"), 2 * LamPostStorrelse);
    else
      EXPECT_EQ(LesHeleFila(u.m / "Produsenter.Dat"), "gamle");
    EXPECT_TRUE(fs::is_directory(u.m / t.mappe));
    EXPECT_FALSE(fs::exists(u.m / "Lamma2026.Dat.ny"));
    EXPECT_FALSE(fs::exists(u.m / "Produsenter.Dat.ny"));
  }
}

// ---- The reading window ----

namespace {

// A lamb archive made by Info-ZIP with folders, other letter cases, a county
// above 20 and a member that is not an export.
fs::path LagLammearkiv(const TestMappe& m, const std::string& navn) {
  fs::create_directories(m / "kilde/landet/fylker");
  m.Skriv("kilde/landet/fylker/Lam01.Dos", Linje(LamKolonner("101"), 27) + "\r\n");
  m.Skriv("kilde/landet/fylker/LAM12.DOS", Linje(LamKolonner("1201"), 27) + "\r\n");
  m.Skriv("kilde/landet/fylker/lam25.dos", Linje(LamKolonner("2501"), 27) + "\r\n");
  m.Skriv("kilde/landet/medlem.Dos", "0101;Anne\r\n1201;Per\r\n0501;Kari\r\n");
  m.Skriv("kilde/landet/Les meg.txt", "ikke en eksport");
  const std::string kommando = "cd " + Sitat(m / "kilde") + " && zip -qr " + Sitat(m / navn) + " landet";
  EXPECT_EQ(std::system(kommando.c_str()), 0);
  return m / navn;
}

struct Vindu {
  explicit Vindu(TFormLes& w, const fs::path& data) : les(w) {
    les.DataMappe = data;
    les.Aar = 2026;
    les.Melding = [this](const QString& t) { meldinger << t; };
    les.Feilmelding = [this](const QString& t) { meldinger << t; };
    les.Bekreft = [](const QString&) { return true; };
    les.VelgArkiv = [this] { return valgt; };
  }
  TFormLes& les;
  QStringList meldinger;
  QString valgt;
};

void Skjermbilde(QWidget* w, const char* navn) {
  const char* mappe = std::getenv("HORNSTAD_SKJERMBILDER");
  if (mappe == nullptr) return;
  w->grab().save(QString(mappe) + "/" + navn + ".png");
}

}  // namespace

TEST(LesVinduTest, MerkerFylkerLeserOgRydderOpp) {
  TestMappe m;
  LagLammearkiv(m, "Alt.Zip");
  TFormLes les;
  Vindu v(les, m.Sti());
  les.Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&les));
  EXPECT_EQ(les.windowTitle(), "Lese nye data");
  EXPECT_EQ(les.Lukk->text(), "Avbryt uten å hente");
  EXPECT_FALSE(les.LesDet->isEnabled());

  les.ApneClick();
  EXPECT_TRUE(v.meldinger.isEmpty()) << v.meldinger.join('|').toStdString();
  ASSERT_EQ(les.ListFant->count(), 2) << "county 25 gives no item";
  EXPECT_EQ(les.ListFant->item(0)->text(), "01  Østfold");
  EXPECT_EQ(les.ListFant->item(1)->text(), "12  Hordaland");
  EXPECT_EQ(les.LForklar->text(), "Merk de fylkene du trenger og deretter: Les inn data.");
  EXPECT_FALSE(fs::exists(m / "Alt.Zip")) << "the downloaded archive is deleted once unpacked";
  EXPECT_EQ(les.Utpakket().size(), 4u) << "the three lamb exports and the members";
  EXPECT_TRUE(fs::exists(m / "OpPakket/medlem.Dos"));
  EXPECT_FALSE(fs::exists(m / "OpPakket/Les meg.txt"));

  les.ListFant->item(0)->setCheckState(Qt::Checked);
  EXPECT_TRUE(les.LesDet->isEnabled());
  les.ListFant->item(0)->setCheckState(Qt::Unchecked);
  EXPECT_FALSE(les.LesDet->isEnabled());
  les.ListFant->item(1)->setCheckState(Qt::Checked);
  Skjermbilde(&les, "lesevindu");
  les.LesDetClick();
  EXPECT_TRUE(les.Lest());
  EXPECT_EQ(les.ValgteFylker(), " 12");
  ASSERT_EQ(les.Lammeliste().size(), 1u) << "the window keeps the summaries of the lambs read";
  EXPECT_EQ(les.Lammeliste()[0].Kol1, 1201);
  EXPECT_EQ(les.LForklar->text(), "Ferdig med lesing.");
  EXPECT_EQ(les.Lukk->text(), "Lukk, ferdig med å lese");
  EXPECT_TRUE(les.Lukk->isEnabled());
  EXPECT_FALSE(les.LesDet->isEnabled());
  EXPECT_FALSE(les.Animer->isVisible());
  EXPECT_EQ(fs::file_size(m / "Lamma2026.Dat"), LamPostStorrelse);
  EXPECT_EQ(Produsenter(m / "Produsenter.Dat"), (std::vector<int32_t>{1201}));

  // A read-only unpacked file goes too.
  fs::permissions(m / "OpPakket/medlem.Dos", fs::perms::owner_read);
  les.LukkClick();
  EXPECT_FALSE(les.isVisible());
  for (const char* f : {"Lam01.Dos", "LAM12.DOS", "lam25.dos", "medlem.Dos"})
    EXPECT_FALSE(fs::exists(m / "OpPakket" / f)) << f;
  EXPECT_TRUE(fs::exists(m / "Lamma2026.Dat"));
}

namespace {

// What the window holds, to compare before and after the desktop hides it.
struct Innhold {
  QStringList fylker;
  std::vector<bool> merket;
  std::size_t utpakket;
  QString forklaring, lukk;
  bool lesDet, lest;
  bool operator==(const Innhold&) const = default;
};

Innhold Les(const TFormLes& les) {
  Innhold i{{}, {}, les.Utpakket().size(), les.LForklar->text(), les.Lukk->text(), les.LesDet->isEnabled(), les.Lest()};
  for (int r = 0; r < les.ListFant->count(); ++r) {
    i.fylker << les.ListFant->item(r)->text();
    i.merket.push_back(les.ListFant->item(r)->checkState() == Qt::Checked);
  }
  return i;
}

}  // namespace

// Minimised and restored, or hidden and shown again, as the desktop does it:
// the window keeps what it showed, and closing it still deletes what was
// unpacked.
TEST(LesVinduTest, MinimertOgGjenopprettetBeholderDetVinduetViste) {
  TestMappe m;
  LagLammearkiv(m, "Alt.Zip");
  TFormLes les;
  Vindu v(les, m.Sti());
  les.Vis();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&les));
  les.ApneClick();
  ASSERT_EQ(les.ListFant->count(), 2);
  les.ListFant->item(1)->setCheckState(Qt::Checked);
  const auto skjulOgVis = [&](bool minimer) {
    if (minimer) {
      les.setWindowState(les.windowState() | Qt::WindowMinimized);
      QCoreApplication::processEvents();
      les.setWindowState(les.windowState() & ~Qt::WindowMinimized);
    } else {
      les.hide();
      QCoreApplication::processEvents();
      les.show();
    }
    QCoreApplication::processEvents();
  };
  for (const bool lest : {false, true}) {
    if (lest) les.LesDetClick();
    const Innhold foer = Les(les);
    EXPECT_EQ(foer.utpakket, 4u);
    EXPECT_TRUE(foer.lesDet != lest);
    for (const bool minimer : {true, false}) {
      SCOPED_TRACE(std::string(lest ? "lest, " : "") + (minimer ? "minimert" : "skjult"));
      skjulOgVis(minimer);
      EXPECT_TRUE(Les(les) == foer) << les.LForklar->text().toStdString() << " | " << les.ListFant->count();
    }
  }
  les.LukkClick();
  for (const char* f : {"Lam01.Dos", "LAM12.DOS", "lam25.dos", "medlem.Dos"})
    EXPECT_FALSE(fs::exists(m / "OpPakket" / f)) << f;
}

TEST(LesVinduTest, VaervinduetKanIkkeMerkeFylker) {
  TestMappe m;
  LagLammearkiv(m, "Alt.Zip");
  m.Skriv("Lamma2026.Dat", "fjorårets");
  TFormLes1 les;
  Vindu v(les, m.Sti());
  bool resultat = true;
  QTimer::singleShot(0, &les, [&] {
    EXPECT_EQ(les.windowTitle(), "Lese inn værer");
    EXPECT_EQ(les.LesDet->text(), "Les inn værene");
    EXPECT_FALSE(les.ListFant->isVisible());
    EXPECT_FALSE(les.Label2->isVisible());
    EXPECT_FALSE(les.Apne->isEnabled());
    Skjermbilde(&les, "lesevindu-vaerer");
    les.Apne->setEnabled(true);
    les.Apne->click();
    EXPECT_TRUE(les.LesDet->isEnabled());
    les.LesDet->click();
    EXPECT_FALSE(les.Lest());
    les.Lukk->click();
  });
  resultat = les.RunReadingWindow();
  EXPECT_FALSE(resultat);
  EXPECT_EQ(LesHeleFila(m / "Lamma2026.Dat"), "fjorårets") << "no lamb file is written";
  ASSERT_TRUE(fs::exists(m / "Produsenter.Dat"));
  EXPECT_EQ(fs::file_size(m / "Produsenter.Dat"), 0u);
  EXPECT_TRUE(les.Lammeliste().empty());
  EXPECT_FALSE(fs::exists(m / "OpPakket/medlem.Dos"));
}

TEST(LesVinduTest, ValgtArkivUtenEksporterOgSkadetArkiv) {
  TestMappe m;
  TFormLes les;
  Vindu v(les, m.Sti());
  les.Vis();
  // No Alt.Zip and nothing chosen.
  les.ApneClick();
  EXPECT_FALSE(les.LesDet->isEnabled());
  EXPECT_TRUE(v.meldinger.isEmpty());

  // An archive of the user's own, elsewhere: read, and kept.
  TestMappe annet;
  v.valgt = QString::fromStdString(LagLammearkiv(annet, "Lam_landet_2026.zip").string());
  les.ApneClick();
  EXPECT_EQ(les.ListFant->count(), 2);
  EXPECT_EQ(les.ArkivNavn(), "Lam_landet_2026.zip");
  EXPECT_TRUE(fs::exists(v.valgt.toStdString()));

  // An archive without exports.
  annet.Skriv("Les.txt", "tekst");
  ASSERT_EQ(std::system(("cd " + Sitat(annet.Sti()) + " && zip -q tom.zip Les.txt").c_str()), 0);
  v.valgt = QString::fromStdString((annet / "tom.zip").string());
  les.ApneClick();
  EXPECT_EQ(v.meldinger, QStringList{"Ingen aktuelle filer funnet"});
  EXPECT_EQ(les.ListFant->count(), 0);
  EXPECT_FALSE(les.LesDet->isEnabled());

  // A damaged archive.
  v.meldinger.clear();
  annet.Skriv("skadet.zip", LesHeleFila(annet / "Lam_landet_2026.zip").substr(0, 200));
  v.valgt = QString::fromStdString((annet / "skadet.zip").string());
  les.ApneClick();
  ASSERT_EQ(v.meldinger.size(), 1);
  EXPECT_FALSE(les.LesDet->isEnabled());
  les.LukkClick();
  for (const char* f : {"Lam01.Dos", "LAM12.DOS", "lam25.dos", "medlem.Dos"})
    EXPECT_FALSE(fs::exists(m / "OpPakket" / f)) << f;
}

// The reading fails after the lambs are read: the window tells what became
// of the lamb and producer files, and it is so.
TEST(LesVinduTest, FeilVedMedlemmeneSierHvaSomSkjeddeMedFilene) {
  struct Tilfelle {
    const char* navn;
    const char* mappe;  // a folder by this name stands where a file is written
    bool nyLamfil;
    const char* meldingDel;
  };
  const Tilfelle tilfeller[] = {
      {"produsentfila kan ikke skrives", "Produsenter.Dat.ny", false, "Lamme- og produsentfilene er uendret"},
      {"produsentfila kan ikke byttes ut", "Produsenter.Dat", true, "Den nye lammefila er lagret"},
  };
  for (const Tilfelle& t : tilfeller) {
    SCOPED_TRACE(t.navn);
    TestMappe m;
    LagLammearkiv(m, "Alt.Zip");
    m.Skriv("Lamma2026.Dat", "fjorårets");
    m.Skriv("Produsenter.Dat", "gamle");
    fs::remove(m / t.mappe);
    fs::create_directory(m / t.mappe);
    TFormLes les;
    Vindu v(les, m.Sti());
    les.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&les));
    les.ApneClick();
    ASSERT_EQ(les.ListFant->count(), 2);
    les.ListFant->item(1)->setCheckState(Qt::Checked);
    les.LesDetClick();
    ASSERT_EQ(v.meldinger.size(), 1);
    EXPECT_TRUE(v.meldinger[0].contains(t.meldingDel)) << v.meldinger[0].toStdString();
    if (t.nyLamfil && std::getenv("HORNSTAD_SKJERMBILDER")) {
      QMessageBox boks(QMessageBox::Critical, "Hornstad", v.meldinger[0], QMessageBox::Ok, &les);
      boks.show();
      Skjermbilde(&boks, "lesing-halvveis");
    }
    EXPECT_FALSE(les.Lest());
    EXPECT_TRUE(les.Lammeliste().empty()) << "a failed reading leaves no summaries";
    EXPECT_TRUE(les.Lukk->isEnabled());
    EXPECT_FALSE(les.Animer->isVisible());
    if (t.nyLamfil)
      EXPECT_EQ(fs::file_size(m / "Lamma2026.Dat"), LamPostStorrelse);
    else
      EXPECT_EQ(LesHeleFila(m / "Lamma2026.Dat"), "fjorårets");
    if (fs::is_regular_file(m / "Produsenter.Dat")) {
      EXPECT_EQ(LesHeleFila(m / "Produsenter.Dat"), "gamle");
    }
    EXPECT_FALSE(fs::exists(m / "Lamma2026.Dat.ny"));
    les.LukkClick();
  }
}

TEST(LesVinduTest, HenterLammearkivetFraNettet) {
  TestMappe rot;
  const std::string aar = std::to_string(QDate::currentDate().year());
  fs::create_directories(rot / "karingsfiler_kvistmo");
  LagLammearkiv(rot, "karingsfiler_kvistmo/Lam_landet_" + aar + ".zip");
  Tjenerprosess tjener(
      {"python3", "-u", "-m", "http.server", "--bind", "127.0.0.1", "--directory", rot.Sti().string(), "0"});
  ASSERT_GT(tjener.Port(), 0);

  TestMappe m;
  TFormLes les;
  Vindu v(les, m.Sti());
  les.Aar = QDate::currentDate().year();
  TFormNedlast nedlast;
  les.FormNedlast = &nedlast;
  les.Adresse = [&] { return "http://127.0.0.1:" + QString::number(tjener.Port()); };
  les.Vis();
  les.ButtonNettClick();
  EXPECT_TRUE(v.meldinger.isEmpty()) << v.meldinger.join('|').toStdString();
  EXPECT_EQ(les.ListFant->count(), 2);
  EXPECT_EQ(les.ArkivNavn(), "Alt.Zip");
  EXPECT_FALSE(fs::exists(m / "Alt.Zip"));
  EXPECT_TRUE(les.LesDet->isEnabled());
  les.LukkClick();
}
