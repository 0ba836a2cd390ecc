#include "tools/assets/icon.h"

#include <algorithm>

#include "tools/assets/blocks.h"

namespace assets {
namespace {

// Four columns by four rows of block colours (0 = none): a Z piece falling
// onto an L and an O that lie on the floor.
constexpr int kCells = 4;
constexpr int kLayout[kCells][kCells] = {
    {1, 1, 0, 0},
    {0, 1, 1, 0},
    {6, 0, 4, 4},
    {6, 6, 4, 4},
};

// Sides that border another colour or the outside are drawn closed, so each
// piece shows as one shape, as on the play screen.
int EdgeMask(int row, int column) {
  const int k = kLayout[row][column];
  auto same = [&](int r, int c) { return r >= 0 && c >= 0 && r < kCells && c < kCells && kLayout[r][c] == k; };
  return (same(row - 1, column) ? 0 : kTopClosed) | (same(row, column + 1) ? 0 : kRightClosed) |
         (same(row + 1, column) ? 0 : kBottomClosed) | (same(row, column - 1) ? 0 : kLeftClosed);
}

}  // namespace

platform::RgbaPicture DrawIcon(const IndexCanvas& sheet, const Palette& palette, int size) {
  // The blocks at their own size, 20 pixels a cell.
  const int side = kCells * kTileSize;
  RgbCanvas art(side, side);
  IndexCanvas cover(side, side, 0);
  for (int r = 0; r < kCells; ++r) {
    for (int c = 0; c < kCells; ++c) {
      const int k = kLayout[r][c];
      if (k == 0) continue;
      const int mask = EdgeMask(r, c);
      for (int y = 0; y < kTileSize; ++y) {
        for (int x = 0; x < kTileSize; ++x) {
          art.At(c * kTileSize + x, r * kTileSize + y) = palette.Get(sheet.At(mask * kTileSize + x, (k - 1) * kTileSize + y));
          cover.At(c * kTileSize + x, r * kTileSize + y) = 1;
        }
      }
    }
  }
  // Resampled by area: each icon pixel is the mean of the art it covers, so
  // the small sizes stay smooth and the large ones keep sharp block edges.
  platform::RgbaPicture icon{size, size, std::vector<uint8_t>(static_cast<size_t>(size) * size * 4, 0)};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const int x0 = x * side / size, x1 = std::max(x0 + 1, (x + 1) * side / size);
      const int y0 = y * side / size, y1 = std::max(y0 + 1, (y + 1) * side / size);
      float r = 0, g = 0, b = 0, a = 0;
      for (int sy = y0; sy < y1; ++sy) {
        for (int sx = x0; sx < x1; ++sx) {
          if (!cover.At(sx, sy)) continue;
          const Colour& c = art.At(sx, sy);
          r += c.r;
          g += c.g;
          b += c.b;
          a += 1;
        }
      }
      const float area = static_cast<float>((x1 - x0) * (y1 - y0));
      uint8_t* out = icon.rgba.data() + (static_cast<size_t>(y) * size + x) * 4;
      if (a > 0) {
        out[0] = static_cast<uint8_t>(std::clamp(r / a, 0.0f, 1.0f) * 255.0f + 0.5f);
        out[1] = static_cast<uint8_t>(std::clamp(g / a, 0.0f, 1.0f) * 255.0f + 0.5f);
        out[2] = static_cast<uint8_t>(std::clamp(b / a, 0.0f, 1.0f) * 255.0f + 0.5f);
        out[3] = static_cast<uint8_t>(a / area * 255.0f + 0.5f);
      }
    }
  }
  return icon;
}

}  // namespace assets
