// A small renderer of solid shapes for figures and objects: ellipsoids,
// boxes, cylinders and cones placed in three dimensions, seen from the south
// at the game's view angle, lit from the top left and banded into their
// material's ramp, then outlined in ink.
//
// World axes: x east, y south (towards the viewer), z up; one unit is one
// pixel. The origin is the point on the ground the figure stands on.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "palette.h"

struct Vec3 {
  float x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
inline float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Cross(Vec3 a, Vec3 b);
float Length(Vec3 a);
Vec3 Normalise(Vec3 a);

// A surface: the ramp it is shaded in, and how.
struct Material {
  Ramp ramp;
  float shine = 0.0f;     // > 0 adds a highlight tone (metal)
  bool glow = false;      // drawn in its ramp's light end, unshaded
  float bumps = 0.0f;     // noise on the light, for rough things (fur, stone)
  float dither = 0.35f;   // how wide the dithered band between tones is
  bool noOutline = false; // not outlined where it meets the background
  uint32_t flat = 0;      // when set, every pixel is exactly this colour (cycling keys)
  float stripes = 0.0f;   // > 0: dark bands across each solid's long axis, this many a pixel
};

enum class Shape { kEllipsoid, kBox, kCylinder, kCone };

// One solid: a unit shape (sphere, cube, cylinder or cone along its z from
// -1 to 1, the cone's radius going from 1 at z = -1 to `taper` at z = 1)
// stretched along three perpendicular half-axes and placed at a centre.
struct Solid {
  Shape shape = Shape::kEllipsoid;
  Vec3 centre, ax{1, 0, 0}, ay{0, 1, 0}, az{0, 0, 1};
  int material = 0;
  float taper = 0.0f;
};

// A thin stick drawn as a line of pixels with depth (blades, shafts, bows).
struct Stick {
  Vec3 a, b;
  int material = 0;
  float width = 1.0f;
};

// A flat triangle (wing membranes, sails, banners).
struct Triangle {
  Vec3 a, b, c;
  int material = 0;
};

// A single pixel drawn where a point of the surface shows (eyes, gems).
struct Mark {
  Vec3 p;
  uint32_t colour;
};

struct Model {
  std::vector<Material> materials;
  std::vector<Solid> solids;
  std::vector<Stick> sticks;
  std::vector<Mark> marks;
  std::vector<Triangle> triangles;

  int AddMaterial(const Material& m);
  // Solids along a bone from a to b: an ellipsoid (or cylinder) with the
  // given radius across.
  void Bone(Vec3 a, Vec3 b, float radius, int material, float radius2 = -1.0f);
  void Ball(Vec3 c, float rx, float ry, float rz, int material);
  // A box or cylinder turned by `turn` radians about z.
  void Box(Vec3 c, Vec3 half, int material, float turn = 0.0f);
  void Cylinder(Vec3 c, float r, float halfHeight, int material, float taper = -1.0f);
  void Cone(Vec3 base, Vec3 tip, float radius, int material, float tipRadius = 0.0f);
  void Line(Vec3 a, Vec3 b, int material, float width = 1.0f);
  void Dot(Vec3 p, uint32_t colour) { marks.push_back({p, colour}); }
  void Tri(Vec3 a, Vec3 b, Vec3 c, int material) { triangles.push_back({a, b, c, material}); }
  // Every solid and stick turned by an angle about z through the origin.
  void Turn(float radians);
  void Move(Vec3 by);
  void Append(const Model& other);
};

struct View {
  float elevation = 0.72f;  // radians above the horizon the viewer looks down from
  float originX = 12, originY = 21;  // screen position of the world origin
  Vec3 light{-0.55f, -0.45f, 0.70f};  // towards the light
  float ambient = 0.34f;
};

// A soft shadow on the ground round a point of the layer, cast to the bottom
// right: ink at low alpha, only where the layer is empty.
void GroundShadow(Layer& out, float cx, float cy, float rx, float ry);

// Draws the model into the layer (only where it is empty), outlines it in
// ink and darkens by a tone the edges of parts seen behind others.
void Render(const Model& m, const View& v, Layer& out, bool outline = true);
