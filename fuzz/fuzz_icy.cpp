// Any bytes as an ICY metadata block ("StreamTitle='...';StreamUrl='...';").
// FFmpeg's http protocol takes the block out of the stream and hands it over
// as a C string; from there the network stream makes it UTF-8 (Windows-1251
// when it is not UTF-8) and the player cuts the title out of it. The text
// is always UTF-8, the title is the text after "StreamTitle='" up to the
// field's end, and a title written into a block comes back out of it.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "base/TextCodec.h"
#include "engine/StreamTitle.h"

using orve::fuzz::Check;

namespace {

const QString kField = QStringLiteral("StreamTitle='");

void CheckCut(const QString& metadata) {
  const QString title = orve::CutStreamTitle(metadata);
  const qsizetype open = metadata.indexOf(kField);
  if (open < 0) {
    Check(title.isEmpty());
    return;
  }
  Check(metadata.mid(open + kField.size()).startsWith(title));
  Check(!title.contains(QLatin1String("';")));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = orve::fuzz::Bytes(data, size);
  const std::string packet(bytes.substr(0, bytes.find('\0')));

  const std::string utf8 = orve::LegacyTextToUtf8(packet);
  Check(orve::IsValidUtf8(utf8));
  if (orve::IsValidUtf8(packet)) {
    Check(utf8 == packet);
  } else {
    // Windows-1251 has one character, all in the BMP, for every byte.
    Check(QString::fromStdString(utf8).size() == static_cast<qsizetype>(packet.size()));
  }
  const QString metadata = QString::fromStdString(utf8);
  Check(metadata.toStdString() == utf8);
  CheckCut(metadata);

  // A title put into a block as a server writes it, with and without the
  // closing semicolon, is cut out unchanged; only "';" cannot be in it.
  QString title = metadata;
  while (title.contains(QLatin1String("';"))) title.replace(QLatin1String("';"), QLatin1String("'"));
  const QString block = kField + title + QLatin1String("';StreamUrl='") + metadata + QLatin1String("';");
  Check(orve::CutStreamTitle(block) == title);
  Check(orve::CutStreamTitle(kField + title + u'\'') == title);
  CheckCut(block);
  return 0;
}
