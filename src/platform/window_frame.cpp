#include "platform/window_frame.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

namespace kv {
namespace {

// A manager answers within a few milliseconds; a slower one is met by the
// placement that follows the frame.
constexpr auto kAnswerWait = std::chrono::milliseconds(150);
constexpr auto kLookInterval = std::chrono::milliseconds(1);

struct FreeReply {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

// The atoms the request needs, asked for together: one round trip to the
// X server instead of three.
struct Atoms {
  xcb_atom_t supported = XCB_ATOM_NONE, request = XCB_ATOM_NONE, frame = XCB_ATOM_NONE;
};

Atoms intern_atoms(xcb_connection_t* c) {
  const char* names[] = {"_NET_SUPPORTED", "_NET_REQUEST_FRAME_EXTENTS", "_NET_FRAME_EXTENTS"};
  xcb_intern_atom_cookie_t cookies[3];
  for (int i = 0; i < 3; ++i) {
    cookies[i] = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(names[i])), names[i]);
  }
  xcb_atom_t found[3];
  for (int i = 0; i < 3; ++i) {
    Reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(c, cookies[i], nullptr));
    found[i] = r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  }
  return {found[0], found[1], found[2]};
}

// The manager names what it supports on the root window.
bool supported(xcb_connection_t* c, xcb_window_t root, xcb_atom_t list, xcb_atom_t wanted) {
  if (list == XCB_ATOM_NONE || wanted == XCB_ATOM_NONE) return false;
  Reply<xcb_get_property_reply_t> r(xcb_get_property_reply(
      c, xcb_get_property(c, 0, root, list, XCB_ATOM_ATOM, 0, 4096), nullptr));
  if (!r || r->format != 32) return false;
  const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(r.get()));
  const int n = xcb_get_property_value_length(r.get()) / 4;
  for (int i = 0; i < n; ++i) {
    if (atoms[i] == wanted) return true;
  }
  return false;
}

std::optional<QMargins> extents(xcb_connection_t* c, xcb_window_t w, xcb_atom_t name) {
  Reply<xcb_get_property_reply_t> r(
      xcb_get_property_reply(c, xcb_get_property(c, 0, w, name, XCB_ATOM_CARDINAL, 0, 4), nullptr));
  if (!r || r->format != 32 || xcb_get_property_value_length(r.get()) != 16) return std::nullopt;
  uint32_t v[4];  // left, right, top, bottom
  std::memcpy(v, xcb_get_property_value(r.get()), sizeof v);
  return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                  static_cast<int>(v[3]));
}

}  // namespace

std::optional<QMargins> frame_before_show(QWidget& window) {
  auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                 : nullptr;
  xcb_connection_t* c = x11 != nullptr ? x11->connection() : nullptr;
  if (c == nullptr) return std::nullopt;
  const xcb_setup_t* setup = xcb_get_setup(c);
  const xcb_screen_iterator_t screen = xcb_setup_roots_iterator(setup);
  if (screen.rem == 0) return std::nullopt;
  const xcb_window_t root = screen.data->root;
  const Atoms atoms = intern_atoms(c);
  const xcb_atom_t request = atoms.request, frame = atoms.frame;
  if (frame == XCB_ATOM_NONE || !supported(c, root, atoms.supported, request)) return std::nullopt;

  const auto w = static_cast<xcb_window_t>(window.winId());
  xcb_client_message_event_t ask;
  std::memset(&ask, 0, sizeof ask);
  ask.response_type = XCB_CLIENT_MESSAGE;
  ask.format = 32;
  ask.window = w;
  ask.type = request;
  xcb_send_event(c, 0, root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                 reinterpret_cast<const char*>(&ask));
  xcb_flush(c);
  const auto until = std::chrono::steady_clock::now() + kAnswerWait;
  do {
    if (auto margins = extents(c, w, frame)) return margins;
    std::this_thread::sleep_for(kLookInterval);
  } while (std::chrono::steady_clock::now() < until);
  return std::nullopt;
}

}  // namespace kv
