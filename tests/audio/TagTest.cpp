// Tags of every format, and 8-bit legacy text read as Windows-1251.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "AudioTestSupport.h"

namespace orve::audio::test {
namespace {

struct TagCase {
  const char* file;
  Tags tags;
};

const TagCase kTagCases[] = {
    {"cbr.mp3", {"Песня", "Исполнитель", "Альбом", "Рок", "1999", "3", "Комментарий"}},
    {"id3v1_cp1251.mp3", {"Группа крови", "Кино", "Звезда", "", "1988", "", "Тест"}},
    {"vorbis.ogg", {"Огг", "Тест", "", "", "", "", ""}},
    {"tagged.m4a", {"M4A Title", "M4A Artist", "", "", "", "", ""}},
    {"tagged.wma", {"WMA Title", "WMA Artist", "", "", "", "", ""}},
    {"tagged.opus", {"Opus Title", "Opus Artist", "", "", "", "", ""}},
    {"tagged.flac", {"FLAC Title", "FLAC Artist", "", "", "", "", ""}},
    {"tagged.oga", {"OGA Title", "OGA Artist", "", "", "", "", ""}},
    {"sine_s16.wav", {}},
    {"adts.aac", {}},
    {"layer2.mp2", {}},
};

void ExpectTags(const Tags& got, const Tags& want, const std::string& file) {
  EXPECT_EQ(got.title, want.title) << file;
  EXPECT_EQ(got.artist, want.artist) << file;
  EXPECT_EQ(got.album, want.album) << file;
  EXPECT_EQ(got.genre, want.genre) << file;
  EXPECT_EQ(got.year, want.year) << file;
  EXPECT_EQ(got.track, want.track) << file;
  EXPECT_EQ(got.comment, want.comment) << file;
}

TEST(Tags, OfEveryFormatAreReadAtOpenForBothKindsOfStream) {
  Library lib(OutputChoice::Parse("null"));
  for (const TagCase& c : kTagCases) {
    const Handle play = lib.OpenFile(Fixture(c.file));
    const Handle decode = lib.OpenDecoder(Fixture(c.file));
    ASSERT_NE(play, kNoHandle) << c.file;
    ASSERT_NE(decode, kNoHandle) << c.file;
    ExpectTags(lib.GetTags(play), c.tags, c.file);
    ExpectTags(lib.GetTags(decode), c.tags, c.file);
    EXPECT_EQ(lib.GetMetadata(play), "");
    lib.Free(play);
    lib.Free(decode);
  }
}

// An ID3v2.3 tag with one TIT2 frame whose encoding byte says Latin-1.
std::string Id3v23Latin1Title(const std::string& bytes) {
  std::string frame = "TIT2";
  const uint32_t size = static_cast<uint32_t>(bytes.size() + 1);
  for (int shift = 24; shift >= 0; shift -= 8) frame += static_cast<char>((size >> shift) & 0xFF);
  frame += std::string("\0\0\0", 3) + bytes;  // flags, then encoding 0 (Latin-1)
  std::string tag = std::string("ID3\x03\x00\x00", 6);
  const uint32_t tagSize = static_cast<uint32_t>(frame.size());
  for (int shift = 21; shift >= 0; shift -= 7) tag += static_cast<char>((tagSize >> shift) & 0x7F);
  return tag + frame;
}

TEST(Tags, Id3v2TextThatClaimsLatin1IsWindows1251) {
  ScratchDir dir;
  const std::string path = dir.File("latin1.mp3");
  {
    std::ifstream in(Fixture("vbr_xing.mp3"), std::ios::binary);
    std::ofstream out(path, std::ios::binary);
    out << Id3v23Latin1Title("\xCF\xF0\xE8\xE2\xE5\xF2");  // "Привет" in Windows-1251
    out << in.rdbuf();
  }
  Library lib(OutputChoice::Parse("null"));
  const Handle h = lib.OpenFile(path);
  ASSERT_NE(h, kNoHandle) << lib.LastError();
  EXPECT_EQ(lib.GetTags(h).title, "Привет");
}

std::string BigEndian32(uint32_t v) {
  std::string out;
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
  return out;
}

// An ID3v2.3 tag of one TIT2 frame with `flags` (second byte) and `body`.
std::string Id3v23Title(char flags, const std::string& body) {
  const std::string frame = "TIT2" + BigEndian32(static_cast<uint32_t>(body.size())) + '\0' + flags + body;
  std::string tag = std::string("ID3\x03\x00\x00", 6);
  const auto tagSize = static_cast<uint32_t>(frame.size());
  for (int shift = 21; shift >= 0; shift -= 7) tag += static_cast<char>((tagSize >> shift) & 0x7F);
  return tag + frame;
}

// `data` as a zlib stream of one stored (uncompressed) deflate block.
std::string StoredZlib(const std::string& data) {
  const auto n = static_cast<uint16_t>(data.size());
  uint32_t a = 1, b = 0;
  for (unsigned char c : data) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  return std::string("\x78\x01\x01", 3) + static_cast<char>(n & 0xFF) + static_cast<char>(n >> 8) +
         static_cast<char>(~n & 0xFF) + static_cast<char>((~n >> 8) & 0xFF) + data + BigEndian32(b << 16 | a);
}

std::string TitleOf(const ScratchDir& dir, const std::string& tag) {
  const std::string path = dir.File("t.mp3");
  {
    std::ifstream in(Fixture("vbr_xing.mp3"), std::ios::binary);
    std::ofstream out(path, std::ios::binary);
    out << tag << in.rdbuf();
  }
  Library lib(OutputChoice::Parse("null"));
  const Handle h = lib.OpenFile(path);
  return h == kNoHandle ? "(did not open)" : lib.GetTags(h).title;
}

// A compressed frame that says it inflates to 200 MB is not inflated (the
// file keeps no tags, and plays); an honest one is read; text beyond a few
// thousand characters is cut.
TEST(Tags, HugeTextIsNeitherInflatedNorKept) {
  ScratchDir dir;
  const std::string text = std::string(1, '\0') + "Hello";  // encoding Latin-1, then the title
  const char compressed = '\x80';
  EXPECT_EQ(TitleOf(dir, Id3v23Title(compressed, BigEndian32(200u << 20) + StoredZlib(text))), "");
  EXPECT_EQ(TitleOf(dir, Id3v23Title(compressed, BigEndian32(static_cast<uint32_t>(text.size())) + StoredZlib(text))),
            "Hello");
  // One that states little but is large enough to inflate to gigabytes.
  const std::string big(60000, 'b');
  EXPECT_EQ(TitleOf(dir, Id3v23Title(compressed, BigEndian32(6) + StoredZlib(big))), "");
  const std::string title = TitleOf(dir, Id3v23Title('\0', std::string(1, '\x03') + std::string(100000, 'a')));
  EXPECT_EQ(title, std::string(4096, 'a'));
}

}  // namespace
}  // namespace orve::audio::test
