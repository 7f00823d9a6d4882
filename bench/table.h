// The one table `make bench` prints: each figure's spread over its runs beside its
// reference from the same runs and its target.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace brenavo::bench {

double median(std::vector<double> values);

struct Row {
  std::string figure;
  std::vector<double> values;  // one per run; empty when it could not be measured
  std::string reference;       // the reference's median, with what it is
  std::string target;
  std::optional<bool> met;     // none when there is no target or no value
  std::string missing;         // why there is no value
};

class Table {
 public:
  void add(Row row) { rows_.push_back(std::move(row)); }
  void note(const std::string& text) { notes_.push_back(text); }
  void print() const;

 private:
  std::vector<Row> rows_;
  std::vector<std::string> notes_;
};

}  // namespace brenavo::bench
