// Writes the benchmark inputs: one BND archive and, beside it, the same files
// as an ordinary folder tree that bench/run.sh packs with tar. The archive's
// directory comes from the tests' archive builder; the entry data is then
// streamed after it, so a gigabyte archive never has to be held in memory.
//
// Usage:
//   make_bench_archives large  <folder> <total_mib> <entries>
//   make_bench_archives small  <folder> <entries>
//   make_bench_archives nested <folder> <archives> <entries_each>
//
// large:  <folder>/large.bnd, <folder>/large-tree/   (d0/d1/eN.bin), and
//         <folder>/large-aligned.bnd: the same with each entry's data at a
//         multiple of 4096 bytes, where a file's pages begin
// small:  <folder>/small.bnd, <folder>/small-tree/   (aA/bB/cC/fNNNNN.dat,
//         100 files a folder), <folder>/small-flat/  (the same files, no
//         folders: what -x makes)
// nested: <folder>/nested.bnd holding nNN.bnd archives of nNN/fMMM.dat
//         files; <folder>/nested-tree/ holds both, as krovex leaves them.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/bnd_builder.h"

namespace {

// Data of one file: given bytes, or size bytes of a pseudo-random stream.
struct planned_file {
  std::string tree_path;  // relative to the tree folder, '/' separated
  std::uint64_t size;
  std::uint64_t seed;
  std::string bytes;      // used instead of the stream when literal is set
  bool literal;
};

struct workload {
  std::vector<bnd_entry> records;      // the archive's records, data empty
  std::vector<planned_file> data;      // one per file record, in order
  std::vector<planned_file> tree;      // the files tar gets
};

// splitmix64: fast, and every seed gives its own stream.
std::uint64_t next_random(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::string random_bytes(std::uint64_t seed, std::size_t size) {
  std::string bytes(size, '\0');
  std::uint64_t state = seed;
  for (std::size_t i = 0; i < size; i += 8) {
    std::uint64_t word = next_random(state);
    for (std::size_t j = 0; j < 8 && i + j < size; ++j) {
      bytes[i + j] = static_cast<char>(word >> (8 * j));
    }
  }
  return bytes;
}

bool write_content(std::ofstream& out, const planned_file& file) {
  if (file.literal) {
    out.write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
    return static_cast<bool>(out);
  }
  // Chunks of 8 MiB keep the generator small whatever the entry size; the
  // stream goes on across chunks, so chunking does not change the bytes.
  constexpr std::size_t chunk = std::size_t{8} << 20;
  std::vector<char> buffer(static_cast<std::size_t>(file.size < chunk ? file.size : chunk));
  std::uint64_t state = file.seed;
  std::uint64_t left = file.size;
  while (left > 0) {
    std::size_t count = static_cast<std::size_t>(left < chunk ? left : chunk);
    for (std::size_t i = 0; i < count; i += 8) {
      std::uint64_t word = next_random(state);
      for (std::size_t j = 0; j < 8 && i + j < count; ++j) {
        buffer[i + j] = static_cast<char>(word >> (8 * j));
      }
    }
    out.write(buffer.data(), static_cast<std::streamsize>(count));
    left -= count;
  }
  return static_cast<bool>(out);
}

std::uint64_t content_size(const planned_file& file) {
  return file.literal ? file.bytes.size() : file.size;
}

// Each entry's data starts at a multiple of alignment (1: packed, as the
// tests' builder lays it out); the gaps hold zeros.
bool write_archive(const std::filesystem::path& path, const workload& work,
                   std::uint64_t alignment) {
  bnd_image image = build_bnd(work.records);
  std::uint64_t offset = image.bytes.size();
  std::size_t file_index = 0;
  std::vector<std::uint64_t> gaps;
  for (std::size_t i = 0; i < work.records.size(); ++i) {
    if (work.records[i].level > 0) continue;
    const planned_file& file = work.data.at(file_index++);
    std::uint64_t size = content_size(file);
    std::uint64_t start = (offset + alignment - 1) / alignment * alignment;
    gaps.push_back(start - offset);
    offset = start;
    if (offset + size > 0xFFFFFFFEull) {
      std::fprintf(stderr, "archive larger than 4 GiB\n");
      return false;
    }
    put_u32(image.bytes, image.info_offsets[i] + info_data_offset,
            static_cast<std::uint32_t>(offset));
    put_u32(image.bytes, image.info_offsets[i] + info_data_size,
            static_cast<std::uint32_t>(size));
    offset += size;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(image.bytes.data(), static_cast<std::streamsize>(image.bytes.size()));
  for (std::size_t i = 0; i < work.data.size(); ++i) {
    out.write(std::string(static_cast<std::size_t>(gaps[i]), '\0').data(),
              static_cast<std::streamsize>(gaps[i]));
    if (!write_content(out, work.data[i])) return false;
  }
  out.close();
  return static_cast<bool>(out);
}

bool write_tree(const std::filesystem::path& folder, const std::vector<planned_file>& files) {
  for (const planned_file& file : files) {
    std::filesystem::path path = folder / file.tree_path;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!write_content(out, file)) return false;
    out.close();
    if (!out) return false;
  }
  return true;
}

std::string numbered(const char* format, unsigned number) {
  char text[64];
  std::snprintf(text, sizeof text, format, number);
  return text;
}

// 1 GiB by default in four entries of 256 MiB, in two folders.
workload large_workload(std::uint64_t total_mib, unsigned entries) {
  workload work;
  work.records.push_back(folder(1, "/d0"));
  work.records.push_back(folder(2, "/d1"));
  std::uint64_t size = (total_mib << 20) / entries;
  for (unsigned i = 0; i < entries; ++i) {
    std::string name = numbered("e%u.bin", i);
    work.records.push_back(file(3, "/" + name, ""));
    work.data.push_back({"d0/d1/" + name, size, 1000 + i, "", false});
  }
  work.tree = work.data;
  return work;
}

// Files of 1 to 8 KiB, 100 to a folder three levels deep.
workload small_workload(unsigned entries, std::vector<planned_file>* flat) {
  workload work;
  constexpr unsigned per_folder = 100;
  std::uint64_t state = 42;
  unsigned leaves = (entries + per_folder - 1) / per_folder;
  unsigned made = 0;
  for (unsigned leaf = 0; leaf < leaves; ++leaf) {
    unsigned a = leaf / 40, b = leaf / 8 % 5, c = leaf % 8;
    std::string a_name = numbered("a%u", a), b_name = numbered("b%u", b),
                c_name = numbered("c%u", c);
    if (leaf % 40 == 0) work.records.push_back(folder(1, "/" + a_name));
    if (leaf % 8 == 0) work.records.push_back(folder(2, "/" + b_name));
    work.records.push_back(folder(3, "/" + c_name));
    for (unsigned k = 0; k < per_folder && made < entries; ++k, ++made) {
      std::string name = numbered("f%05u.dat", made);
      std::uint64_t size = 1024 + next_random(state) % (8192 - 1024 + 1);
      work.records.push_back(file(4, "/" + name, ""));
      planned_file data{a_name + "/" + b_name + "/" + c_name + "/" + name, size,
                        made, "", false};
      work.data.push_back(data);
      data.tree_path = name;
      flat->push_back(data);
    }
  }
  work.tree = work.data;
  return work;
}

// Each nested archive nNN.bnd holds the folder nNN and its small files.
workload nested_workload(unsigned archives, unsigned entries_each) {
  workload work;
  std::uint64_t state = 7;
  for (unsigned n = 0; n < archives; ++n) {
    std::string folder_name = numbered("n%02u", n);
    std::vector<bnd_entry> inner{folder(1, "/" + folder_name)};
    for (unsigned k = 0; k < entries_each; ++k) {
      std::string name = numbered("f%03u.dat", k);
      std::size_t size = static_cast<std::size_t>(1024 + next_random(state) % (8192 - 1024 + 1));
      std::string bytes = random_bytes(n * 100000ull + k, size);
      inner.push_back(file(2, "/" + name, bytes));
      work.tree.push_back({folder_name + "/" + name, 0, 0, bytes, true});
    }
    std::string archive_name = folder_name + ".bnd";
    planned_file archive{archive_name, 0, 0, build_bnd(inner).bytes, true};
    work.records.push_back(file(1, "/" + archive_name, ""));
    work.data.push_back(archive);
    work.tree.push_back(archive);
  }
  return work;
}

unsigned number_argument(const char* text) {
  char* end = nullptr;
  unsigned long value = std::strtoul(text, &end, 10);
  if (end == text || *end != '\0' || value == 0 || value > 1000000) {
    std::fprintf(stderr, "not a count: %s\n", text);
    std::exit(2);
  }
  return static_cast<unsigned>(value);
}

int usage() {
  std::fprintf(stderr,
               "usage: make_bench_archives large <folder> <total_mib> <entries>\n"
               "       make_bench_archives small <folder> <entries>\n"
               "       make_bench_archives nested <folder> <archives> <entries_each>\n");
  return 2;
}

}  // namespace

int main(int argument_count, char** arguments) {
  if (argument_count < 4) return usage();
  std::string kind = arguments[1];
  std::filesystem::path folder_path = arguments[2];
  std::filesystem::create_directories(folder_path);
  bool ok = false;
  if (kind == "large" && argument_count == 5) {
    workload work = large_workload(number_argument(arguments[3]), number_argument(arguments[4]));
    ok = write_archive(folder_path / "large.bnd", work, 1) &&
         write_archive(folder_path / "large-aligned.bnd", work, 4096) &&
         write_tree(folder_path / "large-tree", work.tree);
  } else if (kind == "small" && argument_count == 4) {
    std::vector<planned_file> flat;
    workload work = small_workload(number_argument(arguments[3]), &flat);
    ok = write_archive(folder_path / "small.bnd", work, 1) &&
         write_tree(folder_path / "small-tree", work.tree) &&
         write_tree(folder_path / "small-flat", flat);
  } else if (kind == "nested" && argument_count == 5) {
    workload work = nested_workload(number_argument(arguments[3]), number_argument(arguments[4]));
    ok = write_archive(folder_path / "nested.bnd", work, 1) &&
         write_tree(folder_path / "nested-tree", work.tree);
  } else {
    return usage();
  }
  if (!ok) std::fprintf(stderr, "writing the benchmark files failed\n");
  return ok ? 0 : 1;
}
