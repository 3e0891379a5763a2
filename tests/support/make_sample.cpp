// Writes the sample archive shipped in examples/: folders, a few files and
// a nested archive. Usage: make_sample <path>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/bnd_builder.h"

int main(int argument_count, char** arguments) {
  if (argument_count != 2) {
    std::fprintf(stderr, "usage: make_sample <path>\n");
    return 2;
  }
  std::string maps = build_bnd({
                                   folder(1, "/maps"),
                                   file(2, "/castle.map", "castle: 12 x 40\n"),
                                   file(2, "/forest.map", "forest: 64 x 64\n"),
                               })
                         .bytes;
  std::string sample = build_bnd({
                                     file(1, "/readme.txt", "Unpacked by krovex.\n"),
                                     folder(1, "/data"),
                                     file(2, "/config.ini", "[game]\nlevel=1\n"),
                                     folder(2, "/sound"),
                                     file(3, "/title.wav", std::string(2048, '\x7f')),
                                     file(2, "/maps.bnd", maps),
                                 })
                           .bytes;
  std::ofstream out(arguments[1], std::ios::binary | std::ios::trunc);
  out.write(sample.data(), static_cast<std::streamsize>(sample.size()));
  return out ? 0 : 1;
}
