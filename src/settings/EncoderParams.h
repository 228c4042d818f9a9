#pragma once
// The encoder choices of conversions (sections mp3, ogg and aac of
// config.ini), kept as the records the encoders' command lines are built
// from. The values are texts of the item lists below, handed on as they are.

#include <QString>
#include <QStringList>

namespace orve {

class IniFile;
class StoredValues;

struct TMP3Param {
  quint8 UseBitrate = 1;  // 1: constant bit rate; 0: variable, at the quality
  QString Bitrate = QStringLiteral("128");
  QString Quality = QStringLiteral("4");
  QString Priority = QStringLiteral("2");
};

struct TOGGParam {
  quint8 UseBitrate = 1;  // 1: average bit rate; 0: the quality
  QString Bitrate = QStringLiteral("128");
  QString Quality = QStringLiteral("3");
};

struct TAACParam {
  QString Quality = QStringLiteral("100");
};

struct EncoderParams {
  TMP3Param Mp3;
  TOGGParam Ogg;
  TAACParam Aac;

  // From config.ini (or the settings window's lists), with every key's
  // default; a stored mode 0 means the bit rate is used.
  static EncoderParams Read(StoredValues& values);
  // To config.ini, as the settings window's Save stores them.
  void Write(IniFile& config) const;
};

// The items the settings window offers for each choice.
namespace encoder_items {
QStringList Mp3Modes();      // "CBR", "VBR"
QStringList Mp3BitRates();   // "32" .. "320"
QStringList Mp3Qualities();  // "0" .. "9"
QStringList Mp3Priorities(); // "0" .. "4"
QStringList OggModes();      // "ABR", "VBR"
QStringList OggBitRates();   // "48" .. "320"
QStringList OggQualities();  // "1" .. "10"
QStringList AacQualities();  // "10" .. "500"
}  // namespace encoder_items

}  // namespace orve
