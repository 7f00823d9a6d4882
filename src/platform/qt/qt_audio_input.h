// The microphone through Qt Multimedia: the chosen input (or the default one) read as it
// arrives, turned into mono floating-point samples and handed on. Nothing is kept.
#pragma once

#include <QByteArray>
#include <QObject>
#include <memory>
#include <vector>

#include "platform/platform.h"

class QAudioSource;
class QIODevice;

namespace brenavo::qt {

class QtAudioInput : public QObject, public platform::AudioInput {
 public:
  QtAudioInput();
  ~QtAudioInput() override;

  std::vector<std::string> inputs() override;
  bool start(const std::string& input, BlockCallback onBlock) override;
  void stop() override;

 private:
  void readAvailable();

  std::unique_ptr<QAudioSource> source_;
  QIODevice* stream_ = nullptr;
  BlockCallback onBlock_;
  QByteArray pending_;
  std::vector<float> mono_;
};

}  // namespace brenavo::qt
