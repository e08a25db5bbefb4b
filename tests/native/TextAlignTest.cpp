#include "ui/controls/TextAlign.h"

#include <gtest/gtest.h>

#include "ui/Core/MarkupLayout.h"

namespace {

TEST(TextAlign, WordsTable) {
  using namespace vt;
  const unsigned label = kMarkupVCenter;  // a label's default
  struct Case {
    const char* value;
    unsigned expected;
  } cases[] = {
      {"centerbottom", kMarkupCenter | kMarkupBottom | kMarkupSingleLine},
      {"wrap", label},
      {"", label},
      {"left", 0},
      {"center", label | kMarkupCenter},
      {"right", kMarkupRight},
      {"top", kMarkupSingleLine},
      {"vcenter", kMarkupVCenter | kMarkupCenter | kMarkupSingleLine},  // "vcenter" also holds "center"
      {"bottom", kMarkupBottom | kMarkupSingleLine},
      {"right top", kMarkupRight | kMarkupSingleLine},
      {"left center", kMarkupCenter},
  };
  for (const Case& c : cases) EXPECT_EQ(ApplyAlignWords(c.value, label), c.expected) << c.value;
  EXPECT_EQ(ApplyAlignWords(nullptr, label), label);
  // Word breaking of a text control is kept.
  EXPECT_EQ(ApplyAlignWords("center", kMarkupWordBreak), kMarkupWordBreak | kMarkupCenter);
}

}  // namespace
