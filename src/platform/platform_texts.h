// The texts of the windows the platform layer puts up for everyone: the
// buttons and check box of the message boxes and the printouts' job name
// and error. UTF-8.
#pragma once

namespace kv {

#define KV_TEXT(name, text) inline constexpr const char* name = text;
#include "platform/platform_texts.def"
#undef KV_TEXT

}  // namespace kv
