#pragma once
// ORVE_TRACE=FILE ("-": standard error): one line per event, so benchmarks
// and bug reports can follow the real program from outside. Each line is
// "<CLOCK_MONOTONIC ms> <event> [value]":
//   ready             start-up has put the windows up
//   list-complete N   the playlist holds N entries and nothing is being added
//   playing           an entry has started (a resume after a pause is not told)
//   stall MS          one event held the event loop MS ms (above 50)
//   exit MS           shutdown is done; MS is the longest one event held
//                     the event loop over the whole run
// Without the variable nothing is measured and nothing is written.

#include <QByteArray>
#include <QObject>
#include <cstdio>
#include <memory>

namespace orve {

class Application;

class Trace : public QObject {
  Q_OBJECT
 public:
  // Null when ORVE_TRACE is unset or its file cannot be opened (said on stderr).
  static std::unique_ptr<Trace> FromEnvironment(Application& app);
  Trace(Application& app, std::FILE* out, bool ownsFile);
  ~Trace() override;

  void Write(const char* event, const QByteArray& value = {});

 private:
  void EventHandled(double ms);
  void ReportListIfComplete();

  Application& app_;
  std::FILE* out_;
  bool ownsFile_;
  double longestMs_ = 0;
  quint8 lastState_ = 0;
};

}  // namespace orve
