#include "tests/support/text_encoding.h"

#include <iconv.h>

std::string convert_text(const std::string& text, const char* from, const char* to) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return {};
  std::string input = text;
  std::string output(input.size() * 4 + 1, '\0');
  char* in = input.data();
  char* out = output.data();
  std::size_t in_left = input.size();
  std::size_t out_left = output.size();
  bool converted = iconv(converter, &in, &in_left, &out, &out_left) != static_cast<std::size_t>(-1);
  iconv_close(converter);
  if (!converted) return {};
  output.resize(output.size() - out_left);
  return output;
}
