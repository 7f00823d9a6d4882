#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "dialogs/help_topics.h"
#include "dialogs/info_dialogs.h"
#include "dialogs/options.h"
#include "fakes/recording_platform.h"

namespace brenavo {
namespace {

using platform::OptionsChecks;
using platform::OptionsOutcome;

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  std::istringstream in(text);
  while (std::getline(in, line)) lines.push_back(line);
  if (!text.empty() && text.back() == '\n') lines.push_back("");
  return lines;
}

class Dialogs : public ::testing::Test {
 protected:
  fakes::RecordingPlatform fake;
  Program program{fake.services()};
  SelectionState& sel = program.sel;
};

TEST_F(Dialogs, OptionsOpenWithTheCurrentChoicesChecked) {
  EXPECT_EQ(optionsInitialChecks(sel), (OptionsChecks{1011, 1021, 23}));
  sel.keySel = IDRB_ADG, sel.direcSel = IDRB_MIXED, sel.midiVoice = IDRB_GRAND_PIANO;
  EXPECT_EQ(optionsInitialChecks(sel), (OptionsChecks{1014, 1023, 0}));
  sel.keySel = 1021, sel.direcSel = 1011, sel.midiVoice = 1001;
  EXPECT_EQ(optionsInitialChecks(sel), (OptionsChecks{-1, -1, -1}));
}

TEST_F(Dialogs, SavingStoresBothHalvesOfEachChoice) {
  sel.chordSel = 304, sel.diatonicSel = 0, sel.scpIndex = 4, sel.scaleSteps = 12;
  fake.optionsOutcomes.push_back(OptionsOutcome{true, {IDRB_ADG, IDRB_MIXED, IDRB_GRAND_PIANO}});
  runOptionsDialog(program);
  EXPECT_EQ(fake.optionsShown, (std::vector<OptionsChecks>{{1011, 1021, 23}}));
  EXPECT_EQ(sel.keySel, 1014);
  EXPECT_EQ(sel.keySel2, 3);
  EXPECT_EQ(sel.direcSel, 1023);
  EXPECT_EQ(sel.direcSel2, 2);
  EXPECT_EQ(sel.midiVoice, 0);
  // The selection itself is not the dialog's business.
  EXPECT_EQ(sel.chordSel, 304);
  EXPECT_EQ(sel.scpIndex, 4);
  EXPECT_EQ(sel.scaleSteps, 12);
}

TEST_F(Dialogs, CancellingChangesNothing) {
  fake.optionsOutcomes.push_back(OptionsOutcome{false, {IDRB_EAD, IDRB_IN, IDRB_PICCOLO}});
  runOptionsDialog(program);
  runOptionsDialog(program);  // the fake's own close: a cancel
  EXPECT_EQ(fake.logOf("dialog.options").size(), 2u);
  EXPECT_EQ(optionsInitialChecks(sel), (OptionsChecks{1011, 1021, 23}));
  EXPECT_EQ(sel.keySel2, 0);
  EXPECT_EQ(sel.direcSel2, 0);
}

TEST_F(Dialogs, AGroupWithNothingCheckedKeepsItsValue) {
  sel.keySel = IDRB_FBE, sel.keySel2 = 0;  // index out of step: recomputed from the id
  sel.direcSel = IDRB_IN, sel.direcSel2 = 1, sel.midiVoice = IDRB_PICCOLO;
  storeOptionChoices(sel, OptionsChecks{-1, -1, -1});
  EXPECT_EQ(sel.keySel, 1013);
  EXPECT_EQ(sel.keySel2, 2);
  EXPECT_EQ(sel.direcSel, 1022);
  EXPECT_EQ(sel.direcSel2, 1);
  EXPECT_EQ(sel.midiVoice, 72);
  // An id of another group is no button of this one.
  storeOptionChoices(sel, OptionsChecks{IDRB_OUT, IDRB_GCF, IDPB_OK});
  EXPECT_EQ(optionsInitialChecks(sel), (OptionsChecks{1013, 1022, 72}));
  storeOptionChoices(sel, OptionsChecks{IDRB_EAD, -1, IDRB_GUITAR_STEEL});
  EXPECT_EQ(optionsInitialChecks(sel), (OptionsChecks{1012, 1022, 24}));
  EXPECT_EQ(sel.keySel2, 1);
}

TEST_F(Dialogs, AboutTextHasEightLines) {
  const std::vector<std::string> lines = linesOf(aboutText());
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "Brenavo: Aprenda A Tocar Acordeon");
  EXPECT_EQ(lines[1], "Version 2.0.1");
  EXPECT_EQ(lines[2], "Last modified on Tues.11.Jan.05");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "Autor: \tEquipo de Brenavo");
  EXPECT_EQ(lines[5].rfind("E-mail:\t", 0), 0u);
  EXPECT_NE(lines[5].find("gestor de incidencias"), std::string::npos);
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[7].rfind("URL:\t", 0), 0u);
  EXPECT_NE(lines[7].find("gestor de incidencias"), std::string::npos);
}

TEST_F(Dialogs, UsageTextKeepsItsLayout) {
  const std::string text = usageText();
  const std::vector<std::string> lines = linesOf(text);
  ASSERT_EQ(lines.size(), 28u);
  EXPECT_EQ(lines[0], "ACUERDO DE USO / RENUNCIA DE RESPONSABILIDAD");
  EXPECT_NE(lines[2].find("2026"), std::string::npos);
  EXPECT_NE(lines[2].find("Brenavo"), std::string::npos);
  EXPECT_EQ(lines[3], "Su intencion es uso personal unicamente.  Este programa no incluye");
  EXPECT_EQ(lines[6], "problemas tecnicos.");
  EXPECT_EQ(lines[8], "Al usar este programa, el usuario esta de acuerdo en:");
  EXPECT_EQ(lines[10], "   * aceptar responsabilidad en su totalidad por cualquier desdicha");
  EXPECT_EQ(lines[12], "     a nadie en dicho caso");
  EXPECT_EQ(lines[13], "     ");
  EXPECT_EQ(lines[14].rfind("   * ", 0), 0u);
  EXPECT_EQ(lines[15], "     beneficio financiero por medio del uso de este programa");
  EXPECT_EQ(lines[16], "     ");
  EXPECT_EQ(lines[17], "Sin embargo, si crees que este programa ha mejorado drasticamente algun");
  EXPECT_EQ(lines[19], "un donativo a Oxfam para combatir la pobreza en el mundo:");
  EXPECT_EQ(lines[21], "\tOxfam: https://www.oxfam.org");
  EXPECT_EQ(lines[23], "Comentarios, criticas, y sugerencias seran bien recibidas:");
  EXPECT_EQ(lines[24], "(el gestor de incidencias del proyecto Brenavo)");
  for (size_t i : {1u, 7u, 9u, 20u, 22u, 25u, 26u, 27u}) EXPECT_EQ(lines[i], "") << i;
  EXPECT_GT(text.size(), 900u);
  for (char c : text) EXPECT_LT(static_cast<unsigned char>(c), 128u) << "no accents";
}

TEST_F(Dialogs, InfoDialogsShowTheirTexts) {
  runAboutDialog(program);
  runUsageDialog(program);
  EXPECT_EQ(fake.log, (std::vector<std::string>{"dialog.about", "dialog.usage"}));
  EXPECT_EQ(fake.lastAboutText, aboutText());
  EXPECT_EQ(fake.lastUsageText, usageText());
}

TEST_F(Dialogs, HelpCommandsOpenTheirTopics) {
  initHelp(program);
  for (int id = 501; id <= 506; ++id) showHelpTopic(program, id);
  showHelpTopic(program, IDM_HELP);
  shutdownHelp(program);
  EXPECT_EQ(fake.helpTargets,
            (std::vector<std::string>{"brenavo.chm", "brenavo.chm::brv_intro_faq.htm",
                                      "brenavo.chm::brv_intro_hotkeys.htm",
                                      "brenavo.chm::brv_musicTheory_intro.htm", "brenavo.chm"}));
  EXPECT_EQ(fake.log.front(), "help.initialize");
  EXPECT_EQ(fake.log.back(), "help.uninitialize");
  EXPECT_EQ(helpTarget(IDM_USAGE), nullptr);
  EXPECT_EQ(helpTarget(IDM_ABOUT), nullptr);
}

}  // namespace
}  // namespace brenavo
