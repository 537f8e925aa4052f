// The ways the graph leaves the main window: printing (4004), the picture
// on the clipboard (4011) and the vector picture on the clipboard (4012).
//
// The printer and its settings live as long as the window, so the print
// dialog opens again with the last printer and options. Printing asks the
// background question on coloured schemes, prints a vector recording of the
// current panel's picture and shows "Fehler beim Drucken" when nothing could
// be printed; cancelling the dialog or the question prints nothing and says
// nothing.
#pragma once

#include <QString>
#include <memory>

class QImage;
class QPrinter;
class QWidget;

namespace kv {

struct ShellState;

class PrintClipboard {
 public:
  PrintClipboard(ShellState& state, QWidget* window);
  ~PrintClipboard();

  void print();
  // The print dialog on the kept printer (or the test's PDF file); nullptr
  // when cancelled. The help window prints through it too.
  QPrinter* choose_printer(QWidget* owner);
  // The picture the window shows as an image; nothing without one.
  void copy_bitmap(const QImage& shown);
  // The picture as SVG ("image/svg+xml"), with an image of it for programs
  // that take no SVG.
  void copy_vector();

  // Prints to this PDF file without showing the print dialog (the
  // end-to-end tests set it through KURVALINE_PRINT_TO_PDF); empty: the
  // dialog as usual.
  void set_print_file(const QString& path) { print_file_ = path; }
  QPrinter& printer();

 private:
  ShellState& state_;
  QWidget* window_;
  std::unique_ptr<QPrinter> printer_;
  QString print_file_;
};

}  // namespace kv
