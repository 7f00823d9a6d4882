#include "table.h"

#include <algorithm>
#include <cstdio>

namespace brenavo::bench {

double median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

namespace {

constexpr const char* kRowFormat = "%-52s %9s %9s %9s  %-30s %-22s %s\n";

std::string formatted(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

std::string verdict(const Row& row) {
  if (row.values.empty()) return "n/a";
  if (!row.met) return "-";
  return *row.met ? "met" : "NOT met";
}

void printRow(const Row& row) {
  std::string least = "n/a";
  std::string middle = "n/a";
  std::string most = "n/a";
  if (!row.values.empty()) {
    least = formatted(*std::min_element(row.values.begin(), row.values.end()));
    middle = formatted(median(row.values));
    most = formatted(*std::max_element(row.values.begin(), row.values.end()));
  }
  std::printf(kRowFormat, row.figure.c_str(), least.c_str(), middle.c_str(), most.c_str(),
              row.reference.c_str(), row.target.c_str(), verdict(row).c_str());
}

}  // namespace

void Table::print() const {
  std::printf("\n");
  std::printf(kRowFormat, "Figure", "min", "median", "max", "Reference (median)", "Target",
              "Met");
  std::printf("%s\n", std::string(156, '-').c_str());
  for (const Row& row : rows_) printRow(row);
  std::printf("\n");
  for (const Row& row : rows_) {
    if (row.values.empty()) std::printf("n/a  %s: %s\n", row.figure.c_str(), row.missing.c_str());
  }
  for (const std::string& text : notes_) std::printf("Note %s\n", text.c_str());
  std::fflush(stdout);
}

}  // namespace brenavo::bench
