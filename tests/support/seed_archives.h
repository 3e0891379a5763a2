#pragma once

// Small archives, a few hundred bytes each, that between them reach every
// part of the format: folders at several depths, depth-0 names, a nested
// archive, a to-the-end entry, refused names and a record that is its own
// successor. The fuzz corpus and the truncation and damage tests start
// from these.

#include <string>
#include <vector>

struct seed_archive {
  std::string name;   // a file name, ending in .bnd
  std::string bytes;
};

std::vector<seed_archive> seed_archives();

/// An archive of depth-0 entries n0.bnd, n1.bnd, ... each of whose data is
/// the whole archive again: every copy is an archive that holds them all.
std::string self_copying_archive(int copies);
