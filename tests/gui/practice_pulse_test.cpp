// The program listening for real: a private sound server whose default input is a pipe fed,
// at the pace of real time, with the default scale rendered by the program's synthesizer.
#include <fcntl.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "gui_test_support.h"
#include "platform/fluidsynth/fluid_midi_device.h"
#include "practice/practice.h"
#include "practice/practice_steps.h"
#include "private_pulse.h"

namespace brenavo {

namespace {

constexpr int kRate = 44100;
constexpr double kNoteSeconds = 0.65;  // each note sounds this long...
constexpr double kGapSeconds = 0.1;    // ...then a breath before the next

// The accordion playing one note per entry after a silence.
std::vector<float> rendered(const std::vector<int>& notes, double silence) {
  fluid::FluidMidiDevice synth({.output = fluid::Output::Buffer, .sampleRate = kRate});
  std::vector<float> sound(static_cast<size_t>(silence * kRate)), right;
  if (!synth.open()) return {};
  synth.shortMessage(0xC0 | IDRB_TANGO_ACC << 8);
  const auto play = [&](double seconds) {
    std::vector<float> left(static_cast<size_t>(seconds * kRate));
    right.resize(left.size());
    synth.render(left.data(), right.data(), static_cast<int>(left.size()));
    sound.insert(sound.end(), left.begin(), left.end());
  };
  for (int note : notes) {
    synth.shortMessage(0x90 | static_cast<uint32_t>(note) << 8 | 127 << 16);
    play(kNoteSeconds);
    synth.shortMessage(0x80 | static_cast<uint32_t>(note) << 8);
    play(kGapSeconds);
  }
  return sound;
}

// Writes the sound into the pipe ten milliseconds at a time, as a microphone delivers it,
// until it is done or told to stop. What the server does not take (nobody listens) is lost.
void feed(const std::string& pipePath, const std::vector<float>& sound, const std::atomic<bool>& stop) {
  const int pipe = ::open(pipePath.c_str(), O_WRONLY | O_NONBLOCK);
  if (pipe < 0) return;
  constexpr size_t kChunk = kRate / 100;
  auto due = std::chrono::steady_clock::now();
  for (size_t at = 0; at < sound.size() && !stop; at += kChunk) {
    const size_t frames = std::min(kChunk, sound.size() - at);
    (void)!::write(pipe, sound.data() + at, frames * sizeof(float));
    std::this_thread::sleep_until(due += std::chrono::milliseconds(10));
  }
  ::close(pipe);
}

}  // namespace

class PracticePulseTest : public QObject {
  Q_OBJECT
  std::unique_ptr<testing::PrivatePulse> pulse_;
  QTemporaryDir dir_;
  std::string pipe_;

  // The first note of each step of the scale on show.
  static std::vector<int> scaleNotes(guitest::TestWindow& t) {
    std::vector<int> notes;
    for (const PracticeStep& step : practiceSteps(t.program().sel)) notes.push_back(step.notes[0]);
    return notes;
  }

  // Practises the scale on show, played as `notes` after a silence; the summary shown. Its box
  // is awaited only when every step is played, so that no answer outlives the practice.
  QString practise(guitest::TestWindow& t, const std::vector<int>& notes, int command = IDM_PRACTICE_WAIT,
                   double silence = 0.3) {
    auto summary = std::make_shared<QString>();
    const bool awaitSummary = notes.size() == practiceSteps(t.program().sel).size();
    if (awaitSummary)
      guitest::whenModal([summary](QDialog& box) { *summary = qobject_cast<QMessageBox*>(&box)->text(); });
    t.window->desktop().sendCommand(command);
    std::atomic<bool> stop{false};
    std::thread feeder(feed, pipe_, rendered(notes, silence), std::cref(stop));
    // A slow build or a busy machine may hear the buffered sound late: the summary gets time.
    const double seconds = 1.0 + silence + notes.size() * (kNoteSeconds + kGapSeconds) +
                           (awaitSummary ? 30 : 0);
    (void)QTest::qWaitFor([summary] { return !summary->isEmpty(); }, static_cast<int>(seconds * 1000));
    stop = true;
    feeder.join();
    return *summary;
  }

 private slots:
  void initTestCase() {
    pulse_ = std::make_unique<testing::PrivatePulse>();
    if (!pulse_->running()) QSKIP(pulse_->failure().c_str());
    pulse_->useForThisProcess();
    pipe_ = dir_.filePath("microphone").toStdString();
    const std::string load = "pactl load-module module-pipe-source source_name=brenavo_mic file='" +
                             pipe_ + "' format=float32le rate=44100 channels=1 >/dev/null";
    QCOMPARE(std::system(load.c_str()), 0);
    QCOMPARE(std::system("pactl set-default-source brenavo_mic"), 0);
  }

  // The whole scale heard: the practice ends with fifteen right steps.
  void theScalePlayedRightEndsWithFifteenRightSteps() {
    guitest::TestWindow t;
    const QString summary = practise(t, scaleNotes(t));
    QVERIFY2(summary.contains("Bien: 15\n"), qPrintable(summary));
  }

  // A semitone too high on the fifth step: the four before are right, the fifth is not taken.
  void aWrongNoteIsNotAccepted() {
    guitest::TestWindow t;
    std::vector<int> notes = scaleNotes(t);
    notes.resize(5), notes[4] += 1;
    QCOMPARE(practise(t, notes), QString());
    const PracticeState& practice = t.program().practice;
    QVERIFY(practice.current == 4 && practice.results[3].outcome == StepOutcome::Right);
    QVERIFY(practice.results[4].outcome == StepOutcome::Wrong && practice.results[4].heardNote == notes[4]);
  }

  // Following the tempo, one note a step after the four clicks: every step on time.
  void theScaleOnTheBeatIsRightStepByStep() {
    guitest::TestWindow t;
    t.program().sel.vPos = 3;  // 750 ms a step: a note and its breath
    const QString summary = practise(t, scaleNotes(t), IDM_PRACTICE_TEMPO, 4 * 0.75);
    QVERIFY2(summary.contains("Bien: 15\n"), qPrintable(summary));
  }

  void cleanupTestCase() { pulse_.reset(); }
};

}  // namespace brenavo

QTEST_MAIN(brenavo::PracticePulseTest)
#include "practice_pulse_test.moc"
