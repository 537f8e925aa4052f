// The windows that float over the graph (the coordinate tooltip, the zoom
// box's edges) must never take the keyboard, the mouse or the focus from it,
// and must not flicker in the window manager's eyes: one set of flags for all.
#pragma once

#include <QWidget>

namespace kv {

inline constexpr Qt::WindowFlags kOverlayWindowFlags =
    Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus |
    Qt::NoDropShadowWindowHint;

inline void make_passive_overlay(QWidget* w) {
  w->setAttribute(Qt::WA_ShowWithoutActivating);
  w->setAttribute(Qt::WA_TransparentForMouseEvents);
  w->setAttribute(Qt::WA_OpaquePaintEvent);
  w->setFocusPolicy(Qt::NoFocus);
}

}  // namespace kv
