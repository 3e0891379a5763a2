// Fuzz target: the whole extraction of a fuzzed archive file, kept folders
// and flattened. Afterwards nothing may exist outside the output folder and
// the archive file must be as it was.
//
// The archive and the output folder lie in a sandbox folder of their own,
// inside a base folder that holds nothing else, so an entry that escapes by
// one or two levels shows up as a stranger in one of them.

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "bnd/extract_archive.h"

namespace fs = std::filesystem;

namespace {

fs::path base_folder;

[[noreturn]] void fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "extract target: %s: %s\n", what, detail.c_str());
  std::abort();
}

std::string read_all(const fs::path& path) {
  std::ifstream stream(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

void expect_only(const fs::path& folder, std::initializer_list<const char*> names) {
  for (const fs::directory_entry& item : fs::directory_iterator(folder)) {
    std::string name = item.path().filename().string();
    bool expected = false;
    for (const char* allowed : names) expected = expected || name == allowed;
    if (!expected) fail("something was written outside the output folder", item.path().string());
  }
}

// The tool's form of a path: backslashes.
std::string tool_form(const fs::path& path) {
  std::string text = path.string();
  for (char& c : text) c = c == '/' ? '\\' : c;
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The tool's console text is of no interest here.
  int null_output = open("/dev/null", O_WRONLY);
  if (null_output < 0 || dup2(null_output, STDOUT_FILENO) < 0) fail("no /dev/null", "");
  close(null_output);
  // Entries may state sizes up to 4 GiB. Files beyond 1 MiB fail to be
  // written (the tool reports a write error), which keeps a run small and
  // tries the error path as a bonus.
  rlimit file_size{1 << 20, 1 << 20};
  setrlimit(RLIMIT_FSIZE, &file_size);
  // libFuzzer may end without running atexit handlers: tools/fuzz.sh
  // points TMPDIR at a folder of its own and removes it afterwards.
  const char* temporary = std::getenv("TMPDIR");
  std::string pattern = std::string(temporary != nullptr && temporary[0] != '\0' ? temporary : "/tmp") +
                        "/krovex-fuzz-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) fail("cannot make a temporary folder", pattern);
  base_folder = pattern;
  std::atexit([] {
    std::error_code ignored;
    fs::remove_all(base_folder, ignored);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // libFuzzer takes this signal for a finding once its handlers are set,
  // after LLVMFuzzerInitialize: ignored, the write fails instead.
  std::signal(SIGXFSZ, SIG_IGN);
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const fs::path sandbox = base_folder / "sandbox";
  const fs::path input = sandbox / "input.bnd";
  const fs::path output = sandbox / "out";
  fs::remove_all(sandbox);
  fs::create_directories(output);
  {
    std::ofstream stream(input, std::ios::binary);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  const std::string archive_path = tool_form(input);
  const std::string output_root = tool_form(output) + "\\";
  for (int flatten : {0, 1}) {
    extract_archive(archive_path.c_str(), output_root.c_str(), flatten, 0);
    expect_only(base_folder, {"sandbox"});
    expect_only(sandbox, {"input.bnd", "out"});
    if (!fs::is_regular_file(input) || read_all(input) != bytes) {
      fail("the archive was changed", input.string());
    }
    fs::remove_all(output);
    fs::create_directory(output);
  }
  fs::remove_all(sandbox);
  return 0;
}
