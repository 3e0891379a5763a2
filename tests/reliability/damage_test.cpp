// Truncation and damage: every prefix of each seed archive, and a thousand
// copies of it with 1% of the bytes changed at random, are unpacked. Each
// run must end in an error or a clean result: no crash, no hang, nothing
// outside the output folder, the archive untouched, and never "OK" for an
// entry whose data the archive did not hold in full.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bnd/directory.h"
#include "bnd/entry_output.h"
#include "bnd/messages.h"
#include "bnd/output_path.h"
#include "tests/reliability/forked_extraction.h"
#include "tests/support/seed_archives.h"
#include "tests/unit/temp_folder.h"

namespace fs = std::filesystem;

namespace {

// The OK line (without its line end) each writable file entry would get, and whether the archive
// holds its data in full. Nested archives whose data is complete are looked
// into as well, as the tool unpacks them into the same root.
struct ok_line_fact {
  std::string line;
  bool data_short;
};

void collect_ok_lines(const std::string& archive, const std::string& root, bool flatten,
                      int nesting_left, std::vector<ok_line_fact>& facts) {
  archive_header header{};
  const auto* bytes = reinterpret_cast<const unsigned char*>(archive.data());
  if (!decode_archive_header(bytes, archive.size(), &header)) return;
  std::uint32_t area_size = 0;
  if (!directory_area_size(header, archive.size(), &area_size)) return;
  directory_walk walk{};
  start_walk(&walk, bytes, area_size, header);
  file_entry entry{};
  while (next_file_entry(&walk, &entry) == walk_file_entry) {
    char entry_path[path_buffer_size];
    char output_path[path_buffer_size];
    entry_output plan = plan_entry_output(walk, entry, root.c_str(), flatten, entry_path, output_path);
    if (plan.verdict != entry_writable) continue;
    // An entry of no bytes lacks none, wherever it starts; a to-the-end
    // entry lacks its data when it starts past the end.
    bool to_end = entry.data_size == size_to_end;
    std::uint64_t end = to_end ? archive.size() : std::uint64_t{entry.data_offset} + entry.data_size;
    bool data_short = to_end ? entry.data_offset > archive.size()
                             : entry.data_size > 0 && end > archive.size();
    facts.push_back({std::string(plan.shown) + " " + format_byte_count(entry.data_size) +
                         " bytes.OK",
                     data_short});
    if (!data_short && nesting_left > 0 && std::strstr(entry.name, ".bnd") != nullptr) {
      std::string nested = entry.data_size == 0 ? std::string()
                                                : archive.substr(entry.data_offset,
                                                                 end - entry.data_offset);
      collect_ok_lines(nested, root, flatten, nesting_left - 1, facts);
    }
  }
}

std::vector<std::string> lines_of(const std::string& out) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = out.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(out.substr(start, end - start));
  }
  if (start < out.size()) lines.push_back(out.substr(start));
  return lines;
}

// Text as the console prints it: each line feed as CR LF.
std::string console_form(const std::string& text) {
  std::string printed;
  for (char c : text) printed += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return printed;
}

bool starts_with(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

void PrintTo(const seed_archive& seed, std::ostream* out) { *out << seed.name; }

namespace {

class TruncationAndDamage : public ::testing::TestWithParam<seed_archive> {
 protected:
  // Unpacks bytes and checks the run; false after the first failure, so
  // that one fault does not print a thousand times.
  bool unpack_soundly(const std::string& bytes, bool flatten, const std::string& what) {
    const fs::path input = folder_.path() / "input.bnd";
    const fs::path output = folder_.path() / "out";
    fs::remove_all(output);
    fs::create_directory(output);
    write_file(input.string(), bytes);
    const std::string root = tool_form(output) + "\\";

    forked_result run = run_forked_extraction(tool_form(input), root, flatten);
    SCOPED_TRACE(what + (flatten ? ", flattened" : "") + "\n" + run.out);
    EXPECT_TRUE(run.finished) << run.why;
    if (!run.finished) return false;

    std::vector<std::string> lines = lines_of(run.out);
    if (run.status != 0 && run.status != 1) {
      // An archive refused as a whole: one message, whose byte count is the
      // status.
      EXPECT_EQ(lines.size(), 2u);
      EXPECT_TRUE(lines.size() == 2 && starts_with(lines[1], "Error : ") &&
                  static_cast<int>(lines[1].size()) + 1 == run.status)
          << "status " << run.status;
    } else {
      // Status 0 only when no entry failed. A nested archive that cannot be
      // unpacked at all does not count: its file was written in full.
      bool any_error = false;
      for (const std::string& line : lines) {
        std::size_t error = line.find("Error : ");
        if (error == std::string::npos) continue;
        bool whole_archive = false;
        for (const char* message : {msg_not_bnd, msg_out_of_memory, msg_open_failed}) {
          std::string text(message);
          text.erase(text.find('%'));
          whole_archive = whole_archive || line.compare(error, text.size(), text) == 0;
        }
        any_error = any_error || !whole_archive;
      }
      EXPECT_EQ(any_error, run.status == 1) << "status " << run.status;
    }

    // An OK line for an entry whose data was short, unless an entry whose
    // data was complete would print the same line.
    std::vector<ok_line_fact> facts;
    collect_ok_lines(bytes, root, flatten, 15, facts);
    for (const ok_line_fact& fact : facts) {
      if (!fact.data_short) continue;
      bool also_complete = false;
      for (const ok_line_fact& other : facts) {
        also_complete = also_complete || (!other.data_short && other.line == fact.line);
      }
      std::string printed = "\r\n" + console_form(fact.line) + "\r\n";
      EXPECT_TRUE(also_complete || ("\r\n" + run.out).find(printed) == std::string::npos)
          << "OK for an entry whose data was short: " << fact.line;
    }

    std::vector<std::string> beside;
    for (const auto& item : fs::directory_iterator(folder_.path())) {
      beside.push_back(item.path().filename().string());
    }
    std::sort(beside.begin(), beside.end());
    EXPECT_EQ(beside, (std::vector<std::string>{"input.bnd", "out"}))
        << "something was written outside the output folder";
    EXPECT_TRUE(read_file(input.string()) == bytes) << "the archive was changed";
    return !HasFailure();
  }

  temp_folder folder_;
};

TEST_P(TruncationAndDamage, EveryPrefixEndsInAnErrorOrACleanResult) {
  const std::string& bytes = GetParam().bytes;
  for (std::size_t length = 0; length <= bytes.size(); ++length) {
    if (!unpack_soundly(bytes.substr(0, length), length % 2 == 1,
                        "first " + std::to_string(length) + " bytes")) {
      return;
    }
  }
}

TEST_P(TruncationAndDamage, ChangingOnePercentOfTheBytesEndsInAnErrorOrACleanResult) {
  const std::string& seed = GetParam().bytes;
  std::mt19937 random(20261211);
  std::uniform_int_distribution<std::size_t> position(0, seed.size() - 1);
  std::uniform_int_distribution<int> change(1, 255);
  const std::size_t changes = std::max<std::size_t>(1, seed.size() / 100);
  for (int run = 0; run < 1000; ++run) {
    std::string bytes = seed;
    std::string changed;
    for (std::size_t i = 0; i < changes; ++i) {
      std::size_t at = position(random);
      bytes[at] = static_cast<char>(bytes[at] ^ change(random));
      changed += " " + std::to_string(at);
    }
    if (!unpack_soundly(bytes, run % 2 == 1,
                        "run " + std::to_string(run) + ", bytes changed at" + changed)) {
      return;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, TruncationAndDamage, ::testing::ValuesIn(seed_archives()),
                         [](const ::testing::TestParamInfo<seed_archive>& seed) {
                           std::string name = seed.param.name.substr(0, seed.param.name.find('.'));
                           name.erase(std::remove(name.begin(), name.end(), '_'), name.end());
                           return name;
                         });

}  // namespace
