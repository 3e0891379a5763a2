#pragma once

// Builds BND archives for tests: header, records, info blocks, then data,
// with every offset recorded so a test can damage any field afterwards.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct bnd_entry {
  int level;          // > 0 a folder, <= 0 a file at depth -level
  std::string name;   // bytes as stored
  std::string data;   // file entries only
};

struct bnd_image {
  std::string bytes;
  std::vector<std::size_t> record_offsets;  // one per entry
  std::vector<std::size_t> info_offsets;    // one per entry; 0 for folders
  std::size_t directory_size;
};

// Field offsets within the header, a record and an info block.
constexpr std::size_t header_record_start = 16;
constexpr std::size_t header_directory_size = 20;
constexpr std::size_t header_record_count = 36;
constexpr std::size_t record_level = 0;
constexpr std::size_t record_length = 2;
constexpr std::size_t record_info_offset = 3;
constexpr std::size_t record_name = 7;
constexpr std::size_t info_data_offset = 8;
constexpr std::size_t info_data_size = 12;

bnd_image build_bnd(const std::vector<bnd_entry>& entries);

void put_u32(std::string& bytes, std::size_t offset, std::uint32_t value);
std::uint32_t get_u32(const std::string& bytes, std::size_t offset);

/// Shorthands: a folder at depth, a file at depth.
bnd_entry folder(int depth, std::string name);
bnd_entry file(int depth, std::string name, std::string data);
