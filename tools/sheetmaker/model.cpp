#include "model.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "canvas.h"

Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float Length(Vec3 a) { return std::sqrt(Dot(a, a)); }
Vec3 Normalise(Vec3 a) {
  const float l = Length(a);
  return l > 0 ? a * (1.0f / l) : Vec3{0, 0, 1};
}

int Model::AddMaterial(const Material& m) {
  materials.push_back(m);
  return static_cast<int>(materials.size()) - 1;
}

namespace {

// Two axes perpendicular to a direction, the first as level as possible.
void Across(Vec3 dir, Vec3* u, Vec3* v) {
  const Vec3 d = Normalise(dir);
  Vec3 side = Cross(d, Vec3{0, 0, 1});
  if (Length(side) < 1e-3f) side = Cross(d, Vec3{0, 1, 0});
  *u = Normalise(side);
  *v = Normalise(Cross(*u, d));
}

Vec3 TurnZ(Vec3 p, float c, float s) { return {p.x * c - p.y * s, p.x * s + p.y * c, p.z}; }

}  // namespace

void Model::Bone(Vec3 a, Vec3 b, float radius, int material, float radius2) {
  const Vec3 d = b - a;
  const float len = Length(d);
  Vec3 u, v;
  Across(d, &u, &v);
  Solid s;
  s.material = material;
  s.centre = (a + b) * 0.5f;
  if (radius2 >= 0.0f) {  // a tapering cone from a to b, with round ends
    s.shape = Shape::kCone;
    s.ax = u * radius;
    s.ay = v * radius;
    s.az = Normalise(d) * std::max(0.01f, len * 0.5f);
    s.taper = radius > 0 ? radius2 / radius : 1.0f;
    solids.push_back(s);
    Ball(a, radius, radius, radius, material);
    Ball(b, radius2, radius2, radius2, material);
    return;
  }
  s.ax = u * radius;
  s.ay = v * radius;
  s.az = Normalise(d) * (len * 0.5f + radius * 0.6f);
  solids.push_back(s);
}

void Model::Ball(Vec3 c, float rx, float ry, float rz, int material) {
  Solid s;
  s.centre = c;
  s.ax = {rx, 0, 0};
  s.ay = {0, ry, 0};
  s.az = {0, 0, rz};
  s.material = material;
  solids.push_back(s);
}

void Model::Box(Vec3 c, Vec3 half, int material, float turn) {
  Solid s;
  s.shape = Shape::kBox;
  s.centre = c;
  const float co = std::cos(turn), si = std::sin(turn);
  s.ax = TurnZ({half.x, 0, 0}, co, si);
  s.ay = TurnZ({0, half.y, 0}, co, si);
  s.az = {0, 0, half.z};
  s.material = material;
  solids.push_back(s);
}

void Model::Cylinder(Vec3 c, float r, float halfHeight, int material, float taper) {
  Solid s;
  s.shape = taper < 0 ? Shape::kCylinder : Shape::kCone;
  s.taper = taper;
  s.centre = c;
  s.ax = {r, 0, 0};
  s.ay = {0, r, 0};
  s.az = {0, 0, halfHeight};
  s.material = material;
  solids.push_back(s);
}

void Model::Cone(Vec3 base, Vec3 tip, float radius, int material, float tipRadius) {
  Vec3 u, v;
  const Vec3 d = tip - base;
  Across(d, &u, &v);
  Solid s;
  s.shape = Shape::kCone;
  s.centre = (base + tip) * 0.5f;
  s.ax = u * radius;
  s.ay = v * radius;
  s.az = d * 0.5f;
  s.taper = radius > 0 ? tipRadius / radius : 0.0f;
  s.material = material;
  solids.push_back(s);
}

void Model::Line(Vec3 a, Vec3 b, int material, float width) { sticks.push_back({a, b, material, width}); }

void Model::Turn(float radians) {
  const float c = std::cos(radians), s = std::sin(radians);
  for (Solid& so : solids) {
    so.centre = TurnZ(so.centre, c, s);
    so.ax = TurnZ(so.ax, c, s);
    so.ay = TurnZ(so.ay, c, s);
    so.az = TurnZ(so.az, c, s);
  }
  for (Stick& st : sticks) {
    st.a = TurnZ(st.a, c, s);
    st.b = TurnZ(st.b, c, s);
  }
  for (Mark& mk : marks) mk.p = TurnZ(mk.p, c, s);
  for (Triangle& t : triangles) {
    t.a = TurnZ(t.a, c, s);
    t.b = TurnZ(t.b, c, s);
    t.c = TurnZ(t.c, c, s);
  }
}

void Model::Move(Vec3 by) {
  for (Solid& so : solids) so.centre = so.centre + by;
  for (Stick& st : sticks) {
    st.a = st.a + by;
    st.b = st.b + by;
  }
  for (Mark& mk : marks) mk.p = mk.p + by;
  for (Triangle& t : triangles) {
    t.a = t.a + by;
    t.b = t.b + by;
    t.c = t.c + by;
  }
}

void Model::Append(const Model& other) {
  const int base = static_cast<int>(materials.size());
  materials.insert(materials.end(), other.materials.begin(), other.materials.end());
  for (Solid s : other.solids) {
    s.material += base;
    solids.push_back(s);
  }
  for (Stick s : other.sticks) {
    s.material += base;
    sticks.push_back(s);
  }
  marks.insert(marks.end(), other.marks.begin(), other.marks.end());
  for (Triangle t : other.triangles) {
    t.material += base;
    triangles.push_back(t);
  }
}

namespace {

constexpr float kFar = std::numeric_limits<float>::max();

// The nearest hit of a ray (local origin o, local direction d) with a unit
// shape; its distance and local normal.
bool Hit(const Solid& s, Vec3 o, Vec3 d, float* t, Vec3* n) {
  switch (s.shape) {
    case Shape::kEllipsoid: {
      const float a = Dot(d, d), b = 2 * Dot(o, d), c = Dot(o, o) - 1;
      const float disc = b * b - 4 * a * c;
      if (disc < 0) return false;
      const float r = (-b - std::sqrt(disc)) / (2 * a);
      *t = r;
      *n = o + d * r;
      return true;
    }
    case Shape::kBox: {
      float tmin = -kFar, tmax = kFar;
      int axis = 0;
      float sign = 1;
      const float oo[3] = {o.x, o.y, o.z}, dd[3] = {d.x, d.y, d.z};
      for (int i = 0; i < 3; ++i) {
        if (std::fabs(dd[i]) < 1e-9f) {
          if (oo[i] < -1 || oo[i] > 1) return false;
          continue;
        }
        float t1 = (-1 - oo[i]) / dd[i], t2 = (1 - oo[i]) / dd[i];
        float sg = -1;
        if (t1 > t2) {
          std::swap(t1, t2);
          sg = 1;
        }
        if (t1 > tmin) {
          tmin = t1;
          axis = i;
          sign = sg;
        }
        tmax = std::min(tmax, t2);
        if (tmin > tmax) return false;
      }
      *t = tmin;
      *n = {axis == 0 ? sign : 0.0f, axis == 1 ? sign : 0.0f, axis == 2 ? sign : 0.0f};
      return true;
    }
    case Shape::kCylinder:
    case Shape::kCone: {
      const bool cone = s.shape == Shape::kCone;
      const float ka = cone ? (1 + s.taper) / 2 : 1.0f, kb = cone ? (s.taper - 1) / 2 : 0.0f;
      float best = kFar;
      Vec3 bestN;
      // The side: x^2 + y^2 = (ka + kb z)^2.
      const float A = d.x * d.x + d.y * d.y - kb * kb * d.z * d.z;
      const float B = 2 * (o.x * d.x + o.y * d.y - (ka + kb * o.z) * kb * d.z);
      const float C = o.x * o.x + o.y * o.y - (ka + kb * o.z) * (ka + kb * o.z);
      if (std::fabs(A) > 1e-9f) {
        const float disc = B * B - 4 * A * C;
        if (disc >= 0) {
          const float sq = std::sqrt(disc);
          for (float r : {(-B - sq) / (2 * A), (-B + sq) / (2 * A)}) {
            const Vec3 p = o + d * r;
            if (p.z < -1 || p.z > 1 || ka + kb * p.z < 0) continue;
            if (r < best) {
              best = r;
              bestN = {p.x, p.y, -kb * (ka + kb * p.z)};
            }
          }
        }
      }
      // The two caps.
      for (float z : {-1.0f, 1.0f}) {
        if (std::fabs(d.z) < 1e-9f) break;
        const float r = (z - o.z) / d.z;
        const Vec3 p = o + d * r;
        const float rad = cone ? (ka + kb * z) : 1.0f;
        if (p.x * p.x + p.y * p.y <= rad * rad && r < best) {
          best = r;
          bestN = {0, 0, z};
        }
      }
      if (best == kFar) return false;
      *t = best;
      *n = bestN;
      return true;
    }
  }
  return false;
}

struct Pixel {
  float depth = kFar;
  int material = -1;
  int solid = -1;
  float light = 0;
};

}  // namespace

void GroundShadow(Layer& out, float cx, float cy, float rx, float ry) {
  for (int y = 0; y < out.H(); ++y)
    for (int x = 0; x < out.W(); ++x) {
      const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
      const float d = dx * dx + dy * dy;
      if (d > 1.0f || out.On(x, y)) continue;
      out.Put(x, y, (d < 0.55f ? 0x70000000u : 0x48000000u) | (kInk & 0xFFFFFFu));
    }
}

void Render(const Model& m, const View& v, Layer& out, bool outline) {
  const float ce = std::cos(v.elevation), se = std::sin(v.elevation);
  const float stretch = 1.0f / ce;
  const Vec3 forward{0, -ce, -se}, up{0, -se, ce};
  const Vec3 light = Normalise(v.light);
  const int w = out.W(), h = out.H();
  std::vector<Pixel> px(static_cast<size_t>(w) * h);
  auto S = [&](Vec3 p) { return Vec3{p.x, p.y, p.z * stretch}; };
  // Prepared solids: heights stretched so that a unit of z is a pixel up the screen.
  struct Prep {
    Vec3 c, ax, ay, az;
    float ax2, ay2, az2, radius;
    float sx, sy;  // screen centre
  };
  std::vector<Prep> prep;
  for (const Solid& s : m.solids) {
    Prep p{S(s.centre), S(s.ax), S(s.ay), S(s.az), 0, 0, 0, 0, 0, 0};
    p.ax2 = Dot(p.ax, p.ax);
    p.ay2 = Dot(p.ay, p.ay);
    p.az2 = Dot(p.az, p.az);
    p.radius = Length(p.ax) + Length(p.ay) + Length(p.az) + 1;
    p.sx = p.c.x;
    p.sy = -Dot(p.c, up);
    prep.push_back(p);
  }
  struct PrepTri {
    Vec3 a, e1, e2, n;
  };
  std::vector<PrepTri> tris;
  for (const Triangle& t : m.triangles) {
    const Vec3 a = S(t.a), b = S(t.b), c = S(t.c);
    tris.push_back({a, b - a, c - a, Normalise(Cross(b - a, c - a))});
  }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float sx = x + 0.5f - v.originX, sy = y + 0.5f - v.originY;
      const Vec3 origin = Vec3{sx, 0, 0} + up * (-sy) - forward * 500.0f;
      Pixel& best = px[static_cast<size_t>(y) * w + x];
      for (size_t i = 0; i < prep.size(); ++i) {
        const Prep& p = prep[i];
        if (std::fabs(sx - p.sx) > p.radius || std::fabs(sy - p.sy) > p.radius) continue;
        const Vec3 q = origin - p.c;
        const Vec3 lo{Dot(q, p.ax) / p.ax2, Dot(q, p.ay) / p.ay2, Dot(q, p.az) / p.az2};
        const Vec3 ld{Dot(forward, p.ax) / p.ax2, Dot(forward, p.ay) / p.ay2, Dot(forward, p.az) / p.az2};
        float t;
        Vec3 n;
        if (!Hit(m.solids[i], lo, ld, &t, &n) || t >= best.depth) continue;
        Vec3 wn = Normalise(p.ax * (n.x / p.ax2) + p.ay * (n.y / p.ay2) + p.az * (n.z / p.az2));
        if (Dot(wn, forward) > 0) wn = wn * -1.0f;
        const Material& mat = m.materials[static_cast<size_t>(m.solids[i].material)];
        float lit = v.ambient + (1.08f - v.ambient) * std::max(0.0f, Dot(wn, light)) + 0.1f * wn.z;
        if (mat.shine > 0) {
          const Vec3 r = wn * (2 * Dot(wn, light)) - light;
          const float spec = std::max(0.0f, Dot(r, forward * -1.0f));
          lit += mat.shine * std::pow(spec, 12.0f);
        }
        if (mat.stripes > 0) {
          const Vec3 lp = lo + ld * t;
          const float len2 = std::max({p.ax2, p.ay2, p.az2});
          const float u = len2 == p.ax2 ? lp.x : len2 == p.ay2 ? lp.y : lp.z;
          if (std::sin(u * std::sqrt(len2) * mat.stripes * 6.2832f) > 0.55f) lit -= 0.45f;
        }
        if (mat.bumps > 0) lit += (Noise(x * 0.9f, y * 0.9f, static_cast<uint32_t>(m.solids[i].material) * 31u + 5u) - 0.5f) * mat.bumps;
        best = {t, m.solids[i].material, static_cast<int>(i), lit};
      }
      for (size_t i = 0; i < tris.size(); ++i) {
        const auto& tr = tris[i];
        // Moller-Trumbore.
        const Vec3 pv = Cross(forward, tr.e2);
        const float det = Dot(tr.e1, pv);
        if (std::fabs(det) < 1e-7f) continue;
        const Vec3 tv = origin - tr.a;
        const float u = Dot(tv, pv) / det;
        if (u < 0 || u > 1) continue;
        const Vec3 qv = Cross(tv, tr.e1);
        const float w2 = Dot(forward, qv) / det;
        if (w2 < 0 || u + w2 > 1) continue;
        const float t = Dot(tr.e2, qv) / det;
        if (t >= best.depth) continue;
        Vec3 n = tr.n;
        if (Dot(n, forward) > 0) n = n * -1.0f;
        const float lit = v.ambient + (1 - v.ambient) * std::max(0.0f, Dot(n, light)) + 0.1f * n.z;
        best = {t, m.triangles[i].material, 100000 + static_cast<int>(i) / 4, lit};
      }
    }
  // Sticks: lines of pixels with depth.
  for (const Stick& st : m.sticks) {
    const Vec3 a = S(st.a), b = S(st.b);
    auto project = [&](Vec3 p, float* sx, float* sy, float* depth) {
      *sx = p.x + v.originX;
      *sy = -Dot(p, up) + v.originY;
      *depth = Dot(p, forward) + 500.0f;
    };
    float ax, ay, ad, bx, by, bd;
    project(a, &ax, &ay, &ad);
    project(b, &bx, &by, &bd);
    const int steps = static_cast<int>(std::max(std::fabs(bx - ax), std::fabs(by - ay)) * 2) + 1;
    const Material& mat = m.materials[static_cast<size_t>(st.material)];
    for (int k = 0; k <= steps; ++k) {
      const float t = static_cast<float>(k) / steps;
      const float fx = ax + (bx - ax) * t, fy = ay + (by - ay) * t, d = ad + (bd - ad) * t - 0.5f;
      for (int wx = 0; wx < static_cast<int>(std::ceil(st.width)); ++wx) {
        const int ix = static_cast<int>(std::floor(fx)) + wx, iy = static_cast<int>(std::floor(fy));
        if (ix < 0 || iy < 0 || ix >= w || iy >= h) continue;
        Pixel& p = px[static_cast<size_t>(iy) * w + ix];
        if (d < p.depth) p = {d, st.material, -2 - static_cast<int>(&st - m.sticks.data()), wx == 0 ? 0.85f : 0.55f};
      }
    }
    (void)mat;
  }
  // Colours, with the edges of parts seen behind others darkened by a tone.
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Pixel& p = px[static_cast<size_t>(y) * w + x];
      if (p.material < 0) continue;
      const Material& mat = m.materials[static_cast<size_t>(p.material)];
      if (mat.flat) {
        out.Put(x, y, mat.flat);
        continue;
      }
      float lit = p.light;
      if (mat.glow) lit = 0.75f + 0.25f * lit;
      bool behind = false;
      for (int k = 0; k < 4; ++k) {
        const int nx = x + (k == 0) - (k == 1), ny = y + (k == 2) - (k == 3);
        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
        const Pixel& q = px[static_cast<size_t>(ny) * w + nx];
        if (q.material >= 0 && q.solid != p.solid && q.material != p.material && p.depth - q.depth > 2.5f) behind = true;
      }
      const Ramp& r = mat.ramp;
      const float step = 1.0f / std::max<size_t>(1, r.size() - 1);
      if (behind) lit -= step * 1.2f;
      out.Put(x, y, Tone(r, std::clamp(lit, 0.0f, 1.0f), x, y, mat.dither));
    }
  // Marks: a pixel where the point is not hidden behind the surface.
  for (const Mark& mk : m.marks) {
    const Vec3 p = S(mk.p);
    const int ix = static_cast<int>(std::floor(p.x + v.originX));
    const int iy = static_cast<int>(std::floor(-Dot(p, up) + v.originY));
    if (ix < 0 || iy < 0 || ix >= w || iy >= h) continue;
    const Pixel& q = px[static_cast<size_t>(iy) * w + ix];
    if (q.material >= 0 && Dot(p, forward) + 500.0f <= q.depth + 1.2f) out.Put(ix, iy, mk.colour);
  }
  if (!outline) return;
  std::vector<std::pair<int, int>> rim;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (px[static_cast<size_t>(y) * w + x].material >= 0) continue;
      for (int k = 0; k < 4; ++k) {
        const int nx = x + (k == 0) - (k == 1), ny = y + (k == 2) - (k == 3);
        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
        const Pixel& q = px[static_cast<size_t>(ny) * w + nx];
        if (q.material >= 0 && !m.materials[static_cast<size_t>(q.material)].noOutline) {
          rim.emplace_back(x, y);
          break;
        }
      }
    }
  for (auto [x, y] : rim) out.Put(x, y, kInk);
}
