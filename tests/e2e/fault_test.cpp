// Faults around the archive and the destination: an archive cut short at
// any point, and a destination that cannot be made.

#include <string>
#include <vector>

#include "bnd/messages.h"
#include "tests/e2e/tool_runner.h"
#include "tests/support/bnd_builder.h"

namespace {

const std::string banner = console_text(msg_banner);

std::string ok_line(const std::string& name, const std::string& size) {
  return console_text("%s %s bytes.OK\n", {name, size});
}

std::string short_line(const std::string& name, const std::string& size,
                       const std::string& output_path) {
  return console_text("%s %s bytes.", {name, size}) + console_text(msg_data_short, {output_path});
}

class Faults : public ToolTest {};

TEST_F(Faults, ATruncatedArchiveKeepsWhatItHoldsAndReportsTheRest) {
  bnd_image image = build_bnd({file(1, "/a", "aaaa"), file(1, "/b", "bbbbbbbb"), file(1, "/c", "c")});
  const std::size_t b_data = get_u32(image.bytes, image.info_offsets[1] + info_data_offset);
  const struct {
    const char* why;
    std::size_t length;
    std::string after_extract;
    std::vector<std::string> made;
    std::string b;  // the file /b, when made
  } cases[] = {
      {"cut in the records", image.record_offsets[1] + 3,
       console_text(msg_directory_damaged, {"data.bnd"}), {}, ""},
      {"cut after the directory", image.directory_size,
       short_line("/a", "4", "out\\a") + short_line("/b", "8", "out\\b") +
           short_line("/c", "1", "out\\c"),
       {"a", "b", "c"}, std::string(8, '\0')},
      {"cut inside the second entry's data", b_data + 3,
       ok_line("/a", "4") + short_line("/b", "8", "out\\b") + short_line("/c", "1", "out\\c"),
       {"a", "b", "c"}, "bbb" + std::string(5, '\0')},
  };
  for (const auto& c : cases) {
    write_file(program_ + "/data.bnd", image.bytes.substr(0, c.length));
    run_result result = run({"data.bnd", "out"});
    EXPECT_EQ(result.out,
              banner + console_text(msg_extract_line, {"data.bnd", "out\\"}) + c.after_extract)
        << c.why;
    EXPECT_EQ(result.status, 1) << c.why;
    EXPECT_EQ(list_tree(program_ + "/out"), c.made) << c.why;
    if (!c.b.empty()) {
      EXPECT_EQ(read_file(program_ + "/out/b"), c.b) << c.why;
    }
    ASSERT_EQ(system(("rm -rf " + program_ + "/out").c_str()), 0);
  }
}

TEST_F(Faults, DamagedFieldsStopTheWalkOrShortenTheEntry) {
  const bnd_image good = build_bnd({file(1, "/a", "1"), file(1, "/b", "22")});
  const std::string extract = console_text(msg_extract_line, {"data.bnd", "out\\"});
  const std::string damaged = console_text(msg_directory_damaged, {"data.bnd"});
  const struct {
    const char* why;
    void (*damage)(bnd_image&);
    std::string after_extract;
  } cases[] = {
      {"largest record count, the last record its own successor",
       [](bnd_image& i) {
         put_u32(i.bytes, header_record_count, 0x7FFFFFFF);
         i.bytes[i.record_offsets[1] + record_length] = 0;
       },
       ok_line("/a", "1") + ok_line("/b", "2") + damaged},
      {"record length past the area",
       [](bnd_image& i) { i.bytes[i.record_offsets[0] + record_length] = '\xff'; },
       ok_line("/a", "1") + damaged},
      {"name without its zero at the area's end",
       [](bnd_image& i) {
         // The area ends after "/b"; the info block of /a moves into the
         // header, whose bytes 28 to 35 are zeros: no data, at offset 0.
         put_u32(i.bytes, header_directory_size, static_cast<std::uint32_t>(i.record_offsets[1] + 9));
         put_u32(i.bytes, i.record_offsets[0] + record_info_offset, 20);
       },
       ok_line("/a", "0") + damaged},
      {"data offset past the end, stated size",
       [](bnd_image& i) { put_u32(i.bytes, i.info_offsets[1] + info_data_offset, 0xFFFFFF00); },
       ok_line("/a", "1") + short_line("/b", "2", "out\\b")},
      {"data offset past the end, to the end",
       [](bnd_image& i) {
         put_u32(i.bytes, i.info_offsets[1] + info_data_offset, 0xFFFFFF00);
         put_u32(i.bytes, i.info_offsets[1] + info_data_size, 0xFFFFFFFF);
       },
       ok_line("/a", "1") + short_line("/b", "4,294,967,295", "out\\b")},
  };
  for (const auto& c : cases) {
    bnd_image image = good;
    c.damage(image);
    write_file(program_ + "/data.bnd", image.bytes);
    run_result result = run({"data.bnd", "out"});
    EXPECT_EQ(result.out, banner + extract + c.after_extract) << c.why;
    EXPECT_EQ(result.status, 1) << c.why;
    ASSERT_EQ(system(("rm -rf " + program_ + "/out").c_str()), 0);
  }
}

TEST_F(Faults, ADestinationBelowAFileReportsEveryEntry) {
  write_file(program_ + "/data.bnd", build_bnd({folder(1, "/d"), file(2, "/f", "x"),
                                                file(1, "/top", "t")})
                                         .bytes);
  write_file(program_ + "/blocker", "a file, not a folder");
  run_result result = run({"data.bnd", "blocker\\out"});
  EXPECT_EQ(result.out, banner + console_text(msg_extract_line, {"data.bnd", "blocker\\out\\"}) +
                            console_text("/d/f 1 bytes.") +
                            console_text(msg_cannot_create, {"blocker\\out\\d/f"}) +
                            console_text("/top 1 bytes.") +
                            console_text(msg_cannot_create, {"blocker\\out\\top"}));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(read_file(program_ + "/blocker"), "a file, not a folder");
}

}  // namespace
