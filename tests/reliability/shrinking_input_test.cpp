// The archive file shrinks after its directory was loaded: entries whose
// data went with it are reported short and written at full size with zeros,
// by the system's copy and by the tool's own.

#include <gtest/gtest.h>

#include <string>

#include "tests/reliability/forked_extraction.h"
#include "tests/reliability/platform_faults.h"
#include "tests/support/bnd_builder.h"
#include "tests/unit/temp_folder.h"

namespace {

std::string short_line(const std::string& shown, const std::string& size, const std::string& path) {
  // "Error : データが足りません %s.\n" in Shift_JIS
  return shown + " " + size + " bytes.Error : \x83" "f\x81[\x83^\x82\xaa\x91\xab\x82\xe8\x82\xdc\x82\xb9\x82\xf1 " +
         path + ".\r\n";
}

std::string ok_line(const std::string& shown, const std::string& size) {
  return shown + " " + size + " bytes.OK\r\n";
}

TEST(ShrinkingInput, EntriesWhoseDataWentAreReportedShort) {
  bnd_image image = build_bnd({file(1, "/a", "0123456789"), file(1, "/b", "bb"),
                               file(1, "/rest", "RRRR")});
  put_u32(image.bytes, image.info_offsets[2] + info_data_size, 0xFFFFFFFF);
  const long a_data = get_u32(image.bytes, image.info_offsets[0] + info_data_offset);
  const long rest_data = get_u32(image.bytes, image.info_offsets[2] + info_data_offset);

  const struct {
    const char* why;
    long shrink_to;
    std::string a, b, rest;  // the files afterwards
    bool a_short, b_short, rest_short;
  } cases[] = {
      {"cut inside the first entry", a_data + 4, "0123" + std::string(6, '\0'),
       std::string(2, '\0'), "", true, true, true},
      {"cut to nothing", 0, std::string(10, '\0'), std::string(2, '\0'), "", true, true, true},
      // A to-the-end entry takes what is left when its turn comes.
      {"cut inside the last entry", rest_data + 2, "0123456789", "bb", "RR", false, false, false},
  };
  for (bool system_copy : {true, false}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.why) + (system_copy ? "" : ", the tool's own copy"));
      temp_folder folder;
      const std::string input = (folder.path() / "input.bnd").string();
      write_file(input, image.bytes);
      const std::string root = tool_form(folder.path() / "out") + "\\";
      std::filesystem::create_directory(folder.path() / "out");
      faults = {input, c.shrink_to, !system_copy};
      forked_result run = run_forked_extraction(tool_form(input), root, false);
      faults = {};
      ASSERT_TRUE(run.finished) << run.why;
      EXPECT_EQ(run.out, "Extract " + tool_form(input) + " to " + root + ".\r\n" +
                             (c.a_short ? short_line("/a", "10", root + "a") : ok_line("/a", "10")) +
                             (c.b_short ? short_line("/b", "2", root + "b") : ok_line("/b", "2")) +
                             (c.rest_short ? short_line("/rest", "4,294,967,295", root + "rest")
                                           : ok_line("/rest", "4,294,967,295")));
      EXPECT_EQ(run.status, c.a_short ? 1 : 0);
      EXPECT_EQ(read_file("out/a"), c.a);
      EXPECT_EQ(read_file("out/b"), c.b);
      EXPECT_EQ(read_file("out/rest"), c.rest);
    }
  }
}

}  // namespace
