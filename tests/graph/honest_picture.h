// Shared by the honest-curve picture tests: a 600 x 500 plot painted on the
// recording device with the option on or off, and the comparison of two
// recordings operation by operation.
#pragma once

#include <string>

#include "graph/colours.h"
#include "graph/coord_painter.h"
#include "graph_test_support.h"
#include "recording_device.h"

namespace kv::test {

struct Picture {
  Graph g{kPanelFunction, 600, 500};
  ColourTable colours = build_colour_table(0);
  PictureFrame frame;
  Picture() {
    frame.background = {0, 0, 700, 560};
    frame.plot = {69, 21, 600, 500};
  }
  RecordingDevice paint(const std::string& formula, bool honest) {
    g.panel.options[kOptMarkDiscontinuities] = honest ? 1 : 0;
    EXPECT_TRUE(g.compile_and_run(formula));
    RecordingDevice dev;
    paint_picture(dev, g.panel, g.plot, colours, frame);
    return dev;
  }
};

inline bool same_ops(const RecordingDevice& a, const RecordingDevice& b) {
  if (a.ops.size() != b.ops.size()) return false;
  for (size_t i = 0; i < a.ops.size(); ++i) {
    const RecordedOp &x = a.ops[i], &y = b.ops[i];
    if (x.kind != y.kind || !(x.pen == y.pen) || x.colour != y.colour || x.points != y.points ||
        !(x.rect == y.rect) || x.text != y.text) {
      return false;
    }
  }
  return true;
}

}  // namespace kv::test
