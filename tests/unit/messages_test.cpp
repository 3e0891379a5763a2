#include <gtest/gtest.h>

#include <string>

#include "bnd/messages.h"
#include "tests/support/text_encoding.h"

namespace {

// The message as code page 932 bytes, converted here from its UTF-8 text so
// that a wrong byte in the tool's table cannot hide.
std::string cp932(const std::string& utf8) { return convert_text(utf8, "UTF-8", "CP932"); }

TEST(Messages, AreTheShiftJisBytesOfTheirTexts) {
  const struct {
    const char* bytes;
    const char* text;
  } cases[] = {
      {msg_banner, "krovex ver.0.1\n\n"},
      {msg_usage_line_1, "Usage : krovex [-x] <bnd_file> [dest_dir]\n"},
      {msg_usage_line_2, "\t-x              ディレクトリ構造を無視.\n"},
      {msg_usage_line_3, "\tbnd_file        bndファイル\n"},
      {msg_usage_line_4, "\tdest_dir        出力先.(省略可)\n"},
      {msg_open_failed, "Error : ファイルが開けません %s.\n"},
      {msg_extract_line, "Extract %s to %s.\n"},
      {msg_not_bnd, "Error : BNDファイルではありません %s.\n"},
      {msg_out_of_memory, "Error : メモリの確保に失敗 %d.\n"},
      {msg_directory_damaged, "Error : ディレクトリ情報が壊れています %s.\n"},
      {msg_entry_name, "%s"},
      {msg_entry_size, " %s bytes"},
      {msg_entry_copied, "."},
      {msg_entry_ok, "OK\n"},
      {msg_unsafe_path, "Error : 不正なパス %s.\n"},
      {msg_path_too_long, "Error : パスが長すぎます %s.\n"},
      {msg_cannot_create, "Error : ファイルが作成できません %s.\n"},
      {msg_write_failed, "Error : ファイルの書き込みに失敗 %s.\n"},
      {msg_data_short, "Error : データが足りません %s.\n"},
      {msg_archive_in_use, "Error : 展開中のアーカイブには書き込めません %s.\n"},
      {msg_nesting_too_deep, "Error : 入れ子が深すぎます %s.\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(std::string(c.bytes), cp932(c.text)) << c.text;
}

TEST(Messages, UsageEndsWithALineOf33Bytes) {
  EXPECT_EQ(std::string(msg_usage_line_4).size(), 33u);
}

}  // namespace
