// A 2-D drawing surface: what painting and the sequencer ask of the desktop.
// Pens, brushes and fonts are plain values; selecting one returns the one it replaced.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brenavo::platform {

// Colours are 0x00BBGGRR.
using Colour = uint32_t;
constexpr Colour rgb(int r, int g, int b) {
  return static_cast<Colour>(r & 0xFF) | (static_cast<Colour>(g & 0xFF) << 8) |
         (static_cast<Colour>(b & 0xFF) << 16);
}
constexpr int redOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

inline constexpr Colour BLACK = rgb(0, 0, 0);
inline constexpr Colour WHITE = rgb(255, 255, 255);

inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// A solid pen. The surface's default pen is black, width 1.
struct Pen {
  int width = 1;
  Colour colour = BLACK;
  bool operator==(const Pen&) const = default;
};

// A solid brush. The surface's default brush is white.
struct Brush {
  Colour colour = WHITE;
  bool operator==(const Brush&) const = default;
};

// A font by face, character cell height in pixels and weight (400 normal, 700 bold).
// An empty face is the surface's default font.
struct Font {
  std::string face;
  int height = 0;
  int weight = 400;
  bool operator==(const Font&) const = default;
};

struct Size {
  int cx = 0;
  int cy = 0;
  bool operator==(const Size&) const = default;
};

// A surface starts with the default pen, brush and font, black text on a white
// background, and the opaque background mode.
class Surface {
 public:
  virtual ~Surface() = default;
  virtual Pen selectPen(const Pen& pen) = 0;
  virtual Brush selectBrush(const Brush& brush) = 0;
  virtual Font selectFont(const Font& font) = 0;
  virtual Colour setTextColor(Colour colour) = 0;
  virtual Colour setBkColor(Colour colour) = 0;
  virtual int setBkMode(int mode) = 0;
  // Outline with the current pen, interior with the current brush.
  virtual void ellipse(int left, int top, int right, int bottom) = 0;
  virtual Size textExtent(std::string_view text) = 0;
  // Top left corner of the text at (left, top).
  virtual void textOut(int left, int top, std::string_view text) = 0;
  // Copies the blank (white) off-screen picture onto the box from (left, top) up to but
  // not including (right, bottom).
  virtual void copyBlank(int left, int top, int right, int bottom) = 0;
  // A straight line in the current pen.
  virtual void line(int x1, int y1, int x2, int y2) = 0;
  // Outline with the current pen, interior with the current brush.
  virtual void rectangle(int left, int top, int right, int bottom) = 0;
  // Later drawing is placed with its (0, 0) at (x, y) of the page, not at the page's corner.
  virtual void setOrigin(int x, int y) = 0;
  // Ends the page and starts a blank one (a paper or a file of pages); the origin goes back
  // to the page's corner.
  virtual void newPage() = 0;
};

}  // namespace brenavo::platform
