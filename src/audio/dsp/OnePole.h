#pragma once
// One-pole low-pass y[n] = (1-c)*x[n] + c*y[n-1] (unity gain at DC), and the
// coefficient that gives it a chosen power gain at one frequency. c > 0 cuts
// the highs; c < 0 lifts them (max gain (1-c)/(1+c) at Nyquist).

#include <cmath>

namespace orve::dsp {

// c with |H(omega)|^2 = powerGain (omega in radians per frame, 0 < omega < pi).
// Solves (1-g)c^2 - 2(1 - g cos w)c + (1-g) = 0 and keeps the root with |c| < 1.
// A gain the filter cannot reach at omega gives the nearest reachable one.
inline double OnePoleForGain(double powerGain, double omega) {
  const double a = 1.0 - powerGain;
  if (std::fabs(a) < 1e-12) return 0.0;
  const double b = 1.0 - powerGain * std::cos(omega);
  const double disc = b * b - a * a;
  if (disc <= 0) return powerGain < 1 ? 0.999 : -0.999;
  const double r1 = (b - std::sqrt(disc)) / a;
  const double r2 = (b + std::sqrt(disc)) / a;
  return std::fabs(r1) < std::fabs(r2) ? r1 : r2;
}

}  // namespace orve::dsp
