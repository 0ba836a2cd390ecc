#include "tools/assets/title.h"

#include <algorithm>
#include <cmath>

#include "tools/assets/display_letters.h"
#include "tools/assets/noise.h"
#include "tools/assets/palettes.h"
#include "tools/assets/quantize.h"
#include "tools/assets/shading.h"
#include "tools/assets/space.h"

namespace assets {
namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int kLogoHeight = 200;
constexpr int kScrollerTop = 466;  // the scroller's line: kept black

// The letters of the name on a grid of blocks, six wide and seven high:
// upright strokes two blocks thick, the others one, like the fonts.
constexpr int kLetterColumns = 6, kLetterRows = 7;
struct BlockLetter {
  char name;
  const char* rows[kLetterRows];
};
constexpr BlockLetter kLetters[] = {
    {'S', {".#####", "##....", "##....", ".####.", "....##", "....##", "#####."}},
    {'T', {"######", "..##..", "..##..", "..##..", "..##..", "..##..", "..##.."}},
    {'A', {".####.", "##..##", "##..##", "######", "##..##", "##..##", "##..##"}},
    {'K', {"##..##", "##.##.", "####..", "###...", "####..", "##.##.", "##..##"}},
    {'O', {".####.", "##..##", "##..##", "##..##", "##..##", "##..##", ".####."}},
    {'R', {"#####.", "##..##", "##..##", "#####.", "##.##.", "##..##", "##..##"}},
};

const BlockLetter& Letter(char c) {
  for (const BlockLetter& letter : kLetters) {
    if (letter.name == c) return letter;
  }
  return kLetters[0];
}

}  // namespace

RgbCanvas PaintBlockLogo(int canvasWidth, int canvasHeight, float block, float top, IndexCanvas& cover) {
  const char* name = "STAKKOR";
  const float gap = block * 7.0f / 13.0f;
  const int scale = 4;
  const float width = 7 * kLetterColumns * block + 6 * gap;
  const float left = std::floor((canvasWidth - width) / 2);
  const float depthX = block * 5.0f / 13.0f, depthY = block * 7.0f / 13.0f;
  const float bevel = block * 3.5f / 13.0f, rimWidth = std::max(1.5f, block * 2.5f / 13.0f);
  RgbCanvas art(canvasWidth, canvasHeight);
  // Each letter is worked out in a box of its own: the letter, its depth
  // and a margin for the rim.
  const int margin = static_cast<int>(std::ceil(rimWidth)) + 2;
  const int boxWidth = static_cast<int>(std::ceil(kLetterColumns * block + depthX)) + 2 * margin;
  const int boxHeight = static_cast<int>(std::ceil(kLetterRows * block + depthY)) + 2 * margin;
  struct LetterParts {
    IndexCanvas front, side;
    int x, y;  // the box's place on the canvas
  };
  std::vector<LetterParts> letters;
  IndexCanvas all(canvasWidth * scale, canvasHeight * scale);
  for (int n = 0; n < 7; ++n) {
    LetterParts parts;
    const float letterLeft = left + n * (kLetterColumns * block + gap);
    parts.x = static_cast<int>(std::floor(letterLeft)) - margin;
    parts.y = static_cast<int>(std::floor(top)) - margin;
    const float ox = letterLeft - parts.x, oy = top - parts.y;  // the letter's corner inside its box
    parts.front = IndexCanvas(boxWidth * scale, boxHeight * scale);
    const BlockLetter& letter = Letter(name[n]);
    for (int r = 0; r < kLetterRows; ++r) {
      for (int c = 0; c < kLetterColumns; ++c) {
        if (letter.rows[r][c] != '#') continue;
        FillBox(parts.front, (ox + c * block) * scale, (oy + r * block) * scale, (ox + (c + 1) * block) * scale,
                (oy + (r + 1) * block) * scale);
      }
    }
    // The sides: the face pushed back into the picture, step by step.
    parts.side = IndexCanvas(parts.front.width, parts.front.height);
    const int steps = static_cast<int>(depthY * scale);
    for (int k = 1; k <= steps; ++k) {
      int dx = static_cast<int>(std::lround(k * depthX / depthY)), dy = k;
      for (int y = 0; y + dy < parts.front.height; ++y) {
        for (int x = 0; x + dx < parts.front.width; ++x) {
          if (parts.front.At(x, y)) parts.side.At(x + dx, y + dy) = 1;
        }
      }
    }
    IndexCanvas whole = Union(parts.front, parts.side);
    for (int y = 0; y < whole.height; ++y) {
      for (int x = 0; x < whole.width; ++x) {
        if (whole.At(x, y)) all.Set(parts.x * scale + x, parts.y * scale + y, 1);
      }
    }
    letters.push_back(std::move(parts));
  }
  // The dark rim under everything, then all sides, then the faces on top.
  IndexCanvas rim = Grow(all, rimWidth * scale);
  Layer dark = PaintBevelled(rim, scale, 1.5f, false, [](const Surfel& s) {
    return Mix(Rgb8(4, 4, 16), Rgb8(30, 34, 70), s.height * 0.3f);
  });
  Composite(art, dark, 0, 0);
  for (int n = 0; n < 7; ++n) {
    Colour base = BlockColour(n + 1);
    Layer side = PaintBevelled(letters[n].side, scale, 1.0f, false, [base](const Surfel& s) {
      // The underside is darker than the right side.
      float shade = 0.28f + 0.22f * std::max(0.0f, s.nx) + 0.1f * (1.0f - s.height);
      return Scale(base, shade);
    });
    Composite(art, side, letters[n].x, letters[n].y);
  }
  for (int n = 0; n < 7; ++n) {
    Colour base = BlockColour(n + 1);
    const float letterTop = top - letters[n].y, letterBottom = letterTop + kLetterRows * block;
    const float x0 = left + n * (kLetterColumns * block + gap) - letters[n].x;
    const BlockLetter& letter = Letter(name[n]);
    Layer face = PaintBevelled(letters[n].front, scale, bevel, false, [&, base, x0](const Surfel& s) {
      Colour c = GlossyPlastic(s, base, letterTop, letterBottom);
      // Faint seams where two blocks of the letter meet, so it reads as
      // built from blocks.
      float u = (s.x - x0) / block, v = (s.y - letterTop) / block;
      float fu = u - std::floor(u), fv = v - std::floor(v);
      int c0 = static_cast<int>(std::floor(u)), r0 = static_cast<int>(std::floor(v));
      auto filled = [&](int c1, int r1) {
        return c1 >= 0 && c1 < kLetterColumns && r1 >= 0 && r1 < kLetterRows && letter.rows[r1][c1] == '#';
      };
      const float seam = 0.045f;
      bool groove = (fu < seam && filled(c0 - 1, r0)) || (fu > 1 - seam && filled(c0 + 1, r0)) ||
                    (fv < seam && filled(c0, r0 - 1)) || (fv > 1 - seam && filled(c0, r0 + 1));
      if (groove && s.height > 0.9f) c = Scale(c, 0.8f);
      return c;
    });
    Composite(art, face, letters[n].x, letters[n].y);
  }
  cover = CoverageMask(dark, 0.5f);
  return art;
}

namespace {

// The picture behind: a night sky over the curve of a planet at sunrise,
// with pieces of the game drifting through space.
RgbCanvas PaintTitle() {
  RgbCanvas art(kWidth, kHeight);
  NebulaColours nebula;
  nebula.top = Rgb8(2, 3, 14);
  nebula.bottom = Rgb8(40, 12, 56);
  nebula.cloudA = Rgb8(110, 30, 120);
  nebula.cloudB = Rgb8(20, 70, 140);
  nebula.density = 0.75f;
  PaintNebula(art, nebula, 31, 170.0f);
  PaintStars(art, 650, 77, 1.0f);
  // The planet: its horizon a wide arc, with the sun rising on its left.
  const float cx = 320, cy = 1810, radius = 1400;
  const float sunX = 196, sunY = 404;
  for (int y = 0; y < kScrollerTop; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
      float d = std::sqrt(dx * dx + dy * dy) - radius;  // < 0 on the planet
      float sx = x - sunX, sy = (y - sunY) * 2.2f;
      float sun = std::exp(-(sx * sx + sy * sy) / (2 * 90.0f * 90.0f));
      Colour& c = art.At(x, y);
      if (d > 0) {
        // Air above the horizon glows, most towards the sun.
        float air = std::exp(-d / 26.0f);
        c = Add(c, Scale(Mix(Rgb8(40, 110, 255), Rgb8(255, 150, 60), sun), air * (0.55f + 1.2f * sun)));
        c = Add(c, Scale(Rgb8(255, 120, 80), std::exp(-d / 90.0f) * 0.35f * sun));
      } else {
        // The night side of the planet, with a thin lit rim of air.
        float depth = -d;
        float ground = Fbm(x / 60.0f, (y - 380) / 14.0f, 4, 55);
        Colour surface = Mix(Rgb8(4, 6, 18), Rgb8(16, 24, 48), ground);
        float rim = std::exp(-depth / 5.0f);
        surface = Add(surface, Scale(Mix(Rgb8(80, 170, 255), Rgb8(255, 200, 120), sun), rim * (0.7f + 1.5f * sun)));
        surface = Add(surface, Scale(Rgb8(160, 60, 40), std::exp(-depth / 40.0f) * sun * 0.5f));
        c = surface;
      }
      // The sun's flare: a bright core and a long thin streak.
      float core = std::exp(-(sx * sx + (y - sunY) * (y - sunY)) / (2 * 7.0f * 7.0f));
      float streak = std::exp(-(y - sunY) * (y - sunY) / 3.0f) * std::exp(-std::fabs(sx) / 230.0f);
      c = Clamp(Add(c, Scale(Rgb8(255, 240, 210), core * 1.2f + streak * 0.55f)));
    }
  }
  struct Floating {
    const char* shape[4];
    int colour;
    float x, y, block, angle, haze;
  };
  const Floating pieces[] = {
      {{"....", "####", "....", "...."}, 5, 92, 66, 19, -0.38f, 0.0f},
      {{".#..", "###.", "....", "...."}, 7, 548, 62, 18, 0.52f, 0.0f},
      {{"##..", "##..", "....", "...."}, 3, 262, 44, 11, 0.25f, 0.45f},
      {{".##.", "##..", "....", "...."}, 4, 104, 352, 21, 0.32f, 0.0f},
      {{"##..", ".##.", "....", "...."}, 1, 536, 366, 20, -0.28f, 0.0f},
      {{"#...", "#...", "##..", "...."}, 2, 418, 326, 13, 1.1f, 0.35f},
      {{".#..", ".#..", "##..", "...."}, 6, 236, 330, 11, -0.8f, 0.5f},
      {{"###.", ".#..", "....", "...."}, 7, 380, 36, 9, 2.1f, 0.6f},
  };
  for (const Floating& p : pieces) {
    PaintFloatingPiece(art, p.shape, BlockColour(p.colour), p.x, p.y, p.block, p.angle, p.block * 0.45f, p.haze);
  }
  // A thin line of light over the scroller's black band.
  for (int x = 0; x < kWidth; ++x) {
    float t = std::fabs(x - 320.0f) / 320.0f;
    float glow = 1.0f - t * t;
    art.At(x, kScrollerTop - 3) = Scale(Rgb8(60, 90, 200), 0.6f * glow);
    art.At(x, kScrollerTop - 2) = Scale(Rgb8(200, 220, 255), glow);
    art.At(x, kScrollerTop - 1) = Scale(Rgb8(40, 50, 120), 0.5f * glow);
  }
  return art;
}

}  // namespace

TitlePictures DrawTitlePictures() {
  TitlePictures out;
  out.palette.Set(0, Colour{});
  SetFontColours(out.palette);

  IndexCanvas logoCover;
  RgbCanvas logoArt = PaintBlockLogo(kWidth, kLogoHeight, 13.0f, 40.0f, logoCover);
  ChoosePaletteColours({{&logoArt, &logoCover, 1.0f}}, out.palette, kLogoFirst, kLogoCount);
  out.logo = IndexCanvas(kWidth, kLogoHeight);
  MapToPalette(logoArt, &logoCover, out.palette, kLogoFirst, kLogoCount, 0.25f, out.logo);

  RgbCanvas titleArt = PaintTitle();
  IndexCanvas above(kWidth, kHeight);
  above.Fill(0, 0, kWidth, kScrollerTop, 1);
  ChoosePaletteColours({{&titleArt, &above, 1.0f}}, out.palette, kTitleFirst, kTitleCount);
  out.title = IndexCanvas(kWidth, kHeight);  // index 0 (black) below the line
  MapToPalette(titleArt, &above, out.palette, kTitleFirst, kTitleCount, 0.75f, out.title);
  return out;
}

}  // namespace assets
