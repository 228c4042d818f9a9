// The output names of conversions.
#include <gtest/gtest.h>

#include "convert/BaseName.h"
#include "support/QtPrinters.h"

namespace orve {
namespace {

TEST(BaseName, IsTheFileNameWithoutItsExtension) {
  const struct {
    const char* path;
    const char* base;
  } cases[] = {
      {"/music/Song.mp3", "Song"},       {"/music/Song.aiff", "Song"},   {"/music/My.Song.wave", "My.Song"},
      {"/cd/Track01.cda", "Track01"},    {"/music/a.flac", "a"},         {"/music/song.mp", "song"},
      {"/music/noext", "noext"},         {"/music/.mp3", "Без имени"},   {"/music/.hidden.ogg", ".hidden"},
      {"Song.mp3", "Song"},              {"/music/Песня.ogg", "Песня"},  {"/music.d/noext", "noext"},
      {"/music/.hidden", "Без имени"},
  };
  for (const auto& c : cases) EXPECT_EQ(BaseName(QString::fromUtf8(c.path)), QString::fromUtf8(c.base)) << c.path;
}

}  // namespace
}  // namespace orve
