#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bnd/entry_output.h"
#include "platform/platform.h"
#include "tests/unit/temp_folder.h"

namespace {

class MakeDirectoryChain : public ::testing::Test {
 protected:
  void TearDown() override { use_code_page(system_code_page_); }
  int system_code_page_ = active_code_page();
  temp_folder folder_;
};

TEST_F(MakeDirectoryChain, CreatesEveryMissingFolderOutermostFirst) {
  const struct {
    const char* path;
    int result;
    std::vector<const char*> folders;  // must exist afterwards
  } cases[] = {
      {"out", 1, {"out"}},
      {"a1\\b\\c", 1, {"a1", "a1\\b", "a1\\b\\c"}},
      {"a2\\b\\c\\", 1, {"a2", "a2\\b", "a2\\b\\c"}},
      {"a3/b/c", 1, {"a3", "a3\\b", "a3\\b\\c"}},
      {"a4\\b/c", 1, {"a4", "a4\\b", "a4\\b\\c"}},
      // Short first folders are made too: a destination may be two letters.
      {"ab", 1, {"ab"}},
      {"x\\", 1, {"x"}},
      {"cd\\ef", 1, {"cd", "cd\\ef"}},
      {"abc\\d", 1, {"abc", "abc\\d"}},
      {".\\dot", 1, {"dot"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(make_directory_chain(c.path), c.result) << c.path;
    for (const char* made : c.folders) {
      EXPECT_TRUE(is_existing_folder(made)) << c.path << " should make " << made;
    }
  }
}

TEST_F(MakeDirectoryChain, EmptyPathMakesNothing) {
  EXPECT_EQ(make_directory_chain(""), 0);
  EXPECT_TRUE(std::filesystem::is_empty(folder_.path()));
}

TEST_F(MakeDirectoryChain, ExistingFoldersAreKept) {
  ASSERT_EQ(make_directory_chain("keep\\inner"), 1);
  write_file("keep/inner/file", "data");
  EXPECT_EQ(make_directory_chain("keep\\inner"), 1);
  EXPECT_EQ(read_file("keep/inner/file"), "data");
}

TEST_F(MakeDirectoryChain, StopsAtAFileInTheWayAndKeepsWhatItMade) {
  ASSERT_EQ(make_directory_chain("out"), 1);
  write_file("out/f", "");
  EXPECT_EQ(make_directory_chain("new\\..\\out\\f\\sub"), 0);
  EXPECT_TRUE(is_existing_folder("new"));
  EXPECT_FALSE(is_existing_folder("out\\f\\sub"));
}

TEST_F(MakeDirectoryChain, AbsolutePathsStartBelowTheRoot) {
  std::string base = tool_form(folder_.path());
  EXPECT_EQ(make_directory_chain((base + "\\abs\\deep").c_str()), 1);
  EXPECT_TRUE(is_existing_folder("abs\\deep"));
}

TEST_F(MakeDirectoryChain, PathTooLongForAPathBufferIsRefused) {
  std::string path(300, 'a');
  EXPECT_EQ(make_directory_chain(path.c_str()), 0);
  EXPECT_TRUE(std::filesystem::is_empty(folder_.path()));
}

// Windows reads the bytes of a name in its own code page, whatever the tool
// scans with; elsewhere the tool's scan alone decides.
bool system_reads_names_as(int code_page) {
#ifdef _WIN32
  return active_code_page() == code_page;
#else
  (void)code_page;
  return true;
#endif
}

// 0x95 0x5C is one Shift_JIS character (表); its second byte is a backslash
// only where the code page has no double-byte characters.
TEST_F(MakeDirectoryChain, DoubleByteCharacterIsNeverSplit) {
  if (!system_reads_names_as(code_page_shift_jis)) GTEST_SKIP() << "needs code page 932";
  use_code_page(code_page_shift_jis);
  EXPECT_EQ(make_directory_chain("data\\\x95\x5c\\x"), 1);
  EXPECT_TRUE(is_existing_folder("data\\\x95\x5c\\x"));
  auto made = std::filesystem::directory_iterator("data");
  EXPECT_EQ(std::distance(begin(made), end(made)), 1) << "one folder for one character";
}

TEST_F(MakeDirectoryChain, SingleByteCodePageSplitsAtEveryBackslash) {
  if (!system_reads_names_as(code_page_single_byte)) GTEST_SKIP() << "needs a single-byte code page";
  use_code_page(code_page_single_byte);
  EXPECT_EQ(make_directory_chain("sb\\\x95\x5c" "x"), 1);
  EXPECT_TRUE(is_existing_folder("sb\\\x95"));
  EXPECT_TRUE(is_existing_folder("sb\\\x95\\x"));
}

}  // namespace
