// An archive that holds copies of itself under several names: each copy is
// unpacked once. Were every order of the copies unpacked, down to the
// nesting limit, twelve copies (a 400-byte file) would take about e * 12!
// unpackings, a run that never ends.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/reliability/forked_extraction.h"
#include "tests/support/seed_archives.h"
#include "tests/unit/temp_folder.h"

namespace {

std::size_t count_of(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST(SelfCopies, EachCopyIsUnpackedOnce) {
  const int copies = 12;
  const std::string archive = self_copying_archive(copies);
  for (bool flatten : {false, true}) {
    temp_folder folder;
    const std::string input = (folder.path() / "input.bnd").string();
    write_file(input, archive);
    std::filesystem::create_directory("out");
    forked_result run = run_forked_extraction(tool_form(input), tool_form(folder.path() / "out") + "\\",
                                              flatten, 20);
    ASSERT_TRUE(run.finished) << run.why;
    // The archive itself and each copy once.
    EXPECT_EQ(count_of(run.out, "Extract "), copies + 1u) << flatten;
    // Every copy written is whole; later entries that would overwrite one
    // are refused, which counts as a failure.
    EXPECT_EQ(run.status, 1);
    for (int i = 0; i < copies; ++i) {
      EXPECT_TRUE(read_file("out/n" + std::to_string(i) + ".bnd") == archive) << i;
    }
  }
}

}  // namespace
