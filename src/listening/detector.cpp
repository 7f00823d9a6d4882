// The detector: aubio finds the attacks and the spectrum of the last 85-95 ms of sound,
// every 10-12 ms; each MIDI note's salience is summed from the spectral peaks at its
// harmonics, and counts only where its fundamental stands out of the noise.
#include "listening/aubio_library.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "listening/hearing.h"

namespace brenavo::listening {

namespace {

constexpr double kFrameSeconds = 0.085;  // the analysed span: enough for a semitone at 165 Hz
constexpr double kHopSeconds = 0.010;    // how often a Hearing is made
constexpr double kToleranceCents = 40.0;  // wet-tuned reeds beat 10-30 cents apart
constexpr int kHarmonics = 8;
constexpr double kHighestPartialHz = 6000.0;
constexpr double kLowestPeakHz = 50.0;
constexpr int kLowestNote = 24;
constexpr int kHighestNote = 108;
constexpr float kSilenceDb = -70.0f;  // quieter hops are not analysed
// The floor under the peaks is looked for within kFloorHalfWidthHz of every kFloorStep-th bin.
constexpr double kFloorHalfWidthHz = 350.0;
constexpr int kFloorStep = 8;
// A peak counts when it stands this far above the floor, and no further than kPeakRangeDb
// below the frame's strongest peak; a fundamental kClearAboveFloorDb above it is clear.
constexpr double kPeakAboveFloorDb = 20.0;
constexpr double kPeakRangeDb = 50.0;
constexpr double kClearAboveFloorDb = 35.0;
// A fundamental's clarity grows from kPeakAboveFloorDb to kClearAboveFloorDb above the floor;
// from kSettledClearFromDb when it has settled (grown less than kSettledGrowthDb over the last
// kGrowthHops) and stands within kNearSecondPartialDb of its own second partial: a middle
// note of a chord, sunk in the mix, is still that note. A note still coming up is waited for
// (a string played an octave low shows its fundamental late), and a faint undertone far below
// a loud partial (a piccolo's high notes) stays unclear. Swept: 12-14 dB with 4-6 dB gave the
// same figures; a gap of 8 dB or growth of 8 dB let a guitar's octave-off steps through.
constexpr double kSettledClearFromDb = 12.0;
constexpr double kNearSecondPartialDb = 6.0;
constexpr double kSettledGrowthDb = 6.0;
// A note whose fundamental stood clear in one of the last kClearHops (about 90 ms) still
// does: the reeds of a wet-tuned note beat, and its fundamental dips between beats. A note
// whose harmonic sum fell below kFadingRatio of its largest in the last kRememberedHops
// (about 230 ms) is fading away: the room's echo of a released note falls slowly, and a
// shorter memory soon takes it for a note still held, a wrong one in the next step.
constexpr int kClearHops = 8;
constexpr int kRememberedHops = 20;
constexpr double kFadingRatio = 0.6;
// A note whose fundamental fell below kFundamentalKeptRatio of its largest in the remembered
// hops fades, the more so the further it fell: what sounds there is most likely the partial of
// a released note dying away under the louder octave above, not the note itself.
constexpr double kFundamentalKeptRatio = 0.7;
// A note that has not risen above kRiseRatio of what it had when the last attack was heard,
// and has since fallen below kLeftOverRatio of that (and of its largest in the remembered
// hops), is left over from before the attack: a released guitar string rings on for long.
constexpr double kRiseRatio = 1.1;
constexpr double kLeftOverRatio = 0.6;
// A note rises when its harmonic sum grows above kGrowthRatio of its largest kRiseFromHops to
// kRiseToHops ago (35-80 ms): soon enough for an attack, late enough for a slow build-up, and
// far more than the beating of a wet-tuned note swells.
constexpr double kGrowthRatio = 2.0;
constexpr int kRiseFromHops = 3;
constexpr int kRiseToHops = 7;
constexpr float kNeverRisenMs = 1e6f;
// A fundamental's growth above the floor is counted over this many hops (about 23 ms).
constexpr int kGrowthHops = 2;
// What sounded of a note before a step is looked for from this many hops back (about 95 ms)
// to the last remembered one: a step's notes have begun to sound by then.
constexpr int kEarlierFromHops = 9;

// The smallest power of two at least n.
unsigned powerOfTwoAtLeast(double n) {
  unsigned size = 1;
  while (size < n) size *= 2;
  return size;
}

double toDb(double amplitude) { return 20.0 * std::log10(std::max(amplitude, 1e-12)); }
double powerToDb(double power) { return 10.0 * std::log10(std::max(power, 1e-24)); }

struct Peak {
  double hz;
  double amplitude;  // linear
};

double noteHz(int note, double referenceA) { return referenceA * std::exp2((note - 69) / 12.0); }

}  // namespace

struct Detector::Analysis {
  Analysis(const AubioLibrary& library, int rate, double referenceA)
      : aubio(library),
        sampleRate(rate),
        referenceA(referenceA),
        hopSize(powerOfTwoAtLeast(rate * kHopSeconds)),
        frameSize(hopSize * static_cast<unsigned>(std::ceil(rate * kFrameSeconds / hopSize))),
        history(frameSize, 0.0f),
        frame(aubio.newFvec(frameSize)),
        window(aubio.newWindow(const_cast<char_t*>("hanningz"), frameSize)),
        spectrum(aubio.newFvec(frameSize)),
        fft(aubio.newFft(frameSize)),
        hop(aubio.newFvec(hopSize)),
        onsetFound(aubio.newFvec(1)),
        onset(aubio.newOnset("complex", 2 * hopSize, hopSize, rate)) {
    aubio.onsetSetSilence(onset, kSilenceDb);
    riseStartMs.fill(-kNeverRisenMs);
  }
  ~Analysis() {
    aubio.delOnset(onset);
    aubio.delFvec(onsetFound);
    aubio.delFvec(hop);
    aubio.delFft(fft);
    aubio.delFvec(spectrum);
    aubio.delFvec(window);
    aubio.delFvec(frame);
  }
  Analysis(const Analysis&) = delete;
  Analysis& operator=(const Analysis&) = delete;

  void analyseHop(Hearing& hearing);
  std::vector<Peak> findPeaks();
  void computeSalience(const std::vector<Peak>& peaks, Hearing& hearing);
  double levelAboveFloor(double hz) const;
  bool isLeftOver(int note, double sum, double largest, bool attack);
  bool rises(int note, double sum) const;
  double lowestAboveFloorDb(int note) const;
  void findFloor();
  static double harmonicAmplitude(const std::vector<Peak>& peaks, double hz);
  static double harmonicSum(const std::vector<Peak>& peaks, double f0);

  const AubioLibrary& aubio;
  int sampleRate;
  double referenceA;
  unsigned hopSize;
  unsigned frameSize;  // whole hops
  std::vector<float> history;  // the last frameSize samples, oldest first
  unsigned pending = 0;        // samples of the hop gathered so far
  long long hopsDone = 0;
  fvec_t* frame;
  fvec_t* window;
  fvec_t* spectrum;  // real parts of bins 0..N/2, then imaginary parts of bins N/2-1..1
  aubio_fft_t* fft;
  fvec_t* hop;
  fvec_t* onsetFound;
  aubio_onset_t* onset;
  std::vector<double> levelDb;  // per bin, reused
  std::vector<double> floorDb;  // per bin, reused
  // Each note's harmonic sum and clarity over the last hops, oldest at pastAt.
  struct Past {
    std::array<double, NOTE_COUNT> sum{}, clarity{}, fundamental{}, aboveFloorDb{};
  };
  std::array<Past, kRememberedHops> past{};
  std::size_t pastAt = 0;
  // Each note's harmonic sum just before the last attack, and its largest since.
  std::array<double, NOTE_COUNT> atAttack{}, sinceAttack{};
  // When each note last began to rise, and whether it rose in the hop before.
  std::array<double, NOTE_COUNT> riseStartMs{};
  std::array<bool, NOTE_COUNT> rising{};
};

bool Detector::available() { return aubioLibrary() != nullptr; }

Detector::Detector(int sampleRate, double referenceA)
    : analysis_(available() ? std::make_unique<Analysis>(*aubioLibrary(), sampleRate, referenceA)
                            : nullptr) {}

Detector::~Detector() = default;

void Detector::feed(const float* mono, std::size_t frames, std::vector<Hearing>& out) {
  if (!analysis_) return;
  Analysis& a = *analysis_;
  for (std::size_t i = 0; i < frames; ++i) {
    a.hop->data[a.pending++] = mono[i];
    if (a.pending == a.hopSize) {
      a.pending = 0;
      out.emplace_back();
      a.analyseHop(out.back());
    }
  }
}

void Detector::Analysis::analyseHop(Hearing& hearing) {
  ++hopsDone;
  hearing.timeMs = 1000.0 * static_cast<double>(hopsDone * hopSize) / sampleRate;
  double energy = 0;
  for (unsigned i = 0; i < hopSize; ++i) energy += hop->data[i] * hop->data[i];
  hearing.levelDb = static_cast<float>(10.0 * std::log10(std::max(energy / hopSize, 1e-12)));
  aubio.onsetDo(onset, hop, onsetFound);
  hearing.onset = onsetFound->data[0] > 0;

  std::move(history.begin() + hopSize, history.end(), history.begin());
  std::copy(hop->data, hop->data + hopSize, history.end() - hopSize);
  if (hearing.levelDb < kSilenceDb) {
    computeSalience({}, hearing);
    return;
  }
  for (unsigned i = 0; i < frameSize; ++i) frame->data[i] = history[i] * window->data[i];
  aubio.fftDoComplex(fft, frame, spectrum);
  computeSalience(findPeaks(), hearing);
}

// The spectrum's local maxima that stand out of the noise, their frequency and level
// placed between bins by a parabola through the log magnitudes.
std::vector<Peak> Detector::Analysis::findPeaks() {
  const unsigned bins = frameSize / 2 + 1;
  const double binHz = static_cast<double>(sampleRate) / frameSize;
  levelDb.resize(bins);
  levelDb[0] = toDb(std::abs(spectrum->data[0]));
  levelDb[bins - 1] = toDb(std::abs(spectrum->data[bins - 1]));
  for (unsigned k = 1; k + 1 < bins; ++k) {
    const double re = spectrum->data[k], im = spectrum->data[frameSize - k];
    levelDb[k] = powerToDb(re * re + im * im);
  }
  findFloor();
  std::vector<Peak> peaks;
  const unsigned lowest = std::max(1u, static_cast<unsigned>(kLowestPeakHz / binHz));
  const unsigned highest = std::min(bins - 2, static_cast<unsigned>(kHighestPartialHz / binHz) + 2);
  double strongestDb = -300.0;
  for (unsigned k = lowest; k <= highest; ++k) {
    const double a = levelDb[k - 1], b = levelDb[k], c = levelDb[k + 1];
    if (b <= a || b < c || b - floorDb[k] < kPeakAboveFloorDb) continue;
    const double curvature = a - 2 * b + c;
    const double offset = curvature < 0 ? 0.5 * (a - c) / curvature : 0.0;
    const double peakDb = b - 0.25 * (a - c) * offset;
    peaks.push_back({(k + offset) * binHz, std::pow(10.0, peakDb / 20.0)});
    strongestDb = std::max(strongestDb, peakDb);
  }
  const double weakest = std::pow(10.0, (strongestDb - kPeakRangeDb) / 20.0);
  std::erase_if(peaks, [weakest](const Peak& p) { return p.amplitude < weakest; });
  return peaks;
}

// The floor under the peaks: around every kFloorStep-th bin, the level that a quarter of the
// bins within kFloorHalfWidthHz stay below (the peaks of a chord and their skirts fill the
// rest), joined by straight lines.
void Detector::Analysis::findFloor() {
  const int bins = static_cast<int>(levelDb.size());
  const int half = static_cast<int>(kFloorHalfWidthHz * frameSize / sampleRate);
  floorDb.assign(bins, 0.0);
  std::vector<double> around;
  int previous = -1;
  for (int k = 0;; k = std::min(k + kFloorStep, bins - 1)) {
    const int first = std::max(0, k - half), last = std::min(bins - 1, k + half);
    around.assign(levelDb.begin() + first, levelDb.begin() + last + 1);
    std::nth_element(around.begin(), around.begin() + around.size() / 4, around.end());
    floorDb[k] = around[around.size() / 4];
    for (int j = previous + 1; previous >= 0 && j < k; ++j)
      floorDb[j] = floorDb[previous] + (floorDb[k] - floorDb[previous]) * (j - previous) / (k - previous);
    if (k == bins - 1) break;
    previous = k;
  }
}

// The spectrum's level at a frequency above its local floor, in dB, read between bins.
double Detector::Analysis::levelAboveFloor(double hz) const {
  const double bin = hz * frameSize / sampleRate;
  const auto k = static_cast<std::size_t>(bin);
  if (k + 1 >= levelDb.size()) return 0.0;
  const double t = bin - k;
  return (1 - t) * (levelDb[k] - floorDb[k]) + t * (levelDb[k + 1] - floorDb[k + 1]);
}

// The strongest peak within 40 cents of a frequency; 0 when there is none.
double Detector::Analysis::harmonicAmplitude(const std::vector<Peak>& peaks, double hz) {
  const double tolerance = std::exp2(kToleranceCents / 1200.0);
  auto p = std::lower_bound(peaks.begin(), peaks.end(), hz / tolerance,
                            [](const Peak& peak, double limit) { return peak.hz < limit; });
  double amplitude = 0;
  for (; p != peaks.end() && p->hz <= hz * tolerance; ++p) amplitude = std::max(amplitude, p->amplitude);
  return amplitude;
}

// The sum of a note's harmonics found among the peaks, the fundamental first, weighted 1/h.
double Detector::Analysis::harmonicSum(const std::vector<Peak>& peaks, double f0) {
  double sum = 0;
  for (int h = 1; h <= kHarmonics && h * f0 < kHighestPartialHz; ++h)
    sum += harmonicAmplitude(peaks, h * f0) / h;
  return sum;
}

// Each note's harmonic sum, scaled by how clearly the spectrum stands above its floor at the
// note's fundamental (now or in the last hops), so that a note whose fundamental is missing
// (the octave below a played note) has none. A note fading away (the step before, after its
// release) is weakened. All relative to the strongest note, times that note's clarity, so
// that noise with a few chance peaks stays low.
void Detector::Analysis::computeSalience(const std::vector<Peak>& peaks, Hearing& hearing) {
  Past now;
  for (int note = kLowestNote; note <= kHighestNote && !peaks.empty(); ++note) {
    const double f0 = noteHz(note, referenceA);
    now.fundamental[note] = harmonicAmplitude(peaks, f0);
    now.aboveFloorDb[note] = levelAboveFloor(f0);
    hearing.aboveFloorDb[note] = static_cast<float>(now.aboveFloorDb[note]);
    hearing.aboveFloorGrowthDb[note] =
        static_cast<float>(now.aboveFloorDb[note] - lowestAboveFloorDb(note));
    if (now.fundamental[note] <= 0) continue;
    const bool settledNearPartial = hearing.aboveFloorGrowthDb[note] < kSettledGrowthDb &&
                                    levelAboveFloor(2 * f0) - now.aboveFloorDb[note] <= kNearSecondPartialDb;
    const double clearFrom = settledNearPartial ? kSettledClearFromDb : kPeakAboveFloorDb;
    now.clarity[note] =
        std::clamp((now.aboveFloorDb[note] - clearFrom) / (kClearAboveFloorDb - clearFrom), 0.0, 1.0);
    now.sum[note] = harmonicSum(peaks, f0);
  }
  std::array<double, NOTE_COUNT> clear{}, weight{};
  int strongest = kLowestNote;
  for (int note = kLowestNote; note <= kHighestNote; ++note) {
    double largest = 0, largestFundamental = 0, earlierAboveFloorDb = std::numeric_limits<double>::lowest();
    clear[note] = now.clarity[note];
    for (int back = 1; back <= kRememberedHops; ++back) {
      const Past& hop = past[(pastAt + kRememberedHops - back) % kRememberedHops];
      if (back <= kClearHops) clear[note] = std::max(clear[note], hop.clarity[note]);
      if (back >= kEarlierFromHops)
        earlierAboveFloorDb = std::max(earlierAboveFloorDb, hop.aboveFloorDb[note]);
      largest = std::max(largest, hop.sum[note]);
      largestFundamental = std::max(largestFundamental, hop.fundamental[note]);
    }
    hearing.aboveEarlierDb[note] = static_cast<float>(now.aboveFloorDb[note] - earlierAboveFloorDb);
    const double kept = std::min(1.0, now.sum[note] / std::max(kFadingRatio * largest, 1e-12));
    weight[note] = now.sum[note] * clear[note] * kept * kept;
    const double fundamentalKept =
        std::min(1.0, now.fundamental[note] / std::max(kFundamentalKeptRatio * largestFundamental, 1e-12));
    hearing.fading[note] = static_cast<float>(1.0 - std::pow(fundamentalKept, 3));
    hearing.leftOver[note] = isLeftOver(note, now.sum[note], largest, hearing.onset);
    const bool risesNow = rises(note, now.sum[note]);
    if (risesNow && !rising[note]) riseStartMs[note] = hearing.timeMs;
    rising[note] = risesNow;
    hearing.sinceRiseMs[note] = static_cast<float>(hearing.timeMs - riseStartMs[note]);
    if (now.sum[note] * clear[note] > now.sum[strongest] * clear[strongest]) strongest = note;
  }
  const double strongestSum = now.sum[strongest] * clear[strongest];
  for (int note = kLowestNote; note <= kHighestNote && strongestSum > 0; ++note)
    hearing.salience[note] = static_cast<float>(weight[note] / strongestSum * clear[strongest]);
  past[pastAt] = now;
  pastAt = (pastAt + 1) % past.size();
}

// How far a note's fundamental stood above the floor at its lowest in the last kGrowthHops.
double Detector::Analysis::lowestAboveFloorDb(int note) const {
  double lowest = past[(pastAt + kRememberedHops - 1) % kRememberedHops].aboveFloorDb[note];
  for (int back = 2; back <= kGrowthHops; ++back)
    lowest = std::min(lowest, past[(pastAt + kRememberedHops - back) % kRememberedHops].aboveFloorDb[note]);
  return lowest;
}

// Whether a note's harmonic sum grew above what it had 35-80 ms before.
bool Detector::Analysis::rises(int note, double sum) const {
  double before = 0;
  for (int back = kRiseFromHops; back <= kRiseToHops; ++back)
    before = std::max(before, past[(pastAt + kRememberedHops - back) % kRememberedHops].sum[note]);
  return sum > kGrowthRatio * before;
}

// Whether a note has only fallen since the last attack, and is falling still: what sounded
// of it then is left over from before, and nothing of it was played since. A note played
// now, over a softer one of the same pitch or without an attack heard, rises above both.
bool Detector::Analysis::isLeftOver(int note, double sum, double largest, bool attack) {
  if (attack) {
    const Past& last = past[(pastAt + kRememberedHops - 1) % kRememberedHops];
    const Past& before = past[(pastAt + kRememberedHops - 2) % kRememberedHops];
    atAttack[note] = std::max(last.sum[note], before.sum[note]);
    sinceAttack[note] = 0;
  }
  sinceAttack[note] = std::max(sinceAttack[note], sum);
  return atAttack[note] > 0 && sinceAttack[note] <= kRiseRatio * atAttack[note] &&
         sum < kLeftOverRatio * std::min(atAttack[note], largest);
}

}  // namespace brenavo::listening
