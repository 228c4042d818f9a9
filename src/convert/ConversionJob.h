#pragma once
// One conversion of a playlist entry into the destination folder, under
// the entry's base name. WAV: decoded on a worker thread straight into the
// file. MP3, Ogg Vorbis and AAC: the encoder program runs in a working
// folder of its own (so two conversions never share "1.wav") and reads
// "1.wav" there, a named pipe the worker streams the decoded WAV into, so
// decoding and encoding overlap; its output is then moved into place.
// An older file of that name is replaced only by a complete one; a failure
// or a cancel leaves nothing behind. Progress and the outcome are reported
// by signals on the UI thread; the UI never waits for the work.

#include <QObject>
#include <QProcess>
#include <atomic>
#include <memory>
#include <optional>
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
  explicit ConversionJob(ConversionRequest request, QObject* parent = nullptr);
  // A running conversion is stopped: the worker is told to stop and joined,
  // the encoder killed, the working folder and partial output removed.
  ~ConversionJob() override;

  void Start();
  const QString& Name() const { return name_; }  // the output's base name
  QString OutputPath() const;
  ConvertFormat Format() const { return request_.format; }
  int Percent() const { return percent_; }

 signals:
  void Progress(int percent);
  // `failure` is empty on success, else the text for the user.
  void Finished(const QString& failure);

 private:
  // On the worker.
  void Decode(const std::string& wavPath);
  void Stream(const std::string& fifoPath, bool readTags);
  // On the UI thread.
  void Decoded(const audio::WavExportResult& result);
  void StartEncoder(const audio::Tags& tags);
  void EncoderEnded(int exitCode, QProcess::ExitStatus status);
  void EncodingDone();  // once both the worker and the encoder have ended
  void Poll();
  void SetPercent(int percent);
  void Fail(const QString& reason);
  void End(const QString& failure);
  // The worker stopped and joined, the encoder killed: on the end and on destruction.
  void StopWork();

  const ConversionRequest request_;
  const QString name_;
  std::thread worker_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> encoderGone_{false};  // the encoder has ended: nobody reads the pipe
  std::atomic<int> decodePercent_{0};
  QTimer* pollTimer_;
  QProcess* process_ = nullptr;
  std::unique_ptr<QTemporaryDir> work_;
  QString encoderPath_;
  EncoderRun run_;
  QByteArray encoderErrors_;  // the end of what the encoder wrote to stderr
  std::optional<audio::WavExportResult> decoded_;  // the worker's outcome, once in
  std::optional<std::pair<int, QProcess::ExitStatus>> encoderExit_;
  int percent_ = -1;
  bool ended_ = false;
};

}  // namespace orve
