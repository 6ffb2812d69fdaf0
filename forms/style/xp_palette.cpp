#include "forms/style/xp_palette.h"

namespace forms::xp {

const Palette& palette(int scheme) {
  static const Palette kSchemes[] = {
      // 1: blue
      {RGB(123, 158, 189), RGB(255, 255, 255), RGB(214, 208, 197), RGB(226, 223, 214),
       RGB(240, 240, 234), RGB(248, 179, 48), RGB(105, 130, 238), RGB(33, 161, 33),
       RGB(190, 240, 178), RGB(50, 180, 50), RGB(255, 200, 60)},
      // 2: olive
      {RGB(164, 185, 127), RGB(255, 255, 246), RGB(222, 220, 196), RGB(228, 226, 205),
       RGB(244, 243, 232), RGB(232, 160, 60), RGB(168, 167, 102), RGB(115, 137, 84),
       RGB(214, 230, 166), RGB(144, 172, 80), RGB(250, 180, 60)},
      // 3: silver
      {RGB(198, 197, 215), RGB(255, 255, 255), RGB(219, 218, 228), RGB(213, 212, 223),
       RGB(238, 238, 243), RGB(255, 190, 70), RGB(125, 125, 170), RGB(76, 97, 152),
       RGB(192, 236, 180), RGB(68, 186, 60), RGB(248, 186, 78)},
  };
  if (scheme < 1 || scheme > 3) scheme = 3;
  return kSchemes[scheme - 1];
}

}  // namespace forms::xp
