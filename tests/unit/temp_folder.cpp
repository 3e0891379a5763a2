#include "tests/unit/temp_folder.h"

#include <algorithm>
#include <random>

temp_folder::temp_folder() : previous_(std::filesystem::current_path()) {
  std::random_device random;
  do {
    path_ = std::filesystem::temp_directory_path() /
            ("krovex-unit-" + std::to_string(random()));
  } while (!std::filesystem::create_directory(path_));
  std::filesystem::current_path(path_);
}

temp_folder::~temp_folder() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string tool_form(const std::filesystem::path& path) {
  std::string text = path.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}
