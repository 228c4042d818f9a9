#include "convert/ConversionJob.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "audio/Decoder.h"
#include "audio/TagReader.h"
#include "base/PartFile.h"
#include "convert/BaseName.h"
#include "convert/ConversionMessages.h"
#include "convert/EncoderLocator.h"

namespace orve {
namespace {

constexpr int kPollMs = 100;
constexpr qsizetype kKeptErrorBytes = 4096;
constexpr auto kOpenRetry = std::chrono::milliseconds(5);

// The last line the encoder wrote that says something.
QString LastLine(const QByteArray& text) {
  const QList<QByteArray> lines = text.split('\n');
  for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
    const QByteArray line = it->trimmed();
    if (!line.isEmpty()) return QString::fromUtf8(line);
  }
  return {};
}

bool SameFile(const QString& a, const QString& b) {
  const QFileInfo fa(a), fb(b);
  return fa.exists() && fb.exists() && fa.canonicalFilePath() == fb.canonicalFilePath();
}

audio::WavExportResult SourceFailure(std::string detail) { return {audio::WavExportError::kSource, std::move(detail), 0, 0}; }

}  // namespace

ConversionJob::ConversionJob(ConversionRequest request, QObject* parent)
    : QObject(parent), request_(std::move(request)), name_(BaseName(request_.source)), pollTimer_(new QTimer(this)) {
  pollTimer_->setInterval(kPollMs);
  connect(pollTimer_, &QTimer::timeout, this, &ConversionJob::Poll);
}

ConversionJob::~ConversionJob() { StopWork(); }

void ConversionJob::StopWork() {
  cancel_ = true;  // a worker still running stops at its next block
  // The encoder goes first: a worker writing into its pipe is then released.
  if (process_ != nullptr && process_->state() != QProcess::NotRunning) {
    process_->disconnect(this);
    process_->kill();
    process_->waitForFinished(3000);
  }
  encoderGone_ = true;
  if (worker_.joinable()) worker_.join();
}

QString ConversionJob::OutputPath() const { return request_.destFolder + name_ + Extension(request_.format); }

void ConversionJob::Start() {
  SetPercent(0);
  const QString output = OutputPath();
  if (!QFileInfo::exists(request_.source)) return Fail(QStringLiteral("исходный файл не найден"));
  if (SameFile(request_.source, output)) return Fail(QStringLiteral("файл назначения совпадает с исходным"));
  // A folder that cannot take the result is said at once, not after the work.
  if (::access(QFile::encodeName(request_.destFolder).constData(), W_OK | X_OK) != 0) {
    return Fail(WriteFailureReason(errno, request_.destFolder));
  }
  if (request_.format == ConvertFormat::kWave) {
    pollTimer_->start();
    worker_ = std::thread([this, path = QFile::encodeName(output).toStdString()] { Decode(path); });
    return;
  }
  run_ = RunFor(request_.format, request_.encoders, {});
  encoderPath_ = FindEncoder(run_.encoder, request_.codecsFolder, request_.ownProgramsFolder);
  if (encoderPath_.isEmpty()) {
    return Fail(MissingEncoderReason(run_.encoder));
  }
  QDir().mkpath(request_.codecsFolder);
  work_ = std::make_unique<QTemporaryDir>(request_.codecsFolder + QStringLiteral("work-XXXXXX"));
  if (!work_->isValid()) work_ = std::make_unique<QTemporaryDir>();  // the system's temporary folder
  if (!work_->isValid()) return Fail(WriteFailureReason(errno, request_.codecsFolder));
  const QByteArray fifo = QFile::encodeName(work_->filePath(QString::fromLatin1(kEncoderInput)));
  if (::mkfifo(fifo.constData(), 0600) != 0) return Fail(WriteFailureReason(errno, work_->path()));
  pollTimer_->start();
  worker_ = std::thread([this, path = fifo.toStdString()] { Stream(path, request_.format != ConvertFormat::kAac); });
}

void ConversionJob::Decode(const std::string& wavPath) {
  const audio::WavExportResult result =
      audio::DecodeToWav(QFile::encodeName(request_.source).toStdString(), wavPath, [this](int percent) {
        decodePercent_ = percent;
        return !cancel_;
      });
  if (cancel_) return;
  QMetaObject::invokeMethod(this, [this, result] { Decoded(result); }, Qt::QueuedConnection);
}

void ConversionJob::Stream(const std::string& fifoPath, bool readTags) {
  // An encoder that stops reading gives EPIPE here, not a signal that would
  // end the program.
  sigset_t pipe;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
  auto report = [this](const audio::WavExportResult& result) {
    QMetaObject::invokeMethod(this, [this, result] { Decoded(result); }, Qt::QueuedConnection);
  };

  const std::string source = QFile::encodeName(request_.source).toStdString();
  const audio::Tags tags = readTags ? audio::ReadTags(source) : audio::Tags{};
  std::string error;
  const std::unique_ptr<audio::Decoder> decoder = audio::Decoder::Open(source, audio::Decoder::Output::kS16, error);
  if (decoder == nullptr) return report(SourceFailure(error));
  // The encoder starts once the tags for its arguments are known ...
  QMetaObject::invokeMethod(this, [this, tags] { StartEncoder(tags); }, Qt::QueuedConnection);
  // ... and the pipe opens when it opens its end.
  int fd = -1;
  while (fd < 0 && !cancel_ && !encoderGone_) {
    fd = ::open(fifoPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno != ENXIO) return report({audio::WavExportError::kCreate, {}, 0, errno});
    if (fd < 0) std::this_thread::sleep_for(kOpenRetry);
  }
  if (fd < 0) return report({audio::WavExportError::kCancelled, {}, 0, 0});  // the encoder never read
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  const audio::WavExportResult result = audio::StreamAsWav(*decoder, fd, [this](int percent) {
    decodePercent_ = percent;
    return !cancel_;
  });
  ::close(fd);
  report(result);
}

void ConversionJob::Decoded(const audio::WavExportResult& result) {
  // A conversion that already ended (its encoder would not start) joined the worker.
  if (worker_.joinable()) worker_.join();
  if (ended_) return;
  using E = audio::WavExportError;
  if (result.error == E::kSource) return Fail(QStringLiteral("исходный файл не читается как звук"));
  if (request_.format != ConvertFormat::kWave) {
    // The pipe could not be opened: the encoder would wait for it for ever.
    if (result.error == E::kCreate) return Fail(WriteFailureReason(result.systemError, work_->path()));
    decoded_ = result;
    return EncodingDone();
  }
  switch (result.error) {
    case E::kNone: return End({});
    case E::kCreate:
    case E::kWrite: return Fail(WriteFailureReason(result.systemError, request_.destFolder));
    case E::kTooLong: return Fail(QStringLiteral("звук длиннее, чем вмещает файл WAV (4 ГБ)"));
    case E::kSource:
    case E::kCancelled: return;
  }
}

void ConversionJob::StartEncoder(const audio::Tags& tags) {
  if (ended_) return;
  run_ = RunFor(request_.format, request_.encoders, tags);
  process_ = new QProcess(this);
  process_->setProgram(encoderPath_);
  process_->setArguments(run_.arguments);
  process_->setWorkingDirectory(work_->path());
  process_->setStandardInputFile(QProcess::nullDevice());
  process_->setStandardOutputFile(QProcess::nullDevice());
  // Tags are UTF-8 whatever the user's locale; encoders read them by it.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
  process_->setProcessEnvironment(env);
  if (const int niceness = run_.niceness; niceness > 0) {
    process_->setChildProcessModifier([niceness] { [[maybe_unused]] const int r = ::setpriority(PRIO_PROCESS, 0, niceness); });
  }
  connect(process_, &QProcess::readyReadStandardError, this, [this] {
    encoderErrors_.append(process_->readAllStandardError());
    if (encoderErrors_.size() > kKeptErrorBytes) encoderErrors_.remove(0, encoderErrors_.size() - kKeptErrorBytes);
  });
  connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    encoderGone_ = true;
    Fail(QStringLiteral("кодировщик %1 не запускается (%2)").arg(run_.encoder, process_->errorString()));
  });
  connect(process_, &QProcess::finished, this, &ConversionJob::EncoderEnded);
  process_->start();
}

void ConversionJob::EncoderEnded(int exitCode, QProcess::ExitStatus status) {
  encoderGone_ = true;  // a worker still waiting for the pipe gives up
  encoderErrors_.append(process_->readAllStandardError());
  encoderExit_ = std::make_pair(exitCode, status);
  EncodingDone();
}

void ConversionJob::EncodingDone() {
  if (!decoded_ || !encoderExit_) return;
  const auto [exitCode, status] = *encoderExit_;
  if (status == QProcess::CrashExit) return Fail(QStringLiteral("кодировщик %1 аварийно завершился").arg(run_.encoder));
  if (exitCode != 0) {
    QString reason = QStringLiteral("кодировщик %1 завершился с ошибкой (код %2)").arg(run_.encoder).arg(exitCode);
    if (const QString line = LastLine(encoderErrors_); !line.isEmpty()) reason += QStringLiteral(": ") + line;
    return Fail(reason);
  }
  const QString encoded = work_->filePath(run_.outputFile);
  if (QFileInfo(encoded).size() <= 0) return Fail(QStringLiteral("кодировщик %1 не создал файл").arg(run_.encoder));
  // An encoder that says all is well but stopped reading made a short file.
  if (decoded_->error != audio::WavExportError::kNone) {
    return Fail(QStringLiteral("кодировщик %1 прочитал не весь звук").arg(run_.encoder));
  }
  const int moved = MoveReplacing(QFile::encodeName(encoded).toStdString(), QFile::encodeName(OutputPath()).toStdString());
  if (moved != 0) return Fail(WriteFailureReason(moved, request_.destFolder));
  End({});
}

// The encoder reads as fast as it encodes, so what has been decoded is
// what has been encoded, give or take the pipe's few kilobytes.
void ConversionJob::Poll() { SetPercent(std::min(99, decodePercent_.load())); }

void ConversionJob::SetPercent(int percent) {
  if (percent <= percent_) return;
  percent_ = percent;
  emit Progress(percent);
}

void ConversionJob::Fail(const QString& reason) { End(ConversionFailureText(name_, request_.format, reason)); }

void ConversionJob::End(const QString& failure) {
  if (ended_) return;
  ended_ = true;
  pollTimer_->stop();
  StopWork();
  if (failure.isEmpty()) SetPercent(100);
  work_.reset();  // the working folder and whatever is left in it
  emit Finished(failure);
}

}  // namespace orve
