#pragma once

#include <string>

/// The text converted between two character sets by iconv ("UTF-8",
/// "CP932", "CP1252"); empty when the conversion fails.
std::string convert_text(const std::string& text, const char* from, const char* to);
