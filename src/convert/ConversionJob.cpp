#include "convert/ConversionJob.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>

#include "audio/TagReader.h"
#include "base/PartFile.h"
#include "convert/BaseName.h"
#include "convert/ConversionMessages.h"
#include "convert/EncoderLocator.h"

namespace orve {
namespace {

constexpr int kPollMs = 100;
constexpr qsizetype kKeptErrorBytes = 4096;

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

}  // namespace

ConversionJob::ConversionJob(ConversionRequest request, QObject* parent)
    : QObject(parent), request_(std::move(request)), name_(BaseName(request_.source)), pollTimer_(new QTimer(this)) {
  pollTimer_->setInterval(kPollMs);
  connect(pollTimer_, &QTimer::timeout, this, &ConversionJob::Poll);
}

ConversionJob::~ConversionJob() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
  if (process_ != nullptr) {
    process_->disconnect(this);
    process_->kill();
    process_->waitForFinished(3000);
  }
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
  pollTimer_->start();
  if (request_.format == ConvertFormat::kWave) {
    worker_ = std::thread([this, path = QFile::encodeName(output).toStdString()] { Decode(path, false); });
    return;
  }
  run_ = RunFor(request_.format, request_.encoders, {});
  encoderPath_ = FindEncoder(run_.encoder, request_.codecsFolder, request_.ownProgramsFolder);
  if (encoderPath_.isEmpty()) {
    return Fail(QStringLiteral("не найден кодировщик %1 (установите пакет %2)")
                    .arg(run_.encoder, EncoderPackage(run_.encoder)));
  }
  QDir().mkpath(request_.codecsFolder);
  work_ = std::make_unique<QTemporaryDir>(request_.codecsFolder + QStringLiteral("work-XXXXXX"));
  if (!work_->isValid()) work_ = std::make_unique<QTemporaryDir>();  // the system's temporary folder
  if (!work_->isValid()) return Fail(WriteFailureReason(errno, request_.codecsFolder));
  const std::string wav = QFile::encodeName(work_->filePath(QString::fromLatin1(kEncoderInput))).toStdString();
  worker_ = std::thread([this, wav] { Decode(wav, request_.format != ConvertFormat::kAac); });
}

void ConversionJob::Decode(const std::string& wavPath, bool readTags) {
  const std::string source = QFile::encodeName(request_.source).toStdString();
  const audio::Tags tags = readTags ? audio::ReadTags(source) : audio::Tags{};
  const audio::WavExportResult result = audio::DecodeToWav(source, wavPath, [this](int percent) {
    decodePercent_ = percent;
    return !cancel_;
  });
  if (cancel_) return;
  QMetaObject::invokeMethod(this, [this, result, tags] { Decoded(result, tags); }, Qt::QueuedConnection);
}

void ConversionJob::Decoded(const audio::WavExportResult& result, const audio::Tags& tags) {
  worker_.join();
  using E = audio::WavExportError;
  const QString folder = request_.format == ConvertFormat::kWave ? request_.destFolder : work_->path();
  switch (result.error) {
    case E::kNone: break;
    case E::kSource: return Fail(QStringLiteral("исходный файл не читается как звук"));
    case E::kCreate:
    case E::kWrite: return Fail(WriteFailureReason(result.systemError, folder));
    case E::kTooLong: return Fail(QStringLiteral("звук длиннее, чем вмещает файл WAV (4 ГБ)"));
    case E::kCancelled: return;
  }
  if (request_.format == ConvertFormat::kWave) return End({});
  StartEncoder(tags);
}

void ConversionJob::StartEncoder(const audio::Tags& tags) {
  run_ = RunFor(request_.format, request_.encoders, tags);
  inputBytes_ = QFileInfo(work_->filePath(QString::fromLatin1(kEncoderInput))).size();
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
    if (error == QProcess::FailedToStart) {
      Fail(QStringLiteral("кодировщик %1 не запускается (%2)").arg(run_.encoder, process_->errorString()));
    }
  });
  connect(process_, &QProcess::finished, this, &ConversionJob::EncoderEnded);
  process_->start();
}

void ConversionJob::EncoderEnded(int exitCode, QProcess::ExitStatus status) {
  encoderErrors_.append(process_->readAllStandardError());
  if (status == QProcess::CrashExit) return Fail(QStringLiteral("кодировщик %1 аварийно завершился").arg(run_.encoder));
  if (exitCode != 0) {
    QString reason = QStringLiteral("кодировщик %1 завершился с ошибкой (код %2)").arg(run_.encoder).arg(exitCode);
    if (const QString line = LastLine(encoderErrors_); !line.isEmpty()) reason += QStringLiteral(": ") + line;
    return Fail(reason);
  }
  const QString encoded = work_->filePath(run_.outputFile);
  if (QFileInfo(encoded).size() <= 0) return Fail(QStringLiteral("кодировщик %1 не создал файл").arg(run_.encoder));
  const int moved = MoveReplacing(QFile::encodeName(encoded).toStdString(), QFile::encodeName(OutputPath()).toStdString());
  if (moved != 0) return Fail(WriteFailureReason(moved, request_.destFolder));
  End({});
}

void ConversionJob::Poll() {
  if (process_ == nullptr) {
    const int decoded = decodePercent_;
    SetPercent(request_.format == ConvertFormat::kWave ? decoded : decoded * kDecodeShare / 100);
  } else {
    SetPercent(kDecodeShare + EncoderInputPercent() * (100 - kDecodeShare) / 100);
  }
}

// How far the encoder has read its input: the offset of its descriptor of
// "1.wav" (Linux's /proc). 0 where that cannot be known.
int ConversionJob::EncoderInputPercent() {
  const qint64 pid = process_->processId();
  if (pid <= 0 || inputBytes_ <= 0) return 0;
  const QString proc = QStringLiteral("/proc/%1/").arg(pid);
  if (inputFd_ < 0) {
    const QString input = QFileInfo(work_->filePath(QString::fromLatin1(kEncoderInput))).canonicalFilePath();
    const QStringList fds = QDir(proc + QStringLiteral("fd")).entryList(QDir::Files | QDir::System);
    for (const QString& fd : fds) {
      if (QFileInfo(proc + QStringLiteral("fd/") + fd).symLinkTarget() == input) inputFd_ = fd.toInt();
    }
    if (inputFd_ < 0) return 0;
  }
  QFile info(proc + QStringLiteral("fdinfo/%1").arg(inputFd_));
  if (!info.open(QIODevice::ReadOnly)) return 0;
  const QByteArray text = info.readAll();
  const qsizetype at = text.indexOf("pos:");
  if (at < 0) return 0;
  const qint64 pos = text.mid(at + 4, text.indexOf('\n', at) - at - 4).trimmed().toLongLong();
  return static_cast<int>(std::clamp<qint64>(pos * 100 / inputBytes_, 0, 100));
}

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
  if (failure.isEmpty()) SetPercent(100);
  work_.reset();  // the working folder and whatever is left in it
  emit Finished(failure);
}

}  // namespace orve
