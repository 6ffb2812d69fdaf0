#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "test_support/fake_unit_site.h"
#include "forms/units/controls/control_units.h"

namespace forms {
namespace {

using test_support::FakeUnitSite;

class ControlUnitsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = CreateWindowExA(0, "STATIC", "w", WS_POPUP | WS_VISIBLE, 0, 0, 550, 300, nullptr,
                             nullptr, nullptr, nullptr);
    plan.parent = window;
    plan.rect = {184, 21, 308, 40};
  }
  void TearDown() override { DestroyWindow(window); }
  HWND window = nullptr;
  UnitPlan plan;
  FakeUnitSite site;
};

TEST_F(ControlUnitsTest, SuperBarUnitKeepsItsNumbersAndRaisesEventZeroOnAChange) {
  auto bar = makeSuperBarUnit(plan, site);
  ASSERT_TRUE(bar);
  EXPECT_FALSE(IsWindowVisible(bar->window())) << "the runtime shows units itself";
  EXPECT_EQ(*bar->property(17), Value(std::int32_t{30}));
  EXPECT_EQ(*bar->property(16), Value(std::int32_t{100}));
  EXPECT_TRUE(bar->setProperty(17, Value(150.9)));
  EXPECT_EQ(*bar->property(17), Value(std::int32_t{100}));
  ASSERT_EQ(site.raised.size(), 1u);
  EXPECT_EQ(site.raised[0].first, 0);
  EXPECT_TRUE(site.raised[0].second.empty());
  EXPECT_FALSE(bar->property(7));
  EXPECT_FALSE(bar->setProperty(99, Value(std::int32_t{1})));
}

TEST_F(ControlUnitsTest, InvalidBlocksFailTheUnit) {
  plan.block = {7, 0, 0, 0, 1};  // a version, then fields cut short
  EXPECT_FALSE(makeSuperBarUnit(plan, site));
  EXPECT_FALSE(makePageControlUnit(plan, site));
}

TEST_F(ControlUnitsTest, PageControlUnitHoldsItsPagesUnitsAndHidesTheOtherPages) {
  plan.rect = {8, 40, 792, 456};
  plan.childIds = {0x16010EC8, 0, 0x16010EE2, 0x16010EE1, 0};
  auto pages = makePageControlUnit(plan, site);
  ASSERT_TRUE(pages);
  EXPECT_EQ(pages->childParent(), pages->window());
  for (UnitId id : {0x16010EC8u, 0x16010EE2u, 0x16010EE1u}) {
    site.windows[id] = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 80, 50, 20,
                                       pages->childParent(), nullptr, nullptr, nullptr);
  }
  pages->unitsCreated();
  EXPECT_TRUE(pages->mayShowChild(0x16010EC8));
  EXPECT_FALSE(pages->mayShowChild(0x16010EE2));
  EXPECT_FALSE(IsWindowVisible(site.windows[0x16010EE1]));
  HWND tabs = FindWindowExA(pages->window(), nullptr, WC_TABCONTROLA, nullptr);
  ASSERT_TRUE(tabs);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 2) << "one tab per stored page list";
}

TEST_F(ControlUnitsTest, StatusBarUnitHasItsWindow) {
  plan.rect = {0, 268, 544, 288};
  auto bar = makeStatusBarUnit(plan, site);
  ASSERT_TRUE(bar);
  char name[32] = {};
  GetClassNameA(bar->window(), name, sizeof(name));
  EXPECT_STREQ(name, STATUSCLASSNAMEA);
}

}  // namespace
}  // namespace forms
