#include "tests/support/bnd_builder.h"

void put_u32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  if (bytes.size() < offset + 4) bytes.resize(offset + 4, '\0');
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

std::uint32_t get_u32(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) {
    value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
  }
  return value;
}

bnd_entry folder(int depth, std::string name) { return {depth, std::move(name), {}}; }

bnd_entry file(int depth, std::string name, std::string data) {
  return {-depth, std::move(name), std::move(data)};
}

bnd_image build_bnd(const std::vector<bnd_entry>& entries) {
  bnd_image image;
  std::string& bytes = image.bytes;
  bytes.assign(40, '\0');
  bytes.replace(0, 4, std::string("BND\0", 4));
  put_u32(bytes, header_record_start, 40);
  put_u32(bytes, header_record_count, static_cast<std::uint32_t>(entries.size()));

  for (const bnd_entry& entry : entries) {
    image.record_offsets.push_back(bytes.size());
    std::string record(record_name, '\0');
    record[record_level] = static_cast<char>(entry.level);
    record[record_length] = static_cast<char>(record_name + entry.name.size() + 1);
    record += entry.name;
    record += '\0';
    bytes += record;
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::size_t info = 0;
    if (entries[i].level <= 0) {
      info = bytes.size();
      bytes.append(16, '\0');
      put_u32(bytes, image.record_offsets[i] + record_info_offset,
              static_cast<std::uint32_t>(info));
    }
    image.info_offsets.push_back(info);
  }
  image.directory_size = bytes.size();
  put_u32(bytes, header_directory_size, static_cast<std::uint32_t>(bytes.size()));

  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].level > 0) continue;
    put_u32(bytes, image.info_offsets[i] + info_data_offset,
            static_cast<std::uint32_t>(bytes.size()));
    put_u32(bytes, image.info_offsets[i] + info_data_size,
            static_cast<std::uint32_t>(entries[i].data.size()));
    bytes += entries[i].data;
  }
  return image;
}
