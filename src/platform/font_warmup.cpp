// The font set read on a second thread; see the header.
#include "platform/font_warmup.h"

#include <fontconfig/fontconfig.h>

#include <QCoreApplication>
#include <QFontDatabase>

namespace kv {

FontWarmup::FontWarmup()
    : thread_([this] {
        FcInit();
        configured_.count_down();
        toolkit_.wait();
        if (list_wanted_) QFontDatabase::families();
      }) {}

FontWarmup::~FontWarmup() { join(); }

FontWarmup::ListReading FontWarmup::read_font_list() {
  list_wanted_ = QCoreApplication::instance() != nullptr;
  signalled_ = true;
  toolkit_.count_down();
  return ListReading(*this);
}

void FontWarmup::join() {
  if (!thread_.joinable()) return;
  // Not asked for the list: the thread ends after the configuration.
  if (!signalled_) toolkit_.count_down();
  signalled_ = true;
  thread_.join();
}

void FontWarmup::wait_for_configuration() { configured_.wait(); }

}  // namespace kv
