// Fuzz target: the walk over an in-memory archive, with the output path of
// every file entry planned as the tool plans it, for both code pages, with
// and without a destination, flattened and not. No disk is touched.

#include <cstdint>
#include <initializer_list>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "bnd/directory.h"
#include "bnd/output_path.h"
#include "fuzz/escape_check.h"
#include "platform/platform.h"

namespace {

[[noreturn]] void fail(const char* what, const char* path) {
  std::fprintf(stderr, "walk target: %s: %s\n", what, path);
  std::abort();
}

void walk_and_plan(const unsigned char* area, std::uint32_t area_size,
                   const archive_header& header, const char* root, bool flatten) {
  directory_walk walk{};
  start_walk(&walk, area, area_size, header);
  file_entry entry{};
  std::uint64_t entries = 0;
  while (next_file_entry(&walk, &entry) == walk_file_entry) {
    // Every file entry is a record of its own at its own offset inside the
    // area, so no walk can hand out more entries than the area has bytes.
    if (++entries > area_size) fail("the walk does not end", entry.name);
    char entry_path[path_buffer_size];
    char output_path[path_buffer_size];
    entry_output plan = plan_entry_output(walk, entry, root, flatten, entry_path, output_path);
    if (plan.verdict != entry_writable) continue;
    if (!stays_inside(root, output_path)) fail("an entry leaves its root", output_path);
    std::size_t length = std::strlen(output_path);
    if (plan.folder_length > 0 &&
        (plan.folder_length >= length || output_path[plan.folder_length] != '/')) {
      fail("the folder part does not end at a separator", output_path);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  archive_header header{};
  if (!decode_archive_header(data, size, &header)) return 0;
  std::uint32_t area_size = 0;
  if (!directory_area_size(header, size, &area_size)) return 0;
  // A buffer of exactly the area's size, as the tool allocates it, so that a
  // read one byte past the area is caught.
  std::unique_ptr<unsigned char[]> area;
  if (area_size > 0) {
    area.reset(new unsigned char[area_size]);
    std::memcpy(area.get(), data, area_size);
  }
  for (int code_page : {code_page_single_byte, code_page_shift_jis}) {
    use_code_page(code_page);
    for (const char* root : {"out\\", ""}) {
      for (bool flatten : {false, true}) walk_and_plan(area.get(), area_size, header, root, flatten);
    }
  }
  use_code_page(code_page_single_byte);
  return 0;
}
