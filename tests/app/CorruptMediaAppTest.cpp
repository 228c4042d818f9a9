// Damaged media through the whole program: each case is added by the
// adder's workers and one by one on the UI thread, then started; every one
// plays or fails cleanly, no memory request goes over 64 MB, the playlist
// stays whole, and the exit leaves no worker behind.
#include "PlaylistFixture.h"
#include "playlist/EntryAdder.h"
#include "support/CorruptMedia.h"
#include "support/LargestAllocation.h"

namespace orve::test {
namespace {

constexpr size_t kMaxRequest = size_t{64} << 20;

class CorruptMediaApp : public PlaylistFixture {};

TEST_F(CorruptMediaApp, EveryCaseIsAddedAndPlaysOrFailsCleanly) {
  QDir(home.path()).mkdir("media");
  const auto cases = MakeCorruptMedia(ORVE_FIXTURES_DIR "/audio", home.file("media").toStdString());
  QStringList paths;
  for (const CorruptCase& c : cases) paths << QString::fromStdString(c.path);
  Start();
  allocation::Reset();
  Add(paths);
  for (const QString& path : paths) pls->AppendFile(path, false);  // the music base's road
  ASSERT_TRUE(pls->Consistent());
  // Every path has a kind here, so every one is an entry, twice.
  ASSERT_EQ(engine->Paths.size(), 2 * paths.size());
  for (const QString& d : engine->Durations) EXPECT_GE(d.toInt(), 0);
  if (allocation::Available()) {
    EXPECT_LT(allocation::Largest(), kMaxRequest) << "while adding";
  }

  int playing = 0;
  for (int i = 0; i < static_cast<int>(paths.size()); ++i) {
    const std::string& what = cases[static_cast<size_t>(i)].what;
    allocation::Reset();
    StartRow(i);
    QCoreApplication::processEvents();
    if (engine->Handle() != audio::kNoHandle && engine->PlayState == kPlaying) ++playing;
    ASSERT_TRUE(pls->Consistent()) << what;
    if (allocation::Available()) {
      EXPECT_LT(allocation::Largest(), kMaxRequest) << what;
    }
  }
  EXPECT_GT(playing, 40);
  End();
  EXPECT_EQ(EntryAdder::AbandonedWorkers(), 0);
}

}  // namespace
}  // namespace orve::test
