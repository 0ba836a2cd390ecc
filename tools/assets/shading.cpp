#include "tools/assets/shading.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace assets {

void FillPolygon(IndexCanvas& mask, const std::vector<Point>& points, uint8_t value) {
  if (points.size() < 3) return;
  float minY = points[0].y, maxY = points[0].y;
  for (const Point& p : points) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  int y0 = std::max(0, static_cast<int>(std::floor(minY))), y1 = std::min(mask.height - 1, static_cast<int>(std::ceil(maxY)));
  std::vector<float> crossings;
  for (int y = y0; y <= y1; ++y) {
    float sy = y + 0.5f;
    crossings.clear();
    for (size_t i = 0; i < points.size(); ++i) {
      Point a = points[i], b = points[(i + 1) % points.size()];
      if ((a.y <= sy && b.y > sy) || (b.y <= sy && a.y > sy)) {
        crossings.push_back(a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x));
      }
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
      int x0 = static_cast<int>(std::ceil(crossings[i] - 0.5f)), x1 = static_cast<int>(std::floor(crossings[i + 1] - 0.5f));
      for (int x = std::max(x0, 0); x <= std::min(x1, mask.width - 1); ++x) mask.At(x, y) = value;
    }
  }
}

void FillEllipse(IndexCanvas& mask, float cx, float cy, float rx, float ry, uint8_t value) {
  int y0 = std::max(0, static_cast<int>(cy - ry - 1)), y1 = std::min(mask.height - 1, static_cast<int>(cy + ry + 1));
  int x0 = std::max(0, static_cast<int>(cx - rx - 1)), x1 = std::min(mask.width - 1, static_cast<int>(cx + rx + 1));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
      if (dx * dx + dy * dy <= 1.0f) mask.At(x, y) = value;
    }
  }
}

void FillCircle(IndexCanvas& mask, float cx, float cy, float radius, uint8_t value) {
  FillEllipse(mask, cx, cy, radius, radius, value);
}

void FillCapsule(IndexCanvas& mask, Point a, Point b, float radius, uint8_t value) {
  int y0 = std::max(0, static_cast<int>(std::min(a.y, b.y) - radius - 1));
  int y1 = std::min(mask.height - 1, static_cast<int>(std::max(a.y, b.y) + radius + 1));
  int x0 = std::max(0, static_cast<int>(std::min(a.x, b.x) - radius - 1));
  int x1 = std::min(mask.width - 1, static_cast<int>(std::max(a.x, b.x) + radius + 1));
  float dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      float px = x + 0.5f - a.x, py = y + 0.5f - a.y;
      float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
      float ex = px - t * dx, ey = py - t * dy;
      if (ex * ex + ey * ey <= radius * radius) mask.At(x, y) = value;
    }
  }
}

void FillBox(IndexCanvas& mask, float x0, float y0, float x1, float y1, uint8_t value) {
  mask.Fill(static_cast<int>(std::lround(x0)), static_cast<int>(std::lround(y0)), static_cast<int>(std::lround(x1)),
            static_cast<int>(std::lround(y1)), value);
}

namespace {

// One-dimensional squared distance transform: the lower envelope of the
// parabolas rooted at every sample.
void Transform1D(const std::vector<double>& f, std::vector<double>& d, int n, std::vector<int>& v,
                 std::vector<double>& z) {
  const double inf = std::numeric_limits<double>::infinity();
  int k = 0;
  v[0] = 0;
  z[0] = -inf;
  z[1] = inf;
  auto meet = [&](int q, int p) {
    return ((f[q] + static_cast<double>(q) * q) - (f[p] + static_cast<double>(p) * p)) / (2.0 * (q - p));
  };
  for (int q = 1; q < n; ++q) {
    double s = meet(q, v[k]);
    while (s <= z[k]) {
      --k;
      s = meet(q, v[k]);
    }
    ++k;
    v[k] = q;
    z[k] = s;
    z[k + 1] = inf;
  }
  k = 0;
  for (int q = 0; q < n; ++q) {
    while (z[k + 1] < q) ++k;
    double dq = static_cast<double>(q - v[k]);
    d[q] = dq * dq + f[v[k]];
  }
}

}  // namespace

std::vector<float> DistanceToEdge(const IndexCanvas& mask, bool inside) {
  const int w = mask.width, h = mask.height;
  const double far = 1e20;
  std::vector<double> grid(static_cast<size_t>(w) * h);
  for (size_t i = 0; i < grid.size(); ++i) {
    bool in = mask.pixels[i] != 0;
    // Seeds are the pixels of the other kind; the border of the picture
    // counts as outside.
    grid[i] = (in == inside) ? far : 0.0;
  }
  const int n = std::max(w, h) + 1;
  std::vector<double> f(n), d(n), z(n + 1);
  std::vector<int> v(n);
  for (int x = 0; x < w; ++x) {
    for (int y = 0; y < h; ++y) f[y] = grid[static_cast<size_t>(y) * w + x];
    Transform1D(f, d, h, v, z);
    for (int y = 0; y < h; ++y) grid[static_cast<size_t>(y) * w + x] = d[y];
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) f[x] = grid[static_cast<size_t>(y) * w + x];
    Transform1D(f, d, w, v, z);
    for (int x = 0; x < w; ++x) grid[static_cast<size_t>(y) * w + x] = d[x];
  }
  std::vector<float> result(grid.size(), 0.0f);
  for (size_t i = 0; i < grid.size(); ++i) {
    bool in = mask.pixels[i] != 0;
    if (in != inside) continue;
    float dist = static_cast<float>(std::sqrt(grid[i]));
    if (inside) {
      // Pixels on the picture's border have the outside just beyond it.
      size_t x = i % w, y = i / w;
      float border = static_cast<float>(std::min(std::min(x, w - 1 - x), std::min(y, h - 1 - y))) + 1.0f;
      dist = std::min(dist, border);
    }
    result[i] = dist;
  }
  return result;
}

namespace {

// The smallest box (in output pixels) that holds every set sample, or an
// empty box.
struct Box {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool Empty() const { return x1 <= x0 || y1 <= y0; }
};

Box Bounds(const IndexCanvas& fine, int scale) {
  int minX = fine.width, minY = fine.height, maxX = -1, maxY = -1;
  for (int y = 0; y < fine.height; ++y) {
    const uint8_t* row = &fine.pixels[static_cast<size_t>(y) * fine.width];
    for (int x = 0; x < fine.width; ++x) {
      if (!row[x]) continue;
      minX = std::min(minX, x);
      maxX = std::max(maxX, x);
      minY = std::min(minY, y);
      maxY = std::max(maxY, y);
    }
  }
  Box box;
  if (maxX < 0) return box;
  box.x0 = minX / scale;
  box.y0 = minY / scale;
  box.x1 = maxX / scale + 1;
  box.y1 = maxY / scale + 1;
  return box;
}

Layer PaintBevelledWhole(const IndexCanvas& fineMask, int scale, float bevel, bool chamfer, const Material& material,
                         int offsetX, int offsetY) {
  const int w = fineMask.width / scale, h = fineMask.height / scale;
  Layer layer;
  layer.colour = RgbCanvas(w, h);
  layer.coverage.assign(static_cast<size_t>(w) * h, 0.0f);
  std::vector<float> dist = DistanceToEdge(fineMask, true);
  const float s = static_cast<float>(scale);
  // Heights in output pixels, so the slope is true to the picture.
  std::vector<float> heights(dist.size());
  for (size_t i = 0; i < dist.size(); ++i) {
    float d = (dist[i] - 0.5f) / s;
    if (d <= 0) {
      heights[i] = 0;
      continue;
    }
    float t = bevel > 0 ? std::min(d / bevel, 1.0f) : 1.0f;
    heights[i] = chamfer ? t * bevel : bevel * (1.0f - (1.0f - t) * (1.0f - t));
  }
  auto heightAt = [&](int fx, int fy) {
    fx = std::clamp(fx, 0, fineMask.width - 1);
    fy = std::clamp(fy, 0, fineMask.height - 1);
    return heights[static_cast<size_t>(fy) * fineMask.width + fx];
  };
  const float inv = 1.0f / (s * s);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      Colour sum{};
      int covered = 0;
      for (int sy = 0; sy < scale; ++sy) {
        for (int sx = 0; sx < scale; ++sx) {
          int fx = x * scale + sx, fy = y * scale + sy;
          if (fineMask.At(fx, fy) == 0) continue;
          ++covered;
          float gx = (heightAt(fx + 1, fy) - heightAt(fx - 1, fy)) * s / 2.0f;
          float gy = (heightAt(fx, fy + 1) - heightAt(fx, fy - 1)) * s / 2.0f;
          float len = std::sqrt(gx * gx + gy * gy + 1.0f);
          Surfel surfel;
          surfel.x = (fx + 0.5f) / s + offsetX;
          surfel.y = (fy + 0.5f) / s + offsetY;
          surfel.nx = -gx / len;
          surfel.ny = -gy / len;
          surfel.nz = 1.0f / len;
          surfel.depth = dist[static_cast<size_t>(fy) * fineMask.width + fx] / s;
          surfel.height = bevel > 0 ? heightAt(fx, fy) / bevel : 1.0f;
          sum = Add(sum, material(surfel));
        }
      }
      if (covered == 0) continue;
      layer.colour.At(x, y) = Scale(sum, 1.0f / covered);
      layer.coverage[static_cast<size_t>(y) * w + x] = covered * inv;
    }
  }
  return layer;
}

}  // namespace

Layer PaintBevelled(const IndexCanvas& fineMask, int scale, float bevel, bool chamfer, const Material& material) {
  const int w = fineMask.width / scale, h = fineMask.height / scale;
  // Work only on the part of the mask that is set, with a pixel of margin.
  Box box = Bounds(fineMask, scale);
  Layer layer;
  layer.colour = RgbCanvas(w, h);
  layer.coverage.assign(static_cast<size_t>(w) * h, 0.0f);
  if (box.Empty()) return layer;
  box.x0 = std::max(0, box.x0 - 1);
  box.y0 = std::max(0, box.y0 - 1);
  box.x1 = std::min(w, box.x1 + 1);
  box.y1 = std::min(h, box.y1 + 1);
  IndexCanvas part = fineMask.Crop(box.x0 * scale, box.y0 * scale, box.x1 * scale, box.y1 * scale);
  Layer small = PaintBevelledWhole(part, scale, bevel, chamfer, material, box.x0, box.y0);
  for (int y = box.y0; y < box.y1; ++y) {
    for (int x = box.x0; x < box.x1; ++x) {
      layer.colour.At(x, y) = small.colour.At(x - box.x0, y - box.y0);
      layer.coverage[static_cast<size_t>(y) * w + x] = small.Coverage(x - box.x0, y - box.y0);
    }
  }
  return layer;
}

void Composite(RgbCanvas& canvas, const Layer& layer, int x, int y) {
  for (int ly = 0; ly < layer.colour.height; ++ly) {
    for (int lx = 0; lx < layer.colour.width; ++lx) {
      int cx = x + lx, cy = y + ly;
      if (cx < 0 || cy < 0 || cx >= canvas.width || cy >= canvas.height) continue;
      float a = layer.Coverage(lx, ly);
      if (a <= 0) continue;
      canvas.At(cx, cy) = Mix(canvas.At(cx, cy), layer.colour.At(lx, ly), a);
    }
  }
}

IndexCanvas CoverageMask(const Layer& layer, float threshold) {
  IndexCanvas mask(layer.colour.width, layer.colour.height);
  for (size_t i = 0; i < mask.pixels.size(); ++i) mask.pixels[i] = layer.coverage[i] >= threshold ? 1 : 0;
  return mask;
}

Colour Shade(Colour base, const Surfel& s, float ambient, float specular, float shininess, Light light) {
  float len = std::sqrt(light.x * light.x + light.y * light.y + light.z * light.z);
  float lx = light.x / len, ly = light.y / len, lz = light.z / len;
  float diffuse = std::max(0.0f, s.nx * lx + s.ny * ly + s.nz * lz);
  // Blinn half vector with the viewer straight in front.
  float hx = lx, hy = ly, hz = lz + 1.0f;
  float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
  float glint = std::pow(std::max(0.0f, (s.nx * hx + s.ny * hy + s.nz * hz) / hl), shininess) * specular;
  float lit = ambient + (1.0f - ambient) * diffuse / lz;  // a flat top keeps its base colour
  return Add(Scale(base, lit), Colour{glint, glint, glint});
}

Colour Chrome(const Surfel& s, float level, Colour sky, Colour horizon, Colour ground, Colour glint) {
  // Reflect the view ray (0, 0, -1) about the normal: a face tilted up sees
  // the sky, one tilted down the ground.
  float ry = 2.0f * s.nz * s.ny;
  float t = std::clamp(level - 1.4f * ry, -1.0f, 1.0f);
  Colour c;
  if (t > 0.0f) {
    c = Mix(horizon, sky, std::pow(t, 0.5f));
  } else {
    c = Mix(ground, horizon, std::pow(1.0f + t, 6.0f));
  }
  Colour shine = Shade(Colour{}, s, 0, 1.0f, 30.0f);
  return Clamp(Add(c, Scale(glint, shine.r)));
}

}  // namespace assets
