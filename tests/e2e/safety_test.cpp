// Entries that would write outside the output folder, over an archive being
// read, or without end are refused, and the walk goes on.

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

std::string unsafe(const std::string& shown) { return console_text(msg_unsafe_path, {shown}); }

class Safety : public ToolTest {};

TEST_F(Safety, EntriesOutsideTheOutputFolderAreRefused) {
  const std::string long_name = "/" + std::string(200, 'n');
  const struct {
    const char* why;
    std::vector<bnd_entry> entries;
    bool flatten;
    std::string refusal;  // console text for the first entry
  } cases[] = {
      {"parent folder first", {folder(1, "/.."), file(2, "/evil", "e")}, false, unsafe("/../evil")},
      {"backslash parent", {file(1, "/..\\evil", "e")}, false, unsafe("/..\\evil")},
      {"parent in the middle",
       {folder(1, "/a"), folder(2, "/../.."), file(3, "/evil", "e")}, false,
       unsafe("/a/../../evil")},
      {"parent at the end", {file(1, "/sub/..", "e")}, false, unsafe("/sub/..")},
      {"depth zero name", {file(0, "../evil", "e")}, false, unsafe("../evil")},
      {"flattened", {folder(1, "/ok"), file(2, "../evil", "e")}, true, unsafe("../evil")},
      {"flattened mixed", {file(1, "..\\../evil", "e")}, true, unsafe("..\\../evil")},
      {"drive", {file(0, "C:evil", "e")}, true, unsafe("C:evil")},
      {"drive after separators", {file(1, "//C:\\evil", "e")}, false, unsafe("//C:\\evil")},
      {"dots and spaces", {file(1, "/. .", "e")}, false, unsafe("/. .")},
      {"three dots", {folder(1, "/..."), file(2, "/evil", "e")}, false, unsafe("/.../evil")},
      {"device name", {file(1, "/CON", "e")}, false, unsafe("/CON")},
      {"device with extension", {folder(1, "/d"), file(2, "/aux.txt", "e")}, false,
       unsafe("/d/aux.txt")},
      {"file too deep", {file(20, "/deep", "e")}, false, unsafe("/deep")},
      {"file at level -21", {file(21, "/deep", "e")}, false, unsafe("/deep")},
      {"file at level -128", {file(128, "/deep", "e")}, false, unsafe("/deep")},
      {"path too long", {folder(1, long_name), file(2, long_name, "e")}, false,
       console_text(msg_path_too_long, {long_name})},
  };
  for (const auto& c : cases) {
    std::vector<bnd_entry> entries = c.entries;
    entries.push_back(file(1, "/after", "a"));  // the walk goes on
    write_file(program_ + "/data.bnd", build_bnd(entries).bytes);
    std::vector<std::string> arguments = {"data.bnd", "out"};
    if (c.flatten) arguments.insert(arguments.begin(), "-x");
    run_result result = run(arguments);
    EXPECT_EQ(result.out, banner + console_text(msg_extract_line, {"data.bnd", "out\\"}) +
                              c.refusal + ok_line("/after", "1"))
        << c.why;
    EXPECT_EQ(result.status, 1) << c.why;
    EXPECT_EQ(list_tree(program_ + "/out"), (std::vector<std::string>{"after"})) << c.why;
    EXPECT_EQ(list_tree(root_).size(), 7u) << c.why << ": something left the output folder";
    ASSERT_EQ(system(("rm -rf " + program_ + "/out").c_str()), 0);
  }
}

TEST_F(Safety, WithoutADestinationRootedNamesStayInTheCurrentFolder) {
  write_file(program_ + "/data.bnd",
             build_bnd({file(1, "//tmp/krovex-rooted", "r"), file(0, "\\top", "t")}).bytes);
  run_result result = run({"data.bnd"});
  EXPECT_EQ(result.out, banner + console_text(msg_extract_line, {"data.bnd", ""}) +
                            ok_line("//tmp/krovex-rooted", "1") + ok_line("\\top", "1"));
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(read_file(program_ + "/tmp/krovex-rooted"), "r");
  EXPECT_EQ(read_file(program_ + "/top"), "t");
}

TEST_F(Safety, FoldersDeeperThanTheTableAreIgnored) {
  write_file(program_ + "/data.bnd",
             build_bnd({folder(1, "/a"), folder(20, "/x"), folder(127, "/y"), file(2, "/f", "1")})
                 .bytes);
  run_result result = run({"data.bnd", "out"});
  EXPECT_EQ(result.out,
            banner + console_text(msg_extract_line, {"data.bnd", "out\\"}) + ok_line("/a/f", "1"));
  EXPECT_EQ(result.status, 0);
}

TEST_F(Safety, TheArchiveBeingReadIsNeverOverwritten) {
  std::string archive = build_bnd({file(0, "data.bnd", "would truncate"), file(0, "b", "b")}).bytes;
  write_file(program_ + "/data.bnd", archive);
  run_result result = run({"-x", "data.bnd", "."});
  EXPECT_EQ(result.out, banner + console_text(msg_extract_line, {"data.bnd", ".\\"}) +
                            console_text(msg_archive_in_use, {".\\data.bnd"}) + ok_line("b", "1"));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(read_file(program_ + "/data.bnd"), archive);
}

TEST_F(Safety, ANestedArchiveCannotOverwriteAnEnclosingOne) {
  std::string inner = build_bnd({file(1, "/outer.bnd", "would truncate")}).bytes;
  std::string outer = build_bnd({file(1, "/inner.bnd", inner)}).bytes;
  write_file(program_ + "/outer.bnd", outer);
  run_result result = run({"outer.bnd", "."});
  EXPECT_EQ(result.out, banner + console_text(msg_extract_line, {"outer.bnd", ".\\"}) +
                            ok_line("/inner.bnd", std::to_string(inner.size())) +
                            console_text(msg_extract_line, {".\\inner.bnd", ".\\"}) +
                            console_text(msg_archive_in_use, {".\\outer.bnd"}));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(read_file(program_ + "/outer.bnd"), outer);
}

TEST_F(Safety, NestingStopsAtSixteenOpenArchives) {
  // n0.bnd holds n1.bnd, which holds n2.bnd, and so on to n17.bnd.
  std::string bytes = build_bnd({file(1, "/leaf", "l")}).bytes;
  for (int level = 17; level >= 1; --level) {
    bytes = build_bnd({file(1, "/n" + std::to_string(level) + ".bnd", bytes)}).bytes;
  }
  write_file(program_ + "/n0.bnd", bytes);
  run_result result = run({"n0.bnd", "out"});
  std::string too_deep = console_text(msg_nesting_too_deep, {"out\\n16.bnd"});
  EXPECT_NE(result.out.find(console_text(msg_extract_line, {"out\\n15.bnd", "out\\"})),
            std::string::npos);
  EXPECT_EQ(result.out.substr(result.out.size() - too_deep.size()), too_deep);
  EXPECT_EQ(result.out.find(console_text(msg_extract_line, {"out\\n16.bnd", "out\\"})),
            std::string::npos);
  EXPECT_TRUE(file_exists(program_ + "/out/n16.bnd"));
  EXPECT_FALSE(file_exists(program_ + "/out/n17.bnd"));
  EXPECT_EQ(result.status, 1);
}

}  // namespace
