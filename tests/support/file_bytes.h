#pragma once

#include <string>

/// Writes bytes to path, replacing what was there.
void write_file(const std::string& path, const std::string& bytes);

/// Every byte of the file at path; empty when it cannot be read.
std::string read_file(const std::string& path);
