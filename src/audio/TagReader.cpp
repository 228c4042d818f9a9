#include "audio/TagReader.h"

#include <mutex>
#include <string_view>

#include <taglib/commentsframe.h>
#include <taglib/fileref.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>
#include <taglib/textidentificationframe.h>

#include "audio/Id3Guard.h"
#include "audio/RegularFile.h"
#include "base/TextCodec.h"

namespace orve::audio {
namespace {

// Longer than any real title, comment or name; a damaged tag's megabytes
// of text would otherwise reach every window and list that shows it.
constexpr unsigned kMaxTagCharacters = 4096;

TagLib::String Capped(const TagLib::String& s) {
  return s.size() > kMaxTagCharacters ? s.substr(0, kMaxTagCharacters) : s;
}

std::string Utf8(const TagLib::String& s) { return Capped(s).to8Bit(true); }

// TagLib hands Latin-1 text over with each byte as one character, so
// to8Bit(false) gives the bytes of the file back.
std::string FromLegacy(const TagLib::String& s) { return Cp1251ToUtf8(Capped(s).to8Bit(false)); }

class Cp1251Id3v1 : public TagLib::ID3v1::StringHandler {
 public:
  TagLib::String parse(const TagLib::ByteVector& data) const override {
    std::string_view bytes(data.data(), data.size());
    bytes = bytes.substr(0, bytes.find('\0'));
    while (!bytes.empty() && bytes.back() == ' ') bytes.remove_suffix(1);
    return TagLib::String(Cp1251ToUtf8(bytes), TagLib::String::UTF8);
  }
};

void InstallId3v1Handler() {
  static std::once_flag once;
  static Cp1251Id3v1 handler;
  std::call_once(once, [] { TagLib::ID3v1::Tag::setStringHandler(&handler); });
}

bool ClaimsLatin1(const TagLib::ID3v2::Tag* tag, const char* frameId) {
  const auto& frames = tag->frameListMap()[frameId];
  if (frames.isEmpty()) return false;
  if (auto* text = dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame*>(frames.front())) {
    return text->textEncoding() == TagLib::String::Latin1;
  }
  if (auto* comment = dynamic_cast<const TagLib::ID3v2::CommentsFrame*>(frames.front())) {
    return comment->textEncoding() == TagLib::String::Latin1;
  }
  return false;
}

// An ID3v2 field stored as Latin-1 is re-read as Windows-1251; the other
// fields keep what the tag union gave.
void RecodeLatin1Frames(const TagLib::ID3v2::Tag* id3, Tags& tags) {
  struct Field {
    const char* id;
    std::string* value;
    TagLib::String (TagLib::Tag::*get)() const;
  };
  const Field fields[] = {
      {"TIT2", &tags.title, &TagLib::Tag::title},   {"TPE1", &tags.artist, &TagLib::Tag::artist},
      {"TALB", &tags.album, &TagLib::Tag::album},   {"TCON", &tags.genre, &TagLib::Tag::genre},
      {"COMM", &tags.comment, &TagLib::Tag::comment},
  };
  for (const Field& f : fields) {
    if (ClaimsLatin1(id3, f.id)) *f.value = FromLegacy((id3->*f.get)());
  }
}

// TagLib reads the ID3v1 comment without the string handler: when the
// comment came from there, its Latin-1 characters are the file's bytes.
void RecodeId3v1Comment(const TagLib::ID3v1::Tag* v1, Tags& tags) {
  const TagLib::String comment = v1->comment();
  if (!comment.isEmpty() && comment.isLatin1() && tags.comment == Utf8(comment)) {
    tags.comment = FromLegacy(comment);
  }
}

std::string Number(unsigned int n) { return n == 0 ? std::string() : std::to_string(n); }

}  // namespace

Tags ReadTags(const std::string& path) {
  InstallId3v1Handler();
  Tags tags;
  if (!IsRegularFile(path) || HasInflatingFrame(path)) return tags;
  TagLib::FileRef ref(path.c_str(), false);
  const TagLib::Tag* tag = ref.tag();
  if (ref.isNull() || tag == nullptr) return tags;
  tags.title = Utf8(tag->title());
  tags.artist = Utf8(tag->artist());
  tags.album = Utf8(tag->album());
  tags.genre = Utf8(tag->genre());
  tags.comment = Utf8(tag->comment());
  tags.year = Number(tag->year());
  tags.track = Number(tag->track());
  auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(ref.file());
  if (mpeg == nullptr) return tags;
  if (mpeg->hasID3v1Tag()) RecodeId3v1Comment(mpeg->ID3v1Tag(), tags);
  if (mpeg->hasID3v2Tag() && !mpeg->ID3v2Tag()->isEmpty()) RecodeLatin1Frames(mpeg->ID3v2Tag(), tags);
  return tags;
}

}  // namespace orve::audio
