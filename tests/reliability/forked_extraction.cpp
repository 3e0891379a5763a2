#include "tests/reliability/forked_extraction.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bnd/extract_archive.h"
#include "platform/platform.h"
#include "tests/unit/temp_folder.h"

namespace {
bool in_forked_child = false;
}  // namespace

// LeakSanitizer asks this before its check at exit. A forked child holds
// the whole test process's memory, and a check of it for every run would
// cost more than the run itself; the tool's own leaks are caught where the
// end-to-end tests run it as a program.
extern "C" int __lsan_is_turned_off() { return in_forked_child ? 1 : 0; }

forked_result run_forked_extraction(const std::string& archive_path,
                                    const std::string& output_root, bool flatten,
                                    unsigned time_limit) {
  forked_result result{false, 0, "", "", 0};
  char out_pattern[] = "/tmp/krovex-forked-out-XXXXXX";
  int out_file = mkstemp(out_pattern);
  int status_pipe[2];
  if (out_file < 0 || pipe(status_pipe) != 0) {
    result.why = "cannot set up the child";
    return result;
  }
  std::fflush(nullptr);
  pid_t child = fork();
  if (child == 0) {
    in_forked_child = true;
    close(status_pipe[0]);
    dup2(out_file, STDOUT_FILENO);
    alarm(time_limit);
    platform_start();
    use_code_page(code_page_single_byte);
    std::int32_t status = extract_archive(archive_path.c_str(), output_root.c_str(),
                                          flatten ? 1 : 0, 0);
    if (write(status_pipe[1], &status, sizeof status) != sizeof status) _exit(120);
    // exit, not _exit: the tool's console buffer is written out at exit.
    std::exit(0);
  }
  close(status_pipe[1]);
  std::int32_t status = 0;
  bool reported = child > 0 && read(status_pipe[0], &status, sizeof status) == sizeof status;
  close(status_pipe[0]);
  int wait_status = 0;
  rusage usage{};
  if (child > 0) wait4(child, &wait_status, 0, &usage);
  result.peak_kib = usage.ru_maxrss;
  result.out = read_file(out_pattern);
  close(out_file);
  unlink(out_pattern);
  if (child < 0) {
    result.why = "fork failed";
  } else if (WIFSIGNALED(wait_status)) {
    result.why = WTERMSIG(wait_status) == SIGALRM ? "ran out of time"
                                                  : std::string("died of signal ") +
                                                        strsignal(WTERMSIG(wait_status));
  } else if (!reported || WEXITSTATUS(wait_status) != 0) {
    result.why = "exited with " + std::to_string(WEXITSTATUS(wait_status)) +
                 (reported ? "" : " before extract_archive returned");
  } else {
    result.finished = true;
    result.status = status;
  }
  return result;
}
