// The font set is read on a second thread while the window is being built.
//
// The first text the window measures would otherwise wait, on the only
// thread, for the system's font configuration (a few dozen XML files) and
// then for the toolkit's list of every installed font: on a desktop with a
// modest number of fonts that is a third of the time to the first picture.
// Both steps are the same whichever thread runs them, so the window gets
// the same fonts.
//
//   FontWarmup fonts;          // before the toolkit starts: the configuration
//   QApplication app(...);
//   const auto list = fonts.read_font_list();  // the thread goes on to the list
//   ...                        // work that measures no text
//   fonts.wait_for_configuration();   // before the first text is measured
//
// The toolkit guards its list itself: a window that measures text before
// the thread has finished the list waits for it, and the list is read once.
// The configuration has no such guard (two threads would each read it), so
// the first text waits for wait_for_configuration. The object read_font_list
// returns joins the thread when it goes, before the toolkit's application
// object that was made before it; without it the thread ends after the
// configuration.
#pragma once

#include <latch>
#include <thread>

namespace kv {

class FontWarmup {
 public:
  FontWarmup();
  ~FontWarmup();
  FontWarmup(const FontWarmup&) = delete;
  FontWarmup& operator=(const FontWarmup&) = delete;

  // Ends the thread when it goes.
  class [[nodiscard]] ListReading {
   public:
    explicit ListReading(FontWarmup& owner) : owner_(owner) {}
    ~ListReading() { owner_.join(); }
    ListReading(const ListReading&) = delete;
    ListReading& operator=(const ListReading&) = delete;

   private:
    FontWarmup& owner_;
  };

  // Call once, after the toolkit's application object is made.
  ListReading read_font_list();
  void wait_for_configuration();

 private:
  void join();

  std::latch configured_{1};
  std::latch toolkit_{1};
  bool list_wanted_ = false;
  bool signalled_ = false;
  std::thread thread_;
};

}  // namespace kv
