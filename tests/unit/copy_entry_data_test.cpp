#include <gtest/gtest.h>

#include <string>

#include "bnd/entry_output.h"
#include "platform/platform.h"
#include "tests/unit/temp_folder.h"

namespace {

std::string pattern(std::size_t length) {
  std::string bytes(length, '\0');
  for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
  return bytes;
}

class CopyEntryData : public ::testing::Test {
 protected:
  void use_archive(const std::string& bytes) {
    archive_bytes_ = bytes;
    write_file("archive", bytes);
    archive_ = open_for_reading("archive");
    ASSERT_NE(archive_, nullptr);
  }
  void TearDown() override {
    if (archive_ != nullptr) close_file(archive_);
  }

  temp_folder folder_;
  std::string archive_bytes_;
  disk_file* archive_ = nullptr;
};

TEST_F(CopyEntryData, WritesExactlyTheEntrysBytes) {
  use_archive(pattern(1000));
  const struct {
    std::uint32_t offset;
    std::uint32_t size;
    std::string expected;
  } cases[] = {
      {0, 0, ""},
      {3, 5, archive_bytes_.substr(3, 5)},
      {0, 1000, archive_bytes_},
      {990, size_to_end, archive_bytes_.substr(990)},
      {1000, size_to_end, ""},  // to the end, from the end: complete and empty
  };
  for (const auto& c : cases) {
    EXPECT_EQ(copy_entry_data(archive_, "out", c.offset, c.size), copy_complete) << c.offset;
    EXPECT_EQ(read_file("out"), c.expected) << c.offset;
  }
}

TEST_F(CopyEntryData, ChunkBoundariesLoseNoByte) {
  use_archive(pattern(copy_chunk_size + 10));
  for (std::uint32_t size : {copy_chunk_size - 1, copy_chunk_size, copy_chunk_size + 1}) {
    ASSERT_EQ(copy_entry_data(archive_, "out", 2, size), copy_complete) << size;
    EXPECT_TRUE(read_file("out") == archive_bytes_.substr(2, size)) << size;
  }
}

TEST_F(CopyEntryData, MissingDataReadsAsZerosAndIsReported) {
  use_archive(pattern(100));
  // Runs past the end: the file still has the stated size.
  EXPECT_EQ(copy_entry_data(archive_, "out", 90, 30), copy_data_short);
  EXPECT_EQ(read_file("out"), archive_bytes_.substr(90) + std::string(20, '\0'));
  // Starts past the end.
  EXPECT_EQ(copy_entry_data(archive_, "out", 500, 4), copy_data_short);
  EXPECT_EQ(read_file("out"), std::string(4, '\0'));
  // To the end, from beyond it: an empty file.
  EXPECT_EQ(copy_entry_data(archive_, "out", 101, size_to_end), copy_data_short);
  EXPECT_EQ(read_file("out"), "");
}

TEST_F(CopyEntryData, ReplacesALongerFile) {
  use_archive(pattern(10));
  write_file("out", std::string(50, 'x'));
  EXPECT_EQ(copy_entry_data(archive_, "out", 0, 4), copy_complete);
  EXPECT_EQ(read_file("out"), archive_bytes_.substr(0, 4));
}

TEST_F(CopyEntryData, OutputThatCannotBeCreatedIsReported) {
  use_archive(pattern(10));
  std::filesystem::create_directory("folder");
  EXPECT_EQ(copy_entry_data(archive_, "folder", 0, 4), copy_cannot_create);
  EXPECT_EQ(copy_entry_data(archive_, "missing\\out", 0, 4), copy_cannot_create);
  EXPECT_FALSE(std::filesystem::exists("missing"));
}

TEST_F(CopyEntryData, WriteEntryDataFillsAFileCreatedNew) {
  use_archive(pattern(100));
  disk_file* output = create_new_for_writing("new");
  ASSERT_NE(output, nullptr);
  EXPECT_EQ(write_entry_data(archive_, output, 3, 5), copy_complete);
  EXPECT_EQ(read_file("new"), archive_bytes_.substr(3, 5));

  output = create_new_for_writing("short");
  ASSERT_NE(output, nullptr);
  EXPECT_EQ(write_entry_data(archive_, output, 90, 30), copy_data_short);
  EXPECT_EQ(read_file("short"), archive_bytes_.substr(90) + std::string(20, '\0'));
}

TEST_F(CopyEntryData, CreatingNewRefusesEveryNameThatIsTaken) {
  write_file("taken", "keep");
  std::filesystem::create_directory("folder");
  EXPECT_EQ(create_new_for_writing("taken"), nullptr);
  EXPECT_EQ(read_file("taken"), "keep");
  EXPECT_EQ(create_new_for_writing("folder"), nullptr);
  EXPECT_EQ(create_new_for_writing("missing\\out"), nullptr);
  EXPECT_FALSE(std::filesystem::exists("missing"));
}

}  // namespace
