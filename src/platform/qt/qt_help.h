// The help viewer: the help pages travel inside the program and open in a window of
// their own beside the main window, which the program does not wait for.
#pragma once

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>

#include "platform/platform.h"

class QTextBrowser;
class QWidget;

namespace brenavo {

class QtHelp : public platform::Help {
 public:
  explicit QtHelp(QWidget* owner);
  ~QtHelp() override;
  QtHelp(const QtHelp&) = delete;
  QtHelp& operator=(const QtHelp&) = delete;

  void initialize() override;
  bool displayTopic(const std::string& target) override;
  void uninitialize() override;

  // The viewer window, once a topic has been shown.
  QTextBrowser* viewer() const;

 private:
  QTextBrowser& ensureViewer();

  QWidget* owner_;
  QPointer<QTextBrowser> viewer_;
};

}  // namespace brenavo
