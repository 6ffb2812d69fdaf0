#pragma once
// The window outlines of shape 4 and up: polygons in thousandths of the window's width
// and height, so each one fills the window's rectangle whatever its proportions. A
// shape past the end of the table has none (the window stays a rectangle).
#include <cstddef>

namespace forms {

struct OutlinePoint {
  int x, y;  // thousandths of the width and height
};

struct Outline {
  const OutlinePoint* points = nullptr;
  std::size_t count = 0;
};

inline Outline windowOutline(int shape) {
  // The octagon cuts 1 / (2 + sqrt 2) of each side, so a square window gets a regular one.
  static constexpr OutlinePoint kOctagon[] = {{293, 0},    {707, 0},    {1000, 293}, {1000, 707},
                                              {707, 1000}, {293, 1000}, {0, 707},    {0, 293}};
  static constexpr OutlinePoint kDiamond[] = {{500, 0}, {1000, 500}, {500, 1000}, {0, 500}};
  static constexpr OutlinePoint kHexagon[] = {{250, 0},    {750, 0},    {1000, 500},
                                              {750, 1000}, {250, 1000}, {0, 500}};
  static constexpr OutlinePoint kTriangle[] = {{500, 0}, {1000, 1000}, {0, 1000}};
  // A five-pointed star, stretched from its circle to the whole rectangle.
  static constexpr OutlinePoint kStar[] = {{500, 0},    {618, 382}, {1000, 382}, {691, 618},
                                           {809, 1000}, {500, 764}, {191, 1000}, {309, 618},
                                           {0, 382},    {382, 382}};
  static constexpr Outline kTable[] = {
      {kOctagon, 8}, {kDiamond, 4}, {kHexagon, 6}, {kTriangle, 3}, {kStar, 10},
  };
  constexpr int kFirst = 4;
  const int at = shape - kFirst;
  if (at < 0 || at >= static_cast<int>(sizeof kTable / sizeof *kTable)) return {};
  return kTable[at];
}

}  // namespace forms
