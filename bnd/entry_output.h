#pragma once

// Turning one archive entry into output: its data into a file, the folders
// it needs, and its size as console text. None of these prints anything.

#include <cstdint>

struct disk_file;

/// A data_size of this value means "from data_offset to the archive's end".
constexpr std::uint32_t size_to_end = 0xFFFFFFFF;

/// Data moves in chunks of this size, so a copy needs no more memory
/// whatever the entry's size.
constexpr std::uint32_t copy_chunk_size = 5242880;

enum copy_result {
  copy_complete,
  copy_cannot_create,  // the output file could not be created; nothing read
  copy_write_failed,   // a write or the close failed; the file is short
  copy_data_short,     // the archive ended (or a read failed) before the data
                       // did; the file has its full size, zeros at the end
};

/// Creates output_path, or empties it, and writes the data_size bytes of the
/// archive from data_offset into it (for size_to_end, every byte from
/// data_offset to the archive's end). The file is closed on return.
copy_result copy_entry_data(disk_file* archive, const char* output_path,
                            std::uint32_t data_offset, std::uint32_t data_size);

/// As copy_entry_data, into output, an empty file the caller has just
/// created for writing (never copy_cannot_create). It is closed on return.
copy_result write_entry_data(disk_file* archive, disk_file* output,
                             std::uint32_t data_offset, std::uint32_t data_size);

/// Creates every missing folder along path, outermost first, the last
/// component included (a trailing separator is optional; '\' and '/' both
/// separate). A drive root (C:\, C:), the root of a path that begins with one
/// separator, and the \\server\share of a network path are never tested or
/// created. Returns 1 when every folder exists afterwards, 0 when the path is
/// empty or longer than 259 bytes, or a folder could neither be found nor be
/// created; the folders made before that stay.
int make_directory_chain(const char* path);

/// The count as decimal text with a comma between groups of three digits
/// (4294967295 gives 4,294,967,295). The text lives in one buffer shared by
/// every call, valid until the next call.
const char* format_byte_count(std::uint32_t count);
