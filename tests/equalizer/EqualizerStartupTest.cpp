// The equalizer window's start-up from config.ini, what it leaves for the
// other windows, and the record it writes at exit.
#include <QAction>

#include "EqualizerFixture.h"
#include "settings/IniFile.h"

namespace orve::test {
namespace {

const QByteArray kStoredRun =
    "[tech]\r\nvol=-5\r\n"
    "[vis]\r\nind=3\r\n"
    "[main]\r\nvis=1\r\ntrs=200\r\n"
    "[pls]\r\ntrs=255\r\n"
    "[eq]\r\nx=40\r\ny=50\r\nstatus=1\r\nsr=22050\r\n1=40\r\n2=20\r\n16=3\r\n"
    "flanger=1\r\nreverb=1\r\ntrs=128\r\n";

TEST_F(EqualizerTest, LayoutHintsAndMenu) {
  Build();
  EXPECT_EQ(form->size(), QSize(304, 150));
  EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(Ui().titleCaption->text(), "Эквалайзер");
  EXPECT_EQ(Ui().closeButton->text(), "X");
  EXPECT_EQ(Ui().closeButton->geometry(), QRect(285, 0, 16, 16));
  EXPECT_EQ(Ui().panel->size(), QSize(288, 120));
  for (int k = 1; k <= 16; ++k) {
    EXPECT_EQ(Ui().Band(k)->size(), QSize(11, 73)) << k;
    EXPECT_EQ(Ui().Band(k)->toolTip(), QString::fromLatin1(EqBandTable[k - 1].hint)) << k;
    EXPECT_EQ(Ui().Band(k)->maximum(), 30) << k;
    if (k > 1) {
      EXPECT_EQ(Ui().Band(k)->x() - Ui().Band(k - 1)->x(), 15) << k;
    }
  }
  // Position 30 is at the top, beside "+15".
  EXPECT_LT(Ui().maxGainLabel->y(), Ui().minGainLabel->y());
  Ui().Band(1)->setValue(30);
  EXPECT_LT(Ui().Band(1)->ThumbRect().center().y(), Ui().Band(1)->height() / 2.0);
  const QStringList letters{"Э", "Ф", "X", "К", "Г", "3DВ", "В"};
  const QStringList hints{"Echo", "Flanger", "Chorus", "Compressor", "Gargle", "3D Reverb", "Reverb"};
  for (int i = 0; i < 7; ++i) {
    const auto e = static_cast<Effect>(i);
    EXPECT_EQ(Ui().Letter(e)->text(), letters[i]);
    EXPECT_EQ(Ui().Switch(e)->toolTip(), hints[i]);
    EXPECT_EQ(Ui().Switch(e)->size(), QSize(12, 25));
    EXPECT_EQ(Ui().Switch(e)->maximum(), 1);
    // Under its letter, left to right.
    EXPECT_GE(Ui().Switch(e)->x(), Ui().Letter(e)->x()) << i;
    EXPECT_LE(Ui().Switch(e)->geometry().right(), Ui().Letter(e)->geometry().right()) << i;
    EXPECT_GT(Ui().Switch(e)->y(), Ui().Letter(e)->y()) << i;
    if (i > 0) {
      EXPECT_GT(Ui().Switch(e)->x(), Ui().effectSwitches[static_cast<size_t>(i - 1)]->x()) << i;
    }
  }
  EXPECT_EQ(Ui().volumeCaption->text(), "Громкость");
  EXPECT_EQ(Ui().sampleRateCaption->text(), "SR");
  EXPECT_EQ(Ui().volumeSlider->size(), QSize(73, 15));
  EXPECT_EQ(Ui().sampleRateSlider->size(), QSize(73, 15));
  EXPECT_EQ(Ui().sampleRateSlider->maximum(), 100000);
  EXPECT_EQ(Ui().sampleRateSlider->TickStep(), 1000);
  EXPECT_EQ(Ui().sampleRateSlider->toolTip(), "Sample Rate");
  QStringList items;
  for (QAction* a : Ui().presetMenu->actions()) items.append(a->text());
  EXPECT_EQ(items, QStringList({"Rock", "Pop", "Techno", "Dance"}));
  EXPECT_EQ(Ui().panel->contextMenuPolicy(), Qt::CustomContextMenu);
}

TEST_F(EqualizerTest, StartUpRestoresEveryControlAndClampsStoredValues) {
  Build(kStoredRun);
  QSignalSpy shown(form.get(), &EqualizerWindow::EqualizerShownAtStartup);
  QSignalSpy round(form.get(), &EqualizerWindow::RoundButtonsRequested);
  QSignalSpy opacities(form.get(), &EqualizerWindow::OpacitiesRequested);
  QSignalSpy volumeText(form.get(), &EqualizerWindow::VolumeTextChanged);
  form->RestoreFromConfig();

  EXPECT_EQ(Ui().volumeSlider->value(), 0);  // -5 clamped
  EXPECT_EQ(Ui().sampleRateSlider->value(), 22050);
  EXPECT_EQ(Ui().Band(1)->value(), 30);   // 40 clamped
  EXPECT_EQ(Ui().Band(2)->value(), 20);
  EXPECT_EQ(Ui().Band(16)->value(), 3);
  for (int k = 3; k <= 15; ++k) EXPECT_EQ(Ui().Band(k)->value(), 15) << k;
  EXPECT_EQ(state.VisMode, 3);
  EXPECT_TRUE(state.EqualizerShown);
  EXPECT_TRUE(form->isVisible());
  ASSERT_EQ(shown.size(), 1);
  EXPECT_TRUE(shown.at(0).at(0).toBool());
  EXPECT_EQ(round.size(), 1);
  ASSERT_EQ(opacities.size(), 1);
  EXPECT_EQ(opacities.at(0), QVariantList({200, 255, 128}));
  EXPECT_NEAR(form->windowOpacity(), 128 / 255.0, 0.01);
  ASSERT_FALSE(volumeText.isEmpty());
  EXPECT_EQ(volumeText.last().at(0).toString(), "Грм:0%");

  for (int i = 0; i < 7; ++i) {
    const auto e = static_cast<Effect>(i);
    const bool on = e == Effect::Flanger || e == Effect::Reverb;
    EXPECT_EQ(Ui().Switch(e)->value(), on ? 1 : 0) << i;
    EXPECT_EQ(TextColour(Ui().Letter(e)), Theme(on ? ColourRole::LabelText : ColourRole::Panel)) << i;
    EXPECT_EQ(Ui().Switch(e)->TrackColour(), Theme(on ? ColourRole::Highlight : ColourRole::LabelText)) << i;
    // Nothing plays: the switched-off effects hold no handle.
    if (!on) {
      EXPECT_EQ(state.Engine->EffectHandles[static_cast<size_t>(i)], -1) << i;
    }
  }

  // The first entry started gets the stored bands, volume, rate and effects.
  Open();
  StartEffects();
  EXPECT_EQ(Gain(1), 15);
  EXPECT_EQ(Gain(16), -12);
  EXPECT_TRUE(OnChannel(Effect::Flanger));
  EXPECT_TRUE(OnChannel(Effect::Reverb));
  EXPECT_FALSE(OnChannel(Effect::Echo));
}

TEST_F(EqualizerTest, AMissingFileGivesTheDefaults) {
  Build();
  QSignalSpy shown(form.get(), &EqualizerWindow::EqualizerShownAtStartup);
  QSignalSpy round(form.get(), &EqualizerWindow::RoundButtonsRequested);
  QSignalSpy opacities(form.get(), &EqualizerWindow::OpacitiesRequested);
  QSignalSpy volumeText(form.get(), &EqualizerWindow::VolumeTextChanged);
  form->RestoreFromConfig();
  EXPECT_EQ(Ui().volumeSlider->value(), 100);
  EXPECT_EQ(Ui().sampleRateSlider->value(), 0);
  for (int k = 1; k <= 16; ++k) EXPECT_EQ(Ui().Band(k)->value(), 15) << k;
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Ui().effectSwitches[static_cast<size_t>(i)]->value(), 0) << i;
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(state.EqualizerShown);
  ASSERT_EQ(shown.size(), 1);
  EXPECT_FALSE(shown.at(0).at(0).toBool());
  EXPECT_EQ(round.size(), 0);
  ASSERT_EQ(opacities.size(), 1);
  EXPECT_EQ(opacities.at(0), QVariantList({255, 255, 255}));
  EXPECT_EQ(form->windowOpacity(), 1.0);
  ASSERT_EQ(volumeText.size(), 1);
  EXPECT_EQ(volumeText.at(0).at(0).toString(), "Грм:100%");
  EXPECT_EQ(TextColour(Ui().maxGainLabel), Theme(ColourRole::LabelText));
  EXPECT_EQ(Ui().panel->palette().color(QPalette::Window), Theme(ColourRole::Panel));
  EXPECT_EQ(Ui().Band(4)->ThumbColour(), Theme(ColourRole::Thumb));
  EXPECT_EQ(Ui().volumeSlider->ThumbLength(), 10);
  EXPECT_EQ(Ui().volumeSlider->ThumbThickness(), 28);
  EXPECT_EQ(Ui().Band(4)->ThumbLength(), 8);
  EXPECT_EQ(Ui().Band(4)->ThumbThickness(), 30);
}

// The lines of one section of the file, in file order.
QStringList SectionLines(const QString& fileName, const QString& section) {
  const QStringList lines = QString::fromLatin1(ReadAll(fileName)).split("\r\n", Qt::SkipEmptyParts);
  QStringList out;
  bool inside = false;
  for (const QString& line : lines) {
    if (line.startsWith('[')) {
      inside = line == '[' + section + ']';
      continue;
    }
    if (inside) out.append(line);
  }
  return out;
}

TEST_F(EqualizerTest, ExitWritesEveryKeyInItsOrder) {
  home.write("config.ini", "[tech]\r\npls=1\r\n");
  Create();
  form->move(12, 34);
  form->ApplyPreset(equalizer::kPop);
  Ui().volumeSlider->setValue(40);
  Ui().sampleRateSlider->setValue(22050);
  Ui().Switch(Effect::Echo)->setValue(1);
  Ui().Switch(Effect::Reverb3d)->setValue(1);
  state.EqualizerShown = true;
  {
    IniFile config(home.file("config.ini"));
    config.SetDeferredWrites(true);
    form->SaveToConfig(config);
    config.UpdateFile();
  }

  const QString file = home.file("config.ini");
  EXPECT_EQ(SectionLines(file, "tech"), QStringList({"pls=1", "vol=40"}));
  QStringList expected{"x=12", "y=34"};
  const int pop[16] = {16, 16, 17, 17, 17, 18, 17, 15, 14, 14, 13, 13, 13, 14, 15, 15};
  for (int k = 1; k <= 16; ++k) expected.append(QStringLiteral("%1=%2").arg(k).arg(pop[k - 1]));
  expected << "sr=22050" << "flanger=0" << "echo=1" << "chorus=0" << "compressor=0" << "gargle=0" << "reverb3d=1"
           << "reverb=0" << "status=1";
  EXPECT_EQ(SectionLines(file, "eq"), expected);

  // A second run reads back what the first wrote.
  form.reset();
  state.Engine->Shutdown();
  state.Engine = std::make_unique<TCore>();
  Create();
  EXPECT_EQ(Ui().volumeSlider->value(), 40);
  EXPECT_EQ(Ui().Band(11)->value(), 13);
  EXPECT_EQ(Ui().Switch(Effect::Reverb3d)->value(), 1);
}

// The window as drawn; ORVE_SCREENSHOT_DIR keeps the picture for judging the look.
TEST_F(EqualizerTest, TheWindowIsDrawnInTheSchemesColours) {
  Create(kStoredRun);
  form->ApplyPreset(equalizer::kRock);
  Ui().volumeSlider->setValue(80);
  Ui().sampleRateSlider->setValue(44100);
  const QImage image = form->grab().toImage();
  if (const QString dir = qEnvironmentVariable("ORVE_SCREENSHOT_DIR"); !dir.isEmpty()) {
    image.save(dir + "/equalizer.png");
  }
  ASSERT_EQ(image.size(), QSize(304, 150));
  EXPECT_EQ(image.pixelColor(8 + 2, 22 + 110), Theme(ColourRole::Panel));  // the panel, left of the switches
  EXPECT_EQ(image.pixelColor(0, 0), Theme(ColourRole::TitleStart));             // the title strip's frame
}

}  // namespace
}  // namespace orve::test
