#pragma once

// The one seam between krovex and the operating system. One implementation
// per system (platform_posix.cpp, platform_win32.cpp), chosen by the build;
// everything else includes only this header.
//
// Paths are the tool's own text: zero-terminated bytes in the active code
// page, with backslashes as separators. An implementation hands them to its
// system as that system needs them and never changes the caller's text.

#include <cstddef>
#include <cstdint>

/// Every path buffer of the tool holds this many bytes, terminator included
/// (MAX_PATH on Windows), so a path has at most 259 bytes of text.
constexpr std::size_t path_buffer_size = 260;

/// Code pages the tool tells apart: Shift_JIS, whose lead bytes 0x81-0x9F and
/// 0xE0-0xFC start double-byte characters, and any single-byte code page.
constexpr int code_page_shift_jis = 932;
constexpr int code_page_single_byte = 1252;

/// Run once before anything else: takes the active code page from the
/// system and sets up standard output (immediate on a terminal or console,
/// 4096-byte buffer otherwise, written out when the process ends).
void platform_start();

/// The active code page taken at start-up; tests may choose another.
int active_code_page();
void use_code_page(int code_page);

/// Whether byte starts a double-byte character in the active code page.
bool is_lead_byte(unsigned char byte);

/// Writes text to standard output; each "\n" reaches the console, a file or
/// a pipe as CR LF. Returns 0, or -1 when writing the stream's buffer failed.
int console_write(const char* text, std::size_t length);

/// The running executable's full path in the tool's form (backslashes).
/// False when it cannot be had or does not fit path_buffer_size.
bool get_module_path(char (&path)[path_buffer_size]);

/// Makes a folder the process's current directory. False when refused.
bool set_current_folder(const char* path);

/// Whether path names an existing folder.
bool is_existing_folder(const char* path);

/// Creates one folder; its parent must exist. False when that fails (the
/// parent is missing, the name is taken, access is refused).
bool create_folder(const char* path);

/// Appends a backslash to the path held in a path_buffer_size buffer unless
/// its last character already is one (a double-byte character whose second
/// byte is 0x5C is not). Appends nothing to an empty path, nor when there is
/// no room. Returns whether the text ends in a backslash afterwards.
bool path_add_backslash(char* path);

/// An open file. Reads and writes name their own offsets, so no caller
/// relies on a position left behind by another.
struct disk_file;

/// Opens an existing file for reading as raw bytes; null when that fails.
disk_file* open_for_reading(const char* path);

/// Creates a file for writing, or empties it if it exists; null when that
/// fails (its folder is missing, the name is a folder's, access is refused).
disk_file* create_for_writing(const char* path);

/// Creates a file for writing only where nothing has the name yet; null when
/// something does (a file, a folder, a link) or creating it fails.
disk_file* create_new_for_writing(const char* path);

/// Reads up to count bytes from offset. Returns how many arrived: fewer at
/// the end of the file or on a read error.
std::size_t read_at(disk_file* file, std::uint64_t offset, void* buffer,
                    std::size_t count);

/// Appends count bytes to a file being written. False when the write failed.
bool write_all(disk_file* file, const void* data, std::size_t count);

/// Copies up to count bytes from offset in one file to the end of a file
/// being written, inside the system where it can (Linux's copy_file_range).
/// Returns how many bytes it copied: fewer, 0 included, where the system
/// cannot, a read or write fails or the source ends. The caller copies the
/// rest itself and so meets any failure there.
std::uint64_t copy_in_system(disk_file* from, std::uint64_t offset, disk_file* to,
                             std::uint64_t count);

/// Sets the length of a file being written; bytes it gains read as zero.
bool set_file_length(disk_file* file, std::uint64_t length);

/// The file's length in bytes. False when it cannot be had.
bool get_file_length(disk_file* file, std::uint64_t* length);

/// Closes the file. Returns 0, or -1 when the close (or the last write it
/// completes) failed. The handle is gone either way.
int close_file(disk_file* file);

/// What makes a file the same file under any of its names: device and inode
/// on POSIX, volume serial number and file index on Windows.
struct file_identity {
  std::uint64_t volume;
  std::uint64_t index;
};

bool identify_open_file(disk_file* file, file_identity* identity);

/// False when nothing exists at path.
bool identify_path(const char* path, file_identity* identity);
