#pragma once
// The formats a playlist entry converts to, and the argument lists of the
// three encoders: lame for MP3, oggenc for Ogg Vorbis, and for AAC faac or
// our own orve-aacenc, which takes faac's arguments. Every encoder reads
// "1.wav" and writes its output file, both in its working folder.
//
// Arguments are a list, never a command line: a tag is one argument
// whatever it holds (quotes, newlines, a leading "-").

#include <QString>
#include <QStringList>

#include "audio/AudioLibrary.h"
#include "settings/EncoderParams.h"

namespace orve {

// In the order of the "Конвертировать" sub-menus.
enum class ConvertFormat { kWave, kOgg, kMp3, kAac };
inline constexpr int kConvertFormats = 4;

QString FormatCaption(ConvertFormat format);  // "Wave", "Ogg", "Mp3", "Aac"
QString FormatName(ConvertFormat format);     // "WAV", "Ogg Vorbis", "MP3", "AAC"
QString Extension(ConvertFormat format);      // ".wav", ".ogg", ".mp3", ".aac"

inline constexpr char kEncoderInput[] = "1.wav";
// A tag's longest value: with the quotes a command line would add, 255.
inline constexpr int kMaxTagLength = 253;

struct EncoderRun {
  QString encoder;     // "lame", "oggenc" or "faac"
  QStringList arguments;
  QString outputFile;  // "test.mp3", "temp.ogg" or "test.aac"
  int niceness = 0;    // of the encoder process
};

EncoderRun Mp3Run(const TMP3Param& params, const audio::Tags& tags);
EncoderRun OggRun(const TOGGParam& params, const audio::Tags& tags);
EncoderRun AacRun(const TAACParam& params);
// The run for an encoded format (not kWave).
EncoderRun RunFor(ConvertFormat format, const EncoderParams& params, const audio::Tags& tags);

// A UTF-8 tag as an argument value, cut to kMaxTagLength characters.
QString TagValue(const std::string& tag);
// lame's priority 0..4 (idle .. high) as a niceness: the encoder may be
// made gentler than the player, never more urgent than it.
int NicenessForPriority(const QString& priority);

}  // namespace orve
