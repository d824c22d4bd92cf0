// One figure of a benchmark as a line of data beside its printed sentence:
//
//   figure <name> <value> <unit> [reference=<v>] [budget=<v>] [budget_on=ratio] [spread=<v>]
//
// ./build.sh bench gathers these lines into build/bench/figures.json
// (tools/bench_figures.py) and compares them with an earlier run. The name
// is one word (letters, digits, dots, underscores); the reference is the
// same measure of the reference program in the same run; the budget is an
// upper bound on the value, or on the ratio to the reference with
// budget_on=ratio; the spread is the measure's own noise (half the
// interquartile range of its samples), used to tell a change from noise.
#pragma once

#include <cstdio>
#include <optional>

namespace pigmentry::bench {

// Printed when it goes: Figure("name", 1.5, "ms").Spread(0.1);
class Figure {
 public:
  Figure(const char* name, double value, const char* unit)
      : name_(name), value_(value), unit_(unit) {}
  Figure(const Figure&) = delete;
  Figure& operator=(const Figure&) = delete;
  ~Figure() {
    std::printf("figure %s %.6g %s", name_, value_, unit_);
    if (reference_) {
      std::printf(" reference=%.6g", *reference_);
    }
    if (budget_) {
      std::printf(" budget=%.6g", *budget_);
    }
    if (budgetOnRatio_) {
      std::printf(" budget_on=ratio");
    }
    if (spread_) {
      std::printf(" spread=%.6g", *spread_);
    }
    std::printf("\n");
  }

  Figure& Reference(double value) {
    reference_ = value;
    return *this;
  }
  Figure& Budget(double value) {
    budget_ = value;
    return *this;
  }
  // The budget bounds the ratio to the reference, not the value.
  Figure& RatioBudget(double value) {
    budget_ = value;
    budgetOnRatio_ = true;
    return *this;
  }
  Figure& Spread(double value) {
    spread_ = value;
    return *this;
  }

 private:
  const char* name_;
  double value_;
  const char* unit_;
  std::optional<double> reference_;
  std::optional<double> budget_;
  bool budgetOnRatio_ = false;
  std::optional<double> spread_;
};

}  // namespace pigmentry::bench
