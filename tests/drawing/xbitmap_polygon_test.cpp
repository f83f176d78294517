// SPDX-License-Identifier: GPL-3.0-or-later
// Polygons: ear-clipped fill under the outline.
#include <gtest/gtest.h>

#include <vector>

#include "bitmap_helpers.h"

using namespace testing_zam;

namespace {

constexpr uint32_t kFill = 0x00FF00;  // as a pixel value at fill level 0

void Prepare(TXBitmap& b) {
  Clear(b);
  b.SetFillLevel(0);
  b.SetFillColor(kFill);
}

void Draw(TXBitmap& b, const std::vector<TPoint>& pts) {
  b.Polygon(pts.data(), int(pts.size()) - 1);
}

// Even-odd test of a pixel centre against the polygon.
bool Inside(const std::vector<TPoint>& p, double x, double y) {
  bool in = false;
  for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
    if ((p[i].y > y) != (p[j].y > y)) {
      const double cx = p[j].x + (y - p[j].y) * (p[i].x - p[j].x) / double(p[i].y - p[j].y);
      if (x < cx) in = !in;
    }
  }
  return in;
}

double DistanceToOutline(const std::vector<TPoint>& p, double x, double y) {
  double best = 1e9;
  for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
    const double ax = p[j].x, ay = p[j].y, bx = p[i].x, by = p[i].y;
    const double dx = bx - ax, dy = by - ay;
    double t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy);
    t = std::clamp(t, 0.0, 1.0);
    best = std::min(best, std::hypot(x - (ax + t * dx), y - (ay + t * dy)));
  }
  return best;
}

TEST(Polygon, TriangleIsFilledAndOutlined) {
  TXBitmap b(20, 20);
  Prepare(b);
  Draw(b, {{2, 2}, {16, 2}, {2, 16}});
  EXPECT_EQ(b.GetPixel(5, 5), kFill);
  EXPECT_EQ(b.GetPixel(2, 2), 0u);
  EXPECT_EQ(b.GetPixel(9, 9), 0u);  // hypotenuse
  EXPECT_EQ(b.GetPixel(12, 12), kWhite);
  EXPECT_EQ(b.ChangedRect(), (TRect{0, 0, 18, 18}));
}

TEST(Polygon, SquareIsFilledCompletely) {
  TXBitmap b(12, 12);
  Prepare(b);
  Draw(b, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  for (int y = 0; y <= 10; ++y)
    for (int x = 0; x <= 10; ++x) {
      const bool edge = x == 0 || y == 0 || x == 10 || y == 10;
      ASSERT_EQ(b.GetPixel(x, y), edge ? 0u : kFill) << x << "," << y;
    }
  EXPECT_EQ(b.GetPixel(11, 5), kWhite);
}

TEST(Polygon, DegenerateShapesAreOnlyOutlined) {
  struct Case {
    const char* name;
    std::vector<TPoint> pts;
    TPoint inside;
  } cases[] = {
      {"bow-tie", {{0, 0}, {10, 10}, {10, 0}, {0, 10}}, {2, 5}},
      {"repeated vertex", {{0, 0}, {5, 0}, {5, 0}, {5, 5}}, {4, 1}},
  };
  for (const Case& c : cases) {
    TXBitmap b(12, 12);
    Prepare(b);
    Draw(b, c.pts);
    EXPECT_EQ(Count(b, kFill), 0) << c.name;
    EXPECT_EQ(b.GetPixel(c.inside.x, c.inside.y), kWhite) << c.name;
    EXPECT_EQ(b.GetPixel(c.pts[1].x, c.pts[1].y), 0u) << c.name;
  }
}

TEST(Polygon, UnfilledDrawsOnlyTheOutline) {
  TXBitmap b(12, 12);
  Prepare(b);
  b.Filled = false;
  Draw(b, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  EXPECT_EQ(Count(b, kFill), 0);
  EXPECT_EQ(b.GetPixel(5, 5), kWhite);
  EXPECT_EQ(CountNot(b), 40);
}

TEST(Polygon, TooFewOrTooManyPointsDrawNothingButSetChangedRect) {
  TXBitmap b(60, 60);
  Prepare(b);
  const std::vector<TPoint> two = {{10, 10}, {20, 30}};
  Draw(b, two);
  EXPECT_EQ(CountNot(b), 0);
  EXPECT_EQ(b.ChangedRect(), (TRect{8, 8, 22, 32}));
  std::vector<TPoint> many;
  for (int i = 0; i < 41; ++i) many.push_back({5 + i, (i % 2) * 20 + 5});
  Draw(b, many);
  EXPECT_EQ(CountNot(b), 0);
  EXPECT_EQ(b.ChangedRect(), (TRect{3, 3, 47, 27}));
  many.pop_back();  // 40 points are drawn
  Draw(b, many);
  EXPECT_GT(CountNot(b), 0);
}

// Concave shapes: every pixel whose centre is well inside is filled, every
// pixel well outside stays white.
TEST(Polygon, ConcaveShapesFillExactlyTheirInside) {
  const std::vector<std::vector<TPoint>> shapes = {
      // the direction box's left arrow at pen width 2
      {{5, 15}, {21, 6}, {21, 12}, {55, 12}, {55, 18}, {21, 18}, {21, 24}},
      // an L
      {{2, 2}, {20, 2}, {20, 10}, {10, 10}, {10, 40}, {2, 40}},
      // a five-pointed star, ten vertices
      {{30, 2},
       {37, 22},
       {58, 22},
       {41, 35},
       {48, 56},
       {30, 43},
       {12, 56},
       {19, 35},
       {2, 22},
       {23, 22}},
      // a comb, clockwise
      {{2, 2},
       {50, 2},
       {50, 40},
       {42, 40},
       {42, 12},
       {34, 12},
       {34, 40},
       {26, 40},
       {26, 12},
       {18, 12},
       {18, 40},
       {2, 40}},
  };
  for (size_t s = 0; s < shapes.size(); ++s) {
    TXBitmap b(60, 60);
    Prepare(b);
    b.SetPenWidth(2);
    Draw(b, shapes[s]);
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 60; ++x) {
        const double d = DistanceToOutline(shapes[s], x, y);
        if (d < 2.5) continue;  // the 2-pixel pen reaches right and down
        const uint32_t v = b.GetPixel(x, y);
        if (Inside(shapes[s], x, y))
          ASSERT_EQ(v, kFill) << "shape " << s << " at " << x << "," << y;
        else
          ASSERT_EQ(v, kWhite) << "shape " << s << " at " << x << "," << y;
      }
  }
}

// Outlines that touch themselves, with the pixels worked out by hand from
// the fill rule: crossing or touching edges leave the shape unfilled, and
// the ear search stops when no ear is left.

// A vertex on an edge that is not its neighbour: the point (20, 0) of the
// middle spike lies on the top edge. Whichever vertex the list starts with,
// the shape is only outlined.
TEST(Polygon, AVertexOnAnotherEdgeLeavesItUnfilled) {
  const std::vector<TPoint> shape = {{0, 0},  {40, 0},  {40, 40}, {30, 40},
                                     {20, 0}, {10, 40}, {0, 40}};
  for (size_t start = 0; start < shape.size(); ++start) {
    std::vector<TPoint> pts;
    for (size_t i = 0; i < shape.size(); ++i) pts.push_back(shape[(start + i) % shape.size()]);
    TXBitmap b(44, 44);
    Prepare(b);
    Draw(b, pts);
    for (int y = 0; y < 44; ++y)
      for (int x = 0; x < 44; ++x)
        ASSERT_NE(b.GetPixel(x, y), kFill) << start << ": " << x << "," << y;
    EXPECT_EQ(b.GetPixel(0, 20), 0u) << start;  // the outline is there
    EXPECT_EQ(b.GetPixel(40, 20), 0u) << start;
    EXPECT_EQ(b.GetPixel(5, 30), kWhite) << start;
  }
}

// Collinear vertices: the corner between two edges in one line is no ear,
// the others are, and the three triangles cover the square.
TEST(Polygon, CollinearVerticesStillFillTheSquare) {
  const std::vector<std::vector<TPoint>> shapes = {
      {{0, 0}, {20, 0}, {40, 0}, {40, 40}, {0, 40}},
      {{0, 0}, {10, 0}, {20, 0}, {30, 0}, {40, 0}, {40, 40}, {0, 40}},
      {{0, 0}, {40, 0}, {40, 20}, {40, 40}, {20, 40}, {0, 40}, {0, 20}},
  };
  for (size_t s = 0; s < shapes.size(); ++s) {
    TXBitmap b(44, 44);
    Prepare(b);
    Draw(b, shapes[s]);
    for (int y = 0; y < 44; ++y)
      for (int x = 0; x < 44; ++x) {
        const bool outline = (x == 0 || x == 40) && y <= 40 ? true : (y == 0 || y == 40) && x <= 40;
        const bool inside = x > 0 && x < 40 && y > 0 && y < 40;
        ASSERT_EQ(b.GetPixel(x, y), outline  ? 0u
                                    : inside ? kFill
                                             : kWhite)
            << "shape " << s << " at " << x << "," << y;
      }
  }
}

// A part of no area: the left side runs down from (0, 40) to (0, 10), back
// up to (0, 20) and down to (0, 0). No edges cross, so the fill starts; the
// corner (40, 0) is an ear, but after it is cut every corner fails one of
// the two ear tests (the spike's points lie on the diagonals), so only the
// upper right triangle is filled.
TEST(Polygon, AZeroAreaSpikeStopsTheEarSearch) {
  TXBitmap b(44, 44);
  Prepare(b);
  Draw(b, {{0, 0}, {40, 0}, {40, 40}, {0, 40}, {0, 10}, {0, 20}});
  for (int y = 1; y < 40; ++y)
    for (int x = 1; x < 40; ++x) {
      if (x > y + 1) {
        ASSERT_EQ(b.GetPixel(x, y), kFill) << x << "," << y;
      }
      if (y > x + 1) {
        ASSERT_EQ(b.GetPixel(x, y), kWhite) << x << "," << y;
      }
    }
  for (int i = 0; i <= 40; ++i) {
    EXPECT_EQ(b.GetPixel(0, i), 0u) << i;
    EXPECT_EQ(b.GetPixel(i, 40), 0u) << i;
  }
}

TEST(Polygon, FillObeysTheLevelRule) {
  TXBitmap b(20, 20);
  Clear(b);
  b.HSpan(0, 8, 19, 0x000000);  // tag 0
  b.SetFillColor(kFill);        // fill level 3: covers only white
  Draw(b, {{2, 2}, {16, 2}, {16, 16}, {2, 16}});
  EXPECT_EQ(b.GetPixel(8, 8), 0u);
  EXPECT_EQ(b.GetPixel(8, 6), kFill | 3);
}

}  // namespace
