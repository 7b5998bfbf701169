// The settings file Hornstad.Ini read through the program's own helpers:
// window places, the last archive name, the download address, the
// catalogue's table fields and the insemination report's recipient; then the
// values the main window writes at close, written into the same file and
// read back.
#include <QCoreApplication>
#include <QFile>
#include <QRect>
#include <QSettings>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <string>

#include "filer.h"
#include "fuzzhjelp.h"
#include "inifil.h"
#include "listing.h"
#include "seminfil.h"
#include "skall.h"

namespace {

QString Sti(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

// A stable spread of numbers from the input, for the places written back.
uint64_t Spredning(std::string_view s) {
  uint64_t h = 1469598103934665603ull;
  for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return h;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);
  // Qt's warnings about odd values would fill the log, one for every input;
  // what stops the run is still told.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& tekst) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "Qt: %s\n", qUtf8Printable(tekst));
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view inn = SomTekst(data, size);
  // A folder of its own for every input: QSettings keeps parsed files by name.
  static uint64_t nr = 0;
  const std::filesystem::path mappe = Arbeidsmappe() / std::to_string(nr++);
  std::filesystem::create_directory(mappe);
  SkrivFil(mappe / InnstillingsfilNavn, inn);
  const std::filesystem::path fil = Innstillingsfil(mappe);
  KREV(fil == mappe / InnstillingsfilNavn);

  QString siste;
  {
    const QSettings ini(Sti(fil), InnstillingsFormat());
    for (const char* seksjon : {"Hoved", "Ver", "Katalog"}) (void)LesPlass(ini, seksjon);
    const QString adresse = Nettadresse(ini);
    KREV(!adresse.isEmpty() && !adresse.endsWith('/') && adresse == adresse.trimmed());
    siste = ini.value("Hoved/Siste").toString();
    const QString kort = KortArkivnavn(siste);
    KREV(kort.size() <= siste.size() && siste.startsWith(kort));
    (void)StatusTekst(12345, kort);
    for (int felt = 0; felt < AntallTabellfelt; ++felt)
      (void)ini.value(QString::fromStdString("Katalog/" + SkalMedNokkel(felt)), false).toBool();
    KREV(!SeminMottaker(ini).empty());
  }
  // Reading writes nothing.
  KREV(LesHeleFila(fil) == inn);

  // What the main window writes at close, then read back.
  const uint64_t h = Spredning(inn);
  const QRect hoved(static_cast<int16_t>(h), static_cast<int16_t>(h >> 16), 640, 480);
  const QRect ver(static_cast<int16_t>(h >> 32), static_cast<int16_t>(h >> 48), 1 + (h & 1023), 1 + ((h >> 10) & 1023));
  {
    QSettings ini(Sti(fil), InnstillingsFormat());
    // Written in place rather than through a synced new file: the same
    // contents, without a wait for the disk on every input.
    ini.setAtomicSyncRequired(false);
    SkrivPlass(ini, "Hoved", hoved, false);
    ini.setValue("Hoved/Siste", siste);
    SkrivPlass(ini, "Ver", ver, true);
    if (!ini.contains("Nett/Adresse")) ini.setValue("Nett/Adresse", QString(StandardAdresse));
    ini.sync();
  }
  {
    const QSettings ini(Sti(fil), InnstillingsFormat());
    const TPlass h2 = LesPlass(ini, "Hoved");
    KREV(h2.left == hoved.x() && h2.top == hoved.y());
    const TPlass v2 = LesPlass(ini, "Ver");
    KREV(v2.left == ver.x() && v2.top == ver.y() && v2.bred == ver.width() && v2.hog == ver.height());
    KREV(ini.value("Hoved/Siste").toString() == siste);
    KREV(!Nettadresse(ini).isEmpty());
  }
  std::filesystem::remove_all(mappe);
  return 0;
}
