// The modal dialogs of the desktop: options, about and usage. They show what the core
// hands them and report what the user chose; the rules stay in the core.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include "platform/platform.h"

class QFont;
class QWidget;

namespace brenavo {

// Dialog units of a font: a quarter of its average character width across, an eighth
// of its character height down.
struct DialogUnits {
  int charWidth = 0;
  int charHeight = 0;
  int toPixelsX(int x) const;
  int toPixelsY(int y) const;
  QRect toPixels(int x, int y, int width, int height) const;
};

// Top-left corner that centres a window of outer size `dialog` on the outer rectangle
// `owner`; the halves are integer divisions truncated toward zero, and the result may
// lie off the screen.
QPoint centredOn(const QRect& owner, const QSize& dialog);

class QtDialogs : public platform::Dialogs {
 public:
  explicit QtDialogs(QWidget* owner);

  platform::OptionsOutcome runOptions(const platform::OptionsChecks& initial) override;
  void runAbout(const std::string& text) override;
  void runUsage(const std::string& text) override;

 private:
  QWidget* owner_;
};

}  // namespace brenavo
