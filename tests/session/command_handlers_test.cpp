#include "session/command_handlers.h"

#include <gtest/gtest.h>

#include "fake_host.h"
#include "session/commands.h"

namespace kv {
namespace {

struct HandlerTest : ::testing::Test {
  ShellState state;
  FakeHost host{state};
  void SetUp() override { start_ready(state, host); }
  int& option(OptionIndex i) { return state.current().options[i]; }
};

TEST_F(HandlerTest, CtrlGSwitchesOffWhatIsOnElseBoth) {
  option(kOptGrid) = 0;
  option(kOptSubGrid) = 1;
  run_command(state, host, Command::GridBoth);
  EXPECT_EQ(option(kOptGrid), 0);
  EXPECT_EQ(option(kOptSubGrid), 0);
  EXPECT_FALSE(host.toolbar_checks[Command::SubGrid]);
  const int repaints = host.repaints, recomputes = host.recomputing_repaints;
  run_command(state, host, Command::GridBoth);
  EXPECT_EQ(option(kOptGrid), 1);
  EXPECT_EQ(option(kOptSubGrid), 1);
  EXPECT_TRUE(host.toolbar_checks[Command::Grid]);
  EXPECT_TRUE(host.toolbar_checks[Command::SubGrid]);
  // Both switched with one repaint, and an option needs no new curves.
  EXPECT_EQ(host.repaints, repaints + 1);
  // Both on: both off, again with one repaint.
  run_command(state, host, Command::GridBoth);
  EXPECT_EQ(option(kOptGrid) + option(kOptSubGrid), 0);
  EXPECT_EQ(host.repaints, repaints + 2);
  EXPECT_EQ(host.recomputing_repaints, recomputes);
}

TEST_F(HandlerTest, UnchangedLineWidthOrPaletteDoesNothing) {
  option(kOptLineWidth) = 2;
  option(kOptPalette) = 1;
  const int repaints = host.repaints;
  EXPECT_TRUE(run_command(state, host, line_width_command(2)));
  EXPECT_TRUE(run_command(state, host, palette_command(1)));
  EXPECT_EQ(host.repaints, repaints);
  run_command(state, host, line_width_command(3));
  run_command(state, host, palette_command(2));
  EXPECT_EQ(option(kOptLineWidth), 3);
  EXPECT_EQ(state.current_colours()[0], scheme_colour(2, 0));
  EXPECT_EQ(host.repaints, repaints + 2);
  EXPECT_TRUE(command_state(state, palette_command(2)).checked);
  EXPECT_FALSE(command_state(state, line_width_command(2)).checked);
}

TEST_F(HandlerTest, TogglesFlipTheOptionAndItsButton) {
  for (Command id :
       {Command::Axes, Command::Grid, Command::SubGrid, Command::TickLabels, Command::TickMarks,
        Command::Border, Command::FunctionExpressions, Command::EqualScales}) {
    const bool before = command_state(state, id).checked;
    EXPECT_TRUE(run_command(state, host, id)) << command_number(id);
    EXPECT_NE(command_state(state, id).checked, before) << command_number(id);
    EXPECT_EQ(host.toolbar_checks[id], !before) << command_number(id);
  }
  run_command(state, host, Command::BoxedStyle);
  EXPECT_TRUE(command_state(state, Command::BoxedStyle).checked);
  EXPECT_FALSE(command_state(state, Command::CrossedStyle).checked);
}

TEST_F(HandlerTest, SolverSwitchRepaintsOnlyOnTheDiffEquSurface) {
  int repaints = host.repaints;
  run_command(state, host, Command::SolverSwitch);
  EXPECT_EQ(option(kOptSolverSwitch), 1);
  EXPECT_EQ(host.repaints, repaints);
  switch_surface(state, host, kPanelDiffEqu, true);
  repaints = host.repaints;
  run_command(state, host, Command::SolverSwitch);
  EXPECT_EQ(host.repaints, repaints + 1);
}

// The points are found with the curves: the toggle recomputes, and only the
// function panel has them.
TEST_F(HandlerTest, MarkPointsRecomputesOnTheFunctionPanelOnly) {
  EXPECT_FALSE(command_state(state, Command::MarkPoints).checked);  // off at a first start
  const int recomputes = host.recomputing_repaints;
  EXPECT_TRUE(run_command(state, host, Command::MarkPoints));
  EXPECT_EQ(option(kOptMarkPoints), 1);
  EXPECT_TRUE(command_state(state, Command::MarkPoints).checked);
  EXPECT_EQ(host.recomputing_repaints, recomputes + 1);
  switch_surface(state, host, kPanelIntegral, true);
  EXPECT_FALSE(command_state(state, Command::MarkPoints).enabled);
  const int repaints = host.repaints;
  run_command(state, host, Command::MarkPoints);
  EXPECT_EQ(option(kOptMarkPoints), 0);
  EXPECT_EQ(host.repaints, repaints);
}

TEST_F(HandlerTest, SurfaceSwitchSetsTheButtonsFromTheNewPanel) {
  state.panels[kPanelIntegral].options[kOptAxes] = 0;
  state.panels[kPanelIntegral].options[kOptEqualScales] = 1;
  switch_surface(state, host, 7, true);  // clamped to 2
  EXPECT_EQ(state.surface(), 2);
  switch_surface(state, host, kPanelIntegral, true);
  EXPECT_FALSE(host.toolbar_checks[Command::Axes]);
  EXPECT_TRUE(host.toolbar_checks[Command::EqualScales]);
  EXPECT_EQ(host.toolbar_checks.size(), 8u);
  state.current().document.title = "a.kvl";
  update_title(state, host);
  EXPECT_EQ(host.title, "Kurvaline - a.kvl");
}

// Each command takes the path its row of the table names: the window's work
// reaches the host as a window command, the session's and the view's never.
TEST_F(HandlerTest, EveryCommandTakesThePathItsRowNames) {
  EXPECT_FALSE(command_state(state, Command::Save).enabled);  // not modified
  state.current().document.modified = true;
  EXPECT_TRUE(command_state(state, Command::Save).enabled);
  EXPECT_FALSE(run_command(state, host, static_cast<Command>(4099)));
  EXPECT_FALSE(command_state(state, static_cast<Command>(4099)).enabled);
  for (const CommandInfo& info : command_table()) {
    host.window_commands.clear();
    EXPECT_TRUE(run_command(state, host, info.id)) << command_number(info.id);
    const std::vector<Command> expected =
        info.path == CommandPath::Window ? std::vector<Command>{info.id} : std::vector<Command>{};
    EXPECT_EQ(host.window_commands, expected) << command_number(info.id);
  }
}

TEST_F(HandlerTest, UndoItemWithNothingToUndo) {
  const CommandState undo = command_state(state, Command::Undo);
  EXPECT_EQ(undo.text, "&Rückgängig: \tStrg+Z");
  EXPECT_FALSE(undo.enabled);
  save_bounds(state.current_undo(), state.current(), kUndoScroll);
  state.current().range[kXMin].value -= 1;
  refresh_view(state, host, REFRESH_CHECK_RANGES | REFRESH_MODIFIED | REFRESH_RECOMPUTE);
  EXPECT_EQ(command_state(state, Command::Undo).text, "&Rückgängig: Scrollen\tStrg+Z");
  EXPECT_TRUE(command_state(state, Command::Undo).enabled);
}

TEST_F(HandlerTest, OneInstanceIsWrittenOnlyAfterARead) {
  host.file_readable = false;
  run_command(state, host, Command::OneInstance);
  EXPECT_EQ(host.saves, 0);
  EXPECT_FALSE(state.prefs.one_instance);
  host.file_readable = true;
  host.file_one_instance = true;  // another instance switched it on
  run_command(state, host, Command::OneInstance);
  EXPECT_EQ(host.saves, 1);
  EXPECT_FALSE(host.file_one_instance);
}

TEST_F(HandlerTest, ResetAsksAndKeepsTheSurface) {
  switch_surface(state, host, kPanelDiffEqu, true);
  option(kOptGrid) = 0;
  state.prefs.toolbar = false;
  host.answer = MessageResult::Cancel;
  run_command(state, host, Command::ResetSettings);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "Sämtliche Einstellungen zurücksetzen?");
  EXPECT_EQ(option(kOptGrid), 0);
  host.answer = MessageResult::Ok;
  run_command(state, host, Command::ResetSettings);
  EXPECT_EQ(state.surface(), kPanelDiffEqu);
  EXPECT_TRUE(state.prefs.toolbar);
  EXPECT_TRUE(host.toolbars_shown);
  EXPECT_EQ(option(kOptGrid) != 0, host.toolbar_checks[Command::Grid]);
}

TEST_F(HandlerTest, FullScreenRestoresTheBarsAndWindow) {
  const DialogRect window = host.metrics.window;
  run_command(state, host, Command::FullScreen);
  EXPECT_TRUE(host.full_screen);
  EXPECT_FALSE(host.toolbars_shown);
  EXPECT_FALSE(host.status_bar_shown);
  EXPECT_TRUE(persistent_prefs(state).toolbar);  // what the settings file keeps
  EXPECT_TRUE(command_state(state, Command::FullScreen).checked);
  run_command(state, host, Command::FullScreen);
  EXPECT_TRUE(host.toolbars_shown);
  EXPECT_TRUE(host.status_bar_shown);
  EXPECT_TRUE(state.prefs.toolbar);
  EXPECT_EQ(host.metrics.window.left, window.left);
  EXPECT_EQ(host.metrics.window.right, window.right);
}

TEST_F(HandlerTest, ConfirmedDialogSwitchesSurfaceCancelledOnlyRepaints) {
  host.confirm_dialog = false;
  run_command(state, host, Command::IntegralDialog);
  EXPECT_EQ(state.surface(), kPanelFunction);
  EXPECT_FALSE(state.formula_dialog_open);
  host.confirm_dialog = true;
  run_command(state, host, Command::IntegralDialog);
  EXPECT_EQ(state.surface(), kPanelIntegral);
  EXPECT_EQ(host.dialogs, (std::vector<int>{1, 1}));
  state.formula_dialog_open = true;  // already open: only focused
  run_command(state, host, Command::OpenCurrentDialog);
  EXPECT_EQ(host.dialog_focus, 1);
}

TEST(StartState, PanelChecksRepairLineWidthAndPalette) {
  ShellState state;
  make_start_state(state);
  state.panels[0].options[kOptLineWidth] = 8;  // "010" read as octal
  state.panels[1].options[kOptLineWidth] = 7;
  state.panels[2].options[kOptPalette] = -4;
  state.panels[0].options[kOptPalette] = 3;
  state.prefs.surface = 5;
  check_drawing_panels(state);
  EXPECT_EQ(state.panels[0].options[kOptLineWidth], 1);
  EXPECT_EQ(state.panels[1].options[kOptLineWidth], 3);
  EXPECT_EQ(state.panels[2].options[kOptPalette], 0);
  EXPECT_EQ(state.panels[0].options[kOptPalette], 2);
  EXPECT_EQ(state.surface(), 2);
  // No panel holds its undo ring before its first view change.
  EXPECT_FALSE(state.undo[2].available());
  save_bounds(state.undo[2], state.panels[2], kUndoZoom);
  EXPECT_TRUE(state.undo[2].available());
  EXPECT_TRUE(state.double_buffering && state.length_limit && !state.ready);
}

}  // namespace
}  // namespace kv
