#pragma once

#include <filesystem>
#include <string>

#include "tests/support/file_bytes.h"

/// A fresh folder that is the current directory for the life of the object,
/// removed with everything in it afterwards.
class temp_folder {
 public:
  temp_folder();
  ~temp_folder();
  temp_folder(const temp_folder&) = delete;
  temp_folder& operator=(const temp_folder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

/// A path in the tool's own form: backslashes for separators.
std::string tool_form(const std::filesystem::path& path);
