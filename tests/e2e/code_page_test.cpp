// Shift_JIS names: the second byte of a double-byte character may be 0x5C,
// the backslash. Under code page 932 it never separates; under a
// single-byte code page every 0x5C does. Each case runs under both.
//
// The tool is started in a Japanese locale for 932 (ja_JP.SJIS natively,
// ja_JP.UTF-8 under wine, whose ANSI code page it makes 932) and in C.UTF-8
// for the single-byte code page. The locales are generated into
// KROVEX_LOCPATH, or into a temporary folder when that is not set.

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "bnd/messages.h"
#include "tests/e2e/tool_runner.h"
#include "tests/support/bnd_builder.h"
#include "tests/support/text_encoding.h"

namespace {

std::string locale_folder;

// A name as the tool writes it, as it appears on this machine's disk: the
// bytes themselves natively; under wine, the UTF-8 of what they mean in the
// code page.
std::string on_disk(const std::string& bytes, int code_page, bool windows) {
  if (!windows) return bytes;
  return convert_text(bytes, code_page == 932 ? "CP932" : "CP1252", "UTF-8");
}

class CodePage : public ToolTest, public ::testing::WithParamInterface<int> {
 protected:
  static void SetUpTestSuite() {
    const char* given = std::getenv("KROVEX_LOCPATH");
    if (given != nullptr && given[0] != '\0') {
      locale_folder = given;
      return;
    }
    locale_folder = "/tmp/krovex-locales-" + std::to_string(getpid());
    std::string make = "mkdir -p " + locale_folder +
                       " && localedef -f UTF-8 -i ja_JP " + locale_folder + "/ja_JP.UTF-8" +
                       " && (localedef -f SHIFT_JIS -i ja_JP " + locale_folder +
                       "/ja_JP.SJIS 2>/dev/null || test -d " + locale_folder + "/ja_JP.SJIS)";
    ASSERT_EQ(std::system(make.c_str()), 0) << "localedef needs Debian's locales package";
  }

  run_result run_in_code_page(const std::vector<std::string>& arguments) {
    bool japanese = GetParam() == 932;
    const char* locale = !japanese ? "C.UTF-8" : windows_tool() ? "ja_JP.UTF-8" : "ja_JP.SJIS";
    return run(arguments, {{"LC_ALL", locale}, {"LOCPATH", locale_folder}});
  }

  std::string disk(const std::string& bytes) { return on_disk(bytes, GetParam(), windows_tool()); }
};

const std::string banner = console_text(msg_banner);

// 表 is 0x95 0x5C; ソ is 0x83 0x5C.
const std::string hyou = "\x95\x5c";
const std::string so = "\x83\x5c";

TEST_P(CodePage, DestinationFoldersFollowTheCodePage) {
  write_file(program_ + "/data.bnd", build_bnd({file(1, "/f", "1")}).bytes);
  std::string destination = "data\\" + hyou + "\\x";
  // Wine reads arguments in the locale's UTF-8 and gives the tool their
  // code page bytes.
  run_result result = run_in_code_page({"data.bnd", disk(destination)});
  EXPECT_EQ(result.out, banner + console_text(msg_extract_line, {"data.bnd", destination + "\\"}) +
                            console_text("/f 1 bytes.OK\n"));
  EXPECT_EQ(result.status, 0);
  // 932: data, data\表, data\表\x. Single-byte: the 0x5C splits, and 0x95
  // alone is a folder of its own.
  std::string middle = GetParam() == 932 ? hyou : "\x95";
  EXPECT_EQ(list_tree(program_ + "/data"),
            (std::vector<std::string>{disk(middle) + "/", disk(middle) + "/x/",
                                      disk(middle) + "/x/f"}));
}

TEST_P(CodePage, ANameEndingIn5CIsOneFile) {
  write_file(program_ + "/data.bnd", build_bnd({file(1, so + ".txt", "s")}).bytes);
  run_result result = run_in_code_page({"-x", "data.bnd", "out"});
  std::string line_start = banner + console_text(msg_extract_line, {"data.bnd", "out\\"}) + so +
                           ".txt 1 bytes.";
  if (GetParam() == 932) {
    EXPECT_EQ(result.out, line_start + console_text("OK\n"));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(list_tree(program_ + "/out"), (std::vector<std::string>{disk(so + ".txt")}));
  } else {
    // out\ƒ\.txt: the folder ƒ does not exist.
    EXPECT_EQ(result.out,
              line_start + console_text(msg_cannot_create, {"out\\" + so + ".txt"}));
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(list_tree(program_ + "/out").empty());
  }
}

TEST_P(CodePage, PathCheckNeverSplitsACharacter) {
  // Under 932 one name, 表..; under a single-byte code page the 0x5C cuts
  // off "..", which is refused.
  std::string name = hyou + "..";
  write_file(program_ + "/data.bnd", build_bnd({file(1, name, "1")}).bytes);
  run_result result = run_in_code_page({"-x", "data.bnd", "out"});
  std::string extract = banner + console_text(msg_extract_line, {"data.bnd", "out\\"});
  if (GetParam() == 932) {
    EXPECT_EQ(result.out, extract + console_text("%s 1 bytes.OK\n", {name}));
    EXPECT_EQ(result.status, 0);
    // Windows drops the dots that end a file name.
    std::string written = windows_tool() ? hyou : name;
    EXPECT_EQ(list_tree(program_ + "/out"), (std::vector<std::string>{disk(written)}));
  } else {
    EXPECT_EQ(result.out, extract + console_text(msg_unsafe_path, {name}));
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(list_tree(program_ + "/out").empty());
  }
}

INSTANTIATE_TEST_SUITE_P(ShiftJisAndSingleByte, CodePage, ::testing::Values(932, 1252),
                         [](const ::testing::TestParamInfo<int>& case_info) {
                           return "cp" + std::to_string(case_info.param);
                         });

}  // namespace
