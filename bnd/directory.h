#pragma once

// The BND layout and the walk over an archive's directory area, in memory.
//
// An archive begins with its directory area: the header, then directory
// records, then entry info blocks. All integers are little-endian; every
// offset counts from the first byte of the file.
//
//   header        0  magic "BND\0"       16 record_start (u32)
//                20  directory_size (u32) 36 record_count (i32)
//   record        0  level (i8)  2 record_length (u8)  3 info_offset (u32)
//                 7  name, zero-terminated
//   info block    8  data_offset (u32)   12 data_size (u32)
//
// A positive level is a folder at that depth; zero or less a file at depth
// -level. A file's path is the names most recently seen at depths 1 to d-1
// followed by its own.

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

constexpr std::size_t header_block_size = 4096;
/// The header fields the tool reads end here; a shorter file is no archive.
constexpr std::size_t header_size = 40;
/// Depths 0 to 19 have a slot in the level table.
constexpr int level_table_size = 20;

struct archive_header {
  std::uint32_t record_start;
  std::uint32_t directory_size;
  std::int32_t record_count;
};

/// Decodes the header from the first bytes of a file. False when they do not
/// begin with the magic or are too few to hold the header.
bool decode_archive_header(const unsigned char* block, std::size_t length,
                           archive_header* header);

/// The size of the directory area of an archive of archive_length bytes:
/// the directory_size the header states, but no more than the file holds.
/// False when the stated size is 2 GiB or more, which no walk takes on.
bool directory_area_size(const archive_header& header, std::uint64_t archive_length,
                         std::uint32_t* area_size);

/// A file entry as the walk hands it out.
struct file_entry {
  const char* name;  // inside the directory area, zero-terminated
  int depth;
  std::uint32_t data_offset;
  std::uint32_t data_size;
};

struct directory_walk {
  const unsigned char* area;
  std::uint32_t area_size;
  std::uint64_t offset;  // of the record to take next
  std::int32_t records_left;
  bool damaged;  // the walk met a file record that is its own successor
  // Offset of the latest record of each depth in this archive, or no_record.
  std::uint32_t level_table[level_table_size];
};

constexpr std::uint32_t no_record = 0xFFFFFFFF;

enum walk_step {
  walk_file_entry,  // *entry holds the next file entry
  walk_done,        // every record has been taken
  walk_damaged,     // a record or info block does not lie inside the area
};

void start_walk(directory_walk* walk, const unsigned char* area,
                std::uint32_t area_size, const archive_header& header);

/// Takes records until the next file entry. Folders only update the level
/// table; a folder deeper than the table holds is ignored.
walk_step next_file_entry(directory_walk* walk, file_entry* entry);

/// Builds a file entry's path from the names in slots 1 to depth; a slot no
/// record of this archive has set adds nothing. False when the path would
/// not fit, and entry_path is then empty.
bool join_entry_path(const directory_walk& walk, int depth,
                     char (&entry_path)[path_buffer_size]);
