// Writes the seed archives into a folder, one file each.
// Usage: make_fuzz_corpus <folder>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/seed_archives.h"

int main(int argument_count, char** arguments) {
  if (argument_count != 2) {
    std::fprintf(stderr, "usage: make_fuzz_corpus <folder>\n");
    return 2;
  }
  std::vector<seed_archive> seeds = seed_archives();
  // Once took time exponential in its copies; kept as a regression input.
  seeds.push_back({"self_copies.bnd", self_copying_archive(12)});
  for (const seed_archive& seed : seeds) {
    std::ofstream out(std::string(arguments[1]) + "/" + seed.name, std::ios::binary | std::ios::trunc);
    out.write(seed.bytes.data(), static_cast<std::streamsize>(seed.bytes.size()));
    if (!out) return 1;
  }
  return 0;
}
