// Key positions by name in the browser: SDL's names for the settings file,
// and what the player's keyboard shows at a position, as the page learnt it
// (page_interface.js: the browser's layout map where it has one, else the
// keys typed so far).
#include <emscripten.h>

#include <string>

#include "platform/key_positions.h"
#include "platform/web/dom_keyboard.h"
#include "platform/web/key_position_names.h"

namespace platform {
namespace {

// Writes the text the key with this DOM code types on the player's layout
// into `out`; false when the page knows none (or runs under node) or it
// does not fit, which no single character fails to do.
EM_JS(int, PageKeyLabel, (const char* code, char* out, int size), {
  const labels = Module['keyLabels'];
  const label = labels ? labels.get(UTF8ToString(code)) : undefined;
  if (typeof label != 'string' || lengthBytesUTF8(label) >= size) return 0;
  stringToUTF8(label, out, size);
  return 1;
});

}  // namespace

std::string KeyPositionName(int position) { return web::NameOfKeyPosition(position); }

std::optional<int> KeyPositionFromName(const std::string& name) { return web::KeyPositionOfName(name); }

std::string KeyPositionLabel(int position) {
  const std::optional<const char*> code = web::DomCodeOfKeyPosition(position);
  char typed[16] = "";
  if (!code || !PageKeyLabel(*code, typed, sizeof typed)) typed[0] = '\0';
  return web::LabelOfKey(position, typed);
}

}  // namespace platform
