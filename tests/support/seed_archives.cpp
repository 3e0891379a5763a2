#include "tests/support/seed_archives.h"

#include "tests/support/bnd_builder.h"

namespace {

std::string folders_and_files() {
  return build_bnd({folder(1, "/data"), file(2, "/a.bin", "hello"), folder(2, "/sub"),
                    file(3, "/b.txt", "bee bee bee"), folder(1, "/empty"),
                    file(1, "/top.txt", "top"), file(0, "zero.txt", "z")})
      .bytes;
}

std::string nested() {
  std::string inner = build_bnd({folder(1, "/in"), file(2, "/x.txt", "xx")}).bytes;
  return build_bnd({folder(1, "/pack"), file(2, "/inner.bnd", inner), file(1, "/after", "a")})
      .bytes;
}

std::string to_the_end() {
  bnd_image image = build_bnd({file(1, "/first", "12345"), file(1, "/rest", "0123456789")});
  put_u32(image.bytes, image.info_offsets[1] + info_data_size, 0xFFFFFFFF);
  image.bytes += "tail";
  return image.bytes;
}

std::string refused_names() {
  return build_bnd({folder(1, "/.."), file(2, "/up", "u"), file(1, "/CON.txt", "c"),
                    file(0, "C:x", "d"), file(20, "/deep", "e"), file(1, "/fine", "f")})
      .bytes;
}

std::string deep_folders() {
  std::vector<bnd_entry> entries;
  for (int depth = 1; depth <= 19; ++depth) entries.push_back(folder(depth, "/d"));
  entries.push_back(file(19, "/leaf", "l"));
  entries.push_back(file(2, "/shallow", "s"));
  return build_bnd(entries).bytes;
}

std::string own_successor() {
  bnd_image image = build_bnd({file(1, "/again", "1"), file(1, "/never", "2")});
  image.bytes[image.record_offsets[0] + record_length] = 0;
  return image.bytes;
}

}  // namespace

std::vector<seed_archive> seed_archives() {
  return {
      {"empty.bnd", build_bnd({}).bytes},
      {"folders_and_files.bnd", folders_and_files()},
      {"nested.bnd", nested()},
      {"to_the_end.bnd", to_the_end()},
      {"refused_names.bnd", refused_names()},
      {"deep_folders.bnd", deep_folders()},
      {"own_successor.bnd", own_successor()},
  };
}

std::string self_copying_archive(int copies) {
  std::vector<bnd_entry> entries;
  for (int i = 0; i < copies; ++i) entries.push_back(file(0, "n" + std::to_string(i) + ".bnd", ""));
  bnd_image image = build_bnd(entries);
  for (int i = 0; i < copies; ++i) {
    put_u32(image.bytes, image.info_offsets[i] + info_data_offset, 0);
    put_u32(image.bytes, image.info_offsets[i] + info_data_size, 0xFFFFFFFF);
  }
  return image.bytes;
}
