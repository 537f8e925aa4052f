// One calculator form over its panel: the function-table page and the
// equation-table page of "Funktionsrechner - Wertetabelle", and the contents
// of "Funktionsrechner Einzelwert".
//
// The page moves texts between its controls and the panel and leaves every
// rule to session/value_table.h: "&Berechnen" reads and checks the fields,
// computes, shows header line (533) and rows (532) and refreshes the formula
// history; an error focuses and selects its field and shows its message at
// once, and the previous result stays. Copying puts the text of the last
// result on the clipboard with the locale's decimal separator. "&Graph
// hinzufügen" and "&Graph zeichnen" hand the formula to a drawing panel and
// ask the main window to open that panel's formula dialog.
//
// "&Schließen" and "&Hilfe" belong to the window and are only signalled.
// The panel keeps what the page stored in it when the page goes; typed but
// uncalculated texts are not stored.
#pragma once

#include <QWidget>
#include <map>

#include "session/shell_host.h"
#include "session/shell_state.h"
#include "session/value_table.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace kv {

class CalcPage final : public QWidget {
  Q_OBJECT

 public:
  // panel_index: kPanelTable, kPanelTableDiffEqu or kPanelValue.
  CalcPage(int panel_index, ShellState& state, ShellHost& host, QWidget* parent = nullptr);

  int panel_index() const { return panel_index_; }
  // Commands 1 ("&Berechnen"), 501 (copy) and 502 (to the graph); 2 and
  // 1011 are passed on as signals.
  void run(int id);
  // The widget of a control id (510, 514, 1021, 532, ...), or nullptr.
  QWidget* control(int id) const;
  QPushButton* calculate_button() const { return calculate_; }
  void focus_formula();
  // Frees the panel's compiled formula (the window is going).
  void release_formula();

 signals:
  void close_requested();
  void help_requested();

 private:
  void build_fields(QGridLayout* grid);
  void build_start_fields(QGridLayout* grid, int row);
  QWidget* build_buttons();
  QLineEdit* add_field(int id);
  void fill();
  void fill_history();
  void relabel();

  DialogTexts texts() const;
  void calculate();
  void copy() const;
  void to_graph();
  void show_result();
  void show_error();
  // Ends an open formula dialog and asks the main window to open command id.
  void end_dialog_then_post(Command id);

  const int panel_index_;
  ShellState& state_;
  ShellHost& host_;
  PanelRecord& panel_;

  std::map<int, QWidget*> controls_;
  QComboBox* formula_ = nullptr;
  std::map<int, QLineEdit*> fields_;
  QRadioButton* degrees_ = nullptr;
  QRadioButton* radians_ = nullptr;
  QCheckBox* precision_ = nullptr;
  QLabel* start_labels_[6] = {};
  QPlainTextEdit* header_ = nullptr;
  QPlainTextEdit* result_ = nullptr;
  QPushButton* calculate_ = nullptr;

  bool has_result_ = false;  // a newly opened window shows no result
  TableResult result_data_;
  TableText result_text_;
};

}  // namespace kv
