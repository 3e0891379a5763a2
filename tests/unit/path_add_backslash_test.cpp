#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/platform.h"

namespace {

std::string added(const std::string& path, bool* ends_in_backslash) {
  char buffer[path_buffer_size];
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  *ends_in_backslash = path_add_backslash(buffer);
  return buffer;
}

TEST(PathAddBackslash, AppendsOneBackslashWhereThereIsRoom) {
  const struct {
    std::string path;
    std::string result;
    bool ends_in_backslash;
  } cases[] = {
      {"out", "out\\", true},
      {"out\\", "out\\", true},
      {"a/b", "a/b\\", true},
      {std::string(258, 'x'), std::string(258, 'x') + "\\", true},  // 259 bytes fit
      {std::string(259, 'y'), std::string(259, 'y'), false},        // no room
      {std::string(258, 'z') + "\\", std::string(258, 'z') + "\\", true},
  };
  for (const auto& c : cases) {
    bool ends = false;
    EXPECT_EQ(added(c.path, &ends), c.result) << c.path.size();
    EXPECT_EQ(ends, c.ends_in_backslash) << c.path.size();
  }
}

TEST(PathAddBackslash, ADoubleByteCharacterEndingIn5CIsNoBackslash) {
  int system_code_page = active_code_page();
#ifdef _WIN32
  // The shell function reads the path in the system's own code page.
  if (system_code_page != code_page_shift_jis) GTEST_SKIP() << "needs code page 932";
#endif
  use_code_page(code_page_shift_jis);
  bool ends = false;
  EXPECT_EQ(added("data\\\x95\x5c", &ends), "data\\\x95\x5c\\");
  EXPECT_TRUE(ends);
  use_code_page(system_code_page);
}

}  // namespace
