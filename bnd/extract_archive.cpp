#include "bnd/extract_archive.h"

#include <cstring>
#include <memory>
#include <new>

#include "bnd/console.h"
#include "bnd/directory.h"
#include "bnd/entry_output.h"
#include "bnd/messages.h"
#include "bnd/output_path.h"
#include "platform/platform.h"

namespace {

/// Archives open at once, the top-level one included.
constexpr int max_open_archives = 16;
/// Archives one run unpacks at most, nested ones included.
constexpr int max_unpacked_archives = 65536;
constexpr std::uint64_t unknown_identity = ~std::uint64_t{0};

/// What the top-level call and its nested calls share.
struct extraction_run {
  // Every archive this run has begun to unpack, open or done: no entry may
  // overwrite one. Done ones count too, so a file is unpacked once at most:
  // an archive holding copies of itself under n names would otherwise be
  // unpacked once for every order of the copies, in time growing like n!.
  file_identity unpacked_archives[max_unpacked_archives];
  int unpacked_count;
  int open_count;
  bool entry_failed;
  char entry_path[path_buffer_size];
  // The folder of the latest entry whose folders were all found or made.
  // Entries only add files and folders, so it stays a folder for the rest
  // of the run, and the entries that follow, mostly in the same folder,
  // need not test every folder on their path again. A folder that could not
  // be made is never kept here: each entry that needs it tries again.
  char ready_folder[path_buffer_size];
};

/// One archive being unpacked.
struct archive_context {
  extraction_run& run;
  disk_file* archive;
  const char* archive_path;
  const char* output_root;
  bool flatten;
};

std::int32_t unpack_archive(extraction_run& run, const char* archive_path,
                            const char* output_root, bool flatten, bool announce);

bool is_unpacked_archive(const extraction_run& run, const char* path) {
  file_identity target{};
  if (!identify_path(path, &target)) return false;
  for (int i = 0; i < run.unpacked_count; ++i) {
    const file_identity& unpacked = run.unpacked_archives[i];
    if (unpacked.volume == target.volume && unpacked.index == target.index) return true;
  }
  return false;
}

bool is_ready_folder(const extraction_run& run, const char* output_path,
                     std::size_t folder_length) {
  return std::strncmp(output_path, run.ready_folder, folder_length) == 0 &&
         run.ready_folder[folder_length] == '\0';
}

// Makes the folders of the entry's output path (the text before
// folder_length), unless they are the ready folder.
void make_entry_folders(extraction_run& run, char (&output_path)[path_buffer_size],
                        std::size_t folder_length) {
  if (folder_length == 0 || is_ready_folder(run, output_path, folder_length)) return;
  output_path[folder_length] = '\0';
  if (make_directory_chain(output_path) == 1) {
    std::memcpy(run.ready_folder, output_path, folder_length + 1);
  } else {
    run.ready_folder[0] = '\0';
  }
  output_path[folder_length] = '/';
}

void print_copy_outcome(copy_result result, const char* output_path) {
  switch (result) {
    case copy_complete:
      console_print(msg_entry_ok);
      break;
    case copy_cannot_create:
      console_print(msg_cannot_create, output_path);
      break;
    case copy_write_failed:
      console_print(msg_write_failed, output_path);
      break;
    case copy_data_short:
      console_print(msg_data_short, output_path);
      break;
  }
}

void unpack_file_entry(archive_context& context, const directory_walk& walk,
                       const file_entry& entry) {
  extraction_run& run = context.run;
  char output_path[path_buffer_size];
  entry_output plan = plan_entry_output(walk, entry, context.output_root, context.flatten,
                                        run.entry_path, output_path);
  if (plan.verdict == entry_unsafe) {
    console_print(msg_unsafe_path, plan.shown);
    run.entry_failed = true;
    return;
  }
  if (plan.verdict == entry_too_long) {
    console_print(msg_path_too_long, plan.shown);
    run.entry_failed = true;
    return;
  }
  // A file created where nothing had the name is no archive of this run,
  // and its folders are known to exist: only a name that is taken, or whose
  // folders may still be missing, needs the identity check and the folders.
  disk_file* output = nullptr;
  if (plan.folder_length == 0 || is_ready_folder(run, output_path, plan.folder_length)) {
    output = create_new_for_writing(output_path);
  }
  if (output == nullptr) {
    if (is_unpacked_archive(run, output_path)) {
      console_print(msg_archive_in_use, output_path);
      run.entry_failed = true;
      return;
    }
    make_entry_folders(run, output_path, plan.folder_length);
  }

  console_print(msg_entry_name, plan.shown);
  console_print(msg_entry_size, format_byte_count(entry.data_size));
  copy_result copied =
      output != nullptr
          ? write_entry_data(context.archive, output, entry.data_offset, entry.data_size)
          : copy_entry_data(context.archive, output_path, entry.data_offset, entry.data_size);
  console_print(msg_entry_copied);
  print_copy_outcome(copied, output_path);
  if (copied != copy_complete) {
    run.entry_failed = true;
    return;
  }

  if (std::strstr(entry.name, ".bnd") == nullptr) return;
  if (run.open_count == max_open_archives || run.unpacked_count == max_unpacked_archives) {
    console_print(msg_nesting_too_deep, output_path);
    run.entry_failed = true;
    return;
  }
  unpack_archive(run, output_path, context.output_root, context.flatten, false);
}

// Loads the directory area and walks it. Returns the byte count of the
// memory error when the area cannot be had, else 0.
std::int32_t walk_archive(archive_context& context, const archive_header& header) {
  std::uint64_t archive_length = 0;
  get_file_length(context.archive, &archive_length);
  std::uint32_t area_size = 0;
  bool sized = directory_area_size(header, archive_length, &area_size);
  std::unique_ptr<unsigned char[]> area;
  if (sized && area_size > 0) area.reset(new (std::nothrow) unsigned char[area_size]);
  if (!sized || (area_size > 0 && !area)) {
    return console_print(msg_out_of_memory, static_cast<std::int32_t>(header.directory_size));
  }
  area_size = static_cast<std::uint32_t>(read_at(context.archive, 0, area.get(), area_size));

  directory_walk walk{};
  start_walk(&walk, area.get(), area_size, header);
  file_entry entry{};
  walk_step step;
  while ((step = next_file_entry(&walk, &entry)) == walk_file_entry) {
    unpack_file_entry(context, walk, entry);
  }
  if (step == walk_damaged) {
    console_print(msg_directory_damaged, context.archive_path);
    context.run.entry_failed = true;
  }
  return 0;
}

std::int32_t unpack_open_archive(archive_context& context) {
  unsigned char header_block[header_block_size];
  std::size_t header_length = read_at(context.archive, 0, header_block, sizeof header_block);
  archive_header header{};
  if (!decode_archive_header(header_block, header_length, &header)) {
    return console_print(msg_not_bnd, context.archive_path);
  }
  return walk_archive(context, header);
}

std::int32_t unpack_archive(extraction_run& run, const char* archive_path,
                            const char* output_root, bool flatten, bool announce) {
  if (announce) console_print(msg_banner);
  if (archive_path[0] == '\0') {
    console_print(msg_usage_line_1);
    console_print(msg_usage_line_2);
    console_print(msg_usage_line_3);
    return console_print(msg_usage_line_4);
  }
  disk_file* archive = open_for_reading(archive_path);
  if (archive == nullptr) return console_print(msg_open_failed, archive_path);
  console_print(msg_extract_line, archive_path, output_root);

  // Known by identity, so no entry can overwrite it under another name.
  file_identity& identity = run.unpacked_archives[run.unpacked_count++];
  if (!identify_open_file(archive, &identity)) identity = {unknown_identity, unknown_identity};
  ++run.open_count;

  archive_context context{run, archive, archive_path, output_root, flatten};
  std::int32_t early_result = unpack_open_archive(context);
  --run.open_count;
  int closed = close_file(archive);
  return early_result != 0 ? early_result : closed;
}

}  // namespace

std::int32_t extract_archive(const char* archive_path, const char* output_root,
                             int flatten, int announce) {
  static extraction_run run;
  run.unpacked_count = 0;
  run.open_count = 0;
  run.entry_failed = false;
  run.ready_folder[0] = '\0';
  std::int32_t result = unpack_archive(run, archive_path, output_root, flatten != 0,
                                       announce != 0);
  // Entries are only met once the top-level walk has begun, so 0 here is the
  // result of its close.
  if (result == 0 && run.entry_failed) return 1;
  return result;
}
