#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "bnd/entry_output.h"

TEST(FormatByteCount, GroupsDigitsInThreesFromTheRight) {
  const struct {
    std::uint32_t count;
    const char* text;
  } cases[] = {
      {0, "0"},
      {7, "7"},
      {999, "999"},
      {1000, "1,000"},        // the first comma
      {65536, "65,536"},
      {999999, "999,999"},
      {1000000, "1,000,000"},
      {1234567, "1,234,567"},
      {5242880, "5,242,880"},
      {100000000, "100,000,000"},
      {1000000000, "1,000,000,000"},  // ten digits
      {4294967295u, "4,294,967,295"},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(format_byte_count(c.count), c.text) << c.count;
  }
}

TEST(FormatByteCount, EachCallOverwritesTheSharedText) {
  const char* first = format_byte_count(4294967295u);
  const char* second = format_byte_count(12);
  EXPECT_EQ(first, second);
  EXPECT_STREQ(second, "12");
}
