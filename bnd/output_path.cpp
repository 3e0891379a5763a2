#include "bnd/output_path.h"

#include <cstring>
#include <string_view>

namespace {

bool is_separator(char byte) { return byte == '\\' || byte == '/'; }

char to_upper(char byte) {
  return byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 'a' + 'A') : byte;
}

bool is_dots_and_spaces(std::string_view component) {
  int dots = 0;
  for (char byte : component) {
    if (byte == '.') {
      ++dots;
    } else if (byte != ' ') {
      return false;
    }
  }
  return dots >= 2;
}

// Windows opens a device, not a file, for these names, whatever follows the
// first dot and however many spaces end the name.
bool is_device_name(std::string_view component) {
  std::string_view base = component.substr(0, component.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  if (base.size() != 3 && base.size() != 4) return false;
  char upper[4];
  for (std::size_t i = 0; i < base.size(); ++i) upper[i] = to_upper(base[i]);
  std::string_view name(upper, base.size());
  if (name.size() == 3) {
    return name == "CON" || name == "PRN" || name == "AUX" || name == "NUL";
  }
  std::string_view stem = name.substr(0, 3);
  return (stem == "COM" || stem == "LPT") && name[3] >= '1' && name[3] <= '9';
}

bool is_unsafe_component(std::string_view component) {
  return is_dots_and_spaces(component) || is_device_name(component);
}

const char* skip_separators(const char* text) {
  while (is_separator(*text)) ++text;
  return text;
}

}  // namespace

bool is_safe_entry_part(const char* part) {
  part = skip_separators(part);
  if (part[0] != '\0' && part[1] == ':') return false;
  const char* start = part;
  for (const char* p = part;; ++p) {
    if (*p != '\0' && is_lead_byte(static_cast<unsigned char>(*p))) {
      if (p[1] == '\0') continue;  // a lone lead byte ends the text
      ++p;
      continue;
    }
    if (*p != '\0' && !is_separator(*p)) continue;
    if (is_unsafe_component(std::string_view(start, static_cast<std::size_t>(p - start)))) {
      return false;
    }
    if (*p == '\0') return true;
    start = p + 1;
  }
}

entry_output plan_entry_output(const directory_walk& walk, const file_entry& entry,
                               const char* output_root, bool flatten,
                               char (&entry_path)[path_buffer_size],
                               char (&output_path)[path_buffer_size]) {
  if (entry.depth >= level_table_size) return {entry_unsafe, entry.name, 0};

  bool keep_folders = !flatten && entry.depth > 0;
  const char* shown = entry.name;
  const char* part = entry.name;
  if (keep_folders) {
    if (!join_entry_path(walk, entry.depth, entry_path)) {
      return {entry_too_long, entry.name, 0};
    }
    shown = entry_path;
    // The first character goes, whatever it is: archives store paths that
    // begin with a separator of their own.
    part = entry_path[0] != '\0' ? entry_path + 1 : entry_path;
  }
  if (output_root[0] == '\0') part = skip_separators(part);
  if (!is_safe_entry_part(part)) return {entry_unsafe, shown, 0};

  std::size_t root_length = std::strlen(output_root);
  std::size_t part_length = std::strlen(part);
  if (root_length + part_length >= path_buffer_size) {
    return {entry_too_long, entry.name, 0};
  }
  std::memcpy(output_path, output_root, root_length);
  std::memcpy(output_path + root_length, part, part_length + 1);

  std::size_t folder_length = 0;
  if (keep_folders) {
    const char* last_slash = std::strrchr(output_path, '/');
    if (last_slash != nullptr) folder_length = static_cast<std::size_t>(last_slash - output_path);
  }
  return {entry_writable, shown, folder_length};
}
