// The transparency window in the running program: its sliders change the
// windows' opacity at once, and what they set survives a restart.
#include <QAction>
#include <QSlider>

#include "PlaylistFixture.h"
#include "appearance/TransparencyWindow.h"
#include "settings/IniFile.h"

namespace orve::test {
namespace {

class TransparencyTest : public PlaylistFixture {
 protected:
  TransparencyWindow* Open() {
    for (QAction* action : mainUi().mainMenu->actions()) {
      if (action->text() == "Транспарантность") action->trigger();
    }
    return app.Windows().transparency;
  }
  QSlider* Slider(int i) { return app.Windows().transparency->ControlsForTest().sliders[static_cast<size_t>(i)]; }
};

TEST_F(TransparencyTest, SlidersChangeTheWindowsAtOnceAndTheValuesSurviveARestart) {
  Start();
  TransparencyWindow* window = Open();
  ASSERT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), "Транспарантность");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Slider(i)->value(), 255);
  Slider(0)->setValue(128);
  Slider(1)->setValue(200);
  Slider(2)->setValue(3);  // below the range: the window never disappears
  EXPECT_NEAR(main->windowOpacity(), 128 / 255.0, 1e-3);
  EXPECT_NEAR(eq->windowOpacity(), 200 / 255.0, 1e-3);
  EXPECT_NEAR(pls->windowOpacity(), 10 / 255.0, 1e-3);
  Slider(2)->setValue(255);
  EXPECT_EQ(pls->windowOpacity(), 1.0);
  End();
  IniFile config(home.file("config.ini"));
  EXPECT_EQ(config.Read(config::main::kOpacity), 128);
  EXPECT_EQ(config.Read(config::eq::kOpacity), 200);
  EXPECT_EQ(config.Read(config::pls::kOpacity), 255);

  Start();
  EXPECT_NEAR(main->windowOpacity(), 128 / 255.0, 1e-3);
  EXPECT_NEAR(eq->windowOpacity(), 200 / 255.0, 1e-3);
  Open();
  EXPECT_EQ(Slider(0)->value(), 128);
  EXPECT_EQ(Slider(1)->value(), 200);
  EXPECT_EQ(Slider(2)->value(), 255);
}

TEST_F(TransparencyTest, AValueBelowTheRangeWrittenByHandStaysOnTheWindow) {
  home.write("config.ini", "[main]\r\ntrs=5\r\n[eq]\r\ntrs=300\r\n");
  Start();
  EXPECT_NEAR(main->windowOpacity(), 5 / 255.0, 1e-3);
  EXPECT_NEAR(eq->windowOpacity(), 44 / 255.0, 1e-3);  // the low 8 bits of 300
  Open();
  EXPECT_EQ(Slider(0)->value(), 10);  // shown at the slider's end, not applied
  EXPECT_NEAR(main->windowOpacity(), 5 / 255.0, 1e-3);
  // Offscreen there is no X server to ask about a compositor: no note.
  EXPECT_FALSE(app.Windows().transparency->ControlsForTest().noCompositorNote->isVisible());
}

}  // namespace
}  // namespace orve::test
