#pragma once
// Where the values of config.ini's keys come from: the file itself, or a
// window whose controls hold values about to be stored or applied. Readers
// that turn stored values into what the program uses (the effect records,
// the encoder records) read through this, so one rule serves both.

#include <QString>

#include "settings/ConfigKeys.h"

namespace orve {

class StoredValues {
 public:
  virtual QString Read(const config::TextKey& k) = 0;
  virtual int Read(const config::IntKey& k) = 0;
  virtual bool Read(const config::BoolKey& k) = 0;
  virtual double Read(const config::RealKey& k) = 0;

 protected:
  ~StoredValues() = default;
};

}  // namespace orve
