#pragma once

#if defined(__GNUC__)
#define KROVEX_PRINTF_FORMAT __attribute__((format(printf, 1, 2)))
#else
#define KROVEX_PRINTF_FORMAT
#endif

/// Prints a message to standard output. The format knows "%s" (the bytes of
/// a zero-terminated string) and "%d" (a signed 32-bit decimal) and nothing
/// else: no flags, width or precision. Returns the number of bytes the
/// message holds, each "\n" counted once although it reaches the output as
/// CR LF, or -1 when writing the output failed during the call.
int console_print(const char* format, ...) KROVEX_PRINTF_FORMAT;
