// The deep-space scenery shared by the play background, the title, the menu
// and the closing logo: nebulae, stars, planets, glass panels with steel
// frames and the game's pieces drifting in space.
#pragma once

#include <cstdint>

#include "tools/assets/canvas.h"
#include "tools/assets/shading.h"

namespace assets {

struct NebulaColours {
  Colour top, bottom;  // the dark sky, from top to bottom
  Colour cloudA, cloudB;
  float density = 1.0f;  // how much cloud shows
};

void PaintNebula(RgbCanvas& canvas, const NebulaColours& colours, uint32_t seed, float scale);
// `count` stars, a few of them bright with a four-pointed glint.
void PaintStars(RgbCanvas& canvas, int count, uint32_t seed, float brightness);

struct PlanetLook {
  float cx = 0, cy = 0, radius = 100;
  Colour bandA, bandB, bandC;  // the cloud bands of its surface
  Colour atmosphere;           // the glow around its lit edge
  float lightX = 0.6f, lightY = -0.5f;  // where the sun stands, as a direction
  float bandTilt = 0.15f;
  uint32_t seed = 1;
};
void PaintPlanet(RgbCanvas& canvas, const PlanetLook& look);

// A dark glass pane over the scenery with a bevelled steel frame.
void PaintGlassPanel(RgbCanvas& canvas, int x0, int y0, int x1, int y1, float radius, float frame);


// One of the game's pieces floating in space: `shape` is four rows of four
// characters ('#' a block), drawn turned by `angle` radians around (cx, cy),
// each block `block` pixels, its front face lit and glossy, with sides
// `depth` pixels deep.
void PaintFloatingPiece(RgbCanvas& canvas, const char* const shape[4], Colour colour, float cx, float cy, float block,
                        float angle, float depth, float haze);

// Glossy coloured plastic: lit, with a soft sheen over the upper part of a
// shape whose top is at `top` and bottom at `bottom`.
Colour GlossyPlastic(const Surfel& s, Colour base, float top, float bottom);

}  // namespace assets
