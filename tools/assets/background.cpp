#include "tools/assets/background.h"

#include <cmath>

#include "tools/assets/palettes.h"
#include "tools/assets/quantize.h"
#include "tools/assets/shading.h"
#include "tools/assets/space.h"

namespace assets {
namespace {

constexpr int kWidth = 640, kHeight = 480;

// One glass band across the top holds every text. One player: points,
// level and rows at the left (x 4..200, y 14..112), the key legend at the
// right (x 436..628, y 14..196). Two players: the narrow columns x 8..56 and
// x 592..640 (y 28..210) and the style name between the wells. The wells
// stand in front of it. The band has no edge inside the screen apart from
// its rims, so the hiscore table, drawn over the same background, is crossed
// by no frame: its heading and first lines sit on the glass, and the bottom
// rim (y 208..212) falls between two of its lines.
struct Band {
  int x0, y0, x1, y1;
  float radius, frame;
};
constexpr Band kTextBand{0, 4, 640, 212, 9, 4};

}  // namespace

IndexCanvas DrawPlayBackground(Palette& palette) {
  RgbCanvas art(kWidth, kHeight);
  NebulaColours nebula;
  nebula.top = Rgb8(4, 6, 22);
  nebula.bottom = Rgb8(14, 6, 30);
  nebula.cloudA = Rgb8(120, 30, 130);
  nebula.cloudB = Rgb8(20, 80, 150);
  nebula.density = 0.8f;
  PaintNebula(art, nebula, 7, 190.0f);
  PaintStars(art, 700, 1234, 0.9f);
  PlanetLook giant;
  giant.cx = 40;
  giant.cy = 640;
  giant.radius = 330;
  giant.bandA = Rgb8(130, 70, 50);
  giant.bandB = Rgb8(80, 34, 60);
  giant.bandC = Rgb8(170, 130, 110);
  giant.atmosphere = Rgb8(80, 110, 210);
  giant.lightX = 0.7f;
  giant.lightY = -0.8f;
  giant.seed = 5;
  PaintPlanet(art, giant);
  PlanetLook moon;
  moon.cx = 560;
  moon.cy = 330;
  moon.radius = 46;
  moon.bandA = Rgb8(100, 106, 136);
  moon.bandB = Rgb8(60, 64, 96);
  moon.bandC = Rgb8(140, 146, 170);
  moon.atmosphere = Rgb8(70, 90, 190);
  moon.lightX = -0.6f;
  moon.lightY = -0.7f;
  moon.bandTilt = -0.3f;
  moon.seed = 9;
  PaintPlanet(art, moon);
  PaintGlassPanel(art, kTextBand.x0, kTextBand.y0, kTextBand.x1, kTextBand.y1, kTextBand.radius, kTextBand.frame);

  ChoosePaletteColours({{&art, nullptr, 1.0f}}, palette, kBackgroundFirst, kBackgroundCount);
  IndexCanvas picture(kWidth, kHeight);
  MapToPalette(art, nullptr, palette, kBackgroundFirst, kBackgroundCount, 0.75f, picture);
  return picture;
}

}  // namespace assets
