#include "forms/units/zip/zip_unit.h"

#include <gtest/gtest.h>

#include "test_support/fake_unit_site.h"
#include "test_support/temp_folder.h"
#include "test_support/zip_maker.h"

namespace forms {
namespace {

TEST(ZipUnit, RaisesItsProgressAsEventOneAndStopsOnFalse) {
  test_support::TempFolder dir;
  dir.write("temp1.zip", test_support::makeZip({{"a", "a"}, {"b", "b"}, {"c", "c"}, {"d", "d"}}));
  test_support::FakeUnitSite site;
  auto unit = makeZipUnit(UnitPlan{}, site);
  ASSERT_TRUE(unit);
  EXPECT_EQ(unit->window(), nullptr);
  auto* zip = dynamic_cast<ZipUnit*>(unit.get());
  ASSERT_TRUE(zip);

  EXPECT_EQ(zip->unzip(dir / "temp1.zip", dir / "e_update"), 1);
  std::vector<std::int32_t> percents;
  for (const auto& [event, args] : site.raised) {
    EXPECT_EQ(event, 1);
    ASSERT_EQ(args.size(), 1u);
    percents.push_back(args[0]);
  }
  EXPECT_EQ(percents, (std::vector<std::int32_t>{0, 25, 50, 75, 100}));

  // A handler that returns false after the first entry.
  site.raised.clear();
  site.answer = Value(false);
  EXPECT_EQ(zip->unzip(dir / "temp1.zip", dir / "second"), 1);
  EXPECT_EQ(site.raised.size(), 1u);
  EXPECT_TRUE(dir.exists("second\\a"));
  EXPECT_FALSE(dir.exists("second\\b"));
}

}  // namespace
}  // namespace forms
