// The tool's memory does not grow with an entry's size: unpacking a 64 MiB
// entry peaks less than 16 MiB above unpacking a 1-byte one.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/e2e/tool_runner.h"
#include "tests/support/bnd_builder.h"

namespace {

class Memory : public ToolTest {
 protected:
  // Peak resident memory of one run of the tool, in KiB; -1 when it failed.
  long peak_kib_unpacking(std::uint32_t size) {
    bnd_image image = build_bnd({file(1, "/big", "")});
    put_u32(image.bytes, image.info_offsets[0] + info_data_size, size);
    {
      std::ofstream out(program_ + "/data.bnd", std::ios::binary | std::ios::trunc);
      out.write(image.bytes.data(), static_cast<std::streamsize>(image.bytes.size()));
      std::string chunk(1 << 20, '\x5a');
      for (std::uint32_t left = size; left > 0;) {
        auto step = static_cast<std::uint32_t>(std::min<std::size_t>(left, chunk.size()));
        out.write(chunk.data(), step);
        left -= step;
      }
    }
    std::string tool;
    for (const std::string& name : list_tree(program_)) {
      if (name.rfind("krovex", 0) == 0) tool = program_ + "/" + name;
    }
    pid_t child = fork();
    if (child == 0) {
      int null_output = open("/dev/null", O_WRONLY);
      if (null_output < 0 || chdir(working_.c_str()) != 0) _exit(126);
      dup2(null_output, 1);
      execl(tool.c_str(), tool.c_str(), "data.bnd", "out", static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) return -1;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(std::filesystem::file_size(program_ + "/out/big"), size);
    return usage.ru_maxrss;
  }
};

TEST_F(Memory, A64MiBEntryPeaksLessThan16MiBAboveATinyOne) {
  if (windows_tool() || std::getenv("KROVEX_LAUNCHER") != nullptr) {
    GTEST_SKIP() << "measures the Linux tool's own process";
  }
  long tiny = peak_kib_unpacking(1);
  long big = peak_kib_unpacking(64u << 20);
  ASSERT_GT(tiny, 0);
  ASSERT_GT(big, 0);
  std::printf("peak resident memory: %ld KiB for a 1-byte entry, %ld KiB for 64 MiB\n", tiny, big);
  EXPECT_LT(big - tiny, 16 * 1024);
}

}  // namespace
