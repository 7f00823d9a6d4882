// Starting a measuring process and reading what it reports.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace brenavo::bench {

struct ChildReport {
  // Empty when the process ran to its end and reported; otherwise why it did not.
  std::string failure;
  // The moment just before the process was forked, on the monotonic clock.
  int64_t forkedNs = 0;
  // Each reported line: its first word, then the rest.
  std::map<std::string, std::string> lines;

  bool ok() const { return failure.empty(); }
  std::string text(const std::string& name) const;
  std::vector<double> numbers(const std::string& name) const;
  // The first number of the line, or 0.
  double number(const std::string& name) const;
};

// Runs program with args, its standard error thrown away, and kills it when it runs
// longer than timeoutSeconds.
ChildReport runChild(const std::string& program, const std::vector<std::string>& args,
                     int timeoutSeconds);

}  // namespace brenavo::bench
