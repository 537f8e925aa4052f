// A window that records what the session layer asks of it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "model/settings_defaults.h"
#include "session/refresh.h"
#include "session/shell_host.h"
#include "session/shell_state.h"

namespace kv {

class FakeHost : public ShellHost {
 public:
  explicit FakeHost(ShellState& state) : state_(state) {
    metrics.client = {0, 0, 800, 600};
    metrics.status_bar_height = 20;
    metrics.frame_width = 16;
    metrics.frame_height = 60;
    metrics.window = {100, 100, 916, 760};
    metrics.screen = {0, 0, 1920, 1080};
  }

  void repaint_now() override {
    ++repaints;
    if (state_.recompute_curves) ++recomputing_repaints;
    after_paint(state_, *this);
  }
  WindowMetrics window_metrics() override { return metrics; }
  void show_toolbars(bool shown) override { toolbars_shown = shown; }
  void show_status_bar(bool shown) override { status_bar_shown = shown; }
  void set_toolbar_check(Command id, bool checked) override { toolbar_checks[id] = checked; }
  void set_title(const std::string& t) override { title = t; }
  void set_status_text(const std::string& t) override { status_texts.push_back(t); }
  void error_box(const std::string& text) override { messages.push_back(text); }
  MessageResult message_box(const std::string& text, const std::string&, MessageButtons,
                            MessageIcon, bool* alert) override {
    messages.push_back(text);
    if (alert != nullptr) *alert = !tick_do_not_ask;
    return answer;
  }
  void enter_full_screen() override { full_screen = true; }
  void leave_full_screen(const DialogRect& window) override {
    full_screen = false;
    metrics.window = window;
  }
  void restore_from_maximised() override { metrics.maximised = false; }
  void set_window_rect(const DialogRect& window) override { metrics.window = window; }
  void close_window() override { ++close_requests; }
  void bring_to_foreground() override {}
  void post_command(Command id) override { posted.push_back(id); }
  bool run_formula_dialog(int panel) override {
    dialogs.push_back(panel);
    return confirm_dialog;
  }
  void focus_formula_dialog() override { ++dialog_focus; }
  void hide_value_tooltip() override {}
  void refresh_value_tooltip() override {}
  bool run_window_command(Command id, const std::string&) override {
    window_commands.push_back(id);
    return true;
  }
  bool load_one_instance(UserPrefs& prefs) override {
    if (file_readable) prefs.one_instance = file_one_instance;
    return file_readable;
  }
  bool save_one_instance(const UserPrefs& prefs) override {
    file_one_instance = prefs.one_instance;
    ++saves;
    return true;
  }
  bool reset_settings(ShellState& state) override {
    state.prefs = UserPrefs{};
    for (int i = 0; i < kDrawingPanelCount; ++i) apply_panel_defaults(state.panels[i], i);
    return true;
  }

  WindowMetrics metrics;
  int repaints = 0;
  int recomputing_repaints = 0;  // repaints that were to compute the curves anew
  bool toolbars_shown = true;
  bool status_bar_shown = true;
  bool full_screen = false;
  std::map<Command, bool> toolbar_checks;
  std::string title;
  std::vector<std::string> status_texts;
  std::vector<std::string> messages;
  MessageResult answer = MessageResult::Ok;
  bool tick_do_not_ask = false;  // the box's "Nicht mehr nachfragen"
  int close_requests = 0;
  std::vector<Command> posted;
  std::vector<int> dialogs;
  bool confirm_dialog = true;
  int dialog_focus = 0;
  std::vector<Command> window_commands;
  bool file_readable = true;
  bool file_one_instance = false;
  int saves = 0;

 private:
  ShellState& state_;
};

// A started program: start state, shown and ready.
inline void start_ready(ShellState& state, FakeHost& host) {
  make_start_state(state);
  switch_surface(state, host, 0, true);
  state.ready = true;
}

}  // namespace kv
