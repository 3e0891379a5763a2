#include "bnd/entry_output.h"

#include <algorithm>
#include <cstring>

#include "platform/platform.h"

namespace {

// One working buffer for the whole run: a copy ends before anything else
// starts, nested archives included, so no two copies ever need one at once.
unsigned char copy_buffer[copy_chunk_size];

char count_text[14];

bool is_separator(char byte) { return byte == '\\' || byte == '/'; }

bool is_ascii_letter(char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

// Number of separators, counted from the start, that belong to a root no
// folder walk may test: the separator of a drive root, the one that makes a
// path start at the root of the current drive, or the three of \\server\ (a
// network path is first tested as \\server\share).
int root_separator_count(const char* path) {
  if (is_ascii_letter(path[0]) && path[1] == ':') return is_separator(path[2]) ? 1 : 0;
  if (is_separator(path[0])) return is_separator(path[1]) ? 3 : 1;
  return 0;
}

}  // namespace

copy_result copy_entry_data(disk_file* archive, const char* output_path,
                            std::uint32_t data_offset, std::uint32_t data_size) {
  disk_file* output = create_for_writing(output_path);
  if (output == nullptr) return copy_cannot_create;
  return write_entry_data(archive, output, data_offset, data_size);
}

copy_result write_entry_data(disk_file* archive, disk_file* output,
                             std::uint32_t data_offset, std::uint32_t data_size) {
  std::uint64_t size = data_size;
  bool short_data = false;
  if (data_size == size_to_end) {
    std::uint64_t archive_length = 0;
    bool length_known = get_file_length(archive, &archive_length);
    short_data = !length_known || data_offset > archive_length;
    size = short_data ? 0 : archive_length - data_offset;
  }

  bool write_failed = false;
  std::uint64_t done = short_data ? 0 : copy_in_system(archive, data_offset, output, size);
  while (done < size && !short_data && !write_failed) {
    std::size_t wanted = static_cast<std::size_t>(
        std::min<std::uint64_t>(size - done, copy_chunk_size));
    std::size_t got = read_at(archive, data_offset + done, copy_buffer, wanted);
    write_failed = !write_all(output, copy_buffer, got);
    short_data = got < wanted;
    done += got;
  }
  // What the archive could not supply reads as zeros, and the file keeps the
  // size the entry states.
  if (short_data && !write_failed) write_failed = !set_file_length(output, size);
  if (close_file(output) != 0) write_failed = true;

  if (write_failed) return copy_write_failed;
  return short_data ? copy_data_short : copy_complete;
}

int make_directory_chain(const char* path) {
  char work[path_buffer_size];
  std::size_t length = std::strlen(path);
  if (length == 0 || length >= path_buffer_size) return 0;
  std::memcpy(work, path, length + 1);
  path_add_backslash(work);

  int root_separators = root_separator_count(work);
  int separators_seen = 0;
  for (std::size_t i = 0; work[i] != '\0'; ++i) {
    if (is_lead_byte(static_cast<unsigned char>(work[i]))) {
      if (work[i + 1] == '\0') break;
      ++i;
      continue;
    }
    if (!is_separator(work[i])) continue;
    work[i] = '\\';
    if (separators_seen++ < root_separators) continue;
    work[i] = '\0';
    bool exists = is_existing_folder(work) || create_folder(work);
    work[i] = '\\';
    if (!exists) return 0;
  }
  return 1;
}

const char* format_byte_count(std::uint32_t count) {
  std::uint32_t place = 1;
  int n = 0;
  while (count / place > 9 && n < 9) {
    place *= 10;
    ++n;
  }
  char* out = count_text;
  for (;;) {
    *out++ = static_cast<char>('0' + count / place);
    count %= place;
    if (n % 3 == 0) *out++ = ',';
    place /= 10;
    if (n == 0) break;
    --n;
  }
  out[-1] = '\0';
  return count_text;
}
