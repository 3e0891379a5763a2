// Runs a fuzz target over files instead of under libFuzzer: every file named
// on the command line, and every file in every folder named. The test build
// runs each target over its checked-in corpus this way, so every input kept
// there (crashes found by fuzzing included) stays a regression test.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argument_count, char** arguments) {
  if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argument_count, &arguments);
  std::vector<std::filesystem::path> inputs;
  for (int i = 1; i < argument_count; ++i) {
    std::filesystem::path path = arguments[i];
    if (std::filesystem::is_directory(path)) {
      for (const auto& item : std::filesystem::directory_iterator(path)) inputs.push_back(item.path());
    } else {
      inputs.push_back(path);
    }
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 1;
  }
  for (const auto& path : inputs) {
    std::ifstream stream(path, std::ios::binary);
    std::string bytes(std::istreambuf_iterator<char>(stream), {});
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::fprintf(stderr, "%zu inputs replayed\n", inputs.size());
  return 0;
}
