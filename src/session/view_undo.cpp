// The undo ring of view changes; see the header.
#include "session/view_undo.h"

#include <new>

namespace kv {

namespace {

constexpr RangeIndex kBounds[4] = {kXMin, kXMax, kYMin, kYMax};

int previous(int position) { return position == 0 ? kUndoNodes - 1 : position - 1; }

}  // namespace

bool ViewUndoRing::allocate() {
  try {
    nodes.assign(kUndoNodes, ViewUndoNode{});
  } catch (const std::bad_alloc&) {
    nodes.clear();
    return false;
  }
  position = 0;
  count = 0;
  return true;
}

void save_bounds(ViewUndoRing& ring, const PanelRecord& panel, const char* description) {
  // The nodes are made with the first view change of the panel: a start
  // pays for none of the three rings, and a panel that is never zoomed
  // never holds its 200 KB.
  if (!ring.available() && !ring.allocate()) return;
  ViewUndoNode& node = ring.current();
  for (int i = 0; i < 4; ++i) node.bounds[i] = panel.range[kBounds[i]];
  node.description = description;
}

bool bounds_differ(const ViewUndoRing& ring, const PanelRecord& panel) {
  if (!ring.available()) return false;
  const ViewUndoNode& node = ring.current();
  for (int i = 0; i < 4; ++i) {
    if (node.bounds[i].value != panel.range[kBounds[i]].value) return true;
  }
  return false;
}

bool record_step_if_moved(ViewUndoRing& ring, const PanelRecord& panel) {
  if (!bounds_differ(ring, panel)) return false;
  ring.position = (ring.position + 1) % kUndoNodes;
  if (ring.count < kUndoMaxCount) ++ring.count;
  return true;
}

bool undo_view_step(ViewUndoRing& ring, PanelRecord& panel) {
  if (!ring.available() || ring.count < 1) return false;
  --ring.count;
  ring.position = previous(ring.position);
  const ViewUndoNode& node = ring.current();
  for (int i = 0; i < 4; ++i) {
    RangeValue& bound = panel.range[kBounds[i]];
    bound.value = node.bounds[i].value;
    bound.text_stale = node.bounds[i].text_stale;
  }
  return true;
}

const char* undo_description(const ViewUndoRing& ring) {
  if (!ring.available() || ring.count < 1) return "";
  return ring.nodes[static_cast<size_t>(previous(ring.position))].description;
}

}  // namespace kv
