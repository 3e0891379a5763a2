// Win32 implementation of the platform seam: the ANSI file-system and shell
// path functions, and the C runtime's streams and console.

#include <windows.h>
#include <shlwapi.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "platform/platform.h"

// Arguments reach main as the command line gives them: no wildcard
// expansion by the runtime (an archive named a*.bnd is that name).
extern "C" {
int _dowildcard = 0;
}

struct disk_file {
  std::FILE* stream;
};

namespace {

UINT current_code_page = CP_ACP;

disk_file* wrap(std::FILE* stream) {
  if (stream == nullptr) return nullptr;
  auto* file = new (std::nothrow) disk_file{stream};
  if (file == nullptr) std::fclose(stream);
  return file;
}

bool identify_handle(HANDLE handle, file_identity* identity) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle, &info)) return false;
  *identity = {info.dwVolumeSerialNumber,
               static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow};
  return true;
}

}  // namespace

void platform_start() {
  current_code_page = GetACP();
  // Text mode: each "\n" leaves as CR LF. A console shows every piece at
  // once; a file or pipe gets blocks of 4096 bytes, the rest at exit.
  _setmode(_fileno(stdout), _O_TEXT);
  if (_isatty(_fileno(stdout))) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
  } else {
    std::setvbuf(stdout, nullptr, _IOFBF, 4096);
  }
}

int active_code_page() {
  UINT code_page = current_code_page == CP_ACP ? GetACP() : current_code_page;
  return code_page == code_page_shift_jis ? code_page_shift_jis : code_page_single_byte;
}

void use_code_page(int code_page) { current_code_page = static_cast<UINT>(code_page); }

bool is_lead_byte(unsigned char value) {
  return IsDBCSLeadByteEx(current_code_page, value) != 0;
}

int console_write(const char* text, std::size_t length) {
  return std::fwrite(text, 1, length, stdout) == length ? 0 : -1;
}

bool get_module_path(char (&path)[path_buffer_size]) {
  DWORD length = GetModuleFileNameA(nullptr, path, path_buffer_size);
  // A full buffer means the path was cut short.
  return length > 0 && length < path_buffer_size;
}

bool set_current_folder(const char* path) { return SetCurrentDirectoryA(path) != 0; }

bool is_existing_folder(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool create_folder(const char* path) { return CreateDirectoryA(path, nullptr) != 0; }

bool path_add_backslash(char* path) {
  // PathAddBackslashA may fill a MAX_PATH buffer to its last byte and one
  // beyond: let it work on a larger copy and keep the result only if it fits.
  char work[path_buffer_size + 2];
  std::size_t length = std::strlen(path);
  if (length >= path_buffer_size) return false;
  std::memcpy(work, path, length + 1);
  if (PathAddBackslashA(work) == nullptr) return false;
  std::size_t added = std::strlen(work);
  if (added >= path_buffer_size) return false;
  std::memcpy(path, work, added + 1);
  return true;
}

disk_file* open_for_reading(const char* path) { return wrap(std::fopen(path, "rb")); }

disk_file* create_for_writing(const char* path) { return wrap(std::fopen(path, "wb")); }

disk_file* create_new_for_writing(const char* path) {
  // fopen has no "create only if new" in this runtime: create the file with
  // the system, then hand it to a stream like the one fopen "wb" gives.
  HANDLE handle = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
  if (descriptor == -1) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* stream = _fdopen(descriptor, "wb");
  if (stream == nullptr) _close(descriptor);
  return wrap(stream);
}

std::size_t read_at(disk_file* file, std::uint64_t offset, void* buffer, std::size_t count) {
  if (_fseeki64(file->stream, static_cast<__int64>(offset), SEEK_SET) != 0) return 0;
  return std::fread(buffer, 1, count, file->stream);
}

bool write_all(disk_file* file, const void* data, std::size_t count) {
  return std::fwrite(data, 1, count, file->stream) == count;
}

std::uint64_t copy_in_system(disk_file*, std::uint64_t, disk_file*, std::uint64_t) { return 0; }

bool set_file_length(disk_file* file, std::uint64_t length) {
  return std::fflush(file->stream) == 0 &&
         _chsize_s(_fileno(file->stream), static_cast<__int64>(length)) == 0 &&
         _fseeki64(file->stream, 0, SEEK_END) == 0;
}

bool get_file_length(disk_file* file, std::uint64_t* length) {
  __int64 bytes = _filelengthi64(_fileno(file->stream));
  if (bytes < 0) return false;
  *length = static_cast<std::uint64_t>(bytes);
  return true;
}

int close_file(disk_file* file) {
  int result = std::fclose(file->stream) == 0 ? 0 : -1;
  delete file;
  return result;
}

bool identify_open_file(disk_file* file, file_identity* identity) {
  auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file->stream)));
  return handle != INVALID_HANDLE_VALUE && identify_handle(handle, identity);
}

bool identify_path(const char* path, file_identity* identity) {
  // No access asked: enough to read the file's identity, and it works on a
  // file that another program holds open.
  HANDLE handle = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  bool known = identify_handle(handle, identity);
  CloseHandle(handle);
  return known;
}
