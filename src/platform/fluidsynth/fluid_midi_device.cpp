#include "platform/fluidsynth/fluid_midi_device.h"

#include <dlfcn.h>
#include <fluidsynth.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <utility>

namespace brenavo::fluid {

namespace {

// Sound settings for teaching: a gentle room, no chorus, and a gain at which four
// full-velocity notes together stay below full scale.
constexpr double kGain = 0.5;
constexpr int kPolyphony = 64;
constexpr double kReverbRoomSize = 0.2;
constexpr double kReverbDamping = 0.4;
constexpr double kReverbWidth = 0.6;
constexpr double kReverbLevel = 0.5;
// The General MIDI default reverb depth; the synth starts every channel at 0, and the
// GM SoundFont's instruments send nothing to the reverb of their own.
constexpr int kReverbDepth = 40;
constexpr int kReverbDepthController = 91;

constexpr int kNoteOff = 0x80;
constexpr int kNoteOn = 0x90;
constexpr int kProgramChange = 0xC0;
// Every sound stops at once, on every channel.
constexpr uint32_t kSystemReset = 0xFF;

void dropFluidMessage(int, const char*, void*) {}

// ALSA reports a missing sound card on stderr by itself; this handler keeps it quiet.
void dropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// Nothing the synth or its audio libraries say reaches the console.
void silenceLibraryLogging() {
  for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) {
    fluid_set_log_function(level, dropFluidMessage, nullptr);
  }
  // libasound comes in with the synth library; it is looked up rather than linked so
  // that nothing else depends on it.
  using AlsaHandler = void (*)(const char*, int, const char*, int, const char*, ...);
  using SetAlsaHandler = int (*)(AlsaHandler);
  if (void* symbol = dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler")) {
    reinterpret_cast<SetAlsaHandler>(symbol)(dropAlsaMessage);
  }
}

bool hasSoundFontExtension(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".sf2" || extension == ".sf3";
}

// The SoundFont files directly inside folder, sorted by name; none when it cannot be read.
std::vector<std::string> soundFontsIn(const std::string& folder) {
  std::vector<std::string> found;
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  if (error) {
    return found;
  }
  for (const auto& entry : entries) {
    if (hasSoundFontExtension(entry.path())) {
      found.push_back(entry.path().string());
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

bool isLoadableFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) && fluid_is_soundfont(path.c_str());
}

}  // namespace

std::vector<std::string> defaultSoundFontFiles() {
  return {
      "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf3/FluidR3_GM.sf3",
      "/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3",
      "/usr/share/soundfonts/default.sf2",
  };
}

std::vector<std::string> defaultSoundFontFolders() {
  return {"/usr/share/sounds/sf2", "/usr/share/sounds/sf3", "/usr/share/soundfonts"};
}

std::vector<std::string> soundFontCandidates(const FluidOptions& options) {
  std::vector<std::string> candidates = options.soundFontFiles;
  for (const std::string& folder : options.soundFontFolders) {
    for (std::string& path : soundFontsIn(folder)) {
      if (std::find(candidates.begin(), candidates.end(), path) == candidates.end()) {
        candidates.push_back(std::move(path));
      }
    }
  }
  return candidates;
}

FluidMidiDevice::FluidMidiDevice(FluidOptions options) : options_(std::move(options)) {}

FluidMidiDevice::~FluidMidiDevice() { close(); }

bool FluidMidiDevice::open() {
  if (opening_.valid()) {
    return opening_.get();
  }
  if (isOpen()) {
    return true;
  }
  silenceLibraryLogging();
  return openNow();
}

void FluidMidiDevice::openInBackground() {
  if (opening_.valid() || isOpen()) {
    return;
  }
  silenceLibraryLogging();
  try {
    opening_ = std::async(std::launch::async, [this] { return openNow(); });
  } catch (const std::system_error&) {
    // No thread to be had: open() does the work itself.
  }
}

bool FluidMidiDevice::openNow() {
  if (synth_ == nullptr && !(configure() && loadSoundFont())) {
    release();
    return false;
  }
  return options_.output == Output::Buffer || startOutput();
}

bool FluidMidiDevice::isOpen() const {
  return !opening_.valid() && synth_ != nullptr &&
         (options_.output == Output::Buffer || audioDriverStarted());
}

// Creates the settings and the synth from them.
bool FluidMidiDevice::configure() {
  if (options_.sampleRate != 44100 && options_.sampleRate != 48000) {
    return false;
  }
  settings_ = new_fluid_settings();
  if (settings_ == nullptr) {
    return false;
  }
  const bool set =
      fluid_settings_setnum(settings_, "synth.sample-rate", options_.sampleRate) == FLUID_OK &&
      fluid_settings_setint(settings_, "synth.dynamic-sample-loading",
                            options_.dynamicSampleLoading ? 1 : 0) == FLUID_OK &&
      fluid_settings_setnum(settings_, "synth.gain", kGain) == FLUID_OK &&
      fluid_settings_setint(settings_, "synth.polyphony", kPolyphony) == FLUID_OK &&
      fluid_settings_setint(settings_, "synth.reverb.active", 1) == FLUID_OK &&
      fluid_settings_setnum(settings_, "synth.reverb.room-size", kReverbRoomSize) == FLUID_OK &&
      fluid_settings_setnum(settings_, "synth.reverb.damp", kReverbDamping) == FLUID_OK &&
      fluid_settings_setnum(settings_, "synth.reverb.width", kReverbWidth) == FLUID_OK &&
      fluid_settings_setnum(settings_, "synth.reverb.level", kReverbLevel) == FLUID_OK &&
      fluid_settings_setint(settings_, "synth.chorus.active", 0) == FLUID_OK &&
      fluid_settings_setint(settings_, "audio.period-size", options_.periodSize) == FLUID_OK &&
      fluid_settings_setint(settings_, "audio.periods", options_.periods) == FLUID_OK;
  if (!set) {
    return false;
  }
  synth_ = new_fluid_synth(settings_);
  return synth_ != nullptr;
}

// Loads the first candidate that is a SoundFont and loads. No channel gets an instrument
// yet: with samples loaded on demand, giving all sixteen their defaults would read the
// piano and the whole drum kit (tens of MB, most of the load time) that nothing plays.
bool FluidMidiDevice::loadSoundFont() {
  constexpr int kLeaveChannelsEmpty = 0;
  for (const std::string& path : soundFontCandidates(options_)) {
    if (isLoadableFile(path) &&
        fluid_synth_sfload(synth_, path.c_str(), kLeaveChannelsEmpty) != FLUID_FAILED) {
      soundFontPath_ = path;
      sendToReverb();
      return true;
    }
  }
  return false;
}

void FluidMidiDevice::sendToReverb() {
  const int channels = fluid_synth_count_midi_channels(synth_);
  for (int channel = 0; channel < channels; ++channel) {
    fluid_synth_cc(synth_, channel, kReverbDepthController, kReverbDepth);
  }
}

bool FluidMidiDevice::startOutput() {
  if (output_ == nullptr) {
    output_ = std::make_unique<SleepingOutput>(settings_, synth_, options_.audioDrivers,
                                               playMessage);
  }
  return output_->start();
}

uint32_t FluidMidiDevice::shortMessage(uint32_t packed) {
  if (!isOpen()) {
    return kNotOpen;
  }
  const int status = packed & 0xFF;
  const int data1 = (packed >> 8) & 0xFF;
  const int data2 = (packed >> 16) & 0xFF;
  if (status < 0x80 || data1 > 0x7F || data2 > 0x7F) {
    return kBadMessage;
  }
  const int channel = status & 0x0F;
  const bool noteOn = (status & 0xF0) == kNoteOn && data2 != 0;
  if (noteOn) chooseDefaultProgram(channel);
  if ((status & 0xF0) == kProgramChange) programChosen_.set(channel);
  deliver(packed & 0xFFFFFF);
  if (noteOn && output_ != nullptr) output_->wake();
  return kSent;
}

// A playing stream takes a note or a reset on its own thread before the next sound it
// renders, so that the caller never waits while the synth renders; otherwise it is played
// at once. So is a program change: it may read the instrument's samples from disk, which
// the stream's thread must never wait for.
void FluidMidiDevice::deliver(uint32_t message) {
  const bool programChange = (message & 0xF0) == kProgramChange;
  if (output_ == nullptr || programChange || !output_->post(message))
    playMessage(synth_, message);
}

void FluidMidiDevice::playMessage(fluid_synth_t* synth, uint32_t message) {
  const int status = message & 0xFF;
  const int data1 = (message >> 8) & 0xFF;
  const int data2 = (message >> 16) & 0xFF;
  const int channel = status & 0x0F;
  if (message == kSystemReset) {
    fluid_synth_all_sounds_off(synth, -1);
    return;
  }
  switch (status & 0xF0) {
    case kNoteOn:
      if (data2 == 0) {
        fluid_synth_noteoff(synth, channel, data1);
      } else {
        fluid_synth_noteon(synth, channel, data1, data2);
      }
      break;
    case kNoteOff:
      fluid_synth_noteoff(synth, channel, data1);
      break;
    case kProgramChange:
      fluid_synth_program_change(synth, channel, data1);
      break;
    default:
      break;
  }
}

// Program 0 is the General MIDI default; on the drum channel the synth takes it from the
// drum bank.
void FluidMidiDevice::chooseDefaultProgram(int channel) {
  if (!programChosen_.test(channel)) {
    deliver(static_cast<uint32_t>(kProgramChange | channel));
    programChosen_.set(channel);
  }
}

void FluidMidiDevice::reset() {
  if (isOpen()) {
    deliver(kSystemReset);
  }
}

void FluidMidiDevice::close() {
  if (opening_.valid()) {
    opening_.get();
  }
  release();
}

void FluidMidiDevice::release() {
  output_.reset();
  if (synth_ != nullptr) {
    delete_fluid_synth(synth_);
    synth_ = nullptr;
  }
  if (settings_ != nullptr) {
    delete_fluid_settings(settings_);
    settings_ = nullptr;
  }
  soundFontPath_.clear();
  programChosen_.reset();
}

int FluidMidiDevice::render(float* left, float* right, int frames) {
  if (!isOpen() || options_.output != Output::Buffer || left == nullptr || right == nullptr || frames <= 0) {
    return 0;
  }
  if (fluid_synth_write_float(synth_, frames, left, 0, 1, right, 0, 1) != FLUID_OK) {
    return 0;
  }
  return frames;
}

double FluidMidiDevice::latencyMs() const {
  return 1000.0 * options_.periodSize * options_.periods / options_.sampleRate;
}

}  // namespace brenavo::fluid
