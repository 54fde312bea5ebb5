#include "register/key_map.h"

#include <array>
#include <vector>
#include <string_view>
#include <utility>

namespace pos {
namespace {

// Names of runs of consecutive key codes.
struct NamedRun {
    int from;
    std::vector<const char*> names;
};

const std::vector<NamedRun>& namedRuns()
{
    static const std::vector<NamedRun> runs = {
        {8, {"BackSpace", "TAB"}},
        {12, {"Clear", "Enter"}},
        {16, {"Shift", "Ctrl", "Alt", "Pause Break", "Caps Lock"}},
        {27, {"Esc"}},
        {32, {"Space", "Page Up", "Page Down", "End", "Home", "Left Arrow", "Up Arrow", "Right Arrow", "Down Arrow",
              "Select", "Print", "Execute", "Print Screen", "Insert", "Delete"}},
        {91, {"Left Windows", "Right Windows", "Applications"}},
        {106, {"*", "+"}},
        {109, {"-", ".", "/"}},
        {144, {"Num Lock", "Scroll Lock"}},
        {160, {"Left Shift", "Right Shift", "Left Ctrl", "Right Ctrl", "Left Alt", "Right Alt"}},
        {186, {";", "=", ",", "-", ".", "/", "`"}},
        {219, {"[", "\\", "]", "'"}},
        {229, {"Process"}},
        {246, {"Attn", "CrSel", "ExSel", "Erase EOF", "Play", "Zoom", "Reserved for future use", "PA1", "Clear"}},
    };
    return runs;
}

// The digits with Shift on the layout, from the Shift+0 key on.
constexpr std::string_view kShiftedDigits = ")!@#$%^&*(";
// The punctuation keys of the layout: the character unshifted and shifted, by key code.
constexpr std::array<std::pair<int, std::pair<char, char>>, 11> kPunctuationKeys = {{
    {186, {';', ':'}},
    {187, {'=', '+'}},
    {188, {',', '<'}},
    {189, {'-', '_'}},
    {190, {'.', '>'}},
    {191, {'/', '?'}},
    {192, {'`', '~'}},
    {219, {'[', '{'}},
    {220, {'\\', '|'}},
    {221, {']', '}'}},
    {222, {'\'', '"'}},
}};

}  // namespace

std::string KeyName(int keyCode)
{
    if (keyCode >= '0' && keyCode <= '9')
        return std::string(1, static_cast<char>(keyCode));
    if (keyCode >= 'A' && keyCode <= 'Z')
        return std::string(1, static_cast<char>(keyCode - 'A' + 'a'));
    if (keyCode >= vk::KeypadZero && keyCode <= vk::KeypadZero + 9)
        return std::string(1, static_cast<char>(keyCode - vk::KeypadZero + '0'));
    if (keyCode >= vk::F1 && keyCode <= vk::F1 + 23)
        return "F" + std::to_string(keyCode - vk::F1 + 1);
    const int shiftedZero = vk::ShiftState + '0';
    if (keyCode >= shiftedZero && keyCode <= shiftedZero + 9)
        return std::string(1, kShiftedDigits[static_cast<std::size_t>(keyCode - shiftedZero)]);
    if (keyCode == vk::ShiftState + 187)
        return "+";
    for (const NamedRun& run : namedRuns()) {
        const int offset = keyCode - run.from;
        if (offset >= 0 && offset < static_cast<int>(run.names.size()))
            return run.names[static_cast<std::size_t>(offset)];
    }
    return {};
}

int characterKeyCode(char32_t ch)
{
    if (ch >= 'a' && ch <= 'z')
        return static_cast<int>(ch - 'a' + 'A');
    if (ch >= 'A' && ch <= 'Z')
        return vk::ShiftState + static_cast<int>(ch);
    if (ch >= '0' && ch <= '9')
        return static_cast<int>(ch);
    if (auto shifted = kShiftedDigits.find(static_cast<char>(ch)); ch < 128 && shifted != std::string_view::npos)
        return vk::ShiftState + '0' + static_cast<int>(shifted);
    for (const auto& [code, chars] : kPunctuationKeys) {
        if (ch == static_cast<char32_t>(chars.first))
            return code;
        if (ch == static_cast<char32_t>(chars.second))
            return vk::ShiftState + code;
    }
    switch (ch) {
    case ' ':
    case '\b':
    case '\t':
    case '\r':
    case 27:
        return static_cast<int>(ch);
    default:
        return -1;
    }
}

std::string GetSysKey(RegisterStatements& local, const std::string& first, const std::string& second)
{
    if (first.empty() && second.empty())
        return {};
    return local.sysKey.query({first, second}).first("SysKey").toString();
}

KeyPair keyDownKeys(int keyCode, KeyModifiers modifiers)
{
    const std::string key = KeyName(keyCode);
    const int held = int(modifiers.shift) + int(modifiers.ctrl) + int(modifiers.alt);
    if (held == 1) {
        const auto [modifierKey, name] = modifiers.shift ? std::pair{vk::Shift, "Shift"}
                                         : modifiers.ctrl ? std::pair{vk::Ctrl, "Ctrl"}
                                                          : std::pair{vk::Alt, "Alt"};
        if (keyCode != modifierKey)
            return {name, key};
    }
    return {key, {}};
}

int arrowKeyOf(const std::string& code)
{
    if (code == "↑")
        return vk::Up;
    if (code == "→")
        return vk::Right;
    if (code == "↓")
        return vk::Down;
    return 0;
}

bool mapsATypingKeyAlone(const std::string& first, const std::string& second)
{
    // Every key that types a printable character is named by that one character.
    return second.empty() && first.size() == 1 && first[0] > ' ' && first[0] < 127;
}

KeyMapColumns::KeyMapColumns(const Columns& keyMap)
    : sysKey(keyMap.index("SysKey")),
      function(keyMap.index("Function")),
      firstKey(keyMap.index("FirClientKey")),
      secondKey(keyMap.index("SecClientKey"))
{
}

std::optional<std::size_t> rowSharingKeys(const RowSet& keyMap, std::size_t row, const std::string& first,
                                          const std::string& second)
{
    if (first.empty() && second.empty())
        return std::nullopt;
    const KeyMapColumns column(keyMap.columns());
    for (std::size_t r = 0; r < keyMap.size(); ++r)
        if (r != row && keyMap.row(r)[column.firstKey].toString() == first
            && keyMap.row(r)[column.secondKey].toString() == second)
            return r;
    return std::nullopt;
}

void restoreDefaultKeys(RegisterStatements& local) { local.restoreDefaultKeys.execute(); }

}  // namespace pos
