// The sheets: every step's number in each button it takes, filled when pushed; the booklet's
// selections in menu order with a page each; the print commands reach the printer, not during
// a run.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "app/brenavo_funcs.h"
#include "display/geometry.h"
#include "display/sheet.h"
#include "fakes/recording_platform.h"

using namespace brenavo;

using fakes::SurfaceOp;

struct Sheets : ::testing::Test {
  void command(int id) { WindowFunc(*program, WM_COMMAND, static_cast<uintptr_t>(id), 0); }
  fakes::RecordingPlatform fake;
  std::unique_ptr<Program> program = CreateMainWindow(fake.services());
};

// G major in thirds, B7 chords and a harmonic circle: each step's number is centred on every
// button of that step (the recording surface measures 10 a byte, 20 high), the button black
// when pushed and white when pulled; buttons no step takes stay white and empty.
TEST_F(Sheets, EveryStepNumberSitsInTheButtonsItTakes) {
  for (const auto& [selection, format, heading] :
       {std::tuple{IDM_SCALE_1, IDM_SCALE_THIRDS, "escala de G mayor"},
        {IDM_CHORDS_MAJOR + 4, 0, "Septimas de dominante"}, {IDM_PROG_C_ARM_1, 0, "circulo de B"}}) {
    if (format) command(format);
    command(selection), command(IDM_PRINT_SCALES);
    const int left = sheetPictureLeft(fake.page), top = SHEET_TITLE_HEIGHT;
    const auto steps = stepButtons(program->sel);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(fake.printedOps.at(0).text, heading);
    for (int p = 0; p < KB_POSITIONS; ++p) {
      if (isLabelSlot(p)) continue;
      const int x = left + buttonX(*program, p), y = top + buttonY(*program, p);
      const bool taken = std::ranges::any_of(steps, [p](auto& step) { return std::ranges::count(step, p); });
      const platform::Colour disc = taken && p >= KB_BUTTONS ? platform::BLACK : platform::WHITE;
      std::string numbers;  // the texts on the button, each number between blanks
      const SurfaceOp* circle = nullptr;
      for (const SurfaceOp& op : fake.printedOps) {
        if (op.kind == SurfaceOp::Kind::Ellipse && op.x == x - 20 && op.y == y - 20) circle = &op;
        if (op.kind == SurfaceOp::Kind::TextOut && op.x + 5 * int(op.text.size()) == x &&
            std::abs(op.y + 10 - y) <= 10 && op.textColour != disc)  // readable on its disc
          numbers += " " + op.text + " ";
      }
      ASSERT_NE(circle, nullptr) << p;
      EXPECT_TRUE(circle->brush.colour == disc && numbers.empty() == !taken) << p;
      for (size_t i = 0; i < steps.size(); ++i)
        EXPECT_TRUE(std::ranges::count(steps[i], p) == 0 ||
                    numbers.find(" " + std::to_string(i + 1) + " ") != std::string::npos)
            << heading << " step " << i + 1 << " button " << p;
    }
  }
}

// The booklet: contents, the keyboard chart, then one page for each enabled scale, chord type
// and progression in menu order; a cancel stops it at once. Nothing reaches the printer while
// a run plays.
TEST_F(Sheets, TheBookletFollowsTheMenusAndTheCommandsWaitForTheRunToEnd) {
  const std::vector<BookEntry> entries = bookEntries(*program);
  std::vector<int> ids;
  for (const BookEntry& entry : entries) ids.push_back(entry.commandId);
  ASSERT_GE(ids.size(), 2u + 24 + 11 + 36);
  EXPECT_EQ(std::vector(ids.begin(), ids.begin() + 3),
            (std::vector{IDM_SCALE_CHROMATIC, IDM_SCALE_1, IDM_SCALE_1 + 1}));
  EXPECT_EQ(std::vector(ids.end() - 2, ids.end()), (std::vector{IDM_PROG_C_MEL_12 - 1, IDM_PROG_C_MEL_12}));
  EXPECT_EQ(entries[1].heading, "escala de G mayor");
  command(IDM_BOOKLET);
  const int pages = std::ranges::max(fake.printedOps, {}, &SurfaceOp::page).page + 1;
  EXPECT_GT(pages, int(ids.size()) + 1);
  for (const BookEntry& entry : entries)  // each heading opens a page, after the contents
    EXPECT_TRUE(std::ranges::any_of(fake.printedOps, [&](const SurfaceOp& op) {
      return op.text == entry.heading && op.x == 0 && op.y == 0 && op.page >= pages - int(ids.size());
    })) << entry.heading;
  fake.cancelBookAtPage = 3, command(IDM_BOOKLET);
  EXPECT_EQ(std::ranges::max(fake.printedOps, {}, &SurfaceOp::page).page, 2);
  command(IDPB_PLAY), fake.log.clear();
  for (int id = IDM_PRINT_SCALES; id <= IDM_BOOKLET; ++id) command(id);
  command(IDPB_STOP), command(IDM_EXPORT), command(IDM_PRINT_KEYBOARD);
  EXPECT_EQ(fake.logOf("printer"), (std::vector<std::string>{
      "printer.export Escalas - escala de G mayor|Teclado G-C-F|Pantalla|", "printer.preview Teclado G-C-F"}));
}
