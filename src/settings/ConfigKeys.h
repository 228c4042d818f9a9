#pragma once
// Every section and key of config.ini, with the default its readers pass.
// Where two readers pass different defaults, both are here, named after the
// reader ("Window" = the settings window's controls).

namespace orve::config {

struct TextKey {
  const char* section;
  const char* key;
  const char* def;
};
struct IntKey {
  const char* section;
  const char* key;
  int def;
};
struct BoolKey {
  const char* section;
  const char* key;
  bool def;
};
struct RealKey {
  const char* section;
  const char* key;
  double def;
};

inline constexpr char kFileName[] = "config.ini";

namespace themes {
inline constexpr TextKey kName{"themes", "name", "blue"};
}

namespace main {
inline constexpr IntKey kX{"main", "x", 0};
inline constexpr IntKey kY{"main", "y", 0};
inline constexpr IntKey kOpacity{"main", "trs", 255};
inline constexpr BoolKey kRoundButtons{"main", "vis", false};
inline constexpr BoolKey kDynamicAdd{"main", "dinadd", false};
}  // namespace main

namespace pls {
inline constexpr IntKey kX{"pls", "x", 0};
inline constexpr IntKey kY{"pls", "y", 0};
inline constexpr IntKey kWidth{"pls", "xd", 0};
inline constexpr IntKey kHeight{"pls", "yd", 0};
inline constexpr IntKey kOpacity{"pls", "trs", 255};
}  // namespace pls

namespace eq {
inline constexpr char kSection[] = "eq";
inline constexpr IntKey kX{"eq", "x", 0};
inline constexpr IntKey kY{"eq", "y", 0};
inline constexpr BoolKey kShown{"eq", "status", false};
inline constexpr int kBandDefault = 15;  // keys "1" .. "16", positions 0..30
inline constexpr int kBandCount = 16;
inline constexpr IntKey kSampleRate{"eq", "sr", 0};
inline constexpr IntKey kEcho{"eq", "echo", 0};
inline constexpr IntKey kFlanger{"eq", "flanger", 0};
inline constexpr IntKey kChorus{"eq", "chorus", 0};
inline constexpr IntKey kCompressor{"eq", "compressor", 0};
inline constexpr IntKey kGargle{"eq", "gargle", 0};
inline constexpr IntKey kReverb3d{"eq", "reverb3d", 0};
inline constexpr IntKey kReverb{"eq", "reverb", 0};
inline constexpr IntKey kOpacity{"eq", "trs", 255};
}  // namespace eq

namespace vis {
inline constexpr IntKey kMode{"vis", "ind", 0};
}

namespace tech {
inline constexpr IntKey kVolume{"tech", "vol", 100};
inline constexpr BoolKey kPlaylistShown{"tech", "pls", false};
inline constexpr IntKey kRepeat{"tech", "rpt", 0};  // RepeatModes (settings/RepeatMode.h)
}  // namespace tech

namespace core {
inline constexpr IntKey kBuffer{"core", "buff", 1000};
inline constexpr BoolKey kSplash{"core", "splash", true};
}  // namespace core

namespace proxy {
inline constexpr BoolKey kOn{"proxy", "on", false};
// An address on the local private network, port 80.
inline constexpr TextKey kHttp{"proxy", "http", "192.168.0.1:80"};
}  // namespace proxy

namespace cm {
inline constexpr BoolKey kOn{"cm", "status", false};
inline constexpr IntKey kIndex{"cm", "id", -1};
inline constexpr IntKey kPosition{"cm", "pos", 0};
}  // namespace cm

// The effect sections. A missing key reads as the effect's own standard
// default in the stored units, the same for every reader, so an effect
// switched on untouched is heard as its designers meant, and the settings
// window shows what the effect really uses.
namespace echo {
inline constexpr IntKey kDryWet{"echo", "drywet", 50};
inline constexpr IntKey kFeedback{"echo", "feedback", 50};
inline constexpr IntKey kLeft{"echo", "Left", 500};
inline constexpr IntKey kRight{"echo", "Right", 500};
inline constexpr BoolKey kPan{"echo", "pan", false};
}  // namespace echo

// Flanger and chorus share their key names; their defaults differ.
struct ModulationKeys {
  IntKey dryWet;
  IntKey depth;
  IntKey feedback;
  RealKey frequency;  // Hz; a real, so the standard 0.25 and 1.1 Hz can be kept
  RealKey delay;      // hundredths of a millisecond
  IntKey phase;       // 0..4
};
inline constexpr ModulationKeys kFlanger{{"flanger", "drywet", 50},    {"flanger", "depth", 100},
                                         {"flanger", "feedback", -50}, {"flanger", "frequency", 0.25},
                                         {"flanger", "delay", 200},    {"flanger", "phase", 2}};
inline constexpr ModulationKeys kChorus{{"chorus", "drywet", 50},    {"chorus", "depth", 10},
                                        {"chorus", "feedback", 25},  {"chorus", "frequency", 1.1},
                                        {"chorus", "delay", 1600},   {"chorus", "phase", 3}};

namespace compressor {
inline constexpr IntKey kGain{"compressor", "gain", 0};
inline constexpr IntKey kAttack{"compressor", "attack", 1000};  // hundredths of a millisecond
inline constexpr IntKey kRelease{"compressor", "release", 200};
inline constexpr IntKey kThreshold{"compressor", "threshold", -20};
inline constexpr IntKey kRatio{"compressor", "ratio", 3};
inline constexpr IntKey kPredelay{"compressor", "predelay", 4};
}  // namespace compressor

namespace gargle {
inline constexpr IntKey kRate{"gargle", "rate", 20};
}

namespace reverb3d {
inline constexpr IntKey kRoom{"reverb3d", "room", 9000};  // millibels + 10000
inline constexpr IntKey kRoomHF{"reverb3d", "roomHF", 9900};
inline constexpr IntKey kRoomRolloff{"reverb3d", "roomRolloffFactor", 0};
inline constexpr IntKey kDecayTime{"reverb3d", "decayTime", 149};
inline constexpr IntKey kDecayHFRatio{"reverb3d", "decayHFRatio", 83};
inline constexpr IntKey kReflections{"reverb3d", "reflections", -2602};
inline constexpr IntKey kReflectionsDelay{"reverb3d", "reflectionsDelay", 7};
inline constexpr IntKey kReverb{"reverb3d", "reverb", 200};
inline constexpr IntKey kReverbDelay{"reverb3d", "reverbDelay", 11};
inline constexpr IntKey kDiffusion{"reverb3d", "diffusion", 100};
inline constexpr IntKey kDensity{"reverb3d", "density", 100};
inline constexpr IntKey kHFReference{"reverb3d", "hFReference", 5000};
}  // namespace reverb3d

namespace reverb {
inline constexpr IntKey kInGain{"reverb", "inGain", 96};  // dB + 96
inline constexpr IntKey kMix{"reverb", "reverbMix", 96};  // dB + 96
inline constexpr IntKey kTime{"reverb", "reverbTime", 1000000};
inline constexpr IntKey kHighFreqRatio{"reverb", "highFreqRTRatio", 1};
}  // namespace reverb

namespace ogg {
inline constexpr IntKey kMode{"ogg", "bm", 0};
inline constexpr TextKey kQuality{"ogg", "q", "3"};
inline constexpr TextKey kBitRate{"ogg", "bit", "128"};
}  // namespace ogg

namespace mp3 {
inline constexpr IntKey kMode{"mp3", "bm", 0};
inline constexpr TextKey kQuality{"mp3", "q", "4"};
inline constexpr TextKey kBitRate{"mp3", "bit", "128"};
inline constexpr TextKey kPriority{"mp3", "p", "2"};
}  // namespace mp3

namespace aac {
inline constexpr TextKey kQuality{"aac", "vbr", "100"};
}

namespace folder {
inline constexpr char kSection[] = "folder";
inline constexpr IntKey kCount{"folder", "count", 0};  // index of the last folder key
inline constexpr int kMaxFolders = 10;                 // keys "0" .. "9"
}  // namespace folder

}  // namespace orve::config
