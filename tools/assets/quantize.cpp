#include "tools/assets/quantize.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace assets {
namespace {

// Green counts most and blue least in how far apart two colours look.
constexpr float kWeightR = 3.0f, kWeightG = 4.0f, kWeightB = 2.0f;

float Distance(Colour a, Colour b) {
  float dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return kWeightR * dr * dr + kWeightG * dg * dg + kWeightB * db * db;
}

// A histogram cell of 5 bits per component: how much weight fell into it
// and the exact mean of the colours that did.
struct Bin {
  double weight = 0;
  double r = 0, g = 0, b = 0;
  Colour Mean() const {
    return {static_cast<float>(r / weight), static_cast<float>(g / weight), static_cast<float>(b / weight)};
  }
};

int BinOf(Colour c) {
  auto q = [](float v) { return std::clamp(static_cast<int>(v * 32.0f), 0, 31); };
  return (q(c.r) << 10) | (q(c.g) << 5) | q(c.b);
}

float Component(Colour c, int axis) { return axis == 0 ? c.r : axis == 1 ? c.g : c.b; }

struct Box {
  std::vector<int> bins;  // indices into the used-bin list
  double error = 0;       // weighted squared spread around the mean
  int axis = 0;           // the axis of largest spread
};

struct UsedBin {
  Colour colour;
  double weight;
};

void Measure(Box& box, const std::vector<UsedBin>& used) {
  double w = 0, sum[3] = {0, 0, 0};
  for (int i : box.bins) {
    w += used[i].weight;
    for (int a = 0; a < 3; ++a) sum[a] += used[i].weight * Component(used[i].colour, a);
  }
  double var[3] = {0, 0, 0};
  for (int i : box.bins) {
    for (int a = 0; a < 3; ++a) {
      double d = Component(used[i].colour, a) - sum[a] / w;
      var[a] += used[i].weight * d * d;
    }
  }
  const double weights[3] = {kWeightR, kWeightG, kWeightB};
  box.error = 0;
  box.axis = 0;
  double best = -1;
  for (int a = 0; a < 3; ++a) {
    box.error += weights[a] * var[a];
    if (weights[a] * var[a] > best) {
      best = weights[a] * var[a];
      box.axis = a;
    }
  }
}

std::vector<Colour> MedianCut(const std::vector<UsedBin>& used, int count) {
  std::vector<Box> boxes(1);
  for (int i = 0; i < static_cast<int>(used.size()); ++i) boxes[0].bins.push_back(i);
  Measure(boxes[0], used);
  while (static_cast<int>(boxes.size()) < count) {
    int pick = -1;
    for (int i = 0; i < static_cast<int>(boxes.size()); ++i) {
      if (boxes[i].bins.size() < 2) continue;
      if (pick < 0 || boxes[i].error > boxes[pick].error) pick = i;
    }
    if (pick < 0) break;
    Box& box = boxes[pick];
    const int axis = box.axis;
    std::stable_sort(box.bins.begin(), box.bins.end(), [&](int a, int b) {
      return Component(used[a].colour, axis) < Component(used[b].colour, axis);
    });
    double total = 0;
    for (int i : box.bins) total += used[i].weight;
    double run = 0;
    size_t cut = 1;
    for (size_t k = 0; k + 1 < box.bins.size(); ++k) {
      run += used[box.bins[k]].weight;
      cut = k + 1;
      if (run >= total / 2) break;
    }
    Box upper;
    upper.bins.assign(box.bins.begin() + static_cast<ptrdiff_t>(cut), box.bins.end());
    box.bins.resize(cut);
    Measure(box, used);
    Measure(upper, used);
    boxes.push_back(std::move(upper));
  }
  std::vector<Colour> centres;
  for (const Box& box : boxes) {
    double w = 0, r = 0, g = 0, b = 0;
    for (int i : box.bins) {
      w += used[i].weight;
      r += used[i].weight * used[i].colour.r;
      g += used[i].weight * used[i].colour.g;
      b += used[i].weight * used[i].colour.b;
    }
    centres.push_back({static_cast<float>(r / w), static_cast<float>(g / w), static_cast<float>(b / w)});
  }
  return centres;
}

void Refine(const std::vector<UsedBin>& used, std::vector<Colour>& centres, int passes) {
  for (int pass = 0; pass < passes; ++pass) {
    std::vector<double> w(centres.size(), 0), r(centres.size(), 0), g(centres.size(), 0), b(centres.size(), 0);
    for (const UsedBin& bin : used) {
      size_t best = 0;
      float bestDistance = std::numeric_limits<float>::max();
      for (size_t c = 0; c < centres.size(); ++c) {
        float d = Distance(bin.colour, centres[c]);
        if (d < bestDistance) {
          bestDistance = d;
          best = c;
        }
      }
      w[best] += bin.weight;
      r[best] += bin.weight * bin.colour.r;
      g[best] += bin.weight * bin.colour.g;
      b[best] += bin.weight * bin.colour.b;
    }
    for (size_t c = 0; c < centres.size(); ++c) {
      if (w[c] > 0) {
        centres[c] = {static_cast<float>(r[c] / w[c]), static_cast<float>(g[c] / w[c]),
                      static_cast<float>(b[c] / w[c])};
      }
    }
  }
}

}  // namespace

void ChoosePaletteColours(const std::vector<ColourSource>& sources, Palette& palette, int first, int count) {
  std::vector<Bin> bins(32768);
  for (const ColourSource& source : sources) {
    const RgbCanvas& picture = *source.picture;
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        if (source.mask && source.mask->At(x, y) == 0) continue;
        Colour c = Clamp(picture.At(x, y));
        Bin& bin = bins[BinOf(c)];
        bin.weight += source.weight;
        bin.r += source.weight * c.r;
        bin.g += source.weight * c.g;
        bin.b += source.weight * c.b;
      }
    }
  }
  std::vector<UsedBin> used;
  for (const Bin& bin : bins) {
    if (bin.weight > 0) used.push_back({bin.Mean(), bin.weight});
  }
  std::vector<Colour> centres;
  if (!used.empty()) {
    centres = MedianCut(used, count);
    Refine(used, centres, 8);
  }
  // Entries that the pictures do not need repeat the last colour.
  for (int i = 0; i < count; ++i) {
    Colour c = centres.empty() ? Colour{} : centres[std::min<size_t>(i, centres.size() - 1)];
    palette.Set(first + i, c);
  }
}

int NearestEntry(const Palette& palette, int first, int count, Colour c) {
  int best = first;
  float bestDistance = std::numeric_limits<float>::max();
  for (int i = first; i < first + count; ++i) {
    float d = Distance(c, palette.Get(i));
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

void MapToPalette(const RgbCanvas& picture, const IndexCanvas* mask, const Palette& palette, int first, int count,
                  float dither, IndexCanvas& out) {
  // Nearest entries, remembered per 6-bit colour.
  std::vector<int16_t> cache(1 << 18, -1);
  auto nearest = [&](Colour c) {
    int key = (To6Bit(c.r) << 12) | (To6Bit(c.g) << 6) | To6Bit(c.b);
    if (cache[key] < 0) cache[key] = static_cast<int16_t>(NearestEntry(palette, first, count, c));
    return cache[key];
  };
  const int w = picture.width;
  std::vector<Colour> errorThis(w + 2), errorNext(w + 2);
  for (int y = 0; y < picture.height; ++y) {
    std::fill(errorNext.begin(), errorNext.end(), Colour{});
    const bool leftToRight = (y % 2) == 0;
    for (int k = 0; k < w; ++k) {
      const int x = leftToRight ? k : w - 1 - k;
      if (mask && mask->At(x, y) == 0) continue;
      Colour want = Clamp(Add(picture.At(x, y), errorThis[x + 1]));
      int index = nearest(want);
      out.At(x, y) = static_cast<uint8_t>(index);
      if (dither <= 0) continue;
      Colour got = palette.Get(index);
      Colour e = Scale(Colour{want.r - got.r, want.g - got.g, want.b - got.b}, dither / 16.0f);
      const int ahead = leftToRight ? 1 : -1;
      errorThis[x + 1 + ahead] = Add(errorThis[x + 1 + ahead], Scale(e, 7));
      errorNext[x + 1 - ahead] = Add(errorNext[x + 1 - ahead], Scale(e, 3));
      errorNext[x + 1] = Add(errorNext[x + 1], Scale(e, 5));
      errorNext[x + 1 + ahead] = Add(errorNext[x + 1 + ahead], Scale(e, 1));
    }
    std::swap(errorThis, errorNext);
  }
}

}  // namespace assets
