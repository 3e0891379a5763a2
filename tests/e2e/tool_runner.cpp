#include "tests/e2e/tool_runner.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

std::string environment_or(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0' ? value : fallback;
}

std::string tool_executable() { return environment_or("KROVEX_TOOL", KROVEX_DEFAULT_TOOL); }

std::string base_name(const std::string& path) {
  return path.substr(path.find_last_of('/') + 1);
}

void remove_tree(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return;
  if (S_ISDIR(info.st_mode)) {
    if (DIR* folder = opendir(path.c_str())) {
      while (dirent* item = readdir(folder)) {
        std::string name = item->d_name;
        if (name != "." && name != "..") remove_tree(path + "/" + name);
      }
      closedir(folder);
    }
    rmdir(path.c_str());
  } else {
    unlink(path.c_str());
  }
}

void collect_tree(const std::string& folder, const std::string& prefix,
                  std::vector<std::string>& paths) {
  DIR* handle = opendir(folder.c_str());
  if (handle == nullptr) return;
  while (dirent* item = readdir(handle)) {
    std::string name = item->d_name;
    if (name == "." || name == "..") continue;
    std::string full = folder + "/" + name;
    if (folder_exists(full)) {
      paths.push_back(prefix + name + "/");
      collect_tree(full, prefix + name + "/", paths);
    } else {
      paths.push_back(prefix + name);
    }
  }
  closedir(handle);
}

}  // namespace

void ToolTest::SetUp() {
  char pattern[] = "/tmp/krovex-e2e-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  root_ = pattern;
  program_ = root_ + "/program";
  working_ = root_ + "/working";
  ASSERT_EQ(mkdir(program_.c_str(), 0755), 0);
  ASSERT_EQ(mkdir(working_.c_str(), 0755), 0);
  std::string tool = tool_executable();
  std::string copy = program_ + "/" + base_name(tool);
  write_file(copy, read_file(tool));
  ASSERT_EQ(chmod(copy.c_str(), 0755), 0);
}

void ToolTest::TearDown() {
  // A failed test keeps its folder to look at.
  if (HasFailure()) {
    std::printf("kept %s\n", root_.c_str());
    return;
  }
  remove_tree(root_);
}

bool ToolTest::windows_tool() const {
  return environment_or("KROVEX_TOOL_PATHS", "") == "windows";
}

std::string ToolTest::tool_path(const std::string& path) const {
  if (!windows_tool()) return path;
  std::string windows = "Z:" + path;
  std::replace(windows.begin(), windows.end(), '/', '\\');
  return windows;
}

run_result ToolTest::run(const std::vector<std::string>& arguments,
                         const std::vector<std::pair<std::string, std::string>>& environment) {
  std::string output_file = root_ + "/stdout";
  std::vector<std::string> command;
  std::string launcher = environment_or("KROVEX_LAUNCHER", "");
  if (!launcher.empty()) command.push_back(launcher);
  command.push_back(program_ + "/" + base_name(tool_executable()));
  command.insert(command.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : command) argv.push_back(word.data());
  argv.push_back(nullptr);

  pid_t child = fork();
  if (child == 0) {
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
    int input = open("/dev/null", O_RDONLY);
    int output = open(output_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (input < 0 || output < 0 || chdir(working_.c_str()) != 0) _exit(126);
    dup2(input, 0);
    dup2(output, 1);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int wait_status = 0;
  waitpid(child, &wait_status, 0);
  run_result result{};
  result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 1000 + WTERMSIG(wait_status);
  result.out = read_file(output_file);
  return result;
}

std::string console_text(const std::string& format, const std::vector<std::string>& arguments) {
  std::string text;
  std::size_t next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == 's' || format[i + 1] == 'd')) {
      text += arguments.at(next++);
      ++i;
    } else if (format[i] == '\n') {
      text += "\r\n";
    } else {
      text += format[i];
    }
  }
  return text;
}

int exit_status(int result) { return result & 0xFF; }

bool file_exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool folder_exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::vector<std::string> list_tree(const std::string& folder) {
  std::vector<std::string> paths;
  collect_tree(folder, "", paths);
  std::sort(paths.begin(), paths.end());
  return paths;
}
