// The driver of `make bench`: runs every measuring process a number of times, one after
// another, and prints the table. It never fails: what cannot be measured is shown as n/a.
#pragma once

#include <string>
#include <vector>

#include "child_process.h"
#include "private_pulse.h"
#include "stolen_time.h"
#include "table.h"

namespace brenavo::bench {

class Benchmarks {
 public:
  // self: this program, which measures when started with --measure; bareWindow: the
  // start-up reference; server: the private sound server the measuring processes reach.
  Benchmarks(std::string self, std::string bareWindow, const testing::PrivatePulse& server);
  void run();

 private:
  ChildReport measure(const std::vector<std::string>& args, int timeoutSeconds);
  void probeSound();
  void measureStart();
  void measureMemory();
  void measureAudio();
  void measureSteps();
  void measureSleep();
  void measureUnderruns();
  void measureLive();
  void measureBooklet();
  // The share of a core the program and the server took together, from report lines
  // NAME_program and NAME_server.
  void addIdleRow(const std::string& figure, const ChildReport& report, const std::string& name);
  void noteStolen(const std::string& part, const StolenTime& stolen);
  std::string soundLabel() const;

  std::string self_;
  std::string bareWindow_;
  const testing::PrivatePulse& server_;
  std::string drivers_ = "-";  // the driver that started here, or "-" for none
  Table table_;
};

}  // namespace brenavo::bench
