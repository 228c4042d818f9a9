// Files that appear whole or not at all, and moves that replace an older
// file only by a whole one, within a file system and across two.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "base/PartFile.h"

namespace orve {
namespace {

namespace fs = std::filesystem;

// A fresh folder under `parent`, removed afterwards.
struct Folder {
  explicit Folder(const fs::path& parent) {
    std::string pattern = (parent / "orve-part-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path = pattern;
  }
  ~Folder() {
    std::error_code ec;
    if (!path.empty()) fs::remove_all(path, ec);
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(path)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  fs::path path;
};

void Write(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PartFile, AppearsOnlyWhenKept) {
  Folder dir(fs::temp_directory_path());
  const std::string target = (dir.path / "song.wav").string();
  Write(target, "older");
  {
    PartFile part(target);
    ASSERT_GE(part.Fd(), 0);
    ASSERT_TRUE(WriteAll(part.Fd(), "half", 4));
    EXPECT_EQ(Read(target), "older");
  }  // dropped: the older file stays, nothing else
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"song.wav"});
  EXPECT_EQ(Read(target), "older");
  PartFile part(target);
  ASSERT_TRUE(WriteAll(part.Fd(), "newer", 5));
  ASSERT_TRUE(part.KeepAs(target));
  EXPECT_EQ(Read(target), "newer");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"song.wav"});
}

TEST(PartFile, MovesReplaceWithinAndAcrossFileSystems) {
  Folder dest(fs::temp_directory_path());
  // /dev/shm is a memory file system: a move from it is a copy and a rename.
  std::vector<fs::path> sources{fs::temp_directory_path()};
  if (fs::exists("/dev/shm") && ::access("/dev/shm", W_OK) == 0) sources.emplace_back("/dev/shm");
  for (const fs::path& parent : sources) {
    SCOPED_TRACE(parent.string());
    Folder from(parent);
    const fs::path source = from.path / "test.mp3";
    const std::string content(3 << 20, 'x');  // more than one copy block
    Write(source, content);
    Write(dest.path / "song.mp3", "older");
    ASSERT_EQ(MoveReplacing(source.string(), (dest.path / "song.mp3").string()), 0);
    EXPECT_EQ(Read(dest.path / "song.mp3"), content);
    EXPECT_FALSE(fs::exists(source));
    EXPECT_EQ(dest.Names(), std::vector<std::string>{"song.mp3"});
  }
}

TEST(PartFile, AFailedMoveKeepsBothFiles) {
  Folder dir(fs::temp_directory_path());
  Write(dir.path / "test.mp3", "new");
  Write(dir.path / "song.mp3", "older");
  EXPECT_EQ(MoveReplacing((dir.path / "test.mp3").string(), (dir.path / "gone" / "song.mp3").string()), ENOENT);
  EXPECT_EQ(MoveReplacing((dir.path / "missing.mp3").string(), (dir.path / "song.mp3").string()), ENOENT);
  EXPECT_EQ(Read(dir.path / "test.mp3"), "new");
  EXPECT_EQ(Read(dir.path / "song.mp3"), "older");
}

}  // namespace
}  // namespace orve
