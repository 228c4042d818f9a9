#include <gtest/gtest.h>

#include "engine/EntryKind.h"
#include "engine/StreamTitle.h"

namespace orve {
namespace {

TEST(EntryKind, ByPrefixThenExtension) {
  struct Case {
    const char* path;
    const char* kind;
  };
  const Case cases[] = {
      {"/m/a.mp3", "1"},   {"/m/a.MP3", "1"},    {"/m/a.Mp2", "1"},  {"/m/a.mp1", "1"},
      {"/m/a.wav", "1"},   {"/m/a.wave", "1"},   {"/m/a.ogg", "1"},  {"/m/a.aiff", "1"},
      {"/cd/Track01.cda", "1"}, {"/m/a.aac", "2"}, {"/m/a.mp4", "2"}, {"/m/a.WMA", "3"},
      {"http://x/a.wma", "4"}, {"Https://x", "4"}, {"httpfile.mp3", "4"},  // the prefix is checked first
      {"/m/a.m4a", "2"},   {"/m/a.M4A", "2"},    {"/m/a.oga", "1"},  {"/m/a.Opus", "1"},
      {"/m/a.FLAC", "1"},  {"/m/a.ogx", ""},     {"/m/a", ""},         {"/m/a.mp3 ", ""},  {"/m.mp3/a", ""},
      {"/m/a.aif", ""},    {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(EntryKindOf(QString::fromUtf8(c.path)), QString::fromUtf8(c.kind)) << c.path;
}

TEST(StreamTitle, Cut) {
  struct Case {
    const char* metadata;
    const char* title;
  };
  const Case cases[] = {
      {"StreamTitle='Artist - Song';StreamUrl='http://x';", "Artist - Song"},
      {"StreamTitle='Кино - Группа крови';", "Кино - Группа крови"},
      {"StreamTitle='';", ""},
      {"StreamTitle='a';", "a"},
      {"StreamTitle='no semicolon'", "no semicolon"},
      {"", ""},
      {";", ""},
      {"StreamTitle='", ""},
      {"StreamTitle='Earth; Wind & Fire - September';StreamUrl='';", "Earth; Wind & Fire - September"},
      {"StreamTitle='Guns N' Roses - Patience';", "Guns N' Roses - Patience"},
      {"StreamUrl='http://x';StreamTitle='x';", "x"},
  };
  for (const auto& c : cases) EXPECT_EQ(CutStreamTitle(QString::fromUtf8(c.metadata)), QString::fromUtf8(c.title)) << c.metadata;
}

}  // namespace
}  // namespace orve
