// SCROLL.TXT: the title's scrolling line.
#pragma once

#include <cstdint>
#include <vector>

namespace assets {

std::vector<uint8_t> ScrollText();

}  // namespace assets
