#pragma once

// Runs the built tool the way a user does: copied into a program folder of
// its own, started from another working folder, with standard output sent
// to a file. Set from the environment:
//   KROVEX_TOOL         the executable to test (default: this build's)
//   KROVEX_LAUNCHER     a program that starts it, such as wine (default: none)
//   KROVEX_TOOL_PATHS   "windows" when the tool sees the disk as drive Z:

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/file_bytes.h"

struct run_result {
  int status;       // the exit status as the system reports it (0-255)
  std::string out;  // every byte of standard output
};

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  /// Runs the tool with these arguments from the working folder.
  run_result run(const std::vector<std::string>& arguments,
                 const std::vector<std::pair<std::string, std::string>>& environment = {});

  /// An absolute path on this machine as the tool must be given it.
  std::string tool_path(const std::string& path) const;
  bool windows_tool() const;

  std::string root_;      // everything a test makes lies below this
  std::string program_;   // holds the tool; its current folder while it runs
  std::string working_;   // the folder the tool is started from
};

/// The bytes the tool prints for a message: "%s" and "%d" filled in order,
/// each "\n" as CR LF.
std::string console_text(const std::string& format,
                         const std::vector<std::string>& arguments = {});

/// The exit status a process reports for a result of the tool.
int exit_status(int result);

bool file_exists(const std::string& path);
bool folder_exists(const std::string& path);
/// Every path below folder, relative to it, folders with a trailing '/'.
std::vector<std::string> list_tree(const std::string& folder);
