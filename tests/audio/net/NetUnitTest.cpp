// The text rules of radio addresses (playlists, relative addresses, media
// types), the reconnection pauses and the fault texts.
#include <gtest/gtest.h>

#include "audio/PlaylistUrl.h"
#include "audio/Reconnect.h"
#include "audio/StreamFault.h"

extern "C" {
#include <libavutil/error.h>
}

namespace orve::audio {
namespace {

TEST(PlaylistUrl, TellsPlaylistsByTypeThenByExtension) {
  struct Case {
    const char* url;
    const char* type;
    bool playlist;
  } cases[] = {
      {"http://a/radio", "audio/x-scpls", true},
      {"http://a/radio", "audio/x-mpegurl", true},
      {"http://a/radio", "application/vnd.apple.mpegurl", true},
      {"http://a/x.PLS", "", true},
      {"http://a/x.m3u?sid=1", "text/plain", true},
      {"http://a/x.m3u8", "application/octet-stream", true},
      {"http://a/x.m3u", "audio/mpeg", false},  // the server says audio: it is audio
      {"http://a/stream", "audio/mpeg", false},
      {"http://a/x.pls.mp3", "", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsPlaylistAnswer(c.url, MediaType(c.type)), c.playlist) << c.url << " " << c.type;
  EXPECT_EQ(MediaType(" Audio/X-SCPLS ; charset=UTF-8"), "audio/x-scpls");
}

TEST(PlaylistUrl, TakesTheFirstAddressMadeAbsolute) {
  const std::string base = "http://host:8000/dir/list.m3u?x=1";
  struct Case {
    const char* body;
    const char* first;
  } cases[] = {
      {"[playlist]\r\nFile2=http://b/2\r\nFile1=http://b/1\r\nNumberOfEntries=2\r\n", "http://b/1"},
      {"[Playlist]\nfile1 = \nFile3=http://b/3\n", "http://b/3"},
      {"#EXTM3U\n#EXTINF:-1,Radio\n\n  http://c/live  \nhttp://c/other\n", "http://c/live"},
      {"stream.mp3\n", "http://host:8000/dir/stream.mp3"},
      {"/root.mp3\n", "http://host:8000/root.mp3"},
      {"//other:1/x\n", "http://other:1/x"},
      {"#EXTM3U\n# nothing here\n", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FirstAddress(c.body, base), c.first) << c.body;
  EXPECT_EQ(ResolveUrl("http://host", "a.mp3"), "http://host/a.mp3");
}

TEST(PlaylistUrl, SchemesGoToFfmpegInLowerCase) {
  EXPECT_EQ(WithLowerScheme("HTTP://Host:80/A.mp3?Q=1"), "http://Host:80/A.mp3?Q=1");
  EXPECT_EQ(WithLowerScheme("hTTpS://x/Y"), "https://x/Y");
  EXPECT_EQ(WithLowerScheme("http://x/y"), "http://x/y");
  EXPECT_EQ(WithLowerScheme("no scheme"), "no scheme");
}

TEST(PlaylistUrl, SegmentPlaylistsAreLeftToHls) {
  EXPECT_TRUE(IsSegmentPlaylist("#EXTM3U\n#EXT-X-TARGETDURATION:10\nseg1.ts\n"));
  EXPECT_TRUE(IsSegmentPlaylist("#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1\nlow.m3u8\n"));
  EXPECT_FALSE(IsSegmentPlaylist("#EXTM3U\n#EXTINF:-1,Radio\nhttp://c/live\n"));
}

TEST(Reconnect, PausesGrowFromOneToThirtySecondsAndStartAgainAfterAudio) {
  using namespace std::chrono;
  Reconnect r;
  const auto t0 = Reconnect::Clock::time_point{} + hours(1);
  EXPECT_TRUE(r.Due(t0));
  std::vector<seconds::rep> pauses;
  for (int i = 0; i < 7; ++i) {
    r.Failed(t0);
    pauses.push_back(duration_cast<seconds>(r.DueAt() - t0).count());
  }
  EXPECT_EQ(pauses, (std::vector<seconds::rep>{1, 2, 4, 8, 16, 30, 30}));
  EXPECT_FALSE(r.Due(t0 + seconds(29)));
  r.Succeeded();
  EXPECT_TRUE(r.Due(t0));
  r.Failed(t0);
  EXPECT_EQ(r.DueAt() - t0, seconds(1));
}

TEST(StreamFault, ShortRussianTexts) {
  EXPECT_EQ(StreamFault::FromAvError(AVERROR_HTTP_NOT_FOUND).Text(), "Ошибка 404");
  EXPECT_EQ(StreamFault::FromAvError(AVERROR_HTTP_FORBIDDEN).Text(), "Ошибка 403");
  EXPECT_EQ(StreamFault::FromAvError(AVERROR_HTTP_SERVER_ERROR).Text(), "Ошибка сервера");
  EXPECT_EQ(StreamFault::FromAvError(AVERROR(ECONNREFUSED)).Text(), "Нет соединения");
  EXPECT_EQ(StreamFault::FromAvError(AVERROR_INVALIDDATA).Text(), "Это не аудиопоток");
  EXPECT_EQ(StreamFault::FromAvError(AVERROR_EXIT).Text(), "Сервер не отвечает");
  EXPECT_EQ(StreamFault{StreamFault::Kind::kReconnecting}.Text(), "Переподключение…");
  EXPECT_EQ(StreamFault{}.Text(), "");
}

}  // namespace
}  // namespace orve::audio
