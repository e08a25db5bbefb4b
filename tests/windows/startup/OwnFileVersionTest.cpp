#include <gtest/gtest.h>

#include "model/OwnFileVersion_win.h"

TEST(OwnFileVersion, ProductCarriesItsVersionResource) {
  VersionPair v = FileVersionOf(VT_PRODUCT_EXE);
  EXPECT_EQ(v.major, 2);
  EXPECT_EQ(v.minor, 21);
}

TEST(OwnFileVersion, NoResourceMeansVersionOneZero) {
  // The test executable itself has no version resource.
  VersionPair own = OwnFileVersion();
  EXPECT_EQ(own.major, 1);
  EXPECT_EQ(own.minor, 0);
  VersionPair missing = FileVersionOf("Z:\\no\\such\\file.exe");
  EXPECT_EQ(missing.major, 1);
  EXPECT_EQ(missing.minor, 0);
}
