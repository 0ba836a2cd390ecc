// The generator's output, made once per test program and written loose into
// the test's working directory, where the game's readers look first.
#pragma once

#include <string>

#include "tools/assets/generate.h"

namespace assets_test {

// Everything the generator makes (generated on first use).
const assets::GeneratedData& Generated();
// The bytes of one generated file; fails the test when it is missing.
const std::vector<uint8_t>& FileBytes(const std::string& name);
// The name under which the game's readers find a generated file.
std::string GeneratedPath(const std::string& name);
// Sets up the display (for surfaces) once.
void EnsureDisplay();

}  // namespace assets_test
