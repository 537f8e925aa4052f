// Opening and saving from the window's side: what a refused file leaves,
// how a read document reaches the panel, the save names, and the chain of
// the save question.
#include <gtest/gtest.h>

#include "fake_host.h"
#include "formats/document.h"
#include "session/commands.h"
#include "session/document_commands.h"
#include "session_test_support.h"

namespace kv {
namespace {

struct FakeDialogs : DocumentDialogs {
  bool ask_open_path(const std::string& start, std::string& path) override {
    open_starts.push_back(start);
    if (open_answer.empty()) return false;
    path = open_answer;
    return true;
  }
  bool ask_save_path(const std::string& proposal, std::string& path) override {
    save_proposals.push_back(proposal);
    if (save_answer.empty()) return false;
    path = save_answer;
    return true;
  }
  std::string open_answer, save_answer;  // "": the user cancels
  std::vector<std::string> open_starts, save_proposals;
};

class DocumentCommands : public ::testing::Test {
 protected:
  DocumentCommands() : host(state) { start_ready(state, host); }

  std::string file(const char* name) const { return dir.path + "/" + name; }

  // A saved integral panel whose options differ from the start state.
  std::string integral_document() {
    DocumentData doc = capture_document(state.panels[kPanelIntegral]);
    doc.formula = "sin(x)";
    doc.options[kOptGrid] = 0;
    doc.options[kOptPalette] = 2;
    doc.options[kOptBoxedStyle] = 1;
    const std::string path = file("igl.kvl");
    EXPECT_TRUE(write_file_replacing(path, [&](ByteSink& sink) { return write_document(sink, doc); }));
    return path;
  }

  TempDir dir;
  ShellState state;
  FakeHost host;
  FakeDialogs dialogs;
};

// The window's test shows the message and the unchanged panels; here the
// opens without a dialog, which stay quiet.
TEST_F(DocumentCommands, RefusedFileIsQuietWhenNotAskedForTheName) {
  write_text(file("bad.kvl"), std::string(4000, 'x'));
  const std::string before = state.panels[kPanelFunction].source;
  EXPECT_FALSE(open_document(state, host, dialogs, file("bad.kvl")));  // dropped
  EXPECT_FALSE(open_document(state, host, dialogs, file("missing.kvl")));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(state.panels[kPanelFunction].source, before);
  EXPECT_TRUE(state.current().document.path.empty());
}

TEST_F(DocumentCommands, OpenSwitchesOptionsThroughTheirCommandsWithoutPainting) {
  const std::string path = integral_document();
  const int repaints = host.repaints;
  ASSERT_TRUE(open_document(state, host, dialogs, path));
  EXPECT_EQ(host.repaints, repaints);  // the after-open refresh paints, not the commands
  EXPECT_EQ(state.surface(), kPanelIntegral);
  const PanelRecord& p = state.current();
  EXPECT_EQ(p.source, "sin(x)");
  EXPECT_EQ(p.option(kOptGrid), 0);
  EXPECT_FALSE(host.toolbar_checks.at(Command::Grid));  // the button follows as for a user's click
  EXPECT_EQ(p.option(kOptBoxedStyle), 1);
  EXPECT_EQ(state.colours[kPanelIntegral].entries, build_colour_table(2).entries);
  EXPECT_EQ(p.document.path, path);
  EXPECT_EQ(p.document.title, "igl.kvl");
  EXPECT_FALSE(p.document.modified);
  EXPECT_EQ(state.prefs.last_dir, dir.path);
  EXPECT_TRUE(state.ready);
}

// Each option an open may change reaches the document's value through the
// command it is turned into: a change sent to the wrong command (x for y
// units, crossed for boxed) leaves the option as the panel had it.
TEST_F(DocumentCommands, EveryOptionChangeReachesTheDocumentsValue) {
  const OptionIndex toggles[] = {kOptYUnitsPi, kOptXUnitsPi, kOptSolverSwitch, kOptBorder,
                                 kOptFunctionExpressions, kOptTickLabels, kOptTickMarks,
                                 kOptAxes, kOptSubGrid, kOptGrid, kOptEqualScales};
  for (int round = 0; round < 2; ++round) {
    DocumentData doc = capture_document(state.current());
    doc.panel_index = state.surface();
    for (const OptionIndex o : toggles) doc.options[o] = !state.current().option(o);
    doc.options[kOptBoxedStyle] = !state.current().option(kOptBoxedStyle);
    doc.options[kOptPalette] = (state.current().option(kOptPalette) + 1) % 3;
    doc.options[kOptLineWidth] = state.current().option(kOptLineWidth) % 3 + 1;
    apply_document(state, host, doc);
    for (const OptionIndex o : toggles) EXPECT_EQ(state.current().option(o), doc.options[o]) << o;
    for (const OptionIndex o : {kOptBoxedStyle, kOptPalette, kOptLineWidth})
      EXPECT_EQ(state.current().option(o), doc.options[o]) << o;
  }
}

TEST_F(DocumentCommands, SaveNamesAndDialogStart) {
  state.prefs.last_dir = dir.path;
  state.current().document.modified = true;
  dialogs.save_answer = file("plot.txt");  // the dialog answered a name of another type
  ASSERT_TRUE(save_document(state, host, dialogs, false));
  EXPECT_EQ(dialogs.save_proposals.back(), file("unbenannt.kvl"));
  EXPECT_EQ(state.current().document.path, file("plot.txt.kvl"));
  EXPECT_EQ(state.current().document.title, "plot.txt.kvl");
  EXPECT_FALSE(state.current().document.modified);

  // Saving again under the panel's name asks nothing.
  ASSERT_TRUE(save_document(state, host, dialogs, false));
  EXPECT_EQ(dialogs.save_proposals.size(), 1u);
  // Another panel without a name starts where the last document went.
  state.prefs.surface = kPanelDiffEqu;
  dialogs.save_answer.clear();
  EXPECT_FALSE(save_document(state, host, dialogs, false));
  EXPECT_EQ(dialogs.save_proposals.back(), file("unbenannt.kvl"));
  dialogs.open_answer.clear();
  EXPECT_FALSE(open_document(state, host, dialogs, ""));
  EXPECT_EQ(dialogs.open_starts.back(), dir.path);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(DocumentCommands, FailedSaveKeepsTheDocumentModifiedAndUnnamed) {
  state.current().document.modified = true;
  dialogs.save_answer = dir.path + "/no/such/folder/a.kvl";
  EXPECT_FALSE(save_document(state, host, dialogs, true));
  EXPECT_EQ(host.messages, std::vector<std::string>{kDocumentSaveFailed});
  EXPECT_TRUE(state.current().document.modified);
  EXPECT_TRUE(state.current().document.path.empty());
}

TEST_F(DocumentCommands, SaveQuestionChain) {
  struct Case {
    bool modified, alert;
    MessageResult answer;
    bool dialog_saves;
    MessageResult result;
    bool asked;
  };
  const Case cases[] = {
      {false, true, MessageResult::Cancel, false, MessageResult::Yes, false},
      {true, false, MessageResult::Cancel, false, MessageResult::Yes, false},
      {true, true, MessageResult::No, false, MessageResult::No, true},
      {true, true, MessageResult::Cancel, true, MessageResult::Cancel, true},
      {true, true, MessageResult::Yes, true, MessageResult::Yes, true},
      {true, true, MessageResult::Yes, false, MessageResult::Cancel, true},  // dialog cancelled
  };
  for (const Case& c : cases) {
    state.current().document = DocumentPart{};
    state.current().document.modified = c.modified;
    state.prefs.alert_save_file = c.alert;
    host.messages.clear();
    host.answer = c.answer;
    dialogs.save_answer = c.dialog_saves ? file("q.kvl") : "";
    EXPECT_EQ(ask_to_save(state, host, dialogs), c.result);
    EXPECT_EQ(!host.messages.empty(), c.asked);
    const bool saved = c.asked && c.result == MessageResult::Yes;
    EXPECT_EQ(state.current().document.modified, c.modified && !saved);
  }
}

TEST_F(DocumentCommands, OpenStopsWhenTheSaveQuestionIsCancelled) {
  const std::string path = integral_document();
  state.current().document.modified = true;
  host.answer = MessageResult::Cancel;
  EXPECT_FALSE(open_document(state, host, dialogs, path));
  EXPECT_EQ(state.surface(), kPanelFunction);
  EXPECT_TRUE(dialogs.open_starts.empty());
}

// Unsaved work in a panel that is not shown is never dropped unasked: closing
// asks for every modified drawing panel, showing each first, and Cancel at
// any of them keeps the window; an opened document asks for the panel it
// replaces.
TEST_F(DocumentCommands, EveryModifiedPanelIsOfferedBeforeClosing) {
  state.panels[kPanelFunction].document.modified = true;
  state.panels[kPanelDiffEqu].document.modified = true;
  host.answer = MessageResult::No;
  EXPECT_EQ(ask_to_save_all(state, host, dialogs), MessageResult::Yes);
  EXPECT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(state.surface(), kPanelDiffEqu);

  host.messages.clear();
  host.answer = MessageResult::Cancel;
  EXPECT_EQ(ask_to_save_all(state, host, dialogs), MessageResult::Cancel);
  EXPECT_EQ(host.messages.size(), 1u);

  state.prefs.alert_save_file = false;
  host.messages.clear();
  EXPECT_EQ(ask_to_save_all(state, host, dialogs), MessageResult::Yes);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(DocumentCommands, OpenAsksForThePanelTheDocumentReplaces) {
  const std::string path = integral_document();
  state.panels[kPanelIntegral].document.modified = true;
  host.answer = MessageResult::Cancel;
  EXPECT_FALSE(open_document(state, host, dialogs, path));
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_NE(state.panels[kPanelIntegral].source, "sin(x)");

  host.answer = MessageResult::No;
  EXPECT_TRUE(open_document(state, host, dialogs, path));
  EXPECT_EQ(state.panels[kPanelIntegral].source, "sin(x)");
}

}  // namespace
}  // namespace kv
