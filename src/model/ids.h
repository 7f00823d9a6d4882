// Message numbers, command ids and control ids shared by every part of the program.
#pragma once

#include <array>
#include <cstdint>

namespace brenavo {

// Window messages delivered to WindowFunc.
inline constexpr uint32_t WM_CREATE = 1;
inline constexpr uint32_t WM_DESTROY = 2;
inline constexpr uint32_t WM_PAINT = 15;
inline constexpr uint32_t WM_COMMAND = 273;
inline constexpr uint32_t WM_TIMER = 275;
inline constexpr uint32_t WM_VSCROLL = 277;
// Live play: the mouse (x, y in lParam), keys (scan code in wParam) and the focus.
inline constexpr uint32_t WM_KILLFOCUS = 8;
inline constexpr uint32_t WM_KEYDOWN = 256;
inline constexpr uint32_t WM_KEYUP = 257;
inline constexpr uint32_t WM_MOUSEMOVE = 512;
inline constexpr uint32_t WM_LBUTTONDOWN = 513;
inline constexpr uint32_t WM_LBUTTONUP = 514;
// The lParam bit of a WM_KEYDOWN whose key was already down: an auto-repeat.
inline constexpr intptr_t KEY_WAS_DOWN = intptr_t{1} << 30;
// A block of the microphone analysed: lParam points at a listening::Hearing.
inline constexpr uint32_t WM_PRACTICE_HEARD = 0x8001;

// A point as a mouse message carries it: x in the low word, y in the high word.
inline constexpr intptr_t MAKELPARAM(int x, int y) {
  return static_cast<intptr_t>(static_cast<uint16_t>(x) |
                               (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16));
}

// The sheets on paper and in files.
inline constexpr int IDM_PRINT_SCALES = 101;
inline constexpr int IDM_PRINT_KEYBOARD = 102;
inline constexpr int IDM_PRINT_SCREEN = 103;
inline constexpr int IDM_EXPORT = 104;
inline constexpr int IDM_BOOKLET = 105;

inline constexpr int IDM_DIALOGBOX_OPTIONS = 110;
inline constexpr int IDM_EXIT = 111;

inline constexpr int IDM_SCALE_NOTES = 201;
inline constexpr int IDM_SCALE_THIRDS = 202;
inline constexpr int IDM_SCALE_SIXTHS = 203;
inline constexpr int IDM_SCALE_CHROMATIC = 204;
inline constexpr int IDM_SCALE_1 = 210;
inline constexpr int IDM_SCALE_1m = 222;
inline constexpr int IDM_SCALE_12m = 233;
inline constexpr int IDM_SCALE_PENT_1 = 234;
inline constexpr int IDM_SCALE_PENT_1m = 246;
inline constexpr int IDM_SCALE_PENT_BLUES_1 = 258;
inline constexpr int IDM_SCALE_PENT_BLUES_12 = 269;
inline constexpr int IDM_SCALE_WT0 = 270;
inline constexpr int IDM_SCALE_WT1 = 271;
inline constexpr int IDM_CHORDS_MAJOR = 300;
inline constexpr int IDM_CHORDS_7_DOM_B5 = 310;
inline constexpr int IDM_PROG_TRIAD_1 = 400;
inline constexpr int IDM_PROG_TRIAD_12 = 411;
inline constexpr int IDM_PROG_C_ARM_1 = 412;
inline constexpr int IDM_PROG_C_MEL_1 = 424;
inline constexpr int IDM_PROG_C_MEL_12 = 435;

inline constexpr int IDM_HELP = 501;
inline constexpr int IDM_FAQ = 502;
inline constexpr int IDM_HOTKEYS = 503;
inline constexpr int IDM_USAGE = 504;
inline constexpr int IDM_ABOUT = 505;
inline constexpr int IDM_MTHEORY = 506;

inline constexpr int IDC_CONTROLS_FRAME = 600;
inline constexpr int IDPB_PLAY = 601;
inline constexpr int IDPB_LOOP = 602;
inline constexpr int IDPB_PAUSE = 603;
inline constexpr int IDPB_STOP = 604;
inline constexpr int IDM_PLAY_TIMER = 605;

// Practice with the microphone, and its own timer.
inline constexpr int IDM_PRACTICE_WAIT = 701;
inline constexpr int IDM_PRACTICE_TEMPO = 702;
inline constexpr int IDM_PRACTICE_STOP = 703;
inline constexpr int IDM_PRACTICE_TIMER = 704;

inline constexpr int IDM_SPEED_PLUS_5 = 801;
inline constexpr int IDM_SPEED_PLUS_25 = 802;
inline constexpr int IDM_SPEED_MIN_5 = 803;
inline constexpr int IDM_SPEED_MIN_25 = 804;

inline constexpr int IDM_UPDATE_MENUS = 12345;
inline constexpr int IDM_UPDATE_STATUS_BAR = 12346;
inline constexpr int ID_STATUSBAR = 99999;

// Options dialog controls. The voice radio buttons use the MIDI program numbers as ids.
inline constexpr int IDPB_OK = 1001;
inline constexpr int IDPB_CANCEL = 1002;
inline constexpr int IDRB_GCF = 1011;
inline constexpr int IDRB_EAD = 1012;
inline constexpr int IDRB_FBE = 1013;
inline constexpr int IDRB_ADG = 1014;
inline constexpr int IDRB_OUT = 1021;
inline constexpr int IDRB_IN = 1022;
inline constexpr int IDRB_MIXED = 1023;
inline constexpr int IDC_SHOW_KEYS = 1031;  // "Mostrar teclas"
inline constexpr int IDC_INPUT_DEVICE = 1041;
inline constexpr int IDC_REFERENCE_A = 1042;
inline constexpr int IDRB_TANGO_ACC = 23;
inline constexpr int IDRB_PICCOLO = 72;
inline constexpr int IDRB_GRAND_PIANO = 0;
inline constexpr int IDRB_GUITAR_STEEL = 24;

// The four voices, in the order of the options dialog.
inline constexpr std::array<int, 4> VOICE_IDS = {IDRB_TANGO_ACC, IDRB_PICCOLO, IDRB_GRAND_PIANO,
                                                 IDRB_GUITAR_STEEL};

// Scroll codes of WM_VSCROLL (low word of wParam; the thumb position is in the high word).
inline constexpr int SB_LINEUP = 0;
inline constexpr int SB_LINEDOWN = 1;
inline constexpr int SB_PAGEUP = 2;
inline constexpr int SB_PAGEDOWN = 3;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_THUMBTRACK = 5;
inline constexpr int SB_ENDSCROLL = 8;

inline constexpr int VERT_RANGE_MIN = 1;
inline constexpr int VERT_RANGE_MAX = 20;
inline constexpr int TIMER_MILLISECS = 250;

// Message box styles and answers.
inline constexpr int MB_OK = 0x0;
inline constexpr int MB_YESNO = 0x4;
inline constexpr int MB_ICONEXCLAMATION = 0x30;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

inline constexpr bool inRange(int value, int first, int last) {
  return value >= first && value <= last;
}

inline constexpr bool isVoiceId(int value) {
  for (int voice : VOICE_IDS)
    if (voice == value) return true;
  return false;
}

// A pentatonic command 234-269: twelve rows in each of the three families.
struct PentatonicRow {
  int family;  // 0 major, 1 minor, 2 blues
  int row;
};
inline constexpr PentatonicRow pentatonicRowOf(int commandId) {
  const int offset = commandId - IDM_SCALE_PENT_1;
  return {offset / 12, offset % 12};
}

}  // namespace brenavo
