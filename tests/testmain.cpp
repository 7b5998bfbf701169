// main() of the tests that need Qt's fonts or windows: a QApplication for
// those that make widgets (HS_TEST_VINDU), a QGuiApplication for those that
// only measure or draw text. Without a display unless the caller chose a
// platform.
#include <gtest/gtest.h>

#ifdef HS_TEST_VINDU
#include <QApplication>
using TestApp = QApplication;
#else
#include <QGuiApplication>
using TestApp = QGuiApplication;
#endif

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TestApp app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
