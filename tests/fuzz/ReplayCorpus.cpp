// Feeds every input kept in a fuzz target's corpus to the target once, in
// name order. A broken property fails the test and names the input; a crash
// fails the test program (run the fuzz target on the corpus to see where).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::filesystem::path> CorpusFiles() {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(ORVE_FUZZ_CORPUS_DIR)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<uint8_t> ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FuzzCorpus, ORVE_FUZZ_CORPUS) {
  const std::vector<std::filesystem::path> files = CorpusFiles();
  ASSERT_FALSE(files.empty()) << ORVE_FUZZ_CORPUS_DIR;
  for (const std::filesystem::path& file : files) {
    const std::vector<uint8_t> bytes = ReadAll(file);
    try {
      EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0) << file;
    } catch (const orve::fuzz::PropertyBroken& broken) {
      ADD_FAILURE() << file.filename() << " breaks the property at " << broken.file << ":" << broken.line;
    }
  }
}

}  // namespace
