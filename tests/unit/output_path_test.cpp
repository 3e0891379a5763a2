#include <gtest/gtest.h>

#include <string>

#include "bnd/output_path.h"
#include "platform/platform.h"
#include "tests/support/bnd_builder.h"

namespace {

TEST(IsSafeEntryPart, RefusesWhatWouldLeaveTheOutputFolder) {
  const struct {
    const char* part;
    bool safe;
  } cases[] = {
      {"a.bin", true},
      {"data/a.bin", true},
      {"data\\sub\\a.bin", true},
      {"/a.bin", true},  // under a destination: out\/a.bin lies inside out
      {"./a/.", true},
      {"a..b/c", true},
      {"..a", true},
      {"...txt", true},
      {"", true},
      {"..", false},
      {"../x", false},
      {"..\\x", false},
      {"a/../b", false},
      {"a\\..\\b", false},
      {"a/..", false},
      {"/../a", false},
      {"...", false},
      {". .", false},
      {" ..", false},
      {".. ", false},
      {"C:x", false},
      {"c:\\x", false},
      {"\\\\C:", false},   // a drive after the leading separators
      {"ab:c", true},      // ':' elsewhere is a name (or a stream) inside out
      {"con", false},
      {"CON", false},
      {"a/Con.txt", false},
      {"aux.tar.gz", false},
      {"NUL  ", false},
      {"prn.", false},
      {"com1", false},
      {"LPT9.log", false},
      {"com0", true},
      {"lpt10", true},
      {"console", true},
      {"icon", true},
      {"nul_", true},
  };
  for (const auto& c : cases) EXPECT_EQ(is_safe_entry_part(c.part), c.safe) << c.part;
}

TEST(IsSafeEntryPart, NeverSplitsADoubleByteCharacter) {
  // 0x95 0x5C is one Shift_JIS character; in a single-byte code page its
  // second byte is a backslash that cuts ".." off as a component.
  const char* part = "\x95\x5c..";
  int system_code_page = active_code_page();
  use_code_page(code_page_shift_jis);
  EXPECT_TRUE(is_safe_entry_part(part));
  use_code_page(code_page_single_byte);
  EXPECT_FALSE(is_safe_entry_part(part));
  use_code_page(system_code_page);
}

class PlanEntryOutput : public ::testing::Test {
 protected:
  entry_output plan(const std::vector<bnd_entry>& entries, const char* root, bool flatten) {
    image_ = build_bnd(entries);
    archive_header header{};
    const auto* data = reinterpret_cast<const unsigned char*>(image_.bytes.data());
    EXPECT_TRUE(decode_archive_header(data, image_.bytes.size(), &header));
    start_walk(&walk_, data, static_cast<std::uint32_t>(image_.directory_size), header);
    EXPECT_EQ(next_file_entry(&walk_, &entry_), walk_file_entry);
    return plan_entry_output(walk_, entry_, root, flatten, entry_path_, output_path_);
  }

  bnd_image image_;
  directory_walk walk_{};
  file_entry entry_{};
  char entry_path_[path_buffer_size] = "";
  char output_path_[path_buffer_size] = "";
};

TEST_F(PlanEntryOutput, KeepsFoldersBelowTheRoot) {
  entry_output out = plan({folder(1, "/data"), file(2, "/a.bin", "")}, "out\\", false);
  EXPECT_EQ(out.verdict, entry_writable);
  EXPECT_STREQ(out.shown, "/data/a.bin");
  EXPECT_STREQ(output_path_, "out\\data/a.bin");
  EXPECT_EQ(std::string(output_path_, out.folder_length), "out\\data");
}

TEST_F(PlanEntryOutput, DropsLeadingSeparatorsOnlyWithoutADestination) {
  entry_output out = plan({folder(1, "//data"), file(2, "/a", "")}, "", false);
  EXPECT_STREQ(output_path_, "data/a");
  EXPECT_STREQ(out.shown, "//data/a");
  plan({folder(1, "//data"), file(2, "/a", "")}, "out\\", false);
  EXPECT_STREQ(output_path_, "out\\/data/a");
  plan({file(0, "\\\\x", "")}, "", true);
  EXPECT_STREQ(output_path_, "x");
}

TEST_F(PlanEntryOutput, FlattenedAndDepthZeroUseTheOwnName) {
  entry_output flat = plan({folder(1, "/data"), file(2, "/a.bin", "")}, "out\\", true);
  EXPECT_STREQ(flat.shown, "/a.bin");
  EXPECT_STREQ(output_path_, "out\\/a.bin");
  EXPECT_EQ(flat.folder_length, 0u);

  entry_output zero = plan({file(0, "sub/z.bin", "")}, "out\\", false);
  EXPECT_STREQ(zero.shown, "sub/z.bin");
  EXPECT_STREQ(output_path_, "out\\sub/z.bin");
  EXPECT_EQ(zero.folder_length, 0u);
}

TEST_F(PlanEntryOutput, RefusalsNameWhatTheConsoleWouldHaveShown) {
  entry_output dots = plan({folder(1, "/.."), file(2, "/x", "")}, "out\\", false);
  EXPECT_EQ(dots.verdict, entry_unsafe);
  EXPECT_STREQ(dots.shown, "/../x");

  entry_output deep = plan({file(20, "/deep", "")}, "out\\", false);
  EXPECT_EQ(deep.verdict, entry_unsafe);
  EXPECT_STREQ(deep.shown, "/deep");

  std::string name(200, 'n');
  entry_output joined = plan({folder(1, "/" + name), file(2, "/" + name, "")}, "", false);
  EXPECT_EQ(joined.verdict, entry_too_long);
  EXPECT_STREQ(joined.shown, ("/" + name).c_str());

  std::string root(100, 'r');
  root += "\\";
  entry_output output = plan({file(1, "/" + name, "")}, root.c_str(), false);
  EXPECT_EQ(output.verdict, entry_too_long);
  EXPECT_STREQ(output.shown, ("/" + name).c_str());
}

TEST_F(PlanEntryOutput, OutputPathOf259BytesFits) {
  std::string root(250, 'r');
  root += "\\";  // 251 bytes
  EXPECT_EQ(plan({file(0, "12345678", "")}, root.c_str(), true).verdict, entry_writable);
  EXPECT_EQ(std::string(output_path_).size(), 259u);
  EXPECT_EQ(plan({file(0, "123456789", "")}, root.c_str(), true).verdict, entry_too_long);
}

}  // namespace
