#pragma once
// One conversion of a playlist entry into the destination folder: decoded
// to WAV on a worker thread, then, for MP3, Ogg Vorbis and AAC, encoded by
// the encoder program in a working folder of its own (so two conversions
// never share "1.wav"), and moved into place under the entry's base name.
// An older file of that name is replaced only by a complete one; a failure
// or a cancel leaves nothing behind. Progress and the outcome are reported
// by signals on the UI thread; the UI never waits for the work.

#include <QObject>
#include <QProcess>
#include <atomic>
#include <memory>
#include <thread>

#include "audio/AudioLibrary.h"
#include "audio/WavExport.h"
#include "convert/EncoderCommand.h"
#include "settings/EncoderParams.h"

class QTemporaryDir;
class QTimer;

namespace orve {

struct ConversionRequest {
  QString source;  // the entry's path
  ConvertFormat format = ConvertFormat::kWave;
  QString destFolder;  // ends with "/"
  EncoderParams encoders;
  QString codecsFolder;       // AppDir + "Decode/codecs/": the user's encoders, the working folders
  QString ownProgramsFolder;  // where orve-aacenc lies
};

class ConversionJob : public QObject {
  Q_OBJECT
 public:
  // Share of the progress given to decoding when an encoder follows.
  static constexpr int kDecodeShare = 10;

  explicit ConversionJob(ConversionRequest request, QObject* parent = nullptr);
  // A running conversion is stopped: the worker is told to stop and joined,
  // the encoder killed, the working folder and partial output removed.
  ~ConversionJob() override;

  void Start();
  const QString& Name() const { return name_; }  // the output's base name
  QString OutputPath() const;
  ConvertFormat Format() const { return request_.format; }
  int Percent() const { return percent_; }
  // The encoder's full path and arguments (empty until it starts).
  const QString& EncoderPath() const { return encoderPath_; }
  const EncoderRun& Run() const { return run_; }

 signals:
  void Progress(int percent);
  // `failure` is empty on success, else the text for the user.
  void Finished(const QString& failure);

 private:
  void Decode(const std::string& wavPath, bool readTags);  // on the worker
  void Decoded(const audio::WavExportResult& result, const audio::Tags& tags);
  void StartEncoder(const audio::Tags& tags);
  void EncoderEnded(int exitCode, QProcess::ExitStatus status);
  void Poll();
  int EncoderInputPercent();
  void SetPercent(int percent);
  void Fail(const QString& reason);
  void End(const QString& failure);

  const ConversionRequest request_;
  const QString name_;
  std::thread worker_;
  std::atomic<bool> cancel_{false};
  std::atomic<int> decodePercent_{0};
  QTimer* pollTimer_;
  QProcess* process_ = nullptr;
  std::unique_ptr<QTemporaryDir> work_;
  QString encoderPath_;
  EncoderRun run_;
  QByteArray encoderErrors_;  // the end of what the encoder wrote to stderr
  qint64 inputBytes_ = 0;
  int inputFd_ = -1;          // the encoder's descriptor of "1.wav", once found
  int percent_ = -1;
  bool ended_ = false;
};

}  // namespace orve
