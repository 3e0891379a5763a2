// The command line: the switch, the archive and destination arguments, the
// program folder as the current directory.

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "bnd/messages.h"
#include "tests/e2e/tool_runner.h"
#include "tests/support/bnd_builder.h"

namespace {

const std::string banner = console_text(msg_banner);
const std::string usage = console_text(msg_usage_line_1) + console_text(msg_usage_line_2) +
                          console_text(msg_usage_line_3) + console_text(msg_usage_line_4);

class CommandLine : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    write_file(program_ + "/data.bnd", build_bnd({folder(1, "/d"), file(2, "/f", "x")}).bytes);
  }
  std::vector<std::string> program_folder() {
    std::vector<std::string> tree = list_tree(program_);
    tree.erase(std::remove_if(tree.begin(), tree.end(),
                              [](const std::string& p) {
                                return p == "data.bnd" || p.rfind("krovex", 0) == 0;
                              }),
               tree.end());
    return tree;
  }
};

TEST_F(CommandLine, ArgumentsAreReadByPosition) {
  const std::string unpacked = console_text("/d/f 1 bytes.OK\n");
  const std::string flat = console_text("/f 1 bytes.OK\n");
  const struct {
    std::vector<std::string> arguments;
    std::string out;
    int status;
    std::vector<std::string> made;  // in the program folder
  } cases[] = {
      {{}, banner + usage, 33, {}},
      {{"-x"}, banner + usage, 33, {}},
      {{"/X"}, banner + usage, 33, {}},
      // The switch is -x or /x and whatever follows it.
      {{"-xfoo", "data.bnd", "o1"},
       banner + console_text(msg_extract_line, {"data.bnd", "o1\\"}) + flat, 0, {"o1/", "o1/f"}},
      {{"/x", "data.bnd", "o2"},
       banner + console_text(msg_extract_line, {"data.bnd", "o2\\"}) + flat, 0, {"o2/", "o2/f"}},
      // Anything else is the archive.
      {{"-"}, banner + console_text(msg_open_failed, {"-"}), 32, {}},
      {{"-y", "other.bnd"}, banner + console_text(msg_open_failed, {"-y"}), 33, {"other.bnd/"}},
      // After the archive, -x is a destination like any other.
      {{"data.bnd", "-x"},
       banner + console_text(msg_extract_line, {"data.bnd", "-x\\"}) + unpacked, 0,
       {"-x/", "-x/d/", "-x/d/f"}},
      {{"data.bnd", "o3", "ignored", "-x"},
       banner + console_text(msg_extract_line, {"data.bnd", "o3\\"}) + unpacked, 0,
       {"o3/", "o3/d/", "o3/d/f"}},
      // A destination ending in a backslash gets no second one.
      {{"data.bnd", "o4\\"},
       banner + console_text(msg_extract_line, {"data.bnd", "o4\\"}) + unpacked, 0,
       {"o4/", "o4/d/", "o4/d/f"}},
      // An empty destination is the program folder itself.
      {{"data.bnd", ""}, banner + console_text(msg_extract_line, {"data.bnd", ""}) + unpacked, 0,
       {"d/", "d/f"}},
      {{"data.bnd", "."},
       banner + console_text(msg_extract_line, {"data.bnd", ".\\"}) + unpacked, 0,
       {"d/", "d/f"}},
      // The destination is made before the archive is even looked at.
      {{"", "made\\first"}, banner + usage, 33, {"made/", "made/first/"}},
      {{"missing.bnd", "deep\\er"}, banner + console_text(msg_open_failed, {"missing.bnd"}),
       42, {"deep/", "deep/er/"}},
  };
  for (const auto& c : cases) {
    std::string shown;
    for (const std::string& a : c.arguments) shown += "[" + a + "]";
    run_result result = run(c.arguments);
    EXPECT_EQ(result.out, c.out) << shown;
    EXPECT_EQ(result.status, c.status) << shown;
    EXPECT_EQ(program_folder(), c.made) << shown;
    for (const std::string& made : c.made) {
      ASSERT_EQ(system(("rm -rf '" + program_ + "/" + made + "'").c_str()), 0);
    }
  }
}

TEST_F(CommandLine, RelativeArchivePathsResolveAgainstTheProgramFolder) {
  write_file(working_ + "/only-here.bnd", build_bnd({file(1, "/f", "x")}).bytes);
  run_result result = run({"only-here.bnd"});
  EXPECT_EQ(result.out, banner + console_text(msg_open_failed, {"only-here.bnd"}));
  EXPECT_TRUE(program_folder().empty());
}

TEST_F(CommandLine, AbsolutePathsWork) {
  std::string archive = tool_path(program_ + "/data.bnd");
  std::string destination = tool_path(working_ + "/abs out");
  run_result result = run({archive, destination});
  EXPECT_EQ(result.out, banner + console_text(msg_extract_line, {archive, destination + "\\"}) +
                            console_text("/d/f 1 bytes.OK\n"));
  EXPECT_EQ(read_file(working_ + "/abs out/d/f"), "x");
}

TEST_F(CommandLine, DestinationFromTheRootOfTheCurrentDrive) {
  // \tmp\...: the root of the drive the program folder is on (on Linux, /).
  std::string destination = working_ + "/rooted";
  std::replace(destination.begin(), destination.end(), '/', '\\');
  run_result result = run({"data.bnd", destination});
  EXPECT_EQ(result.out, banner + console_text(msg_extract_line, {"data.bnd", destination + "\\"}) +
                            console_text("/d/f 1 bytes.OK\n"));
  EXPECT_EQ(read_file(working_ + "/rooted/d/f"), "x");
}

// A destination of length bytes in folders of at most ten bytes each.
std::string long_destination(std::size_t length, bool trailing_backslash) {
  std::string path;
  while (path.size() < length) path += path.size() % 10 == 9 ? '\\' : 'a';
  if (path.back() == '\\') path.back() = 'a';
  if (trailing_backslash) path.back() = '\\';
  return path;
}

TEST_F(CommandLine, DestinationTooLongIsRefusedBeforeAnythingIsMade) {
  const struct {
    std::string destination;
    bool refused;
  } cases[] = {
      {long_destination(258, false), false},  // 259 bytes with its backslash
      {long_destination(259, false), true},
      {long_destination(259, true), false},
      {long_destination(260, true), true},
  };
  for (const auto& c : cases) {
    run_result result = run({"missing.bnd", c.destination});
    std::string refusal = console_text(msg_path_too_long, {c.destination});
    if (c.refused) {
      EXPECT_EQ(result.out, banner + refusal) << c.destination.size();
      EXPECT_EQ(result.status, exit_status(static_cast<int>(refusal.size()) - 1));
      EXPECT_TRUE(program_folder().empty()) << c.destination.size();
    } else {
      EXPECT_EQ(result.out, banner + console_text(msg_open_failed, {"missing.bnd"}))
          << c.destination.size();
    }
    ASSERT_EQ(system(("rm -rf " + program_ + "/aaa*").c_str()), 0);
  }
}

}  // namespace
