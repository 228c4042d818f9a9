// bench_convert_one FORMAT SOURCE DEST/: one conversion as the player runs
// it (FORMAT: Wave, Ogg, Mp3 or Aac), in a process of its own, so that
// bench_convert can time it whole against ffmpeg, lame and oggenc.
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

#include "convert/ConversionJob.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: bench_convert_one Wave|Ogg|Mp3|Aac SOURCE DEST/\n");
    return 2;
  }
  int format = 0;
  while (format < orve::kConvertFormats &&
         orve::FormatCaption(static_cast<orve::ConvertFormat>(format)) != QString::fromLocal8Bit(argv[1])) {
    ++format;
  }
  if (format == orve::kConvertFormats) return 2;
  orve::ConversionRequest r;
  r.source = QString::fromLocal8Bit(argv[2]);
  r.format = static_cast<orve::ConvertFormat>(format);
  r.destFolder = QString::fromLocal8Bit(argv[3]);
  r.codecsFolder = r.destFolder + QStringLiteral("Decode/codecs/");
  r.ownProgramsFolder = QStringLiteral(ORVE_PROGRAMS_DIR);
  orve::ConversionJob job(r);
  int status = 1;
  QObject::connect(&job, &orve::ConversionJob::Finished, [&](const QString& failure) {
    if (!failure.isEmpty()) std::fprintf(stderr, "%s\n", failure.toUtf8().constData());
    status = failure.isEmpty() ? 0 : 1;
    QCoreApplication::quit();
  });
  QTimer::singleShot(0, &job, &orve::ConversionJob::Start);
  QCoreApplication::exec();
  return status;
}
