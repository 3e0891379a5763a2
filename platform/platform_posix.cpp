// POSIX implementation of the platform seam (Linux).

#include "platform/platform.h"

#include <fcntl.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <new>
#include <strings.h>

struct disk_file {
  int descriptor;
};

namespace {

int current_code_page = code_page_single_byte;

// Standard output: collected here unless it is a terminal. Line feeds are
// stored as CR LF, so the bytes match what a Windows text stream writes.
constexpr std::size_t console_buffer_size = 4096;
char console_buffer[console_buffer_size];
std::size_t console_used = 0;
bool console_immediate = false;

bool write_descriptor(int descriptor, const char* data, std::size_t count) {
  while (count > 0) {
    ssize_t written = ::write(descriptor, data, count);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    count -= static_cast<std::size_t>(written);
  }
  return true;
}

bool flush_console() {
  bool ok = write_descriptor(STDOUT_FILENO, console_buffer, console_used);
  console_used = 0;
  return ok;
}

void flush_console_at_exit() { flush_console(); }

bool put_console_byte(char byte) {
  bool ok = true;
  if (console_used == console_buffer_size) ok = flush_console();
  console_buffer[console_used++] = byte;
  return ok;
}

// The path as the system wants it: every backslash that is a character of
// its own becomes '/'; the second byte of a double-byte character stays.
struct native_path {
  char text[path_buffer_size * 2];
  bool fits;
};

native_path to_native(const char* path) {
  native_path native{};
  std::size_t length = std::strlen(path);
  if (length >= sizeof native.text) return native;
  for (std::size_t i = 0; i < length; ++i) {
    unsigned char byte = static_cast<unsigned char>(path[i]);
    if (is_lead_byte(byte) && i + 1 < length) {
      native.text[i] = path[i];
      native.text[i + 1] = path[i + 1];
      ++i;
      continue;
    }
    native.text[i] = byte == '\\' ? '/' : path[i];
  }
  native.text[length] = '\0';
  native.fits = true;
  return native;
}

bool is_shift_jis_name(const char* codeset) {
  const char* names[] = {"SHIFT_JIS", "SHIFT-JIS", "SJIS", "CP932",
                         "WINDOWS-31J", "MS_KANJI"};
  for (const char* name : names) {
    if (strcasecmp(codeset, name) == 0) return true;
  }
  return false;
}

disk_file* wrap(int descriptor) {
  if (descriptor < 0) return nullptr;
  auto* file = new (std::nothrow) disk_file{descriptor};
  if (file == nullptr) ::close(descriptor);
  return file;
}

}  // namespace

void platform_start() {
  std::setlocale(LC_CTYPE, "");
  const char* codeset = nl_langinfo(CODESET);
  current_code_page = codeset != nullptr && is_shift_jis_name(codeset)
                          ? code_page_shift_jis
                          : code_page_single_byte;
  // A reader that goes away makes writes fail, as on Windows, instead of
  // ending the process.
  std::signal(SIGPIPE, SIG_IGN);
  console_immediate = ::isatty(STDOUT_FILENO) == 1;
  std::atexit(flush_console_at_exit);
}

int active_code_page() { return current_code_page; }

void use_code_page(int code_page) { current_code_page = code_page; }

bool is_lead_byte(unsigned char byte) {
  if (current_code_page != code_page_shift_jis) return false;
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

int console_write(const char* text, std::size_t length) {
  bool ok = true;
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] == '\n') ok = put_console_byte('\r') && ok;
    ok = put_console_byte(text[i]) && ok;
  }
  if (console_immediate) ok = flush_console() && ok;
  return ok ? 0 : -1;
}

bool get_module_path(char (&path)[path_buffer_size]) {
  char real[path_buffer_size + 1];
  ssize_t length = ::readlink("/proc/self/exe", real, sizeof real);
  if (length <= 0 || static_cast<std::size_t>(length) >= path_buffer_size) {
    return false;
  }
  for (ssize_t i = 0; i < length; ++i) path[i] = real[i] == '/' ? '\\' : real[i];
  path[length] = '\0';
  return true;
}

bool set_current_folder(const char* path) {
  native_path native = to_native(path);
  return native.fits && ::chdir(native.text) == 0;
}

bool is_existing_folder(const char* path) {
  native_path native = to_native(path);
  struct stat info {};
  return native.fits && ::stat(native.text, &info) == 0 && S_ISDIR(info.st_mode);
}

bool create_folder(const char* path) {
  native_path native = to_native(path);
  return native.fits && ::mkdir(native.text, 0777) == 0;
}

bool path_add_backslash(char* path) {
  std::size_t length = 0;
  bool ends_in_backslash = false;
  while (path[length] != '\0') {
    unsigned char byte = static_cast<unsigned char>(path[length]);
    if (is_lead_byte(byte) && path[length + 1] != '\0') {
      ends_in_backslash = false;
      length += 2;
      continue;
    }
    ends_in_backslash = byte == '\\';
    ++length;
  }
  if (ends_in_backslash || length == 0) return ends_in_backslash;
  if (length + 1 >= path_buffer_size) return false;
  path[length] = '\\';
  path[length + 1] = '\0';
  return true;
}

disk_file* open_for_reading(const char* path) {
  native_path native = to_native(path);
  if (!native.fits) return nullptr;
  return wrap(::open(native.text, O_RDONLY | O_CLOEXEC));
}

disk_file* create_for_writing(const char* path) {
  native_path native = to_native(path);
  if (!native.fits) return nullptr;
  return wrap(::open(native.text, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
}

disk_file* create_new_for_writing(const char* path) {
  native_path native = to_native(path);
  if (!native.fits) return nullptr;
  return wrap(::open(native.text, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
}

std::size_t read_at(disk_file* file, std::uint64_t offset, void* buffer,
                    std::size_t count) {
  auto* bytes = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    ssize_t got = ::pread(file->descriptor, bytes + done, count - done,
                          static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

bool write_all(disk_file* file, const void* data, std::size_t count) {
  return write_descriptor(file->descriptor, static_cast<const char*>(data), count);
}

std::uint64_t copy_in_system(disk_file* from, std::uint64_t offset, disk_file* to,
                             std::uint64_t count) {
  std::uint64_t done = 0;
  auto position = static_cast<off_t>(offset);
  while (done < count) {
    std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(count - done, 1u << 30));
    ssize_t copied = ::copy_file_range(from->descriptor, &position, to->descriptor, nullptr, step, 0);
    if (copied < 0 && errno == EINTR) continue;
    if (copied <= 0) break;
    done += static_cast<std::uint64_t>(copied);
  }
  return done;
}

bool set_file_length(disk_file* file, std::uint64_t length) {
  return ::ftruncate(file->descriptor, static_cast<off_t>(length)) == 0;
}

bool get_file_length(disk_file* file, std::uint64_t* length) {
  struct stat info {};
  if (::fstat(file->descriptor, &info) != 0) return false;
  *length = static_cast<std::uint64_t>(info.st_size);
  return true;
}

int close_file(disk_file* file) {
  int result = ::close(file->descriptor) == 0 ? 0 : -1;
  delete file;
  return result;
}

bool identify_open_file(disk_file* file, file_identity* identity) {
  struct stat info {};
  if (::fstat(file->descriptor, &info) != 0) return false;
  *identity = {static_cast<std::uint64_t>(info.st_dev),
               static_cast<std::uint64_t>(info.st_ino)};
  return true;
}

bool identify_path(const char* path, file_identity* identity) {
  native_path native = to_native(path);
  struct stat info {};
  if (!native.fits || ::stat(native.text, &info) != 0) return false;
  *identity = {static_cast<std::uint64_t>(info.st_dev),
               static_cast<std::uint64_t>(info.st_ino)};
  return true;
}
