#pragma once

// Runs extract_archive in a forked copy of the test process, with standard
// output sent to a file: the run can crash or hang without taking the test
// down, and every byte it prints is kept (the child flushes the tool's
// console buffer as it exits).

#include <string>

struct forked_result {
  bool finished;   // false: the child died of a signal or ran out of time
  int status;      // extract_archive's result, when finished
  std::string out; // every byte printed
  std::string why; // how the child ended, when it did not finish
  long peak_kib;   // the child's peak resident memory (it starts as a copy
                   // of the test process, whose pages count too)
};

/// Paths in the tool's form. A child still running after time_limit
/// seconds is stopped and counts as not finished.
forked_result run_forked_extraction(const std::string& archive_path,
                                    const std::string& output_root, bool flatten,
                                    unsigned time_limit = 10);
