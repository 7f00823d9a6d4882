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

using namespace brenavo;

constexpr int kRate = 44100;
constexpr double kNoteSeconds = 0.65;  // each note sounds this long...
constexpr double kGapSeconds = 0.1;    // ...then a breath before the next

// The accordion playing one note per entry after a silence.
static std::vector<float> rendered(const std::vector<int>& notes, double silence) {
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
    synth.shortMessage(0x90 | static_cast<uint32_t>(note) << 8 | 127 << 16), play(kNoteSeconds);
    synth.shortMessage(0x80 | static_cast<uint32_t>(note) << 8), play(kGapSeconds);
  }
  return sound;
}

// Writes the sound into the pipe ten milliseconds at a time, as a microphone delivers it,
// until it is done or told to stop. What the server does not take (nobody listens) is lost.
static void feed(const std::string& pipePath, const std::vector<float>& sound, const std::atomic<bool>& stop) {
  const int pipe = ::open(pipePath.c_str(), O_WRONLY | O_NONBLOCK);
  if (pipe < 0) return;
  constexpr size_t kChunk = kRate / 100;
  auto due = std::chrono::steady_clock::now();
  for (size_t at = 0; at < sound.size() && !stop; at += kChunk) {
    (void)!::write(pipe, sound.data() + at, std::min(kChunk, sound.size() - at) * sizeof(float));
    std::this_thread::sleep_until(due += std::chrono::milliseconds(10));
  }
  ::close(pipe);
}

class PracticePulseTest : public QObject {
  Q_OBJECT
  testing::PrivatePulse pulse_;
  QTemporaryDir dir_;
  const std::string pipe_ = dir_.filePath("microphone").toStdString();

  // Practises the scale on show, each step's first note played after a silence; the summary shown.
  QString practise(int command, double silence) {
    guitest::TestWindow t;
    if (command == IDM_PRACTICE_TEMPO) t.program().sel.vPos = 3;  // 750 ms a step: a note and its breath
    std::vector<int> notes;
    for (const PracticeStep& step : practiceSteps(t.program().sel)) notes.push_back(step.notes[0]);
    auto summary = std::make_shared<QString>();
    guitest::whenModal([summary](QDialog& box) { *summary = qobject_cast<QMessageBox*>(&box)->text(); });
    t.window->desktop().sendCommand(command);
    std::atomic<bool> stop{false};
    std::thread feeder(feed, pipe_, rendered(notes, silence), std::cref(stop));
    // A slow build or a busy machine may hear the buffered sound late: the summary gets time.
    const double seconds = 31.0 + silence + notes.size() * (kNoteSeconds + kGapSeconds);
    (void)QTest::qWaitFor([summary] { return !summary->isEmpty(); }, static_cast<int>(seconds * 1000));
    stop = true, feeder.join();
    return *summary;
  }

 private slots:
  void initTestCase() {
    if (!pulse_.running()) QSKIP(pulse_.failure().c_str());
    pulse_.useForThisProcess();
    const std::string load = "pactl load-module module-pipe-source source_name=brenavo_mic file='" +
                             pipe_ + "' format=float32le rate=44100 channels=1 >/dev/null";
    QCOMPARE(std::system(load.c_str()), 0);
    QCOMPARE(std::system("pactl set-default-source brenavo_mic"), 0);
  }

  // The whole scale heard, waited for step by step or following the tempo after the four
  // clicks: the practice ends with fifteen right steps.
  void theScalePlayedRightEndsWithFifteenRightSteps() {
    for (auto [command, silence] : {std::pair{IDM_PRACTICE_WAIT, 0.3}, {IDM_PRACTICE_TEMPO, 4 * 0.75}}) {
      const QString summary = practise(command, silence);
      QVERIFY2(summary.contains("Bien: 15\n"), qPrintable(summary));
    }
  }
};

QTEST_MAIN(PracticePulseTest)
#include "practice_pulse_test.moc"
