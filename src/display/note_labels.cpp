#include "display/note_labels.h"

#include <cctype>
#include <string_view>

#include "display/geometry.h"
#include "model/ids.h"

namespace brenavo {

namespace {

constexpr platform::Colour OCTAVE3_GREEN = platform::rgb(0, 255, 0);
constexpr platform::Colour OCTAVE4_BLUE = platform::rgb(0, 0, 255);
constexpr platform::Colour OCTAVE5_RED = platform::rgb(255, 0, 0);
constexpr platform::Colour OCTAVE6_DARK_RED = platform::rgb(128, 0, 0);

constexpr double STEP_NUMBER_END_FACTOR = 1.7;

struct OctaveMarks {
  bool capital = false;
  bool lowerCase = false;
  bool minus = false;
  bool plus = false;
};

OctaveMarks marksOf(const char* noteName) {
  OctaveMarks marks;
  for (const char* c = noteName; *c != '\0'; ++c) {
    const unsigned char ch = static_cast<unsigned char>(*c);
    if (std::isupper(ch)) marks.capital = true;
    if (std::islower(ch)) marks.lowerCase = true;
    if (ch == '-') marks.minus = true;
    if (ch == '+') marks.plus = true;
  }
  return marks;
}

}  // namespace

void drawButtonCircle(platform::Surface& hdc, int x, int y) {
  const int radius = BUT_SIZE / 2;
  hdc.ellipse(x - radius, y - radius, x + radius, y + radius);
}

bool isTwoVoiceFormat(int formatSel) {
  return formatSel == IDM_SCALE_THIRDS || formatSel == IDM_SCALE_SIXTHS;
}

int evaluateOctave(platform::Surface& hdc, const char* noteName) {
  if (noteName == nullptr) return 0;
  const OctaveMarks marks = marksOf(noteName);
  // Each rule that holds sets the colour, so a later rule wins over an earlier one.
  if (marks.capital && marks.minus) hdc.setTextColor(OCTAVE3_GREEN);
  if (marks.capital && !marks.minus) hdc.setTextColor(OCTAVE4_BLUE);
  if (marks.lowerCase && !marks.plus) hdc.setTextColor(OCTAVE5_RED);
  if (marks.lowerCase && marks.plus) hdc.setTextColor(OCTAVE6_DARK_RED);
  return 0;
}

int displayNote(platform::Surface& hdc, const char* noteName, int buttonX, int buttonY,
                int charType) {
  if (noteName == nullptr) return 0;
  const std::string_view text(noteName);
  switch (charType) {
    case NOTEBUTTON: {
      drawButtonCircle(hdc, buttonX, buttonY);
      evaluateOctave(hdc, noteName);
      const platform::Size extent = hdc.textExtent(text);
      hdc.textOut(buttonX - extent.cx / 2, buttonY - extent.cy / 2, text);
      break;
    }
    case NOTESEQUENCE: {
      evaluateOctave(hdc, noteName);
      const platform::Size extent = hdc.textExtent(text);
      hdc.textOut(buttonX - extent.cx / 2, buttonY, text);
      break;
    }
    case SEQINDEX: {
      const platform::Size extent = hdc.textExtent(text);
      const int left = static_cast<int>(STEP_NUMBER_END_FACTOR * buttonX - extent.cx);
      hdc.textOut(left, buttonY, text);
      break;
    }
    default:
      break;
  }
  return 0;
}

}  // namespace brenavo
