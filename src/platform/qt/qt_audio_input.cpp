#include "platform/qt/qt_audio_input.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QIODevice>
#include <QMediaDevices>
#include <cstring>

namespace brenavo::qt {

namespace {

QString nameOf(const QAudioDevice& device) { return device.description(); }

// The named input when it is there, else the default one (null when there is none).
QAudioDevice deviceNamed(const std::string& name) {
  const QString wanted = QString::fromStdString(name);
  for (const QAudioDevice& device : QMediaDevices::audioInputs())
    if (!wanted.isEmpty() && nameOf(device) == wanted) return device;
  return QMediaDevices::defaultAudioInput();
}

// The device's own format, in floating point when the device offers it.
QAudioFormat formatFor(const QAudioDevice& device) {
  QAudioFormat format = device.preferredFormat();
  QAudioFormat floating = format;
  floating.setSampleFormat(QAudioFormat::Float);
  return device.isFormatSupported(floating) ? floating : format;
}

// One channel of one frame as a float in -1..1.
float sampleAt(const char* data, QAudioFormat::SampleFormat sampleFormat) {
  switch (sampleFormat) {
    case QAudioFormat::UInt8: return (static_cast<unsigned char>(*data) - 128) / 128.0f;
    case QAudioFormat::Int16: {
      int16_t value;
      std::memcpy(&value, data, sizeof value);
      return value / 32768.0f;
    }
    case QAudioFormat::Int32: {
      int32_t value;
      std::memcpy(&value, data, sizeof value);
      return static_cast<float>(value / 2147483648.0);
    }
    case QAudioFormat::Float: {
      float value;
      std::memcpy(&value, data, sizeof value);
      return value;
    }
    default: return 0.0f;
  }
}

}  // namespace

QtAudioInput::QtAudioInput() = default;

QtAudioInput::~QtAudioInput() { stop(); }

std::vector<std::string> QtAudioInput::inputs() {
  std::vector<std::string> names;
  const QAudioDevice preferred = QMediaDevices::defaultAudioInput();
  if (!preferred.isNull()) names.push_back(nameOf(preferred).toStdString());
  for (const QAudioDevice& device : QMediaDevices::audioInputs())
    if (device.id() != preferred.id()) names.push_back(nameOf(device).toStdString());
  return names;
}

bool QtAudioInput::start(const std::string& input, BlockCallback onBlock) {
  stop();
  const QAudioDevice device = deviceNamed(input);
  if (device.isNull()) return false;
  source_ = std::make_unique<QAudioSource>(device, formatFor(device));
  stream_ = source_->start();
  if (stream_ == nullptr || source_->error() != QAudio::NoError) {
    stop();
    return false;
  }
  onBlock_ = std::move(onBlock);
  connect(stream_, &QIODevice::readyRead, this, &QtAudioInput::readAvailable);
  return true;
}

void QtAudioInput::stop() {
  onBlock_ = nullptr;
  if (stream_) disconnect(stream_, nullptr, this, nullptr);
  stream_ = nullptr;
  pending_.clear();
  if (source_) source_->stop();
  source_.reset();
}

// Whole frames only, a part frame kept for the next time; the channels of a frame are
// averaged. (The stream does not say how much it holds: it is read until it is empty.)
void QtAudioInput::readAvailable() {
  if (!stream_ || !onBlock_) return;
  const QAudioFormat format = source_->format();
  const int frameBytes = format.bytesPerFrame();
  const int channels = format.channelCount();
  if (frameBytes <= 0 || channels <= 0) return;
  pending_.append(stream_->readAll());
  const qsizetype frames = pending_.size() / frameBytes;
  const QByteArray bytes = pending_.left(frames * frameBytes);
  pending_.remove(0, frames * frameBytes);
  mono_.assign(static_cast<size_t>(frames), 0.0f);
  for (qsizetype frame = 0; frame < frames; ++frame) {
    float sum = 0.0f;
    for (int channel = 0; channel < channels; ++channel)
      sum += sampleAt(bytes.constData() + frame * frameBytes + channel * format.bytesPerSample(),
                      format.sampleFormat());
    mono_[static_cast<size_t>(frame)] = sum / static_cast<float>(channels);
  }
  // The callback may stop the input (the practice ends), which must not cut this short.
  const BlockCallback onBlock = onBlock_;
  if (frames > 0) onBlock(mono_.data(), mono_.size(), format.sampleRate());
}

}  // namespace brenavo::qt
