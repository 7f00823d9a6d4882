// The options dialog's rules, the about and usage texts, and the help topics.
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
using Lines = std::vector<std::string>;

Lines linesOf(const std::string& text) {
  Lines lines;
  std::istringstream in(text + "\n");
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Compares a text line by line: "*" leaves a line open, "text*" fixes only its start.
void expectLines(const std::string& text, const Lines& patterns) {
  const Lines lines = linesOf(text);
  ASSERT_EQ(lines.size(), patterns.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& pattern = patterns[i];
    if (pattern.ends_with('*'))
      EXPECT_TRUE(lines[i].starts_with(pattern.substr(0, pattern.size() - 1))) << i << lines[i];
    else
      EXPECT_EQ(lines[i], pattern) << i;
  }
}

// Tuning, direction and voice, each as its radio id and (but the voice) its index.
std::vector<int32_t> choicesOf(const SelectionState& s) {
  return {s.keySel, s.keySel2, s.direcSel, s.direcSel2, s.midiVoice};
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
  sel.keySel = 1021, sel.direcSel = 1011, sel.midiVoice = 1001;  // ids of no button of theirs
  EXPECT_EQ(optionsInitialChecks(sel), (OptionsChecks{-1, -1, -1}));
}

TEST_F(Dialogs, SavingStoresBothHalvesOfEachChoiceAndCancellingNothing) {
  sel.chordSel = 304, sel.diatonicSel = 0, sel.scpIndex = 4, sel.scaleSteps = 12;
  fake.optionsOutcomes = {OptionsOutcome{false, {IDRB_EAD, IDRB_IN, IDRB_PICCOLO}},
                          OptionsOutcome{true, {IDRB_ADG, IDRB_MIXED, IDRB_GRAND_PIANO}}};
  runOptionsDialog(program);
  EXPECT_EQ(choicesOf(sel), choicesOf(SelectionState{})) << "cancelled";
  runOptionsDialog(program);
  EXPECT_EQ(fake.optionsShown, (std::vector<OptionsChecks>(2, {1011, 1021, 23})));
  EXPECT_EQ(choicesOf(sel), (std::vector<int32_t>{1014, 3, 1023, 2, 0}));
  // The selection itself is not the dialog's business.
  EXPECT_EQ((std::vector<int32_t>{sel.chordSel, sel.scpIndex, sel.scaleSteps}),
            (std::vector<int32_t>{304, 4, 12}));
}

TEST_F(Dialogs, AGroupWithNothingOrAStrangerCheckedKeepsItsValue) {
  sel.keySel = IDRB_FBE, sel.keySel2 = 0;  // index out of step: recomputed from the id
  sel.direcSel = IDRB_IN, sel.direcSel2 = 1, sel.midiVoice = IDRB_PICCOLO;
  storeOptionChoices(sel, OptionsChecks{-1, -1, -1});
  EXPECT_EQ(choicesOf(sel), (std::vector<int32_t>{1013, 2, 1022, 1, 72}));
  storeOptionChoices(sel, OptionsChecks{IDRB_OUT, IDRB_GCF, IDPB_OK});  // ids of other groups
  EXPECT_EQ(choicesOf(sel), (std::vector<int32_t>{1013, 2, 1022, 1, 72}));
  storeOptionChoices(sel, OptionsChecks{IDRB_EAD, -1, IDRB_GUITAR_STEEL});
  EXPECT_EQ(choicesOf(sel), (std::vector<int32_t>{1012, 1, 1022, 1, 24}));
}

TEST_F(Dialogs, AboutAndUsageShowTheirFixedLines) {
  runAboutDialog(program);
  runUsageDialog(program);
  EXPECT_EQ(fake.log, (Lines{"dialog.about", "dialog.usage"}));
  EXPECT_EQ(fake.lastAboutText, aboutText());
  EXPECT_EQ(fake.lastUsageText, usageText());

  expectLines(aboutText(), {"Brenavo: Aprenda A Tocar Acordeon", "Version 2.0.1",
                            "Last modified on Tues.11.Jan.05", "", "Autor: \tEquipo de Brenavo",
                            "E-mail:\t*", "", "URL:\t*"});
  expectLines(usageText(),
              {"ACUERDO DE USO / RENUNCIA DE RESPONSABILIDAD", "", "*",
               "Su intencion es uso personal unicamente.  Este programa no incluye", "*", "*",
               "problemas tecnicos.", "", "Al usar este programa, el usuario esta de acuerdo en:",
               "", "   * aceptar responsabilidad en su totalidad por cualquier desdicha", "*",
               "     a nadie en dicho caso", "     ", "   * *",
               "     beneficio financiero por medio del uso de este programa", "     ",
               "Sin embargo, si crees que este programa ha mejorado drasticamente algun", "*",
               "un donativo a Oxfam para combatir la pobreza en el mundo:", "",
               "\tOxfam: https://www.oxfam.org", "",
               "Comentarios, criticas, y sugerencias seran bien recibidas:",
               "(el gestor de incidencias del proyecto Brenavo)", "", "", ""});
  // The contact lines point to the project's issue tracker; the notice names year and program.
  for (size_t i : {5u, 7u})
    EXPECT_NE(linesOf(aboutText()).at(i).find("gestor de incidencias"), std::string::npos) << i;
  for (const char* word : {"2026", "Brenavo"})
    EXPECT_NE(linesOf(usageText()).at(2).find(word), std::string::npos) << word;
  for (char c : usageText()) EXPECT_LT(static_cast<unsigned char>(c), 128u) << "no accents";
}

TEST_F(Dialogs, HelpCommandsOpenTheirTopics) {
  initHelp(program);
  for (int id = 501; id <= 506; ++id) showHelpTopic(program, id);
  showHelpTopic(program, IDM_HELP);
  shutdownHelp(program);
  EXPECT_EQ(fake.helpTargets,
            (Lines{"brenavo.chm", "brenavo.chm::brv_intro_faq.htm",
                   "brenavo.chm::brv_intro_hotkeys.htm", "brenavo.chm::brv_musicTheory_intro.htm",
                   "brenavo.chm"}));
  EXPECT_EQ(fake.log.front(), "help.initialize");
  EXPECT_EQ(fake.log.back(), "help.uninitialize");
}

}  // namespace
}  // namespace brenavo
