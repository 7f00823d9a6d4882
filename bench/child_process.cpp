#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "clock.h"

namespace brenavo::bench {

namespace {

[[noreturn]] void becomeChild(const std::string& program, const std::vector<std::string>& args,
                              int output) {
  dup2(output, STDOUT_FILENO);
  if (output != STDOUT_FILENO) close(output);
  const int nothing = open("/dev/null", O_WRONLY);
  if (nothing >= 0) {
    dup2(nothing, STDERR_FILENO);
    if (nothing != STDERR_FILENO) close(nothing);
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  execv(program.c_str(), argv.data());
  _exit(127);
}

// Reads everything the child writes until it closes its output or the deadline passes.
bool readUntil(int input, int64_t deadlineNs, std::string& into) {
  char buffer[4096];
  while (true) {
    const int64_t leftMs = (deadlineNs - monotonicNs()) / 1'000'000;
    if (leftMs <= 0) return false;
    pollfd ready{input, POLLIN, 0};
    if (poll(&ready, 1, static_cast<int>(leftMs)) <= 0) continue;
    const ssize_t got = read(input, buffer, sizeof buffer);
    if (got <= 0) return true;
    into.append(buffer, static_cast<size_t>(got));
  }
}

void parseLines(const std::string& output, ChildReport& report) {
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    const size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    report.lines[line.substr(0, space)] = line.substr(space + 1);
  }
}

}  // namespace

std::string ChildReport::text(const std::string& name) const {
  const auto found = lines.find(name);
  return found != lines.end() ? found->second : std::string();
}

std::vector<double> ChildReport::numbers(const std::string& name) const {
  std::istringstream words(text(name));
  std::vector<double> values;
  for (double value; words >> value;) values.push_back(value);
  return values;
}

double ChildReport::number(const std::string& name) const {
  const std::vector<double> values = numbers(name);
  return values.empty() ? 0.0 : values.front();
}

ChildReport runChild(const std::string& program, const std::vector<std::string>& args,
                     int timeoutSeconds) {
  ChildReport report;
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    report.failure = "no pipe";
    return report;
  }
  report.forkedNs = monotonicNs();
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    becomeChild(program, args, pipeEnds[1]);
  }
  close(pipeEnds[1]);
  if (child < 0) {
    close(pipeEnds[0]);
    report.failure = "could not start a process";
    return report;
  }
  std::string output;
  const bool ended =
      readUntil(pipeEnds[0], report.forkedNs + int64_t{timeoutSeconds} * 1'000'000'000, output);
  close(pipeEnds[0]);
  if (!ended) kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  parseLines(output, report);
  if (!ended) {
    report.failure = "timed out after " + std::to_string(timeoutSeconds) + " s";
  } else if (!report.text("failed").empty()) {
    report.failure = report.text("failed");
  } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    report.failure = "the measuring process failed";
  }
  return report;
}

}  // namespace brenavo::bench
