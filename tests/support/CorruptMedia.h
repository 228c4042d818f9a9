#pragma once
// A small corpus of damaged media made from the audio fixtures: files cut
// short, headers with flipped bits, scattered damage, sizes that lie, absurd
// rates and channel counts, an empty file, contents under the wrong
// extension, and special files (a pipe, devices, a folder, a dangling
// link). The same seed always gives the same corpus.

#include <string>
#include <vector>

namespace orve::test {

struct CorruptCase {
  std::string path;
  std::string what;  // how it was made, for failure messages
};

// Writes the corpus into `folder` (which exists) from the audio files in
// `fixtures`.
std::vector<CorruptCase> MakeCorruptMedia(const std::string& fixtures, const std::string& folder);

}  // namespace orve::test
