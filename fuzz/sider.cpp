// The framed catalogue pages built from listing lines, whatever the user has
// typed into the listing, and drawn into a small image.
#include "sider.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzzhjelp.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QGuiApplication app(*argc, *argv);
  // Qt's warnings about odd values would fill the log, one for every input;
  // what stops the run is still told.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& tekst) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "Qt: %s\n", qUtf8Printable(tekst));
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the surface's size, the rest are the lines (LF or CR LF).
  const int skala = 1 + data[0] % 4;
  const std::string_view inn = SomTekst(data + 1, size - 1);
  std::vector<std::string> linjer;
  for (std::size_t pos = 0; pos < inn.size();) {
    std::size_t slutt = inn.find('\n', pos);
    if (slutt == std::string_view::npos) slutt = inn.size();
    std::string l(inn.substr(pos, slutt - pos));
    if (!l.empty() && l.back() == '\r') l.pop_back();
    linjer.push_back(std::move(l));
    pos = slutt + 1;
  }

  const std::unique_ptr<TSider> sider = LagSider(linjer);
  // 13 lines a box, six boxes a page, and at least one page.
  const std::size_t bokser = (linjer.size() + LinjerPerVer - 1) / LinjerPerVer;
  KREV(sider && sider->size() == std::max<std::size_t>(1, (bokser + FelterPerSide - 1) / FelterPerSide));
  std::size_t talt = 0;
  for (const auto& side : *sider) {
    KREV(side->Felter.size() <= static_cast<std::size_t>(FelterPerSide));
    for (const auto& felt : side->Felter) {
      ++talt;
      KREV(felt->Punkter.size() == static_cast<std::size_t>(PunkterPerFelt));
      KREV(felt->Tittel.size() <= 30);
      for (const auto& punkt : felt->Punkter) KREV(punkt && punkt->Tekst.size() <= 255);
    }
  }
  KREV(talt == bokser);

  QImage bilde(150 * skala, 210 * skala, QImage::Format_RGB32);
  const int sisteSide = static_cast<int>(sider->size());
  for (int side : {1, sisteSide}) {
    QPainter p(&bilde);
    TegnSide(p, bilde.width(), bilde.height(), *sider, side);
    const auto& felter = (*sider)[static_cast<std::size_t>(side - 1)]->Felter;
    KREV(Sidetittel(*sider, side) == (felter.empty() ? std::string() : felter.back()->Tittel));
    if (sisteSide == 1) break;
  }
  return 0;
}
