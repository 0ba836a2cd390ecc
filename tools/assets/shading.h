// Shapes with depth: masks rasterised at a finer scale, their distance
// fields, and bevelled, lit surfaces painted from them with smooth edges.
#pragma once

#include <functional>
#include <vector>

#include "tools/assets/canvas.h"

namespace assets {

struct Point {
  float x = 0, y = 0;
};

// ---- masks (nonzero inside) ----
void FillPolygon(IndexCanvas& mask, const std::vector<Point>& points, uint8_t value = 1);
void FillCircle(IndexCanvas& mask, float cx, float cy, float radius, uint8_t value = 1);
void FillEllipse(IndexCanvas& mask, float cx, float cy, float rx, float ry, uint8_t value = 1);
// A thick line with round ends.
void FillCapsule(IndexCanvas& mask, Point a, Point b, float radius, uint8_t value = 1);
void FillBox(IndexCanvas& mask, float x0, float y0, float x1, float y1, uint8_t value = 1);

// Distance of every pixel to the nearest pixel of the other kind (inside
// pixels measure to the outside and the other way round), in pixels.
std::vector<float> DistanceToEdge(const IndexCanvas& mask, bool inside);

// What the lighting needs to know about one point of a bevelled surface.
struct Surfel {
  float x = 0, y = 0;     // position in output pixels
  float nx = 0, ny = 0, nz = 1;  // unit normal, y pointing down the picture
  float depth = 0;        // distance from the edge, output pixels
  float height = 0;       // 0 at the edge, 1 on the flat top
};
using Material = std::function<Colour(const Surfel&)>;

// A painted shape: colour and coverage 0..1 per output pixel.
struct Layer {
  RgbCanvas colour;
  std::vector<float> coverage;
  float Coverage(int x, int y) const { return coverage[static_cast<size_t>(y) * colour.width + x]; }
};

// Paints the shape in `fineMask` (output size times `scale`) with a rounded
// bevel `bevel` output pixels wide (`chamfer` makes it a flat 45-degree
// slope instead), lit by `material`, averaged down to output pixels.
Layer PaintBevelled(const IndexCanvas& fineMask, int scale, float bevel, bool chamfer, const Material& material);

// Puts `layer` over `canvas` at (x, y), blending by coverage.
void Composite(RgbCanvas& canvas, const Layer& layer, int x, int y);
// Coverage of a layer as a mask: 1 where at least `threshold` covered.
IndexCanvas CoverageMask(const Layer& layer, float threshold);

// Light from the upper left, a little towards the viewer.
struct Light {
  float x = -0.5f, y = -0.7f, z = 0.6f;
};
// Diffuse plus specular shading of a base colour.
Colour Shade(Colour base, const Surfel& s, float ambient, float specular, float shininess, Light light = {});
// A chrome look: the surface reflects a sky above and a ground below.
// `level` (-1..1) says where a flat face looks: 1 high into the sky, 0 at
// the horizon, -1 at the ground; callers run it down across a letter.
Colour Chrome(const Surfel& s, float level, Colour sky, Colour horizon, Colour ground, Colour glint);

}  // namespace assets
