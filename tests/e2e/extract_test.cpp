// Unpacking archives: what lands on disk and what the console shows.

#include <string>
#include <vector>

#include "bnd/messages.h"
#include "tests/e2e/tool_runner.h"
#include "tests/support/bnd_builder.h"

namespace {

const std::string banner = console_text(msg_banner);

std::string extract_line(const std::string& archive, const std::string& root) {
  return console_text(msg_extract_line, {archive, root});
}

std::string entry_line(const std::string& name, const std::string& size) {
  return console_text("%s %s bytes.OK\n", {name, size});
}

class Extract : public ToolTest {
 protected:
  void put_archive(const std::string& name, const std::string& bytes) {
    write_file(program_ + "/" + name, bytes);
  }
};

TEST_F(Extract, KeepsTheArchivesFoldersUnderTheDestination) {
  std::string big(1234, 'b');
  put_archive("data.bnd", build_bnd({folder(1, "/data"), file(2, "/a.bin", "hello"),
                                     folder(2, "/sub"), file(3, "/b.txt", big),
                                     folder(1, "/empty"), file(1, "/top.txt", "top")})
                              .bytes);
  run_result result = run({"data.bnd", "out"});
  EXPECT_EQ(result.out, banner + extract_line("data.bnd", "out\\") +
                            entry_line("/data/a.bin", "5") +
                            entry_line("/data/sub/b.txt", "1,234") +
                            entry_line("/top.txt", "3"));
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(list_tree(program_ + "/out"),
            (std::vector<std::string>{"data/", "data/a.bin", "data/sub/", "data/sub/b.txt",
                                      "top.txt"}));
  EXPECT_EQ(read_file(program_ + "/out/data/a.bin"), "hello");
  EXPECT_EQ(read_file(program_ + "/out/data/sub/b.txt"), big);
  EXPECT_TRUE(list_tree(working_).empty()) << "output belongs in the program folder";
}

TEST_F(Extract, FlattenedPutsEveryFileStraightIntoTheDestination) {
  put_archive("data.bnd", build_bnd({folder(1, "/one"), file(2, "/same.txt", "first"),
                                     folder(1, "/two"), file(2, "/same.txt", "later"),
                                     file(2, "other.txt", "o")})
                              .bytes);
  run_result result = run({"-x", "data.bnd", "flat"});
  EXPECT_EQ(result.out, banner + extract_line("data.bnd", "flat\\") +
                            entry_line("/same.txt", "5") + entry_line("/same.txt", "5") +
                            entry_line("other.txt", "1"));
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(list_tree(program_ + "/flat"), (std::vector<std::string>{"other.txt", "same.txt"}));
  EXPECT_EQ(read_file(program_ + "/flat/same.txt"), "later");
}

TEST_F(Extract, WithoutADestinationOutputLandsInTheProgramFolder) {
  put_archive("data.bnd", build_bnd({folder(1, "/d"), file(2, "/f.txt", "x")}).bytes);
  run_result result = run({"data.bnd"});
  EXPECT_EQ(result.out, banner + extract_line("data.bnd", "") + entry_line("/d/f.txt", "1"));
  EXPECT_EQ(read_file(program_ + "/d/f.txt"), "x");
  EXPECT_TRUE(list_tree(working_).empty());
}

TEST_F(Extract, NestedArchivesUnpackIntoTheSameRoot) {
  std::string inner = build_bnd({folder(1, "/in"), file(2, "/x.txt", "xx")}).bytes;
  put_archive("outer.bnd", build_bnd({folder(1, "/pack"), file(2, "/inner.bnd", inner),
                                      file(1, "/after.txt", "a"),
                                      file(1, "/plain.bnd.bak", "not an archive"),
                                      file(1, "/UPPER.BND", "not nested")})
                               .bytes);
  run_result result = run({"outer.bnd", "out"});
  std::string inner_size = std::to_string(inner.size());
  EXPECT_EQ(result.out,
            banner + extract_line("outer.bnd", "out\\") + entry_line("/pack/inner.bnd", inner_size) +
                extract_line("out\\pack/inner.bnd", "out\\") + entry_line("/in/x.txt", "2") +
                entry_line("/after.txt", "1") + entry_line("/plain.bnd.bak", "14") +
                extract_line("out\\plain.bnd.bak", "out\\") +
                console_text(msg_not_bnd, {"out\\plain.bnd.bak"}) +
                entry_line("/UPPER.BND", "10"));
  // A nested file that is no archive leaves the status alone.
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(list_tree(program_ + "/out"),
            (std::vector<std::string>{"UPPER.BND", "after.txt", "in/", "in/x.txt", "pack/",
                                      "pack/inner.bnd", "plain.bnd.bak"}));
}

TEST_F(Extract, ToTheEndEntryTakesEveryRemainingByte) {
  bnd_image image = build_bnd({file(1, "/rest", "0123456789")});
  put_u32(image.bytes, image.info_offsets[0] + info_data_size, 0xFFFFFFFF);
  image.bytes += "tail";
  put_archive("data.bnd", image.bytes);
  run_result result = run({"data.bnd", "out"});
  EXPECT_EQ(result.out, banner + extract_line("data.bnd", "out\\") +
                            entry_line("/rest", "4,294,967,295"));
  EXPECT_EQ(read_file(program_ + "/out/rest"), "0123456789tail");
  EXPECT_EQ(result.status, 0);
}

TEST_F(Extract, ArchivesThatCannotBeUnpackedReportWhy) {
  std::string good = build_bnd({file(1, "/a", "1")}).bytes;
  std::string huge_directory = good;
  put_u32(huge_directory, header_directory_size, 0xFFFFFFFF);
  std::string half_directory = good;
  put_u32(half_directory, header_directory_size, 0x80000000);
  std::string no_records = good;
  put_u32(no_records, header_record_count, 0);
  std::string negative_records = good;
  put_u32(negative_records, header_record_count, 0x80000001);
  std::string empty_directory = no_records;
  put_u32(empty_directory, header_directory_size, 0);

  const struct {
    const char* why;
    std::string bytes;
    std::string after_extract;  // console text after the Extract line
  } cases[] = {
      {"wrong fourth byte", "BNDx" + good.substr(4), console_text(msg_not_bnd, {"data.bnd"})},
      {"lower case magic", "bnd" + good.substr(3), console_text(msg_not_bnd, {"data.bnd"})},
      {"empty file", "", console_text(msg_not_bnd, {"data.bnd"})},
      {"three bytes", "BND", console_text(msg_not_bnd, {"data.bnd"})},
      {"magic without a header", good.substr(0, 39), console_text(msg_not_bnd, {"data.bnd"})},
      {"directory of 4 GiB", huge_directory, console_text(msg_out_of_memory, {"-1"})},
      {"directory of 2 GiB", half_directory, console_text(msg_out_of_memory, {"-2147483648"})},
      {"no records", no_records, ""},
      {"negative count", negative_records, ""},
      {"empty directory", empty_directory, ""},
  };
  for (const auto& c : cases) {
    write_file(program_ + "/data.bnd", c.bytes);
    run_result result = run({"data.bnd", "out"});
    EXPECT_EQ(result.out, banner + extract_line("data.bnd", "out\\") + c.after_extract) << c.why;
    // The status is the byte count of the message, or 0.
    EXPECT_EQ(result.status, exit_status(static_cast<int>(c.after_extract.size()) -
                                         (c.after_extract.empty() ? 0 : 1)))
        << c.why;
    EXPECT_TRUE(list_tree(program_ + "/out").empty()) << c.why;
  }
}

TEST_F(Extract, MissingArchiveGivesTheOpenError) {
  run_result result = run({"missing.bnd"});
  EXPECT_EQ(result.out, banner + console_text(msg_open_failed, {"missing.bnd"}));
  EXPECT_EQ(result.status, 31 + 11);
}

TEST_F(Extract, DirectorySizeBeyondTheFileReadsWhatTheFileHolds) {
  bnd_image image = build_bnd({file(1, "/a", "abc")});
  put_u32(image.bytes, header_directory_size, 0x7FFFFFFF);
  put_archive("data.bnd", image.bytes);
  run_result result = run({"data.bnd", "out"});
  EXPECT_EQ(result.out, banner + extract_line("data.bnd", "out\\") + entry_line("/a", "3"));
  EXPECT_EQ(result.status, 0);
}

TEST_F(Extract, EntriesThatCannotBeWrittenInFullAreReported) {
  bnd_image image = build_bnd({file(1, "/short", "0123456789"), file(1, "/taken", "t"),
                               file(1, "/fine", "f")});
  // The data of /short starts 4 bytes before the end of the file.
  put_u32(image.bytes, image.info_offsets[0] + info_data_offset,
          static_cast<std::uint32_t>(image.bytes.size() - 4));
  put_archive("data.bnd", image.bytes);
  ASSERT_EQ(system(("mkdir -p " + program_ + "/out/taken").c_str()), 0);

  run_result result = run({"data.bnd", "out"});
  EXPECT_EQ(result.out,
            banner + extract_line("data.bnd", "out\\") + "/short 10 bytes." +
                console_text(msg_data_short, {"out\\short"}) + "/taken 1 bytes." +
                console_text(msg_cannot_create, {"out\\taken"}) + entry_line("/fine", "1"));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(read_file(program_ + "/out/short"), image.bytes.substr(image.bytes.size() - 4) +
                                                    std::string(6, '\0'));
}

TEST_F(Extract, DamagedDirectoryStopsTheWalkAndKeepsWhatWasWritten) {
  bnd_image image = build_bnd({file(1, "/a", "1"), file(1, "/b", "2"), file(1, "/c", "3")});
  put_u32(image.bytes, image.record_offsets[1] + record_info_offset, 0xFFFFFFF0);
  put_archive("data.bnd", image.bytes);
  run_result result = run({"data.bnd", "out"});
  EXPECT_EQ(result.out, banner + extract_line("data.bnd", "out\\") + entry_line("/a", "1") +
                            console_text(msg_directory_damaged, {"data.bnd"}));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(list_tree(program_ + "/out"), (std::vector<std::string>{"a"}));
}

TEST_F(Extract, FailuresInsideNestedArchivesMakeTheStatusOne) {
  bnd_image inner = build_bnd({file(1, "/ok", "1"), file(1, "/short", "2")});
  put_u32(inner.bytes, inner.info_offsets[1] + info_data_offset, 0xFFFFFF00);
  put_archive("outer.bnd", build_bnd({file(1, "/inner.bnd", inner.bytes)}).bytes);
  run_result result = run({"outer.bnd", "out"});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.out.find(console_text(msg_data_short, {"out\\short"})), std::string::npos)
      << result.out;
}

TEST_F(Extract, AFailedWriteIsReported) {
  if (windows_tool()) GTEST_SKIP() << "/dev/full is a Linux device";
  put_archive("data.bnd", build_bnd({file(0, "full", "some data")}).bytes);
  run_result result = run({"-x", "data.bnd", "/dev/"});
  EXPECT_EQ(result.out, banner + extract_line("data.bnd", "/dev/\\") + "full 9 bytes." +
                            console_text(msg_write_failed, {"/dev/\\full"}));
  EXPECT_EQ(result.status, 1);
}

TEST_F(Extract, EachEntryGetsItsOwnFolderWhateverItFollows) {
  put_archive("data.bnd",
              build_bnd({folder(1, "/b"), file(2, "/1", "1"),
                         // Its name begins with the folder before it.
                         folder(1, "/bc"), file(2, "/2", "2"),
                         folder(1, "/b"), file(2, "/3", "3"),
                         // Below a folder already made.
                         folder(2, "/d"), file(3, "/4", "4"),
                         // A file where a folder has to go: each entry of
                         // that folder tries, and fails, on its own.
                         file(1, "/f", "x"), folder(1, "/f"), file(2, "/5", "5"),
                         file(2, "/6", "6"), folder(1, "/b"), file(2, "/7", "7")})
                  .bytes);
  run_result result = run({"data.bnd", "out"});
  EXPECT_EQ(result.out, banner + extract_line("data.bnd", "out\\") + entry_line("/b/1", "1") +
                            entry_line("/bc/2", "1") + entry_line("/b/3", "1") +
                            entry_line("/b/d/4", "1") + entry_line("/f", "1") +
                            "/f/5 1 bytes." + console_text(msg_cannot_create, {"out\\f/5"}) +
                            "/f/6 1 bytes." + console_text(msg_cannot_create, {"out\\f/6"}) +
                            entry_line("/b/7", "1"));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(list_tree(program_ + "/out"),
            (std::vector<std::string>{"b/", "b/1", "b/3", "b/7", "b/d/", "b/d/4", "bc/", "bc/2",
                                      "f"}));
}

TEST_F(Extract, FilesAlreadyThereAreReplacedInFull) {
  put_archive("data.bnd", build_bnd({folder(1, "/data"), file(2, "/a.bin", "new a"),
                                     file(2, "/b.bin", "new b"), file(2, "/c.bin", "new c")})
                              .bytes);
  // b.bin follows an entry of its folder; a.bin is the first of it.
  ASSERT_EQ(system(("mkdir -p " + program_ + "/out/data " + program_ + "/flat").c_str()), 0);
  write_file(program_ + "/out/data/a.bin", std::string(50, 'a'));
  write_file(program_ + "/out/data/b.bin", std::string(50, 'b'));
  write_file(program_ + "/flat/c.bin", std::string(50, 'c'));
  run_result result = run({"data.bnd", "out"});
  EXPECT_EQ(result.out, banner + extract_line("data.bnd", "out\\") +
                            entry_line("/data/a.bin", "5") + entry_line("/data/b.bin", "5") +
                            entry_line("/data/c.bin", "5"));
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(read_file(program_ + "/out/data/a.bin"), "new a");
  EXPECT_EQ(read_file(program_ + "/out/data/b.bin"), "new b");
  EXPECT_EQ(read_file(program_ + "/out/data/c.bin"), "new c");

  result = run({"-x", "data.bnd", "flat"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(list_tree(program_ + "/flat"), (std::vector<std::string>{"a.bin", "b.bin", "c.bin"}));
  EXPECT_EQ(read_file(program_ + "/flat/c.bin"), "new c");
}

}  // namespace
