#include "settings/EncoderParams.h"

#include "settings/ConfigKeys.h"
#include "settings/IniFile.h"
#include "settings/StoredValues.h"

namespace orve {

namespace ck = config;

EncoderParams EncoderParams::Read(StoredValues& values) {
  EncoderParams p;
  p.Ogg.UseBitrate = values.Read(ck::ogg::kMode) == 0 ? 1 : 0;
  p.Ogg.Quality = values.Read(ck::ogg::kQuality);
  p.Ogg.Bitrate = values.Read(ck::ogg::kBitRate);
  p.Mp3.UseBitrate = values.Read(ck::mp3::kMode) == 0 ? 1 : 0;
  p.Mp3.Quality = values.Read(ck::mp3::kQuality);
  p.Mp3.Bitrate = values.Read(ck::mp3::kBitRate);
  p.Mp3.Priority = values.Read(ck::mp3::kPriority);
  p.Aac.Quality = values.Read(ck::aac::kQuality);
  return p;
}

void EncoderParams::Write(IniFile& config) const {
  config.Write(ck::ogg::kMode, Ogg.UseBitrate ? 0 : 1);
  config.Write(ck::ogg::kQuality, Ogg.Quality);
  config.Write(ck::ogg::kBitRate, Ogg.Bitrate);
  config.Write(ck::mp3::kMode, Mp3.UseBitrate ? 0 : 1);
  config.Write(ck::mp3::kQuality, Mp3.Quality);
  config.Write(ck::mp3::kBitRate, Mp3.Bitrate);
  config.Write(ck::mp3::kPriority, Mp3.Priority);
  config.Write(ck::aac::kQuality, Aac.Quality);
}

namespace encoder_items {
namespace {
QStringList Numbers(std::initializer_list<int> values) {
  QStringList items;
  for (int v : values) items << QString::number(v);
  return items;
}
QStringList Range(int first, int last) {
  QStringList items;
  for (int v = first; v <= last; ++v) items << QString::number(v);
  return items;
}
}  // namespace

QStringList Mp3Modes() { return {QStringLiteral("CBR"), QStringLiteral("VBR")}; }
QStringList Mp3BitRates() { return Numbers({32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}); }
QStringList Mp3Qualities() { return Range(0, 9); }
QStringList Mp3Priorities() { return Range(0, 4); }
QStringList OggModes() { return {QStringLiteral("ABR"), QStringLiteral("VBR")}; }
QStringList OggBitRates() { return Numbers({48, 64, 80, 96, 112, 128, 160, 192, 256, 320}); }
QStringList OggQualities() { return Range(1, 10); }
QStringList AacQualities() { return Numbers({10, 50, 100, 150, 200, 250, 300, 350, 400, 450, 500}); }
}  // namespace encoder_items

}  // namespace orve
