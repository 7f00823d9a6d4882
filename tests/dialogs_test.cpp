// The options dialog's rules, the about and usage texts, and the help topics.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/help_topics.h"
#include "dialogs/info_dialogs.h"
#include "dialogs/options.h"
#include "fakes/recording_platform.h"

namespace brenavo {
namespace {

using platform::OptionsChecks;
using Values = std::vector<int32_t>;

// Tuning, direction and voice, each as its radio id and (but the voice) its index.
Values choicesOf(const SelectionState& s) {
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

// Saving stores both halves of each choice, cancelling nothing; a group with nothing or a
// stranger checked keeps its value, and the index follows the id.
TEST_F(Dialogs, OptionsStoreWhatWasSaved) {
  fake.optionsOutcomes = {{false, {IDRB_EAD, IDRB_IN, IDRB_PICCOLO}},
                          {true, {IDRB_ADG, IDRB_MIXED, IDRB_GRAND_PIANO}}};
  runOptionsDialog(program);
  EXPECT_EQ(choicesOf(sel), choicesOf(SelectionState{})) << "cancelled";
  runOptionsDialog(program);
  EXPECT_EQ(choicesOf(sel), (Values{1014, 3, 1023, 2, 0}));
  EXPECT_EQ(fake.optionsShown.at(1), (OptionsChecks{1011, 1021, 23})) << "the choices before";
  sel.keySel = IDRB_FBE, sel.direcSel = IDRB_IN, sel.midiVoice = IDRB_PICCOLO;
  storeOptionChoices(sel, OptionsChecks{-1, IDRB_GCF, IDPB_OK});
  EXPECT_EQ(choicesOf(sel), (Values{1013, 2, 1022, 1, 72}));
}

// The about text names program, version and date and sends comments to the issue tracker; the
// usage notice names year and program, in plain ASCII.
TEST_F(Dialogs, AboutAndUsageShowTheirTexts) {
  runAboutDialog(program);
  runUsageDialog(program);
  EXPECT_EQ(fake.lastAboutText, aboutText());
  EXPECT_EQ(fake.lastUsageText, usageText());
  EXPECT_TRUE(aboutText().starts_with(
      "Brenavo: Aprenda A Tocar Acordeon\nVersion 2.0.1\nLast modified on Tues.11.Jan.05\n"));
  const std::string contact = "E-mail:\tcomentarios en el gestor de incidencias";
  EXPECT_NE(aboutText().find(contact), std::string::npos);
  for (const char* words : {"ACUERDO DE USO / RENUNCIA DE RESPONSABILIDAD\n", "(c) 2026 Brenavo.",
                            "Oxfam: https://www.oxfam.org", "gestor de incidencias"})
    EXPECT_NE(usageText().find(words), std::string::npos) << words;
  for (char c : usageText()) EXPECT_LT(static_cast<unsigned char>(c), 128u) << "no accents";
}

TEST_F(Dialogs, HelpCommandsOpenTheirTopicsBetweenInitialiseAndShutdown) {
  initHelp(program);
  for (int id = IDM_HELP; id <= IDM_MTHEORY; ++id) showHelpTopic(program, id);
  shutdownHelp(program);
  EXPECT_EQ(fake.log, (std::vector<std::string>{
                          "help.initialize", "help.display brenavo.chm",
                          "help.display brenavo.chm::brv_intro_faq.htm",
                          "help.display brenavo.chm::brv_intro_hotkeys.htm",
                          "help.display brenavo.chm::brv_musicTheory_intro.htm",
                          "help.uninitialize"}));
}

}  // namespace
}  // namespace brenavo
