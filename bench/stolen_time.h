// On a virtual machine the host may hand the CPUs to other guests for a while: the kernel
// counts that time as stolen. A timing figure taken while much was stolen says more about
// the host than about the program, so the bench watches it over each timing part.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace brenavo::bench {

class StolenTime {
 public:
  StolenTime();  // starts watching
  ~StolenTime();
  StolenTime(const StolenTime&) = delete;
  StolenTime& operator=(const StolenTime&) = delete;

  // "2.1 % of the CPU time (worst quarter second 37 %)" since watching began.
  std::string describe() const;

 private:
  void watch();

  mutable std::mutex mutex_;
  std::condition_variable stop_;
  bool stopping_ = false;
  long long firstTotal_ = 0, firstStolen_ = 0;
  long long lastTotal_ = 0, lastStolen_ = 0;  // guarded by mutex_
  double worstPercent_ = 0;                   // guarded by mutex_
  std::thread watcher_;
};

}  // namespace brenavo::bench
