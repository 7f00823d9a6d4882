// The start-up reference: a bare Qt window of the main window's size, shown the same way.
// Prints the moment of its first paint on the monotonic clock.
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "stamping_application.h"

int main(int argc, char* argv[]) {
  brenavo::bench::mainReachedNs() = brenavo::bench::monotonicNs();
  brenavo::bench::StampingApplication application(argc, argv);
  QWidget window;
  window.setFixedSize(800, 600);
  application.watch(&window, [] { QCoreApplication::exit(0); });
  window.show();
  QApplication::exec();
  std::printf("main_ns %lld\n", static_cast<long long>(brenavo::bench::mainReachedNs()));
  std::printf("first_paint_ns %lld\n", static_cast<long long>(application.firstPaintNs()));
  std::fflush(stdout);
  std::_Exit(0);
}
