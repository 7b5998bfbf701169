// hornstad-cli: the program's jobs without windows. The commands are in
// this folder, one file each (kommandoer.cpp lists them); main only starts Qt
// and hands over the arguments.
#include <QGuiApplication>
#include <cstdio>

#include "verktoy.h"

int main(int argc, char** argv) {
  // Qt's own notices (a missing runtime folder and the like) are not for
  // the user of the tool: stderr carries only our messages.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& tekst) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", tekst.toLocal8Bit().constData());
  });
  // Fonts are measured as the windows measure them, without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  return KjorVerktoy(std::vector<std::string>(argv + 1, argv + argc), stdout, stderr);
}
