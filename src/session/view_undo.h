// The undo of view changes: per drawing panel a ring of 1025 nodes, each
// holding the four bounds XMin, XMax, YMin, YMax as they were before a change
// and the description of that change. At most 1024 steps can be undone, so
// the ring always keeps one node free.
//
// A view operation first saves the current bounds into the current node
// (save_bounds) with its description; the refresh then advances to the next
// node only when a bound actually moved (record_step_if_moved), so a change
// that changes nothing leaves no step. Undo steps back and restores value and
// text-stale flag of each bound; texts stay.
#pragma once

#include <array>
#include <vector>

#include "model/panel_record.h"
#include "session/session_texts.h"

namespace kv {

inline constexpr int kUndoNodes = 1025;
inline constexpr int kUndoMaxCount = kUndoNodes - 1;

struct ViewUndoNode {
  std::array<RangeValue, 4> bounds;  // XMin, XMax, YMin, YMax
  const char* description = "";      // static text: "Zoomen", "Scrollen", ...
};

struct ViewUndoRing {
  std::vector<ViewUndoNode> nodes;  // empty: nothing to undo yet, or no memory for it
  int position = 0;
  int count = 0;

  // Allocates the nodes; false (and no undo) when memory runs out. The
  // first save_bounds of an empty ring calls it.
  bool allocate();
  bool available() const { return !nodes.empty(); }
  ViewUndoNode& current() { return nodes[static_cast<size_t>(position)]; }
  const ViewUndoNode& current() const { return nodes[static_cast<size_t>(position)]; }
};


// Stores the panel's current four bounds and the description in the current node.
void save_bounds(ViewUndoRing& ring, const PanelRecord& panel, const char* description);

// True when any of the four bounds differs in value from the current node.
bool bounds_differ(const ViewUndoRing& ring, const PanelRecord& panel);

// Advances to the next node and counts one more step (at most 1024) when a
// bound moved; returns whether it did.
bool record_step_if_moved(ViewUndoRing& ring, const PanelRecord& panel);

// Steps back and restores the bounds' values and text-stale flags; false when
// there is nothing to undo.
bool undo_view_step(ViewUndoRing& ring, PanelRecord& panel);

// The description of the step the next undo would take back; "" when none.
const char* undo_description(const ViewUndoRing& ring);

}  // namespace kv
