#pragma once

#include "base/row_set.h"
#include "register/register_statements.h"

#include <optional>
#include <string>

namespace pos {

// Key codes of the keyboard as the key map knows them: a key's virtual-key code, and for
// a typed character the layout's shift state added in the second byte (256 for Shift).
namespace vk {
inline constexpr int Enter = 13;
inline constexpr int Shift = 16;
inline constexpr int Ctrl = 17;
inline constexpr int Alt = 18;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int F1 = 112;
inline constexpr int KeypadZero = 96;
inline constexpr int ShiftState = 256;
}  // namespace vk

// The name PosHelp stores for a key code; empty for a code without a name.
std::string KeyName(int keyCode);

// The key code of a typed character on the terminal's keyboard layout (US), shift state
// included: 'a' gives 65, 'A' 321, '+' 443, '\r' 13. -1 for a character no key types.
int characterKeyCode(char32_t ch);

// The command code mapped to a first and a second key, read from PosHelp on the local
// file at every call; empty when no row matches or both keys are empty. A missing key
// in the table counts as the empty text.
std::string GetSysKey(RegisterStatements& local, const std::string& first, const std::string& second);

struct KeyModifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// The two keys the input box looks up when a key goes down on the empty box: the
// modifier's name and the key's name while exactly one of Shift, Ctrl and Alt is held
// (the modifier key itself aside), else the key's name alone.
struct KeyPair {
    std::string first;
    std::string second;
};
KeyPair keyDownKeys(int keyCode, KeyModifiers modifiers);

// The arrow key a line-editing code of the key map ("↑", "→", "↓") stands for; 0 for
// every other code.
int arrowKeyOf(const std::string& code);

// Whether two keys map a key that types a character into the input box (a digit, a
// letter, a punctuation key) alone, with no second key: the key-down lookup then runs the
// command for the first character of every scan and typed number that starts with it.
bool mapsATypingKeyAlone(const std::string& first, const std::string& second);

// Where the columns of a keyMap result are in its rows.
struct KeyMapColumns {
    explicit KeyMapColumns(const Columns& keyMap);
    std::size_t sysKey;    // the command's default code
    std::size_t function;  // what the command does, as shown
    std::size_t firstKey;
    std::size_t secondKey;
};

// The row of the key map other than `row` mapped to the same two keys: the lookup finds
// only one of them. None when the keys are both empty.
std::optional<std::size_t> rowSharingKeys(const RowSet& keyMap, std::size_t row, const std::string& first,
                                          const std::string& second);

// Back to the keys the local file came with: every command code typed and ended by
// Enter, the line-editing codes on their arrow keys.
void restoreDefaultKeys(RegisterStatements& local);

}  // namespace pos
