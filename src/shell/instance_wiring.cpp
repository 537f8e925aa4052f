// The main window among the other running instances; see the header.
#include "shell/instance_wiring.h"

#include "platform/instance_guard.h"
#include "session/commands.h"
#include "shell/main_window.h"

namespace kv {

void connect_instances(InstanceGuard& guard, MainWindow& window) {
  guard.set_open_handler([&window](const std::string& path) {
    if (window.isMinimized()) window.showNormal();
    window.bring_to_foreground();
    if (!path.empty()) window.execute(Command::Open, path);
  });
  guard.set_close_handler([&window] { window.close_for_other_instance(); });
  window.set_close_check([&guard, &window] {
    return ask_about_other_instances(guard, [&window](const std::string& text) {
      return window.message_box(text, kCaption, MessageButtons::YesNoCancel, MessageIcon::Question,
                                nullptr);
    });
  });
}

}  // namespace kv
