// The game's icon for desktops: a few pieces from the block sheet, drawn
// at the sizes of the icon theme.
#pragma once

#include <vector>

#include "platform/png.h"
#include "tools/assets/canvas.h"

namespace assets {

// The sizes a desktop's icon theme asks for, in pixels a side.
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

// The icon at `size` x `size` pixels, see-through around the blocks.
platform::RgbaPicture DrawIcon(const IndexCanvas& sheet, const Palette& palette, int size);

}  // namespace assets
