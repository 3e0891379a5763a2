// The copy's memory does not grow with the entry: unpacking a 64 MiB entry
// through the tool's own chunked copy needs less than 16 MiB more than
// unpacking a 1-byte one.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/reliability/forked_extraction.h"
#include "tests/reliability/platform_faults.h"
#include "tests/support/bnd_builder.h"
#include "tests/unit/temp_folder.h"

namespace {

// Writes an archive of one entry of size bytes, a megabyte at a time, so
// the test process itself never holds the data.
void write_archive(const std::string& path, std::uint32_t size) {
  bnd_image image = build_bnd({file(1, "/big", "")});
  put_u32(image.bytes, image.info_offsets[0] + info_data_size, size);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(image.bytes.data(), static_cast<std::streamsize>(image.bytes.size()));
  std::string chunk(1 << 20, '\0');
  for (std::size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<char>(i * 31 + i / 256);
  for (std::uint32_t left = size; left > 0;) {
    auto step = static_cast<std::uint32_t>(std::min<std::size_t>(left, chunk.size()));
    out.write(chunk.data(), step);
    left -= step;
  }
}

long peak_kib_unpacking(std::uint32_t size) {
  temp_folder folder;
  const std::string input = (folder.path() / "input.bnd").string();
  write_archive(input, size);
  std::filesystem::create_directory("out");
  faults.no_system_copy = true;
  forked_result run =
      run_forked_extraction(tool_form(input), tool_form(folder.path() / "out") + "\\", false, 60);
  faults.no_system_copy = false;
  EXPECT_TRUE(run.finished) << run.why;
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(std::filesystem::file_size("out/big"), size);
  return run.peak_kib;
}

TEST(CopyMemory, A64MiBEntryNeedsLessThan16MiBMoreThanATinyOne) {
  long tiny = peak_kib_unpacking(1);
  long big = peak_kib_unpacking(64u << 20);
  std::printf("peak resident memory: %ld KiB for a 1-byte entry, %ld KiB for 64 MiB\n", tiny, big);
  RecordProperty("peak_kib_tiny", static_cast<int>(tiny));
  RecordProperty("peak_kib_64mib", static_cast<int>(big));
  EXPECT_LT(big - tiny, 16 * 1024);
}

}  // namespace
