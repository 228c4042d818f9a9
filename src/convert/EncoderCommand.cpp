#include "convert/EncoderCommand.h"

#include <array>

namespace orve {
namespace {

void AddTag(QStringList& arguments, const char* option, const std::string& tag) {
  if (tag.empty()) return;
  arguments << QString::fromLatin1(option) << TagValue(tag);
}

}  // namespace

QString FormatCaption(ConvertFormat format) {
  static const std::array<const char*, kConvertFormats> captions{"Wave", "Ogg", "Mp3", "Aac"};
  return QString::fromLatin1(captions[static_cast<size_t>(format)]);
}

QString FormatName(ConvertFormat format) {
  static const std::array<const char*, kConvertFormats> names{"WAV", "Ogg Vorbis", "MP3", "AAC"};
  return QString::fromLatin1(names[static_cast<size_t>(format)]);
}

QString Extension(ConvertFormat format) {
  static const std::array<const char*, kConvertFormats> extensions{".wav", ".ogg", ".mp3", ".aac"};
  return QString::fromLatin1(extensions[static_cast<size_t>(format)]);
}

QString TagValue(const std::string& tag) {
  const QString value = QString::fromStdString(tag);
  // Counted in characters as the user sees them: a surrogate pair is one.
  qsizetype end = 0;
  for (int n = 0; n < kMaxTagLength && end < value.size(); ++n) {
    end += value.at(end).isHighSurrogate() && end + 1 < value.size() ? 2 : 1;
  }
  return value.left(end);
}

int NicenessForPriority(const QString& priority) {
  bool ok = false;
  const int p = priority.trimmed().toInt(&ok);
  if (!ok || p >= 2) return 0;  // normal and above: as the player itself
  return p <= 0 ? 19 : 10;      // idle, below normal
}

EncoderRun Mp3Run(const TMP3Param& params, const audio::Tags& tags) {
  EncoderRun run{QStringLiteral("lame"), {}, QStringLiteral("test.mp3"), NicenessForPriority(params.Priority)};
  QStringList& a = run.arguments;
  a << QStringLiteral("-m") << QStringLiteral("s") << QStringLiteral("--silent") << QStringLiteral("-q")
    << QStringLiteral("2");
  if (params.UseBitrate == 1) {
    a << QStringLiteral("-b") << params.Bitrate;
  } else {
    a << QStringLiteral("-V") << params.Quality;
  }
  a << QStringLiteral("-k");
  AddTag(a, "--tt", tags.title);
  AddTag(a, "--ta", tags.artist);
  // "--priority" exists only in lame for Windows; here it is the niceness.
  a << QStringLiteral("--id3v2-only") << QString::fromLatin1(kEncoderInput) << run.outputFile;
  return run;
}

EncoderRun OggRun(const TOGGParam& params, const audio::Tags& tags) {
  EncoderRun run{QStringLiteral("oggenc"), {}, QStringLiteral("temp.ogg"), 0};
  QStringList& a = run.arguments;
  a << QStringLiteral("-Q");
  if (params.UseBitrate == 1) {
    a << QStringLiteral("-b") << params.Bitrate;
  } else {
    a << QStringLiteral("-q") << params.Quality;
  }
  a << QStringLiteral("-o") << run.outputFile;
  AddTag(a, "-N", tags.track);
  AddTag(a, "-t", tags.title);
  AddTag(a, "-l", tags.album);
  AddTag(a, "-a", tags.artist);
  AddTag(a, "-G", tags.genre);
  a << QString::fromLatin1(kEncoderInput);
  return run;
}

EncoderRun AacRun(const TAACParam& params) {
  return {QStringLiteral("faac"),
          {QStringLiteral("-q"), params.Quality, QStringLiteral("-o"), QStringLiteral("test.aac"),
           QString::fromLatin1(kEncoderInput)},
          QStringLiteral("test.aac"),
          0};
}

EncoderRun RunFor(ConvertFormat format, const EncoderParams& params, const audio::Tags& tags) {
  switch (format) {
    case ConvertFormat::kMp3: return Mp3Run(params.Mp3, tags);
    case ConvertFormat::kOgg: return OggRun(params.Ogg, tags);
    case ConvertFormat::kAac: return AacRun(params.Aac);
    case ConvertFormat::kWave: break;
  }
  return {};  // WAV needs no encoder
}

}  // namespace orve
