// Writes the seed archives into a folder, one file each.
// Usage: make_fuzz_corpus <folder>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/seed_archives.h"

int main(int argument_count, char** arguments) {
  if (argument_count != 2) {
    std::fprintf(stderr, "usage: make_fuzz_corpus <folder>\n");
    return 2;
  }
  for (const seed_archive& seed : seed_archives()) {
    std::ofstream out(std::string(arguments[1]) + "/" + seed.name, std::ios::binary | std::ios::trunc);
    out.write(seed.bytes.data(), static_cast<std::streamsize>(seed.bytes.size()));
    if (!out) return 1;
  }
  return 0;
}
