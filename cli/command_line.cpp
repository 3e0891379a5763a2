#include "cli/command_line.h"

#include <cstring>

#include "bnd/console.h"
#include "bnd/entry_output.h"
#include "bnd/extract_archive.h"
#include "bnd/messages.h"
#include "platform/platform.h"

void enter_program_folder() {
  char module_path[path_buffer_size];
  if (!get_module_path(module_path)) return;
  // A plain byte search, as the system's own path functions did: a
  // double-byte character ending in 0x5C counts as a separator here.
  char* last_backslash = std::strrchr(module_path, '\\');
  if (last_backslash == nullptr) return;
  last_backslash[1] = '\0';
  set_current_folder(module_path);
}

namespace {

// -x or /x in either case, and anything after it: the flattening switch.
bool is_flatten_switch(const char* argument) {
  return (argument[0] == '-' || argument[0] == '/') &&
         (argument[1] == 'x' || argument[1] == 'X');
}

// output_root is the destination with one backslash appended, unless it
// ends in one already; an empty destination stays empty.
bool build_output_root(const char* destination, char (&output_root)[path_buffer_size]) {
  std::size_t length = std::strlen(destination);
  if (length >= path_buffer_size) return false;
  std::memcpy(output_root, destination, length + 1);
  return length == 0 || path_add_backslash(output_root);
}

}  // namespace

int run_command_line(int argument_count, char** arguments) {
  char output_root[path_buffer_size] = "";
  enter_program_folder();

  int flatten = 0;
  int archive_position = 1;
  if (argument_count > 1 && is_flatten_switch(arguments[1])) {
    flatten = 1;
    archive_position = 2;
  }
  if (argument_count > archive_position + 1) {
    const char* destination = arguments[archive_position + 1];
    if (!build_output_root(destination, output_root)) {
      console_print(msg_banner);
      return console_print(msg_path_too_long, destination);
    }
    make_directory_chain(output_root);
  }
  const char* archive_path =
      argument_count > archive_position ? arguments[archive_position] : "";
  return extract_archive(archive_path, output_root, flatten, 1);
}
