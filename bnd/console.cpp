#include "bnd/console.h"

#include <cstdarg>
#include <cstdint>
#include <cstring>

#include "platform/platform.h"

namespace {

// Text of a signed 32-bit number; returns its length.
int format_decimal(std::int32_t number, char (&text)[12]) {
  char digits[10];
  int count = 0;
  // Work in unsigned arithmetic so that the lowest value has a magnitude.
  std::uint32_t magnitude = number < 0 ? 0u - static_cast<std::uint32_t>(number)
                                       : static_cast<std::uint32_t>(number);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  int length = 0;
  if (number < 0) text[length++] = '-';
  while (count > 0) text[length++] = digits[--count];
  return length;
}

}  // namespace

int console_print(const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  bool ok = true;
  int produced = 0;
  auto emit = [&](const char* text, std::size_t length) {
    if (length == 0) return;
    ok = console_write(text, length) == 0 && ok;
    produced += static_cast<int>(length);
  };
  const char* plain = format;
  for (const char* p = format; *p != '\0'; ++p) {
    if (p[0] != '%' || (p[1] != 's' && p[1] != 'd')) continue;
    emit(plain, static_cast<std::size_t>(p - plain));
    if (p[1] == 's') {
      const char* text = va_arg(arguments, const char*);
      emit(text, std::strlen(text));
    } else {
      char text[12];
      int length = format_decimal(va_arg(arguments, std::int32_t), text);
      emit(text, static_cast<std::size_t>(length));
    }
    ++p;
    plain = p + 1;
  }
  emit(plain, std::strlen(plain));
  va_end(arguments);
  return ok ? produced : -1;
}
