// Things that move and shine: torch and camp fires, arrows and spell
// missiles, the red ornaments the game colour-cycles, glows and rings, path
// arrows, the marks of conditions over heads, the bursts of damage and
// healing, auras, animated water, lava, streams and insect swarms, and beams.
#include <algorithm>
#include <cmath>

#include "frame_map.h"
#include "tile_fields.h"

namespace {

constexpr float kPi = 3.14159265f;

uint32_t C(const char* name) { return Pal().Colour(name); }
Ramp Rp(const char* names) { return Pal().Make(names); }
uint32_t WithAlpha(uint32_t c, int a) { return (c & 0xFFFFFFu) | (static_cast<uint32_t>(std::clamp(a, 0, 255)) << 24); }

// A tongue of flame: base at (bx, by), height h, swaying with phase.
void Flame(Layer& l, float bx, float by, float w, float h, float phase, const Ramp& r) {
  for (int y = 0; y < l.H(); ++y)
    for (int x = 0; x < l.W(); ++x) {
      const float t = (by - (y + 0.5f)) / h;  // 0 at the base, 1 at the tip
      if (t < -0.15f || t > 1.0f) continue;
      const float sway = std::sin(phase + t * 3.0f) * t * w * 0.35f;
      const float half = w * (t < 0 ? 0.8f + t : std::sqrt(std::max(0.0f, 1 - t)) * (1 - t * 0.3f));
      const float d = std::fabs(x + 0.5f - (bx + sway)) / std::max(0.3f, half);
      if (d > 1) continue;
      const float heat = (1 - d) * 0.7f + (1 - t) * 0.5f + (TileNoise(x, y + phase * 3, 3, 3, 1, 18) - 0.5f) * 0.3f;
      l.Put(x, y, Tone(r, heat, x, y, 0.4f));
    }
}

// An arrow or spell missile along an angle (radians, counter-clockwise from
// east), centred in the frame.
void Missile(Layer& l, float angle, const std::string& kind) {
  const float cx = l.W() / 2.0f, cy = l.H() / 2.0f;
  const float dx = std::cos(angle), dy = -std::sin(angle);
  if (kind == "arrow") {
    l.Line(cx - dx * 6, cy - dy * 6, cx + dx * 5, cy + dy * 5, 1.0f, C("brown.3"));
    l.Line(cx + dx * 5, cy + dy * 5, cx + dx * 7, cy + dy * 7, 1.5f, C("grey.4"));
    const float px = -dy, py = dx;  // fletching
    l.Line(cx - dx * 6, cy - dy * 6, cx - dx * 4 + px * 1.5f, cy - dy * 4 + py * 1.5f, 1.0f, C("grey.5"));
    l.Line(cx - dx * 6, cy - dy * 6, cx - dx * 4 - px * 1.5f, cy - dy * 4 - py * 1.5f, 1.0f, C("red.3"));
    l.Outline(kInk);
    return;
  }
  const Ramp r = kind == "fire" ? Rp("red.2 fire.0 fire.1 fire.2 skin.2")
                 : kind == "acid" ? Rp("green.2 green.3 teal.2 green.5 skin.2")
                 : kind == "magic" ? Rp("purple.1 purple.2 purple.3 grey.5")
                                   : Rp("purple.2 purple.3 blue.5 grey.5");
  // A bright head and a tail fading behind it.
  for (int i = 0; i < 9; ++i) {
    const float t = i / 8.0f;
    const float rad = 2.6f * (1 - t) + 0.4f;
    l.Ellipse(cx + dx * (3 - i * 1.2f), cy + dy * (3 - i * 1.2f), rad, rad, r[std::min<size_t>(r.size() - 1, static_cast<size_t>((1 - t) * (r.size() - 1)))]);
  }
  l.Ellipse(cx + dx * 3.5f, cy + dy * 3.5f, 1.4f, 1.4f, r.back());
}

// The red ornaments the game cycles through its six key colours: bands of
// the four keys from the outside in. Codes 0 and 1 are the dialogue box's
// corner pieces on the border under its text: they keep to frame rows 3 and
// below (the box draws them 45 pixels down, its last text row ends at 47).
// Codes 2 and 3 are small jewels on the crossings of the character record's
// separators, kept inside the 8 by 8 cell of the crossing (frame pixels 5 to
// 12 across, 3 to 10 down) so that they never reach the labels beside and
// below it.
void Ornament(Layer& l, int code) {
  const uint32_t keys[4] = {0xFF7B1400u, 0xFF971807u, 0xFFBB1B1Bu, 0xFFFF0000u};
  const bool jewel = code >= 2;
  const float cx = 8.5f, cy = jewel ? 6.5f : 10.5f;
  for (int y = 0; y < l.H(); ++y)
    for (int x = 0; x < l.W(); ++x) {
      const float fx = x + 0.5f - cx, fy = y + 0.5f - cy;
      float d;
      if (code % 2 == 0) {
        d = (std::fabs(fx) + std::fabs(fy)) / (jewel ? 3.5f : 6.0f);  // a diamond
      } else {
        const float a = std::atan2(fy, fx), rr = std::hypot(fx, fy);
        d = jewel ? rr / (2.6f + 0.8f * std::cos(4 * a))  // a small four-petal flower
                  : rr / (4.4f + 1.6f * std::cos(4 * a));
      }
      if (d > 1.0f) continue;
      l.Put(x, y, keys[std::min(3, static_cast<int>(d * 4))]);
    }
  l.Outline(kInk);
}

// The marks of conditions over a head.
void ConditionMark(Layer& l, const std::string& kind, int phase, int phases) {
  const float t = static_cast<float>(phase) / phases;
  const float cx = l.W() / 2.0f, cy = l.H() / 2.0f;
  if (kind == "stars") {  // dazed: three stars turning round the head
    for (int i = 0; i < 3; ++i) {
      const float a = 2 * kPi * (t + i / 3.0f);
      const float x = cx + std::cos(a) * 7, y = cy + std::sin(a) * 2.5f;
      l.Line(x - 2, y, x + 2, y, 1.0f, C("fire.2"));
      l.Line(x, y - 2, x, y + 2, 1.0f, C("fire.2"));
      l.Put(static_cast<int>(x), static_cast<int>(y), C("skin.2"));
    }
  } else if (kind == "birds") {  // confused: small birds circling
    for (int i = 0; i < 3; ++i) {
      const float a = 2 * kPi * (t + i / 3.0f);
      const float x = cx + std::cos(a) * 7, y = cy - 3 + std::sin(a) * 2.5f;
      const float flap = (phase + i) % 2 ? 1.0f : -1.0f;
      l.Line(x - 2, y - flap, x, y, 1.0f, C("blue.4"));
      l.Line(x, y, x + 2, y - flap, 1.0f, C("blue.4"));
    }
  } else if (kind == "zzz") {  // asleep: letters rising and fading
    for (int i = 0; i < 3; ++i) {
      const float k = std::fmod(t + i / 3.0f, 1.0f);
      const float x = cx - 4 + k * 9, y = cy + 7 - k * 12;
      const int s = 2 + static_cast<int>(k * 2);
      const uint32_t c = k < 0.7f ? C("grey.5") : C("grey.3");
      l.Line(x - s, y - s, x + s, y - s, 1.0f, c);
      l.Line(x + s, y - s, x - s, y + s, 1.0f, c);
      l.Line(x - s, y + s, x + s, y + s, 1.0f, c);
    }
    l.Outline(kInk);
    return;
  } else if (kind == "chains") {  // paralysed: a ring of green-yellow sparks
    for (int i = 0; i < 6; ++i) {
      const float a = 2 * kPi * (i / 6.0f + t * 0.33f);
      const float x = cx + std::cos(a) * (l.W() * 0.35f), y = cy + std::sin(a) * (l.H() * 0.18f);
      l.Ellipse(x, y, 1.4f, 1.4f, i % 2 ? C("green.5") : C("fire.2"));
    }
  } else if (kind == "blind") {  // blinded: a dark eye crossed out
    l.Ellipse(cx, cy, 5.5f, 3.0f, C("grey.5"));
    l.Ellipse(cx, cy, 2.2f, 2.2f, C("grey.1"));
    l.Line(cx - 6, cy + 4, cx + 6, cy - 4, 2.0f, C("red.3"));
  } else {
    throw SourceError("no condition mark " + DoubleQuotedBytes(kind));
  }
  l.Outline(kInk);
}

// A burst over a creature: slashes for blows, a star of sparks for energy.
void Burst(Layer& l, const std::string& kind, int size) {
  const float cx = l.W() / 2.0f, cy = l.H() / 2.0f;
  const float k = size / 3.0f;  // 1 small .. 3 large
  if (kind == "blow") {
    // Slashes: curved strokes, thick in the middle and sharp at the ends,
    // pale at the heart and red at the edges; drops of blood round them.
    const Ramp r = Rp("red.0 red.2 red.3 fire.1 grey.5");
    Layer edge(l.W(), l.H()), core(l.W(), l.H());
    const int strokes = 1 + size;
    for (int i = 0; i < strokes; ++i) {
      const float off = (i - (strokes - 1) / 2.0f) * 5.0f;
      const int steps = 12;
      for (int k = 0; k < steps; ++k) {
        const float t0 = static_cast<float>(k) / steps, t1 = static_cast<float>(k + 1) / steps;
        auto at = [&](float t, float* x, float* y) {
          const float len = 9.0f + 4.0f * size;
          *x = cx + off + (t - 0.5f) * 2 * len * 0.75f + std::sin(t * kPi) * 3.0f;
          *y = cy + off * 0.3f + (t - 0.5f) * 2 * len * 0.75f - std::sin(t * kPi) * 3.0f;
          *x = 2 * cx - *x;  // from the top right to the bottom left
        };
        float x0, y0, x1, y1;
        at(t0, &x0, &y0);
        at(t1, &x1, &y1);
        const float w = std::sin((t0 + t1) * 0.5f * kPi);
        edge.Line(x0, y0, x1, y1, 1.0f + w * (1.5f + k * 0.0f + size * 0.6f), r[2]);
        core.Line(x0, y0, x1, y1, 0.6f + w * (0.4f + size * 0.25f), r[4]);
      }
    }
    l.Paste(edge, 0, 0);
    l.Paste(core, 0, 0);
    for (int i = 0; i < 3 * size; ++i) {
      const float a = i * 2.4f, d = (7 + (i % 4) * 3) * k;
      l.Ellipse(cx + std::cos(a) * d, cy + std::sin(a) * d * 0.8f, 1.1f, 1.1f, r[1]);
    }
    l.Outline(kInk);
    return;
  }
  Ramp r;
  if (kind == "energy") r = Rp("red.2 fire.0 fire.1 fire.2 skin.2");
  else if (kind == "acid") r = Rp("green.2 green.3 green.4 green.5 skin.2");
  else if (kind == "magic") r = Rp("purple.1 purple.2 purple.3 grey.5");
  else if (kind == "heal") r = Rp("blue.3 blue.4 blue.5 grey.5");
  else if (kind == "holy") r = Rp("brown.4 fire.1 fire.2 skin.2");
  else if (kind == "frost") r = Rp("teal.1 teal.2 blue.5 grey.5");
  else throw SourceError("no burst " + DoubleQuotedBytes(kind));
  const int rays = 6 + size * 2;
  for (int i = 0; i < rays; ++i) {
    const float a = i * 2 * kPi / rays + (i % 2) * 0.2f;
    const float len = (i % 2 ? 7.0f : 11.0f) * k + 4;
    l.Line(cx, cy, cx + std::cos(a) * len, cy + std::sin(a) * len, 2.0f, r[1]);
    l.Line(cx, cy, cx + std::cos(a) * len * 0.7f, cy + std::sin(a) * len * 0.7f, 1.0f, r[2]);
  }
  l.Ellipse(cx, cy, 3.5f * k + 1, 3.5f * k + 1, r[2]);
  l.Ellipse(cx, cy, 2.0f * k + 0.5f, 2.0f * k + 0.5f, r.back());
  if (kind == "heal" || kind == "holy") {
    l.Rect(static_cast<int>(cx) - 1, static_cast<int>(cy - 4 * k), 3, static_cast<int>(8 * k), r.back());
    l.Rect(static_cast<int>(cx - 4 * k), static_cast<int>(cy) - 1, static_cast<int>(8 * k), 3, r.back());
  }
  l.Outline(kInk);
}

// A path arrow: direction 1 north .. 8 north-west, clockwise.
void PathArrow(Layer& l, int direction, const Ramp& r) {
  const float a = (direction - 1) * kPi / 4;  // clockwise from north
  const float dx = std::sin(a), dy = -std::cos(a);
  const float px = -dy, py = dx;
  const float cx = l.W() / 2.0f, cy = l.H() / 2.0f;
  const float tipX = cx + dx * 7, tipY = cy + dy * 7;
  l.Line(cx - dx * 6, cy - dy * 6, cx + dx * 2, cy + dy * 2, 3.0f, r[1]);
  l.Polygon({tipX, tipY, cx + px * 5.5f + dx * 1, cy + py * 5.5f + dy * 1, cx - px * 5.5f + dx * 1, cy - py * 5.5f + dy * 1}, r[1]);
  l.Line(cx - dx * 5, cy - dy * 5, cx + dx * 1, cy + dy * 1, 1.0f, r[2]);
  l.Outline(kInk);
}

// The mark of a square that foes or friends threaten round a path arrow or
// the crossed blades: corner brackets on the square's rim (the frame is 34
// by 34 and drawn 5 pixels up and left of its 24 by 24 square), their arms 6
// pixels long and 2 wide, the lighter tone inside. "none" marks nothing.
void ThreatCorners(Layer& l, const std::string& threat) {
  if (threat == "none") return;
  const Ramp r = threat == "foes" ? Rp("red.2 fire.0") : Rp("blue.2 blue.4");
  constexpr int kNear = 5, kFar = 28, kArm = 6;
  for (int sx : {-1, 1})
    for (int sy : {-1, 1}) {
      const int cx = sx < 0 ? kNear : kFar, cy = sy < 0 ? kNear : kFar;
      for (int k = 0; k < kArm; ++k)
        for (int w = 0; w < 2; ++w) {
          const uint32_t c = r[w];  // the rim dark, the inner line light
          l.Put(cx - sx * k, cy - sy * w, c);
          l.Put(cx - sx * w, cy - sy * k, c);
        }
    }
}

}  // namespace

void AddEffectPainters(PainterMap& m) {
  // flame torch|fire COLOUR: a group of 14 frames of a burning flame.
  m["flame"] = [](const Paint& p) {
    const std::string kind = p.Word(0, "the flame", {"torch", "fire"});
    const std::string colour = p.Word(1, "the colour", {"yellow", "orange", "purple", "green", "lilac"});
    const Ramp r = colour == "yellow" ? Rp("red.3 fire.0 fire.1 fire.2 skin.2")
                   : colour == "orange" ? Rp("red.1 red.2 fire.0 fire.1 fire.2")
                   : colour == "purple" ? Rp("purple.1 purple.2 purple.3 grey.5")
                   : colour == "green" ? Rp("teal.0 teal.1 teal.2 green.5 skin.2")
                                       : Rp("purple.2 purple.3 blue.5 grey.5");
    for (int f = p.first; f <= p.last; ++f) {
      Layer l(p.W(), p.H());
      const float phase = (f - p.first) * 2 * kPi / p.Count();
      if (kind == "torch") {
        l.Line(9, 17, 9.5f, 10, 2.0f, C("brown.1"));
        l.Rect(8, 10, 3, 2, C("grey.2"));
        Flame(l, 9.5f, 10.5f, 3.2f, 8.5f + std::sin(phase * 2) * 1.0f, phase, r);
      } else {
        Flame(l, 10.0f, 16.0f, 5.0f, 12.0f + std::sin(phase * 2) * 1.5f, phase, r);
        Flame(l, 7.0f, 16.5f, 2.8f, 7.0f + std::sin(phase * 3 + 1) * 1.0f, phase + 2, r);
        Flame(l, 13.0f, 16.5f, 2.8f, 7.5f + std::sin(phase * 3 + 2) * 1.0f, phase + 4, r);
      }
      l.Outline(C("red.0"));
      p.Put(f, l);
    }
  };
  // missile KIND: eight frames, one per direction counter-clockwise from east.
  m["missile"] = [](const Paint& p) {
    for (int f = p.first; f <= p.last; ++f) {
      Layer l(p.W(), p.H());
      Missile(l, (f - p.first) * kPi / 4, p.Word(0, "the missile", {"arrow", "fire", "acid", "magic", "lilac"}));
      p.Put(f, l);
    }
  };
  m["ornament"] = [](const Paint& p) {
    for (int f = p.first; f <= p.last; ++f) {
      Layer l(p.W(), p.H());
      const int code = p.OptInt("code", 0, 0, 3) + f - p.first;
      if (code < 0 || code > 3) p.Fail("no ornament " + std::to_string(code) + " (0 to 3)");
      Ornament(l, code);
      p.Put(f, l);
    }
  };
  // condition KIND: its frames are the phases of the mark's animation.
  m["condition"] = [](const Paint& p) {
    for (int f = p.first; f <= p.last; ++f) {
      Layer l(p.W(), p.H());
      ConditionMark(l, p.Arg(0), f - p.first, p.Count());
      p.Put(f, l);
    }
  };
  // burst KIND SIZE (1-3).
  m["burst"] = [](const Paint& p) {
    Layer l(p.W(), p.H());
    const int size = p.ArgInt(1, 1, "a burst's size", 1, 3);
    Burst(l, p.Arg(0), size);
    p.Put(p.first, l);
  };
  // burst-phases KIND: a burst growing frame by frame.
  m["burst-phases"] = [](const Paint& p) {
    for (int f = p.first; f <= p.last; ++f) {
      Layer l(p.W(), p.H());
      const int k = f - p.first;
      Burst(l, p.Arg(0), 1 + (k * 3) / std::max(1, p.Count()));
      p.Put(f, l);
    }
  };
  // path-arrow COLOUR [threat=none|party|foes]: eight frames, directions
  // north to north-west, on a square that nobody, the party's side or its
  // foes threaten.
  m["path-arrow"] = [](const Paint& p) {
    const Ramp r = Pal().Make(p.Arg(0, "green.2") + " " + p.Arg(1, "green.4") + " " + p.Arg(2, "green.5"));
    const std::string threat = p.Choice("threat", {"none", "party", "foes"});
    for (int f = p.first; f <= p.last; ++f) {
      Layer l(p.W(), p.H());
      ThreatCorners(l, threat);
      PathArrow(l, f - p.first + 1, r);
      p.Put(f, l);
    }
  };
  // danger-mark [threat=none|party|foes]: the warning of a square where
  // leaving provokes attacks, crossed blades, with the mark of who threatens
  // the square.
  m["danger-mark"] = [](const Paint& p) {
    Layer l(p.W(), p.H());
    ThreatCorners(l, p.Choice("threat", {"none", "party", "foes"}));
    const float c = p.W() / 2.0f;
    l.Line(c - 7, c - 7, c + 7, c + 7, 2.0f, C("grey.5"));
    l.Line(c + 7, c - 7, c - 7, c + 7, 2.0f, C("grey.5"));
    l.Line(c - 4, c + 1, c - 1, c + 4, 2.0f, C("red.3"));
    l.Line(c + 4, c + 1, c + 1, c + 4, 2.0f, C("red.3"));
    l.Outline(kInk);
    p.Put(p.first, l);
  };
  // The frame round a talker's portrait: a bronze border 4 pixels wide
  // round a 32x32 window, its outer corner at the frame's top left.
  m["portrait-frame"] = [](const Paint& p) {
    Layer l(p.W(), p.H());
    const Ramp r = Rp("brown.1 brown.2 brown.3 brown.4 fire.1 fire.2");
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) {
        const int d = std::min(std::min(x, y), std::min(39 - x, 39 - y));
        if (d >= 4) continue;
        const bool lit = (x < 4 && y < 36) || (y < 4 && x < 36);
        const float v = d == 0 || d == 3 ? 0.1f : lit ? 0.85f : 0.45f;
        l.Put(x, y, d == 0 ? kInk : Tone(r, v, x, y, 0.2f));
      }
    for (int k : {1, 38}) {
      l.Put(k, k, C("skin.2"));
      l.Put(k, 39 - k, C("skin.2"));
    }
    p.Put(p.first, l);
  };
  // A soft glow or a ring in white (the game tints and adds them).
  m["glow"] = [](const Paint& p) {
    const std::string kind = p.Word(0, "the glow", {"soft", "small", "ring", "circle", "star"});
    Layer l(p.W(), p.H());
    const float cx = p.W() / 2.0f, cy = p.H() / 2.0f, r = std::min(p.W(), p.H()) * 0.48f;
    for (int y = 0; y < p.H(); ++y)
      for (int x = 0; x < p.W(); ++x) {
        const float d = std::hypot(x + 0.5f - cx, (y + 0.5f - cy) * (kind == "ring" ? 2.0f : 1.0f)) / r;
        float i = 0;
        if (kind == "soft") i = std::max(0.0f, 1 - d) * std::max(0.0f, 1 - d);
        else if (kind == "small") i = std::max(0.0f, 1 - d * 1.6f);
        else if (kind == "ring") i = std::max(0.0f, 1 - std::fabs(d - 0.8f) * 9);
        else if (kind == "circle") i = std::max(0.0f, 1 - std::fabs(std::hypot(x + 0.5f - cx, y + 0.5f - cy) / r - 0.88f) * 14);
        else {
          const float a = std::atan2(y - cy, x - cx);
          i = std::max(0.0f, 1 - d) * (0.45f + 0.55f * std::pow(std::fabs(std::cos(a * 4)), 6.0f));
        }
        if (i > 0.01f) l.Put(x, y, WithAlpha(0xFFFFFFu, static_cast<int>(i * 255)));
      }
    p.Put(p.first, l);
  };
  // aura COLOUR... [alpha=N]: a glowing ring on the ground round a
  // creature's feet, drawn in its first colour (as the game's auras are) at
  // the opacity N (0 to 255); the colours after it are checked, so that a
  // misspelt one is refused, not left unseen.
  m["aura"] = [](const Paint& p) {
    const Ramp r = Pal().Make(p.Arg(0, "blue.3 blue.4 blue.5"));
    for (size_t i = 1; !p.Arg(i).empty(); ++i) (void)Pal().Colour(p.Arg(i));
    const int alpha = p.OptInt("alpha", 200, 0, 255);
    Layer l(p.W(), p.H());
    const float cx = p.W() / 2.0f, cy = p.H() * 0.62f;
    for (int y = 0; y < p.H(); ++y)
      for (int x = 0; x < p.W(); ++x) {
        const float d = std::hypot((x + 0.5f - cx) / (p.W() * 0.42f), (y + 0.5f - cy) / (p.H() * 0.2f));
        const float ring = 1 - std::fabs(d - 0.85f) * 5;
        if (ring <= 0 && d > 0.85f) continue;
        const float v = ring > 0 ? 0.5f + ring * 0.5f : 0.15f;
        const int a = ring > 0 ? alpha : alpha / 4;
        if (v > 0.1f) l.Put(x, y, WithAlpha(Tone(r, v, x, y, 0.5f), a));
      }
    p.Put(p.first, l);
  };
  // anim KIND: an animated floor in its phases.
  m["anim"] = [](const Paint& p) {
    const std::string kind = p.Arg(0);
    for (int f = p.first; f <= p.last; ++f) {
      Layer l(p.W(), p.H());
      const float t = static_cast<float>(f - p.first) / p.Count();
      const float cx = p.W() / 2.0f, cy = p.H() / 2.0f - 1;
      if (kind == "ripples") {
        // Rings spreading from the middle of the square, thin and pale.
        for (int i = 0; i < 2; ++i) {
          const float rr = std::fmod(t + i * 0.5f, 1.0f);
          const int a = static_cast<int>(200 * (1 - rr));
          for (int k = 0; k < 48; ++k) {
            const float ang = k * 2 * kPi / 48;
            l.Put(static_cast<int>(cx + std::cos(ang) * (3 + rr * 18)), static_cast<int>(cy + std::sin(ang) * (2 + rr * 9)),
                  WithAlpha(C(rr < 0.5f ? "grey.5" : "blue.5"), a));
          }
        }
      } else if (kind == "lava") {
        for (int y = 0; y < p.H(); ++y)
          for (int x = 0; x < p.W(); ++x) {
            const float dx = (x + 0.5f - cx) / 14.0f, dy = (y + 0.5f - cy) / 11.0f;
            if (dx * dx + dy * dy > 1) continue;
            const float n = TileNoise(x + t * 16, y, 5, 8, 2, 64);
            l.Put(x, y, Tone(Rp("red.1 red.2 red.3 fire.0 fire.1 fire.2"), n + 0.15f * std::sin(t * 2 * kPi + x * 0.3f), x, y, 0.5f));
          }
        const float b = std::fmod(t * 3, 1.0f);
        l.Ellipse(cx - 4 + 8 * std::fmod(t * 7, 1.0f), cy - 2, 1.5f + b * 2, 1.0f + b, C("fire.2"));
      } else if (kind == "stream") {
        // Foam streaks running along the water.
        for (int i = 0; i < 9; ++i) {
          const float x0 = std::fmod(Rand01(5, i) * 64 + t * 64, 64.0f);
          const int y = 6 + static_cast<int>(Rand01(6, i) * 30);
          for (int k = 0; k < 5; ++k) l.Put(static_cast<int>(x0) + k, y, WithAlpha(C(k == 4 ? "grey.5" : "blue.5"), 90 + k * 30));
        }
      } else if (kind == "insects") {
        for (int i = 0; i < 26; ++i) {
          const float a = Rand01(9, i) * 2 * kPi + t * 2 * kPi * (i % 2 ? 1 : -1) * (1 + Rand01(10, i));
          const float rr = 4 + Rand01(11, i) * 14;
          const int x = static_cast<int>(cx + std::cos(a) * rr * 1.3f), y = static_cast<int>(cy + std::sin(a) * rr * 0.6f);
          l.Put(x, y, C("ink.0"));
          if ((i + f) % 3 == 0) l.Put(x + 1, y - 1, C("grey.3"));
        }
      } else if (kind == "pool") {
        // A glowing pool whose swirl turns.
        for (int y = 0; y < p.H(); ++y)
          for (int x = 0; x < p.W(); ++x) {
            const float dx = (x + 0.5f - cx) / (p.W() * 0.42f), dy = (y + 0.5f - cy) / (p.H() * 0.36f);
            const float d = std::hypot(dx, dy);
            if (d > 1) continue;
            const float a = std::atan2(dy, dx);
            const float swirl = std::sin(a * 3 + d * 7 - t * 2 * kPi);
            if (d > 0.88f) l.Put(x, y, C("stone.1"));
            else l.Put(x, y, Tone(Rp("teal.0 teal.1 teal.2 blue.5 grey.5"), 0.35f + swirl * 0.3f + (1 - d) * 0.3f, x, y, 0.4f));
          }
        l.Outline(kInk);
      } else {
        p.Fail("no animation " + DoubleQuotedBytes(kind));
      }
      p.Put(f, l);
    }
  };
  // beam VARIANT: a jagged bolt of light along the frame, on black.
  m["beam"] = [](const Paint& p) {
    p.OptInt("seed", 0, 0, 999);  // seed=N only varies the line's words, and so the bolt's path
    Layer l(p.W(), p.H());
    const uint32_t s = p.Seed(p.first);
    float y = p.H() / 2.0f;
    for (int x = 0; x < p.W(); x += 8) {
      const float next = p.H() / 2.0f + (Rand01(s, x) - 0.5f) * p.H() * 0.55f * std::sin(kPi * x / p.W());
      l.Line(x, y, x + 8, next, 6.0f, WithAlpha(C("blue.3"), 110));
      l.Line(x, y, x + 8, next, 3.0f, C("blue.5"));
      l.Line(x, y, x + 8, next, 1.0f, C("grey.5"));
      y = next;
    }
    p.Put(p.first, l);
  };
}
