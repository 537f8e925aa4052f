// The main window among the other running instances: what it does when
// another instance hands it a document or asks it to end, and the question
// about the others when it closes itself.
#pragma once

namespace kv {

class InstanceGuard;
class MainWindow;

// A hand-over raises the window (restored when minimised) and opens the
// document it names; a request to end closes the window without saving the
// settings, though a modified document is still offered for saving. Closing
// the window asks about the other instances after the save question. Both
// objects must outlive the event loop.
void connect_instances(InstanceGuard& guard, MainWindow& window);

}  // namespace kv
