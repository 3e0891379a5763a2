#include "tests/reliability/platform_faults.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "platform/platform.h"

platform_faults faults;

// The mangled name of copy_in_system(disk_file*, uint64_t, disk_file*,
// uint64_t), which the linker's --wrap redirects here.
extern "C" {
std::uint64_t __real__Z14copy_in_systemP9disk_filemS0_m(disk_file* from, std::uint64_t offset,
                                                        disk_file* to, std::uint64_t count);

std::uint64_t __wrap__Z14copy_in_systemP9disk_filemS0_m(disk_file* from, std::uint64_t offset,
                                                        disk_file* to, std::uint64_t count) {
  if (faults.shrink_to >= 0) {
    if (truncate(faults.shrink_path.c_str(), faults.shrink_to) != 0) std::abort();
    faults.shrink_to = -1;
  }
  if (faults.no_system_copy) return 0;
  return __real__Z14copy_in_systemP9disk_filemS0_m(from, offset, to, count);
}
}
