// The command ids of the main window. Every user action ends as one of these
// and goes through run_command (command_handlers.h); the tables built from
// them are in commands.h. New commands take numbers from 6000 upwards.
#pragma once

namespace kv {

// The numbers are kept by every place that stores or sends one (toolbar
// buttons, posted commands); None is no command (a toolbar separator).
enum class Command : int {
  None = 0,
  OpenCurrentDialog = 1,  // Return, F2: the current surface's dialog
  // Posted by the paint: the current panel has an error its dialog has not shown
  // yet. Not a menu command; does nothing once the error is shown or cleared.
  ShowPendingError = 2,
  FunctionDialog = 3000,
  IntegralDialog = 3001,
  DiffEquDialog = 3002,
  ValueTable = 3010,
  SingleValue = 3011,
  Open = 4000,
  Save = 4001,
  SaveAs = 4002,
  SavePicture = 4003,
  Print = 4004,
  Exit = 4005,
  Undo = 4010,
  CopyBitmap = 4011,
  CopySvg = 4012,  // the picture as SVG, the bitmap beside it
  OneInstance = 4020,
  MouseGestures = 4021,
  DoubleBuffering = 4023,
  ResetSettings = 4025,
  LengthLimit = 4026,
  SolverSwitch = 4028,
  Statusbar = 4030,
  Toolbar = 4031,
  Tooltips = 4032,
  Axes = 4033,
  Grid = 4034,
  SubGrid = 4035,
  GridBoth = 4036,  // Ctrl+G
  TickLabels = 4037,
  TickMarks = 4038,
  Border = 4039,
  CrossedStyle = 4040,
  BoxedStyle = 4041,
  FunctionExpressions = 4042,
  EqualScales = 4043,
  MouseCoordinates = 4044,
  XUnitsPi = 4045,
  YUnitsPi = 4046,
  FullScreen = 4050,
  SquareWindow = 4051,
  ZoomIn = 4060,
  ZoomOut = 4061,
  ZoomInX = 4062,
  ZoomOutX = 4063,
  ZoomInY = 4064,
  ZoomOutY = 4065,
  ZoomRect = 4066,  // the rectangle comes in the parameter
  ScrollLeft = 4067,
  ScrollUp = 4068,
  ScrollRight = 4069,
  ScrollDown = 4070,
  Centre = 4071,
  StandardView = 4072,
  Help = 4080,
  About = 4081,
  Palette0 = 5000,  // 5000 + k: colour scheme k = 0..2
  Palette1 = 5001,
  Palette2 = 5002,
  LineWidth1 = 5101,  // 5100 + n: line width n = 1..3
  LineWidth2 = 5102,
  LineWidth3 = 5103,
  // Commands added later, from 6000 upwards.
  Discussion = 6000,  // Ctrl+K: the curve discussion window
  MarkPoints = 6001,  // the notable points on the graph
  MarkDiscontinuities = 6002,  // poles, holes, jumps and bands on the graph
};

constexpr int command_number(Command c) { return static_cast<int>(c); }

// The colour-scheme command of scheme k (0..2), and back: -1 for any other command.
constexpr Command palette_command(int k) { return static_cast<Command>(5000 + k); }
constexpr int palette_of(Command c) {
  const int n = command_number(c) - 5000;
  return n >= 0 && n <= 2 ? n : -1;
}
// The line-width command of width n (1..3), and back: 0 for any other command.
constexpr Command line_width_command(int n) { return static_cast<Command>(5100 + n); }
constexpr int line_width_of(Command c) {
  const int n = command_number(c) - 5100;
  return n >= 1 && n <= 3 ? n : 0;
}

}  // namespace kv
