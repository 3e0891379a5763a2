#pragma once

#include <cstdint>

/// Unpacks the archive at archive_path into output_root (empty, or ending in
/// a backslash), keeping its folders unless flatten is set, and every nested
/// archive (a file entry whose name contains ".bnd") into the same root.
/// Prints the banner first when announce is set, then one line per entry.
///
/// Returns the process's exit status: 0 when every entry was written in
/// full; 1 when an entry was refused or not written in full, or a damaged
/// directory stopped a walk, at any nesting level; -1 when closing the
/// archive failed. Without an archive, or when it cannot be opened, is no
/// BND archive or its directory cannot be held in memory: the byte count of
/// the message printed (33 for the usage text).
std::int32_t extract_archive(const char* archive_path, const char* output_root,
                             int flatten, int announce);
