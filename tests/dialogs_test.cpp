// Options open with the current choices checked (-1 where no button of the group has the id);
// saving stores both halves of each choice, cancelling nothing; a group with nothing or a stranger
// checked keeps its value. The about text names program, version and date and sends comments to
// the issue tracker; the usage notice names year and program, in plain ASCII. Four help pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/help_topics.h"
#include "dialogs/info_dialogs.h"
#include "dialogs/options.h"
#include "fakes/recording_platform.h"

using namespace brenavo;

TEST(Dialogs, OptionsAboutUsageAndHelpTopics) {
  fakes::RecordingPlatform fake;
  Program program{fake.services()};
  SelectionState& sel = program.sel;
  const auto choicesOf = [](const SelectionState& s) {  // radio ids, and indexes but the voice's
    return std::vector{s.keySel, s.keySel2, s.direcSel, s.direcSel2, s.midiVoice};
  };
  fake.optionsOutcomes = {{false, {IDRB_EAD, IDRB_IN, IDRB_PICCOLO}},
                          {true, {IDRB_ADG, IDRB_MIXED, IDRB_GRAND_PIANO, 0, {"Mic", "USB"}, 1, 432}}};
  runOptionsDialog(program);
  EXPECT_EQ(choicesOf(sel), choicesOf(SelectionState{})) << "cancelled";
  runOptionsDialog(program);
  EXPECT_EQ(choicesOf(sel), (std::vector{1014, 3, 1023, 2, 0}));
  EXPECT_EQ(fake.optionsShown.at(1), (platform::OptionsChecks{1011, 1021, 23, 0, {"Microfono"}}));
  EXPECT_EQ(std::pair(fake.storedStrings["Escucha/Entrada"], fake.storedDwords["Escucha/LaReferencia"]),
            std::pair(std::string("USB"), 432));  // the listening choices, in their own group
  sel.keySel = 1021, sel.direcSel = 1011, sel.midiVoice = 1001;  // ids of no button of theirs
  EXPECT_EQ(optionsInitialChecks(sel), (platform::OptionsChecks{-1, -1, -1}));
  sel.keySel = IDRB_FBE, sel.direcSel = IDRB_IN, sel.midiVoice = IDRB_PICCOLO;
  storeOptionChoices(sel, {-1, IDRB_GCF, IDPB_OK});
  EXPECT_EQ(choicesOf(sel), (std::vector{1013, 2, 1022, 1, 72}));
  runAboutDialog(program), runUsageDialog(program);
  EXPECT_EQ(fake.lastAboutText + fake.lastUsageText, aboutText() + usageText());
  EXPECT_EQ(aboutText().find("Brenavo: Aprenda A Tocar Acordeon\nVersion 2.0.1\nLast modified on "
                             "Tues.11.Jan.05\n"), 0u);
  EXPECT_NE(aboutText().find("E-mail:\tcomentarios en el gestor de incidencias"), aboutText().npos);
  for (const char* words : {"ACUERDO DE USO / RENUNCIA DE RESPONSABILIDAD\n", "(c) 2026 Brenavo.",
                            "Oxfam: https://www.oxfam.org", "gestor de incidencias"})
    EXPECT_NE(usageText().find(words), std::string::npos) << words;
  EXPECT_TRUE(std::ranges::all_of(usageText(), [](unsigned char c) { return c < 128; }));
  for (int id = IDM_HELP; id <= IDM_MTHEORY + 1; ++id) showHelpTopic(program, id);
  std::string pages;
  for (const std::string& line : fake.logOf("help")) pages += line.substr(24) + "|";
  EXPECT_EQ(pages, "|::brv_intro_faq.htm|::brv_intro_hotkeys.htm|::brv_musicTheory_intro.htm|");
}
