// hornstad-cli: the program's jobs without windows. The commands are in
// this folder, one file each (kommandoer.cpp lists them); main only starts Qt
// and hands over the arguments.
#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <memory>

#include "verktoy.h"

int main(int argc, char** argv) {
  // Qt's own notices (a missing runtime folder and the like) are not for
  // the user of the tool: stderr carries only our messages.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& tekst) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", tekst.toLocal8Bit().constData());
  });
  // A run that lays out or draws text measures fonts as the windows do,
  // without a display; the others start quicker without fonts.
  // A run that draws a chart needs QtWidgets besides.
  std::unique_ptr<QCoreApplication> app;
  const std::vector<std::string> argumenter(argv + 1, argv + argc);
  if (TrengerVinduer(argumenter)) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QApplication>(argc, argv);
  } else if (TrengerSkrift(argumenter)) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  // Qt has taken its own options out of argv.
  return KjorVerktoy(std::vector<std::string>(argv + 1, argv + argc), stdout, stderr);
}
