#include "fuzz/escape_check.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

// Splits text at the bytes separate() accepts; the second byte of a
// double-byte character never separates.
template <typename Separates>
std::vector<std::string> split(const std::string& text, Separates separate) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto byte = static_cast<unsigned char>(text[i]);
    if (is_lead_byte(byte) && i + 1 < text.size()) {
      parts.back() += text.substr(i, 2);
      ++i;
    } else if (separate(text[i])) {
      parts.emplace_back();
    } else {
      parts.back() += text[i];
    }
  }
  return parts;
}

// Linux sees '/' only; the tool's '\' separators reach it as '/'.
bool stays_inside_on_linux(const std::string& rest) {
  std::string native;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    auto byte = static_cast<unsigned char>(rest[i]);
    if (is_lead_byte(byte) && i + 1 < rest.size()) {
      native += rest.substr(i, 2);
      ++i;
    } else {
      native += rest[i] == '\\' ? '/' : rest[i];
    }
  }
  int depth = 0;
  for (const std::string& part : split(native, [](char c) { return c == '/'; })) {
    if (part == "..") --depth;
    else if (!part.empty() && part != ".") ++depth;
    if (depth < 0) return false;
  }
  return true;
}

bool is_windows_device(std::string name) {
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  for (char& c : name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  if (name == "CON" || name == "PRN" || name == "AUX" || name == "NUL") return true;
  return name.size() == 4 && (name.compare(0, 3, "COM") == 0 || name.compare(0, 3, "LPT") == 0) &&
         name[3] >= '1' && name[3] <= '9';
}

// Windows takes both separators, drops the dots and spaces that end a
// component (so ". ." or "..." may mean ".."), and opens a device for its
// reserved names wherever they stand.
bool stays_inside_on_windows(const std::string& rest) {
  int depth = 0;
  for (const std::string& part : split(rest, [](char c) { return c == '/' || c == '\\'; })) {
    if (is_windows_device(part)) return false;
    bool dots_and_spaces = part.find_first_not_of(". ") == std::string::npos;
    std::size_t dots = 0;
    for (char c : part) dots += c == '.';
    if (dots_and_spaces && dots >= 2) --depth;
    else if (!dots_and_spaces) ++depth;
    if (depth < 0) return false;
  }
  return true;
}

}  // namespace

bool stays_inside(const char* output_root, const char* output_path) {
  std::size_t root_length = std::strlen(output_root);
  if (std::strncmp(output_root, output_path, root_length) != 0) return false;
  std::string rest = output_path + root_length;
  // Without a root the path is relative to the current folder: it must not
  // start at a root or name a drive. After a root, "C:" is a name inside it.
  if (root_length == 0 && !rest.empty() && (rest[0] == '/' || rest[0] == '\\')) return false;
  if (root_length == 0 && rest.size() >= 2 && rest[1] == ':') return false;
  return stays_inside_on_linux(rest) && stays_inside_on_windows(rest);
}
