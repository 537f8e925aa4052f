// Control ids of the formula dialogs and the calculators. An error recorded
// in a panel's PendingError names one of them, so that the dialog can focus
// and select the field at fault; the Qt dialogs use the same numbers to find
// their widgets.
#pragma once

#include "model/panel_record.h"
#include "session/gesture.h"

namespace kv {

enum DialogControl : int {
  kCtlOk = 1,           // "&Graph", "&Integrieren", "&Berechnen", "OK"
  kCtlCancel = 2,       // "&Abbrechen", "&Schließen"
  kCtlApply = 500,      // "Ü&bernehmen" of the axis titles
  kCtlCopy = 501,       // "Tabelle &kopieren", "Ergebnis &kopieren"
  kCtlToGraph = 502,    // "&Graph hinzufügen", "&Graph zeichnen"
  kCtlOption = 505,     // "Absolutes Integral (Fläche)", "High Precision"
  kCtlDerivative = 506, // "1. Ableitung zeichnen"
  kCtlAxisTitles = 507, // "Achsen &umbenennen"
  kCtlFormula = 510,
  kCtlDegrees = 512,
  kCtlRadians = 513,
  kCtlXMin = 514,       // the six ranges follow in RangeIndex order, 514..519
  kCtlStartX = 520,     // start x, then start y .. y'''' at 521..525
  kCtlStartXLabel = 526,
  kCtlStartYLabel = 527,  // labels of start y .. y'''' at 527..531
  kCtlResult = 532,
  kCtlHeader = 533,
  kCtlTitleX = 534,
  kCtlTitleY = 535,
  kCtlHelp = 1011,
  kCtlSetDefault = 1012,  // "Als &Standard setzen"
  kCtlXStep = 1021,
};

// The control a gesture in a dialog presses: confirm 1, cancel 2, help 1011;
// 0 for any other action.
inline int gesture_control(GestureAction a) {
  switch (a) {
    case GestureAction::Confirm: return kCtlOk;
    case GestureAction::Cancel: return kCtlCancel;
    case GestureAction::Help: return kCtlHelp;
    default: return 0;
  }
}

inline int range_control(int range_index) { return kCtlXMin + range_index; }

// The control of a dialog value: 1021 for the x step, 520..525 for the start values.
inline int value_control(int value_index) {
  return value_index == kXStep ? kCtlXStep : kCtlStartX + (value_index - kStartX);
}

}  // namespace kv
