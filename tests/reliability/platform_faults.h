#pragma once

// Faults the reliability tests put into the platform seam. The test program
// is linked with --wrap for copy_in_system, the call that starts copying
// each entry's data, so the tool's own code runs unchanged and meets the
// fault where the system would put it.

#include <string>

struct platform_faults {
  // When the first entry's data is about to be copied (the directory has
  // been loaded by then), the file at shrink_path is cut to shrink_to
  // bytes; -1: never.
  std::string shrink_path;
  long shrink_to = -1;
  // copy_in_system copies nothing, so every byte goes through the tool's
  // own chunked copy.
  bool no_system_copy = false;
};

extern platform_faults faults;
