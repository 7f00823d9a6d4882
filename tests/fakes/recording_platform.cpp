#include "fakes/recording_platform.h"

#include <algorithm>
#include <cstdio>

#include "model/ids.h"

namespace brenavo::fakes {

// Takes the next queued answer, or the one given when none is queued.
template <typename T>
static T nextOr(std::deque<T>& queued, T otherwise) {
  if (!queued.empty()) otherwise = queued.front(), queued.pop_front();
  return otherwise;
}

std::vector<std::string> RecordingPlatform::logOf(const std::string& prefix) const {
  std::vector<std::string> lines;
  std::ranges::copy_if(log, std::back_inserter(lines),
                       [&](const std::string& line) { return line.starts_with(prefix); });
  return lines;
}

int RecordingPlatform::messageBox(const std::string& text, const std::string& caption, int style) {
  note("messageBox", caption + "|" + text + "|" + std::to_string(style));
  return nextOr(messageBoxAnswers, (style & MB_YESNO) ? IDYES : IDOK);
}

platform::OptionsOutcome RecordingPlatform::runOptions(const platform::OptionsChecks& initial) {
  optionsShown.push_back(initial), note("dialog.options");
  return nextOr(optionsOutcomes, platform::OptionsOutcome{false, initial});
}

uint32_t RecordingPlatform::shortMessage(uint32_t packed) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(packed));
  note("midi.short", text), midiMessages.push_back(packed);
  const int status = static_cast<int>(packed & 0xF0), key = static_cast<int>((packed >> 8) & 0x7F);
  if (status == 0x90 && (packed >> 16 & 0x7F) > 0) ++soundingNotes[key];
  else if (status == 0x80 || status == 0x90) soundingNotes.erase(key);  // ends every instance of it
  return 0;
}

bool RecordingPlatform::draw(const platform::Document& document, const platform::PageDone& pageDone) {
  printedOps.clear();
  RecordingSurface surface(&printedOps);
  return document.draw(surface, page, pageDone);
}

void RecordingPlatform::exportToFile(const std::vector<platform::Document>& choices) {
  std::string titles;
  for (const platform::Document& choice : choices) titles += choice.title + "|";
  note("printer.export", titles);
}

void RecordingPlatform::writeBook(const platform::Document& book) {
  const bool finished = draw(book, [this](int pages, int) { return !cancelBookAtPage || pages < cancelBookAtPage; });
  note("printer.book", book.title, finished ? "written" : "cancelled");
}

}  // namespace brenavo::fakes
