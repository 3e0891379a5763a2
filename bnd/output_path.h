#pragma once

// Where a file entry goes, and whether it may go there at all.

#include <cstddef>

#include "bnd/directory.h"
#include "platform/platform.h"

/// Whether an entry's path, as it follows the output root, stays inside it:
/// no drive (':' as the second byte after any leading separators), and no
/// component ('/' and '\' separate; a double-byte character is never split)
/// that is "..", made of dots and spaces with two dots or more, or a Windows
/// device name (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9 in any case, with
/// or without an extension, trailing dots or spaces).
bool is_safe_entry_part(const char* part);

enum entry_verdict {
  entry_writable,
  entry_unsafe,    // print the unsafe-path error with shown
  entry_too_long,  // print the too-long error with the entry's own name
};

struct entry_output {
  entry_verdict verdict;
  const char* shown;  // the name part of the entry's console line
  // Length of the folder part of output_path that must exist (the text
  // before its last '/'), or 0 when no folder is made for the entry.
  std::size_t folder_length;
};

/// Decides the output path of a file entry: output_root followed by the
/// entry's path without its first character (folders kept), or by its own
/// name (flattened, or at depth 0). With an empty output_root, leading
/// separators are dropped so the entry stays in the current folder.
/// entry_path receives the joined path, output_path the result.
entry_output plan_entry_output(const directory_walk& walk, const file_entry& entry,
                               const char* output_root, bool flatten,
                               char (&entry_path)[path_buffer_size],
                               char (&output_path)[path_buffer_size]);
