#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bnd/directory.h"
#include "tests/support/bnd_builder.h"

namespace {

struct walked {
  std::vector<std::string> paths;  // entry path of each file entry, in order
  walk_step last;
};

// A walk over an archive's bytes, its area cut to what the bytes hold.
directory_walk walk_over(const std::string& bytes) {
  archive_header header{};
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  EXPECT_TRUE(decode_archive_header(data, bytes.size(), &header));
  std::uint32_t area_size = 0;
  EXPECT_TRUE(directory_area_size(header, bytes.size(), &area_size));
  directory_walk walk{};
  start_walk(&walk, data, area_size, header);
  return walk;
}

walked walk_all(const std::string& bytes) {
  directory_walk walk = walk_over(bytes);
  walked result;
  file_entry entry{};
  while ((result.last = next_file_entry(&walk, &entry)) == walk_file_entry) {
    char entry_path[path_buffer_size];
    EXPECT_TRUE(join_entry_path(walk, entry.depth, entry_path));
    result.paths.push_back(entry_path);
  }
  return result;
}

TEST(DecodeArchiveHeader, NeedsTheMagicAndAWholeHeader) {
  std::string good = build_bnd({}).bytes;
  const struct {
    std::string bytes;
    bool accepted;
  } cases[] = {
      {good, true},
      {good.substr(0, 40), true},
      {good.substr(0, 39), false},  // the magic alone is not enough
      {good.substr(0, 3), false},
      {"", false},
      {"BNDx" + good.substr(4), false},
      {"bnd" + good.substr(3), false},
  };
  for (const auto& c : cases) {
    archive_header header{};
    EXPECT_EQ(decode_archive_header(reinterpret_cast<const unsigned char*>(c.bytes.data()),
                                    c.bytes.size(), &header),
              c.accepted)
        << c.bytes.size();
  }
}

TEST(DirectoryAreaSize, IsTheStatedSizeCutToTheFile) {
  const struct {
    std::uint32_t directory_size;
    std::uint64_t archive_length;
    bool sized;
    std::uint32_t area_size;
  } cases[] = {
      {100, 1000, true, 100},
      {0, 1000, true, 0},
      {0x7FFFFFFF, 1000, true, 1000},  // no more than the file holds
      {0x7FFFFFFF, 0x100000000, true, 0x7FFFFFFF},
      {0x80000000, 0x100000000, false, 0},  // 2 GiB or more: refused
      {0xFFFFFFFF, 1000, false, 0},
  };
  for (const auto& c : cases) {
    archive_header header{40, c.directory_size, 0};
    std::uint32_t area_size = 0;
    EXPECT_EQ(directory_area_size(header, c.archive_length, &area_size), c.sized) << c.directory_size;
    if (c.sized) {
      EXPECT_EQ(area_size, c.area_size) << c.directory_size;
    }
  }
}

TEST(DirectoryWalk, PathsJoinTheLatestFolderOfEachDepth) {
  bnd_image image = build_bnd({
      folder(1, "/data"),
      file(2, "/a.bin", "A"),
      folder(2, "/sub"),
      file(3, "/b.bin", "B"),
      folder(1, "/other"),
      file(2, "/c.bin", "C"),
      file(1, "/top.txt", "T"),
      file(0, "zero.txt", "Z"),
  });
  walked result = walk_all(image.bytes);
  EXPECT_EQ(result.last, walk_done);
  EXPECT_EQ(result.paths, (std::vector<std::string>{"/data/a.bin", "/data/sub/b.bin",
                                                    "/other/c.bin", "/top.txt", ""}));
}

TEST(DirectoryWalk, SlotsOfThisArchiveOnlyAddToAPath) {
  // A file at depth 3 below a folder at depth 1 only: depth 2 adds nothing.
  walked result = walk_all(build_bnd({folder(1, "/d"), file(3, "/f", "")}).bytes);
  EXPECT_EQ(result.paths, (std::vector<std::string>{"/d/f"}));
}

TEST(DirectoryWalk, FoldersDeeperThanTheTableAreIgnored) {
  bnd_image image = build_bnd({folder(19, "/deep"), folder(20, "/ignored"),
                               folder(127, "/ignored"), file(20, "/f", "")});
  directory_walk walk = walk_over(image.bytes);
  file_entry entry{};
  ASSERT_EQ(next_file_entry(&walk, &entry), walk_file_entry);
  EXPECT_EQ(entry.depth, 20);
  EXPECT_STREQ(entry.name, "/f");
  EXPECT_EQ(next_file_entry(&walk, &entry), walk_done);
}

TEST(DirectoryWalk, LevelMinus128IsDepth128) {
  bnd_image image = build_bnd({file(0, "f", "")});
  image.bytes[image.record_offsets[0] + record_level] = static_cast<char>(-128);
  directory_walk walk = walk_over(image.bytes);
  file_entry entry{};
  ASSERT_EQ(next_file_entry(&walk, &entry), walk_file_entry);
  EXPECT_EQ(entry.depth, 128);
}

TEST(DirectoryWalk, RecordsAndInfoBlocksMustLieInsideTheArea) {
  // Each case damages the second of three file entries: the walk hands out
  // the first, then stops.
  const struct {
    const char* why;
    void (*damage)(bnd_image&);
  } cases[] = {
      {"record length points past the area",
       [](bnd_image& i) { i.bytes[i.record_offsets[0] + record_length] = '\xff'; }},
      {"info block past the area",
       [](bnd_image& i) {
         put_u32(i.bytes, i.record_offsets[1] + record_info_offset,
                 static_cast<std::uint32_t>(i.directory_size - 15));
       }},
      {"info offset near 4 GiB",
       [](bnd_image& i) { put_u32(i.bytes, i.record_offsets[1] + record_info_offset, 0xFFFFFFF8); }},
      {"name runs to the end of the area",
       [](bnd_image& i) {
         // Only two records' worth of area, the second without its zero.
         std::size_t end = i.record_offsets[2] - 1;
         put_u32(i.bytes, header_directory_size, static_cast<std::uint32_t>(end));
         // Keep every info block inside the smaller area.
         for (int r = 0; r < 3; ++r) put_u32(i.bytes, i.record_offsets[r] + record_info_offset, 20);
       }},
  };
  for (const auto& c : cases) {
    bnd_image image = build_bnd({file(1, "/a", "1"), file(1, "/b", "2"), file(1, "/c", "3")});
    c.damage(image);
    walked result = walk_all(image.bytes);
    EXPECT_EQ(result.last, walk_damaged) << c.why;
    EXPECT_EQ(result.paths.size(), 1u) << c.why;
  }
}

TEST(DirectoryWalk, CountOfZeroOrLessWalksNothing) {
  for (std::uint32_t count : {0u, 0x80000000u, 0xFFFFFFFFu}) {
    bnd_image image = build_bnd({file(1, "/a", "1")});
    put_u32(image.bytes, header_record_count, count);
    walked result = walk_all(image.bytes);
    EXPECT_EQ(result.last, walk_done) << count;
    EXPECT_TRUE(result.paths.empty()) << count;
  }
}

TEST(DirectoryWalk, RecordThatIsItsOwnSuccessorIsTakenOnce) {
  // A file: written once, then the directory counts as damaged.
  bnd_image image = build_bnd({file(1, "/a", "1")});
  image.bytes[image.record_offsets[0] + record_length] = 0;
  put_u32(image.bytes, header_record_count, 0x7FFFFFFF);
  walked files = walk_all(image.bytes);
  EXPECT_EQ(files.paths, (std::vector<std::string>{"/a"}));
  EXPECT_EQ(files.last, walk_damaged);

  // As the last record it is simply the last.
  put_u32(image.bytes, header_record_count, 1);
  EXPECT_EQ(walk_all(image.bytes).last, walk_done);

  // A folder that repeats itself for the largest count ends at once.
  bnd_image folders = build_bnd({folder(1, "/d")});
  folders.bytes[folders.record_offsets[0] + record_length] = 0;
  put_u32(folders.bytes, header_record_count, 0x7FFFFFFF);
  EXPECT_EQ(walk_all(folders.bytes).last, walk_done);
}

TEST(JoinEntryPath, RefusesAPathLongerThan259Bytes) {
  std::string name(200, 'n');
  bnd_image image = build_bnd({folder(1, "/" + name), file(2, "/" + name, "")});
  directory_walk walk = walk_over(image.bytes);
  file_entry entry{};
  ASSERT_EQ(next_file_entry(&walk, &entry), walk_file_entry);
  char entry_path[path_buffer_size];
  EXPECT_FALSE(join_entry_path(walk, entry.depth, entry_path));
  EXPECT_STREQ(entry_path, "");
}

}  // namespace
