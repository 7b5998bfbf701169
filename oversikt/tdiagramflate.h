// A chart on the screen with what the user does with it: "Lagre som …"
// (PNG, SVG or PDF), "Skriv ut …" and "Tallene" (the figures behind the chart
// in the table window). The chart is made afresh by `Lag` for the screen, for
// each file and for the printer, so that a file or a page is laid out at its
// own size and the one on the screen stays as it is.
#pragma once

#include <QChart>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "filtype.h"

class QChart;
class QChartView;
class QPrinter;
class QPushButton;
class TVindu;

class TDiagramflate : public QWidget {
  Q_OBJECT

 public:
  explicit TDiagramflate(QWidget* parent = nullptr, Qt::WindowFlags flagg = {});
  ~TDiagramflate() override;

  // Makes the chart from the figures as they stand now.
  std::function<std::unique_ptr<QChart>()> Lag;
  // Fills a table window with the figures behind the chart.
  std::function<void(TVindu& vindu)> ListTall;

  // The chart made again (after a change of the figures behind it).
  void Tegn();
  // The chart on the screen (null before the first Tegn).
  QChart* Diagram() const;

  QChartView* Visning;
  QPushButton* LagreSom;
  QPushButton* SkrivUt;
  QPushButton* Tallene;

  // Saves the chart into a file the user chooses; false when cancelled or failed (told).
  bool LagreSomClick();
  // Prints the chart on one page through the print dialog.
  void SkrivUtClick();
  // The figures in a new table window, which is returned.
  TVindu* TalleneClick();

  // The types of file a chart is saved as, in the save dialog's order: PNG, SVG, PDF.
  static std::vector<TFiltype> Filtyper();

  // Hooks the tests answer instead of the dialogs: the save dialog's answer,
  // the file and the type chosen (none when cancelled; `forslag` is the name
  // offered, without an ending), the print dialog over the printer (false
  // when cancelled), and the message box.
  std::function<std::optional<TLagringsfil>(const QString& forslag)> VelgFil;
  std::function<bool(QPrinter&)> VelgSkriver;
  std::function<void(const QString&)> Melding;

 private:
  QChart* vist_ = nullptr;  // owned by the view
};
