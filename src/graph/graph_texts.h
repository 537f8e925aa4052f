// The texts the drawing writes into the picture. UTF-8; the painter hands
// them to the device in Windows-1252.
#pragma once

namespace kv {

// The input hint of an empty panel, one line per "\n".
inline constexpr const char* kInputHint =
    "Funktion eingeben:\nEingabetaste\noder \"Graph\" im Menü\noder \"f(x)=\"-Knopf in der "
    "Werkzeugleiste\noder Mousegesture (rechte Maustaste) nach links oder rechts";

}  // namespace kv
