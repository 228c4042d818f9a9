// Network streams against the suite's own ICY server on 127.0.0.1: playing,
// the user agent, ICY metadata of every shape, failures and their reasons,
// playlists, reconnection after a drop and after a stall, and that no
// library call keeps the calling thread for more than 100 ms meanwhile.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <thread>

#include "NetTestSupport.h"

namespace orve::audio::test {
namespace {

using std::chrono::seconds;

// No call from the program's thread waits on a server: every server fault
// here lasts 3 s or more, so a call that waited would take that long. How
// fast the calls really are is measured by bench/app/bench_stall.
constexpr double kNeverWaitedOnTheNetworkMs = 1500.0;

class NetStream : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!server_.Running()) GTEST_SKIP() << "the test ICY server (python3 tests/audio/net/icy_server.py) did not start";
    lib_.SetUserAgent("ORVE 1.56");
  }
  Handle OpenAndPlay(const std::string& path) {
    const Handle h = clock_([&] { return lib_.OpenUrl(server_.Url(path)); });
    EXPECT_NE(h, kNoHandle);
    EXPECT_TRUE(clock_([&] { return lib_.Play(h); }));
    return h;
  }
  bool WaitForSound(Handle h) {
    return WaitFor([&] { return clock_([&] { return HearsSound(lib_, h); }); }, seconds(30));
  }
  bool WaitForStatus(Handle h, const std::string& status) {
    return WaitFor([&] { return clock_([&] { return lib_.StreamStatus(h); }) == status; }, seconds(60));
  }

  IcyServer server_;
  CallClock clock_;
  Library lib_{OutputChoice{OutputChoice::Kind::kNull, {}}};
};

TEST_F(NetStream, PlaysWithTheAgentAndMetadataAndNoLength) {
  const std::string path = "/stream.mp3?title=Hello";
  const Handle h = lib_.OpenUrl(server_.Url(path));
  ASSERT_NE(h, kNoHandle);
  EXPECT_EQ(lib_.Length(h), 0);
  EXPECT_EQ(lib_.Position(h), 0);
  EXPECT_EQ(lib_.FileSize(h), 0);
  EXPECT_EQ(lib_.GetMetadata(h), "");
  ASSERT_TRUE(lib_.Play(h));
  ASSERT_TRUE(WaitForSound(h)) << lib_.StreamStatus(h);
  EXPECT_EQ(lib_.IsActive(h), ActiveState::kPlaying);
  ASSERT_TRUE(WaitFor([&] { return !lib_.GetMetadata(h).empty(); }));
  EXPECT_EQ(lib_.GetMetadata(h), "StreamTitle='Hello';StreamUrl='http://example.invalid/';");
  EXPECT_EQ(lib_.StreamStatus(h), "");
  EXPECT_EQ(lib_.Position(h), 0);
  EXPECT_EQ(lib_.Length(h), 0);
  const std::vector<Request> requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].path, path);
  EXPECT_EQ(requests[0].agent, "ORVE 1.56");
  EXPECT_EQ(requests[0].icy, "1");
  EXPECT_EQ(requests[0].via, "");  // no proxy: not even one from the environment
}

TEST_F(NetStream, PlaysSilenceAndReportsStalledUntilTheFirstAudio) {
  // Headers at once, then nothing for 3 s, then the stream.
  const Handle h = OpenAndPlay("/stream.mp3?stall=0&pause=3&resume=1");
  ASSERT_TRUE(WaitFor([&] { return server_.Requests().size() == 1; }));
  EXPECT_EQ(lib_.IsActive(h), ActiveState::kStalled);
  EXPECT_FALSE(HearsSound(lib_, h));
  ASSERT_TRUE(WaitForSound(h)) << lib_.StreamStatus(h);
  EXPECT_EQ(lib_.IsActive(h), ActiveState::kPlaying);
  EXPECT_LT(clock_.LongestMs(), kNeverWaitedOnTheNetworkMs);
}

struct MetaCase {
  const char* query;
  std::string expected;
};

class NetMetadata : public NetStream, public ::testing::WithParamInterface<MetaCase> {};

// The server sends the block with each 8 KB of audio; by the time a second
// of sound has been heard several blocks have come.
TEST_P(NetMetadata, ShowsTheLatestBlockAsText) {
  const Handle h = OpenAndPlay(std::string("/stream.mp3?") + GetParam().query);
  ASSERT_TRUE(WaitForSound(h)) << lib_.StreamStatus(h);
  std::this_thread::sleep_for(seconds(1));
  EXPECT_EQ(lib_.GetMetadata(h), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, NetMetadata,
    ::testing::Values(
        // Windows-1251 bytes ("Привет" in the query is UTF-8; the server re-encodes it).
        MetaCase{"meta=cp1251&title=%D0%9F%D1%80%D0%B8%D0%B2%D0%B5%D1%82", "StreamTitle='Привет';"},
        MetaCase{"meta=title&title=%D0%9F%D0%B5%D1%81%D0%BD%D1%8F",
                 "StreamTitle='Песня';StreamUrl='http://example.invalid/';"},
        MetaCase{"meta=empty", ""},
        MetaCase{"meta=zero", ""},
        MetaCase{"meta=nosemi", "StreamTitle='No semicolon'"},
        MetaCase{"meta=big", "StreamTitle='" + std::string(4000, 'x') + "';" + std::string(55, ' ')}));

TEST_F(NetStream, MetadataFollowsTheServerWhilePlaying) {
  const Handle h = OpenAndPlay("/stream.mp3?meta=counter");
  ASSERT_TRUE(WaitForSound(h)) << lib_.StreamStatus(h);
  const std::string first = lib_.GetMetadata(h);
  ASSERT_TRUE(first.starts_with("StreamTitle='Song ")) << first;
  // After the burst a block comes every ~0.5 s.
  ASSERT_TRUE(WaitFor([&] { return lib_.GetMetadata(h) != first; }, seconds(30)));
  EXPECT_TRUE(lib_.GetMetadata(h).starts_with("StreamTitle='Song ")) << lib_.GetMetadata(h);
}

struct FailCase {
  std::string target;  // a path on the server, or a whole address
  std::string status;
};

class NetFailure : public NetStream, public ::testing::WithParamInterface<FailCase> {};

TEST_P(NetFailure, EndsSilentWithTheReason) {
  const std::string& target = GetParam().target;
  const std::string url = target.starts_with("/") ? server_.Url(target) : target;
  const Handle h = clock_([&] { return lib_.OpenUrl(url); });
  ASSERT_NE(h, kNoHandle);
  ASSERT_TRUE(clock_([&] { return lib_.Play(h); }));
  ASSERT_TRUE(WaitFor([&] { return clock_([&] { return lib_.IsActive(h); }) == ActiveState::kStopped; },
                      seconds(60)));
  EXPECT_EQ(lib_.StreamStatus(h), GetParam().status);
  EXPECT_FALSE(HearsSound(lib_, h));
  EXPECT_EQ(lib_.GetMetadata(h), "");
  EXPECT_EQ(lib_.Length(h), 0);
  clock_([&] { lib_.Free(h); });
  EXPECT_EQ(lib_.StreamStatus(h), "");
  EXPECT_LT(clock_.LongestMs(), kNeverWaitedOnTheNetworkMs);
}

INSTANTIATE_TEST_SUITE_P(
    Servers, NetFailure,
    ::testing::Values(FailCase{"/missing", "Ошибка 404"},
                      FailCase{"/page.html", "Это не аудиопоток"},
                      FailCase{"/noise", "Это не аудиопоток"},
                      FailCase{"/loop", "Нет соединения"},
                      FailCase{"/deep.m3u", "Это не аудиопоток"},
                      // Headers, then a byte a second: the server is there but does not answer.
                      FailCase{"/trickle", "Сервер не отвечает"},
                      FailCase{"/self.m3u8", "Это не аудиопоток"},
                      // Port 9 (discard) is closed here: the connection is refused.
                      FailCase{"http://127.0.0.1:9/stream.mp3", "Нет соединения"}));

// An HLS master playlist that names itself as its variant is a loop FFmpeg
// would fetch thousands of times a second: each connection attempt has a
// budget of requests.
TEST_F(NetStream, ASelfNamingHlsPlaylistIsFetchedAFewTimesOnly) {
  const Handle h = OpenAndPlay("/self.m3u8");
  ASSERT_TRUE(WaitFor([&] { return lib_.IsActive(h) == ActiveState::kStopped; }, seconds(60)));
  EXPECT_EQ(lib_.StreamStatus(h), "Это не аудиопоток");
  EXPECT_LE(server_.Requests().size(), 80u);
  lib_.Free(h);
}

// Schemes are case-insensitive: what the URL window's "HTTP://" preset
// gives plays, and the address followed by a playlist too.
TEST_F(NetStream, PlaysAddressesWithAnUpperCaseScheme) {
  for (const char* path : {"/stream.mp3?title=Upper", "/list.pls"}) {
    std::string url = server_.Url(path);
    url.replace(0, 4, "HTTP");
    const Handle h = lib_.OpenUrl(url);
    ASSERT_NE(h, kNoHandle) << url;
    ASSERT_TRUE(lib_.Play(h));
    EXPECT_TRUE(WaitForSound(h)) << url << ": " << lib_.StreamStatus(h);
    lib_.Free(h);
  }
}

// A file served over HTTP, its length announced, ends like a file once all
// of it has been heard: it is not fetched again as a dropped station would be.
TEST_F(NetStream, AFileServedOverHttpEndsAndIsNotFetchedAgain) {
  const Handle h = OpenAndPlay("/file.mp3?seconds=2");
  ASSERT_TRUE(WaitForSound(h)) << lib_.StreamStatus(h);
  EXPECT_TRUE(WaitFor([&] { return lib_.IsActive(h) == ActiveState::kStopped; }, seconds(30)));
  EXPECT_EQ(lib_.StreamStatus(h), "");
  EXPECT_EQ(server_.Requests().size(), 1u);
}

TEST_F(NetStream, RefusesAddressesThatAreNotHttp) {
  for (const char* url : {"", "ftp://127.0.0.1/x.mp3", "/tmp/x.mp3", "httpx://a"}) {
    EXPECT_EQ(lib_.OpenUrl(url), kNoHandle) << url;
  }
}

struct ListCase {
  const char* path;
  const char* title;
};

class NetPlaylist : public NetStream, public ::testing::WithParamInterface<ListCase> {};

TEST_P(NetPlaylist, PlaysTheFirstStreamOfTheList) {
  const Handle h = OpenAndPlay(GetParam().path);
  ASSERT_TRUE(WaitForSound(h)) << lib_.StreamStatus(h);
  ASSERT_TRUE(WaitFor([&] { return !lib_.GetMetadata(h).empty(); }));
  EXPECT_TRUE(lib_.GetMetadata(h).starts_with("StreamTitle='" + std::string(GetParam().title) + "';"))
      << lib_.GetMetadata(h);
  for (const Request& r : server_.Requests()) EXPECT_EQ(r.agent, "ORVE 1.56") << r.path;
}

INSTANTIATE_TEST_SUITE_P(Lists, NetPlaylist,
                         ::testing::Values(ListCase{"/list.pls", "FromPls"},
                                           ListCase{"/list.m3u", "FromM3u"},
                                           ListCase{"/nested.pls", "FromM3u"},
                                           ListCase{"/redirect", "Redirected"}));

struct FormatCase {
  const char* path;
  bool icy;  // HLS segments carry no ICY metadata
};

class NetFormat : public NetStream, public ::testing::WithParamInterface<FormatCase> {};

// The demuxer comes from the Content-Type (AAC, Ogg) or, for an HLS
// playlist, is FFmpeg's hls, which fetches the segments with our agent. An
// old SHOUTcast answer ("ICY 200 OK") plays like HTTP.
TEST_P(NetFormat, PlaysTheToneWithTheAgentOnEveryRequest) {
  const std::string path = GetParam().path;
  const Handle h = OpenAndPlay(path + (path.find('?') == std::string::npos ? "?" : "&") + "title=Format");
  ASSERT_TRUE(WaitForSound(h)) << lib_.StreamStatus(h);
  if (GetParam().icy) {
    ASSERT_TRUE(WaitFor([&] { return !lib_.GetMetadata(h).empty(); }));
    EXPECT_TRUE(lib_.GetMetadata(h).starts_with("StreamTitle='Format';")) << lib_.GetMetadata(h);
  }
  const std::vector<Request> requests = server_.Requests();
  EXPECT_GE(requests.size(), GetParam().icy ? 1u : 2u);
  for (const Request& r : requests) EXPECT_EQ(r.agent, "ORVE 1.56") << r.path;
}

INSTANTIATE_TEST_SUITE_P(Types, NetFormat,
                         ::testing::Values(FormatCase{"/stream.aac", true}, FormatCase{"/stream.ogg", true},
                                           FormatCase{"/hls/index.m3u8", false},
                                           FormatCase{"/stream.mp3?icy1=1", true}));

TEST_F(NetStream, ReconnectsAfterTheServerClosesAndKeepsTheChannel) {
  const std::string path = "/stream.mp3?drop=150000";
  const Handle h = OpenAndPlay(path);
  ASSERT_TRUE(lib_.SetAttributes(h, 0, 60));
  const Library::FxHandle fx = lib_.AddEffect(h, dsp::EffectType::kEcho, 1);
  ASSERT_NE(fx, 0u);
  ASSERT_TRUE(WaitForSound(h)) << lib_.StreamStatus(h);
  ASSERT_TRUE(WaitForStatus(h, "Переподключение…"));
  ASSERT_TRUE(WaitForStatus(h, ""));
  ASSERT_TRUE(WaitForSound(h));
  EXPECT_EQ(server_.CountOf(path), 2);
  int frequency = 0, volume = 0;
  ASSERT_TRUE(lib_.GetAttributes(h, frequency, volume));
  EXPECT_EQ(volume, 60);
  dsp::EffectParams params;
  EXPECT_TRUE(lib_.GetEffectParameters(h, fx, params));
  EXPECT_LT(clock_.LongestMs(), kNeverWaitedOnTheNetworkMs);
}

// The server stops sending for 10 s: the stream stalls, gives up on the
// connection after a few seconds and plays again from a new one, while every
// call from this thread returns at once.
TEST_F(NetStream, ReconnectsAfterAStallWithoutBlockingTheCaller) {
  const std::string path = "/stream.mp3?stall=120000";
  const Handle h = OpenAndPlay(path);
  ASSERT_TRUE(WaitForSound(h)) << lib_.StreamStatus(h);
  ASSERT_TRUE(WaitFor([&] { return clock_([&] { return lib_.IsActive(h); }) == ActiveState::kStalled; },
                      seconds(60)));
  std::vector<int16_t> wave(1024);
  float fft[256];
  int frequency = 0, volume = 0;
  const auto busy = [&] {  // everything the program asks while it waits
    clock_([&] { return lib_.Position(h); });
    clock_([&] { return lib_.Length(h); });
    clock_([&] { return lib_.GetMetadata(h); });
    clock_([&] { return lib_.GetWave(h, wave.data()); });
    clock_([&] { return lib_.GetFft(h, fft, 512); });
    clock_([&] { return lib_.GetAttributes(h, frequency, volume); });
    clock_([&] { return lib_.SetAttributes(h, 0, 80); });
    return clock_([&] { return lib_.StreamStatus(h); });
  };
  ASSERT_TRUE(WaitFor([&] { return busy() == "Переподключение…"; }, seconds(60)));
  ASSERT_TRUE(WaitFor([&] { return busy().empty() && HearsSound(lib_, h); }, seconds(60)));
  EXPECT_EQ(server_.CountOf(path), 2);
  EXPECT_LT(clock_.LongestMs(), kNeverWaitedOnTheNetworkMs);
}

// A stream that has run dry is silence for the spectrum and the wave, not
// the last sound heard.
TEST_F(NetStream, AStreamRunDryIsSilentToTheDisplay) {
  const Handle h = OpenAndPlay("/stream.mp3?stall=100000&pause=30");
  ASSERT_TRUE(WaitForSound(h)) << lib_.StreamStatus(h);
  ASSERT_TRUE(WaitFor([&] { return lib_.IsActive(h) == ActiveState::kStalled; }, seconds(60)));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // longer than the wave's 512 frames
  std::vector<int16_t> wave(1024, 1);
  ASSERT_EQ(lib_.GetWave(h, wave.data()), 2048);
  EXPECT_EQ(std::count(wave.begin(), wave.end(), 0), 1024);
  std::vector<float> fft(256, 1.0f);
  ASSERT_EQ(lib_.GetFft(h, fft.data(), 512), 256);
  EXPECT_EQ(*std::max_element(fft.begin(), fft.end()), 0.0f);
}

TEST_F(NetStream, FreeDuringAStallReturnsAtOnce) {
  const Handle h = OpenAndPlay("/stream.mp3?stall=100000&pause=30");
  ASSERT_TRUE(WaitForSound(h)) << lib_.StreamStatus(h);
  ASSERT_TRUE(WaitFor([&] { return lib_.IsActive(h) == ActiveState::kStalled; }, seconds(60)));
  clock_([&] { lib_.Free(h); });
  // The library goes on working: a new stream plays at once.
  const Handle next = OpenAndPlay("/stream.mp3?title=Next");
  EXPECT_TRUE(WaitForSound(next));
  EXPECT_LT(clock_.LongestMs(), kNeverWaitedOnTheNetworkMs);
}

TEST_F(NetStream, PauseEndsTheAttemptsAndPlayStartsThemAgain) {
  const std::string path = "/stream.mp3?drop=100000";
  const Handle h = OpenAndPlay(path);
  ASSERT_TRUE(WaitForSound(h)) << lib_.StreamStatus(h);
  // The first attempt comes 1 s after the drop; pausing within it stops it.
  ASSERT_TRUE(WaitForStatus(h, "Переподключение…"));
  ASSERT_TRUE(lib_.Pause(h));
  std::this_thread::sleep_for(seconds(3));
  EXPECT_EQ(server_.CountOf(path), 1);
  ASSERT_TRUE(lib_.Play(h));
  ASSERT_TRUE(WaitFor([&] { return server_.CountOf(path) == 2; }));
  EXPECT_TRUE(WaitForSound(h));
}

TEST_F(NetStream, StopAndRewindConnectAfresh) {
  const std::string path = "/stream.mp3?title=Again";
  const Handle h = OpenAndPlay(path);
  ASSERT_TRUE(WaitForSound(h)) << lib_.StreamStatus(h);
  ASSERT_TRUE(lib_.Stop(h));
  ASSERT_TRUE(lib_.SetPosition(h, 0));  // what the program's Stop does
  ASSERT_TRUE(WaitFor([&] { return !HearsSound(lib_, h); }));
  ASSERT_TRUE(lib_.Play(h));
  ASSERT_TRUE(WaitFor([&] { return server_.CountOf(path) == 2; }));
  EXPECT_TRUE(WaitForSound(h));
}

// FFmpeg's TLS does not verify certificates unless told to, so a self-signed
// local server stands for any HTTPS station.
TEST_F(NetStream, PlaysOverHttps) {
  IcyServer secure(IcyServer::Scheme::kHttps);
  if (!secure.Running()) GTEST_SKIP() << "the HTTPS test server did not start (openssl, python3 ssl?)";
  const Handle h = lib_.OpenUrl(secure.Url("/list.pls"));  // the list names an https:// stream too
  ASSERT_TRUE(lib_.Play(h));
  ASSERT_TRUE(WaitForSound(h)) << lib_.StreamStatus(h);
  ASSERT_TRUE(WaitFor([&] { return !lib_.GetMetadata(h).empty(); }));
  EXPECT_TRUE(lib_.GetMetadata(h).starts_with("StreamTitle='FromPls';")) << lib_.GetMetadata(h);
  const std::vector<Request> requests = secure.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].path, "/stream.mp3?title=FromPls");
  EXPECT_EQ(requests[1].agent, "ORVE 1.56");
}

// A proxy on 127.0.0.1 (tinyproxy, started by scripts/test) forwards the
// request; the server sees the proxy's Via header and our agent.
TEST_F(NetStream, GoesThroughTheProxy) {
  const char* port = std::getenv("ORVE_TEST_PROXY_PORT");
  if (port == nullptr) GTEST_SKIP() << "no proxy: ORVE_TEST_PROXY_PORT is set by scripts/test when tinyproxy runs";
  lib_.SetProxy(std::string("127.0.0.1:") + port);
  const Handle h = OpenAndPlay("/stream.mp3?title=Proxied");
  ASSERT_TRUE(WaitForSound(h)) << lib_.StreamStatus(h);
  const std::vector<Request> requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_NE(requests[0].via.find("tinyproxy"), std::string::npos) << requests[0].via;
  EXPECT_EQ(requests[0].agent, "ORVE 1.56");
  ASSERT_TRUE(WaitFor([&] { return !lib_.GetMetadata(h).empty(); }));
  EXPECT_TRUE(lib_.GetMetadata(h).starts_with("StreamTitle='Proxied';"));
}

// HTTPS goes through the proxy as a CONNECT tunnel, which only the proxy's
// log can show.
TEST_F(NetStream, TunnelsHttpsThroughTheProxy) {
#if defined(__SANITIZE_ADDRESS__)
  // All its frames inside libavformat: FFmpeg 5.1 loses a few bytes of its
  // own when it tunnels TLS through an HTTP proxy. The normal build runs it.
  GTEST_SKIP() << "FFmpeg 5.1 leaks a few bytes in its TLS-over-proxy tunnel; not run under the leak checker";
#endif
  const char* port = std::getenv("ORVE_TEST_PROXY_PORT");
  const char* log = std::getenv("ORVE_TEST_PROXY_LOG");
  if (port == nullptr || log == nullptr) GTEST_SKIP() << "no proxy: ORVE_TEST_PROXY_PORT/LOG are set by scripts/test";
  IcyServer secure(IcyServer::Scheme::kHttps);
  if (!secure.Running()) GTEST_SKIP() << "the HTTPS test server did not start (openssl, python3 ssl?)";
  lib_.SetProxy(std::string("127.0.0.1:") + port);
  const Handle h = lib_.OpenUrl(secure.Url("/stream.mp3?title=Tunnel"));
  ASSERT_TRUE(lib_.Play(h));
  ASSERT_TRUE(WaitForSound(h)) << lib_.StreamStatus(h);
  std::ifstream in(log);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("CONNECT 127.0.0.1:" + std::to_string(secure.Port())), std::string::npos);
  ASSERT_EQ(secure.Requests().size(), 1u);
  EXPECT_EQ(secure.Requests()[0].agent, "ORVE 1.56");
}

}  // namespace
}  // namespace orve::audio::test
