#include "bnd/directory.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t bnd_magic = 0x00444E42;  // "BND\0"
constexpr std::uint32_t record_head_size = 7;
constexpr std::uint32_t info_block_size = 16;

std::uint32_t read_u32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) |
         static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 |
         static_cast<std::uint32_t>(bytes[3]) << 24;
}

const char* record_name(const directory_walk& walk, std::uint32_t offset) {
  return reinterpret_cast<const char*>(walk.area + offset + record_head_size);
}

}  // namespace

bool decode_archive_header(const unsigned char* block, std::size_t length,
                           archive_header* header) {
  if (length < 4 || read_u32(block) != bnd_magic || length < header_size) {
    return false;
  }
  header->record_start = read_u32(block + 16);
  header->directory_size = read_u32(block + 20);
  header->record_count = static_cast<std::int32_t>(read_u32(block + 36));
  return true;
}

bool directory_area_size(const archive_header& header, std::uint64_t archive_length,
                         std::uint32_t* area_size) {
  if (header.directory_size >= 0x80000000u) return false;
  *area_size = static_cast<std::uint32_t>(
      std::min<std::uint64_t>(header.directory_size, archive_length));
  return true;
}

void start_walk(directory_walk* walk, const unsigned char* area,
                std::uint32_t area_size, const archive_header& header) {
  walk->area = area;
  walk->area_size = area_size;
  walk->offset = header.record_start;
  walk->records_left = header.record_count > 0 ? header.record_count : 0;
  walk->damaged = false;
  for (std::uint32_t& slot : walk->level_table) slot = no_record;
}

walk_step next_file_entry(directory_walk* walk, file_entry* entry) {
  if (walk->damaged) return walk_damaged;
  while (walk->records_left > 0) {
    --walk->records_left;
    std::uint64_t offset = walk->offset;
    if (offset + record_head_size >= walk->area_size) return walk_damaged;
    const unsigned char* record = walk->area + offset;
    std::size_t name_room = walk->area_size - offset - record_head_size;
    if (std::memchr(record + record_head_size, 0, name_room) == nullptr) {
      return walk_damaged;
    }

    auto level = static_cast<std::int32_t>(static_cast<signed char>(record[0]));
    int depth = level < 0 ? -level : level;
    std::uint32_t record_length = record[2];
    walk->offset = offset + record_length;
    if (depth < level_table_size) {
      walk->level_table[depth] = static_cast<std::uint32_t>(offset);
    }

    if (level > 0) {
      // A folder that is its own successor stays the only record to the end:
      // taking it again changes nothing.
      if (record_length == 0) walk->records_left = 0;
      continue;
    }

    std::uint64_t info_offset = read_u32(record + 3);
    if (info_offset + info_block_size > walk->area_size) return walk_damaged;
    // A file record that is its own successor would be written again for
    // every record still to come, up to two thousand million times: it is
    // taken once, and the directory is damaged.
    if (record_length == 0 && walk->records_left > 0) walk->damaged = true;
    const unsigned char* info = walk->area + info_offset;
    entry->name = record_name(*walk, static_cast<std::uint32_t>(offset));
    entry->depth = depth;
    entry->data_offset = read_u32(info + 8);
    entry->data_size = read_u32(info + 12);
    return walk_file_entry;
  }
  return walk_done;
}

bool join_entry_path(const directory_walk& walk, int depth,
                     char (&entry_path)[path_buffer_size]) {
  std::size_t length = 0;
  entry_path[0] = '\0';
  for (int slot = 1; slot <= depth && slot < level_table_size; ++slot) {
    std::uint32_t offset = walk.level_table[slot];
    if (offset == no_record) continue;
    const char* name = record_name(walk, offset);
    std::size_t name_length = std::strlen(name);
    if (length + name_length >= path_buffer_size) {
      entry_path[0] = '\0';
      return false;
    }
    std::memcpy(entry_path + length, name, name_length + 1);
    length += name_length;
  }
  return true;
}
