#include "register/key_map.h"

#include "register/register_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

using test::RegisterTest;

TEST(KeyNameTest, NamesTheKeysTheTableStores)
{
    const std::pair<int, const char*> names[] = {
        {8, "BackSpace"},    {9, "TAB"},           {12, "Clear"},      {13, "Enter"},        {16, "Shift"},
        {17, "Ctrl"},        {18, "Alt"},          {19, "Pause Break"}, {20, "Caps Lock"},   {27, "Esc"},
        {32, "Space"},       {33, "Page Up"},      {37, "Left Arrow"}, {38, "Up Arrow"},     {40, "Down Arrow"},
        {41, "Select"},      {44, "Print Screen"}, {46, "Delete"},     {48, "0"},            {57, "9"},
        {65, "a"},           {90, "z"},            {91, "Left Windows"}, {93, "Applications"}, {96, "0"},
        {97, "1"},           {105, "9"},           {106, "*"},         {107, "+"},           {109, "-"},
        {110, "."},          {111, "/"},           {112, "F1"},        {123, "F12"},         {135, "F24"},
        {144, "Num Lock"},   {145, "Scroll Lock"}, {160, "Left Shift"}, {165, "Right Alt"},  {186, ";"},
        {187, "="},          {191, "/"},           {192, "`"},         {219, "["},           {220, "\\"},
        {222, "'"},          {229, "Process"},     {246, "Attn"},      {249, "Erase EOF"},   {252, "Reserved for future use"},
        {254, "Clear"},      {304, ")"},           {305, "!"},         {312, "*"},           {313, "("},
        {443, "+"},          // unnamed codes
        {0, ""},             {10, ""},             {47, ""},           {108, ""},            {136, ""},
        {193, ""},           {255, ""},            {321, ""},          {444, ""},            {-1, ""},
    };
    for (const auto& [code, name] : names)
        EXPECT_EQ(KeyName(code), name) << code;
}

TEST(KeyNameTest, TypedCharactersCarryTheShiftStateOfTheirKey)
{
    const std::pair<char32_t, int> codes[] = {
        {U'a', 65},  {U'A', 321}, {U'4', 52},  {U'$', 308}, {U'*', 312}, {U'+', 443}, {U'=', 187},
        {U'/', 191}, {U'?', 447}, {U'-', 189}, {U'.', 190}, {U' ', 32},  {U'\r', 13}, {U'\b', 8},
        {U'"', 478}, {U'中', -1}, {U'\x7f', -1},
    };
    for (const auto& [ch, code] : codes)
        EXPECT_EQ(characterKeyCode(ch), code) << static_cast<int>(ch);
    EXPECT_EQ(KeyName(characterKeyCode(U'+')), "+");
    EXPECT_EQ(KeyName(characterKeyCode(U'*')), "*");
    EXPECT_EQ(KeyName(characterKeyCode(U'D')), "") << "a capital letter has no name";
}

TEST(KeyNameTest, KeyDownLooksUpOneModifierWithItsKey)
{
    struct Case {
        int key;
        KeyModifiers modifiers;
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {68, {false, true, false}, "Ctrl", "d"},
        {68, {true, true, false}, "d", ""},  // two modifiers: the key alone
        {115, {}, "F4", ""},
        {49, {true, false, false}, "Shift", "1"},
        {112, {false, false, true}, "Alt", "F1"},
        {17, {false, true, false}, "Ctrl", ""},  // the modifier key itself
        {16, {true, false, false}, "Shift", ""},
        {108, {}, "", ""},
    };
    for (const Case& c : cases) {
        const KeyPair keys = keyDownKeys(c.key, c.modifiers);
        EXPECT_EQ(keys.first, c.first) << c.key;
        EXPECT_EQ(keys.second, c.second) << c.key;
    }
}

TEST(KeyNameTest, OnlyAKeyThatTypesACharacterMappedAloneTakesItFromScanning)
{
    struct {
        const char* first;
        const char* second;
        bool takes;
    } cases[] = {
        {"6", "", true},       {"d", "", true},     {";", "", true},      {"-", "", true},
        {"6", "Enter", false}, {"Ctrl", "6", false}, {"F6", "", false},    {"Space", "", false},
        {"Up Arrow", "", false}, {"6/", "", false},  {"", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mapsATypingKeyAlone(c.first, c.second), c.takes) << c.first << "|" << c.second;
}

TEST_F(RegisterTest, DefaultKeyMapMakesEveryCodeWithEnterStandForItself)
{
    Database& local = f.dm.conClient();
    EXPECT_EQ(GetSysKey(local.statements<RegisterStatements>(), "4/", "Enter"), "4/");
    EXPECT_EQ(GetSysKey(local.statements<RegisterStatements>(), "+", "Enter"), "+");
    EXPECT_EQ(GetSysKey(local.statements<RegisterStatements>(), "4/", "Space"), "");
    EXPECT_EQ(GetSysKey(local.statements<RegisterStatements>(), "Up Arrow", ""), "↑");
    EXPECT_EQ(GetSysKey(local.statements<RegisterStatements>(), "", ""), "");
    EXPECT_EQ(GetSysKey(local.statements<RegisterStatements>(), "x' or '1'='1", "Enter"), "");
    EXPECT_EQ(GetSysKey(local.statements<RegisterStatements>(), "4/' or ''='", "Enter"), "");

    // "4/" and a blank is typing; "4/" and Enter runs it.
    view.boxes[EditBox::Input] = "4/";
    EXPECT_FALSE(interpreter.keyPress(U' '));
    EXPECT_EQ(view.text(EditBox::Input), "4/");
    EXPECT_TRUE(interpreter.keyPress(U'\r'));
    EXPECT_EQ(view.text(EditBox::Input), "");
    EXPECT_EQ(messages(), std::vector<std::string>{"空单不能挂单！"});  // the hold ran
}

TEST_F(RegisterTest, CustomKeysRunTheirCommandsOnAnEmptyBox)
{
    Database& local = f.dm.conClient();
    local.execute("update PosHelp set FirClientKey='F4', SecClientKey=null where SysKey='-'");
    local.execute("update PosHelp set FirClientKey='Ctrl', SecClientKey='d' where SysKey='16/'");
    local.execute("update PosHelp set FirClientKey='F9', SecClientKey='' where SysKey='↓'");
    local.execute("update PosHelp set FirClientKey='69', SecClientKey='Space' where SysKey='20/'");
    constexpr int kF4 = 115, kF9 = 120, kD = 68;

    view.boxes[EditBox::Input] = "69";
    interpreter.keyDown(kF4, {});
    EXPECT_EQ(view.focused, EditBox::Input) << "F4 with text in the box is no command";
    view.boxes[EditBox::Input] = "";
    interpreter.keyDown(kF4, {});
    EXPECT_EQ(view.focused, EditBox::Quantity) << "a missing second key counts as empty";
    lines.quantityEnter();

    interpreter.keyDown(kD, {true, true, false});
    EXPECT_EQ(view.closeRequests, 0) << "Ctrl+Shift+D";
    interpreter.keyDown(kD, {false, true, false});
    EXPECT_EQ(view.closeRequests, 1);

    // A typed text ended by its key.
    view.boxes[EditBox::Input] = "69";
    EXPECT_TRUE(interpreter.keyPress(U' '));
    EXPECT_EQ(lineCount(), 0u) << "the text became its command, not goods";
    EXPECT_EQ(view.text(EditBox::Input), "");

    interpreter.keyDown(kF9, {});
    EXPECT_FALSE(view.grid) << "no lines to edit";
    enter("6901");
    f.person.supervisors = {std::nullopt};
    interpreter.keyDown(kF9, {});
    EXPECT_EQ(f.person.supervisorRights, std::vector<OperatorRight>{OperatorRight::Discount})
        << "F9 stands for Down: the discount needs right 3";
    signOnSenior();
    interpreter.keyDown(kF9, {});
    EXPECT_EQ(view.grid, LineField::Discount);
}

TEST_F(RegisterTest, ArrowKeysEditTheLinesWhateverTheBoxHolds)
{
    enter("6901");
    view.boxes[EditBox::Input] = "69";
    interpreter.keyDown(vk::Up, {});
    EXPECT_EQ(view.grid, LineField::Quantity);
    EXPECT_EQ(view.text(EditBox::Input), "69");
    lines.endGridEditing();

    // On the empty box the default map turns Up Arrow into "↑", which acts as Up.
    interpreter.keyDown(vk::Up, {});
    EXPECT_EQ(view.grid, LineField::Quantity);
    lines.endGridEditing();

    interpreter.keyDown(vk::Left, {});
    EXPECT_FALSE(view.grid);
    EXPECT_TRUE(messages().empty());
}

TEST_F(RegisterTest, LockAndKeyHelpNeedNoRightAndTakeRemappedKeys)
{
    // The cashier holds no right and no supervisor is asked.
    typeAndEnter("7/");
    typeAndEnter("19/");
    EXPECT_EQ(view.locks, 1);
    EXPECT_EQ(view.keyHelpsShown, 1);

    f.dm.conClient().execute("update PosHelp set FirClientKey='Ctrl', SecClientKey='l' where SysKey='7/'");
    f.dm.conClient().execute("update PosHelp set FirClientKey='F1', SecClientKey='' where SysKey='19/'");
    constexpr int kL = 76;
    interpreter.keyDown(kL, {false, true, false});
    interpreter.keyDown(vk::F1, {});
    EXPECT_EQ(view.locks, 2);
    EXPECT_EQ(view.keyHelpsShown, 2);
    EXPECT_EQ(view.text(EditBox::Input), "");
    EXPECT_TRUE(messages().empty());
}

TEST_F(RegisterTest, ATypedTextMappedToAnArrowEditsTheLinesInsteadOfBeingGoods)
{
    f.dm.conClient().execute("update PosHelp set FirClientKey='q', SecClientKey='Space' where SysKey='↑'");
    enter("6901");
    view.boxes[EditBox::Input] = "q";
    EXPECT_TRUE(interpreter.keyPress(U' ')) << "the blank is used up";
    EXPECT_EQ(view.grid, LineField::Quantity);
    EXPECT_EQ(view.text(EditBox::Input), "");
    EXPECT_EQ(lineCount(), 1u);
    EXPECT_TRUE(messages().empty());
}

TEST_F(RegisterTest, RestoringTheDefaultsBringsBackTheKeysTheFileCameWith)
{
    Database& local = f.dm.conClient();
    auto& sql = local.statements<RegisterStatements>();
    const RowSet shipped = sql.keyMap.query();
    local.execute("update PosHelp set FirClientKey='F4', SecClientKey=null where SysKey='4/'");
    local.execute("update PosHelp set FirClientKey='F9', SecClientKey='' where SysKey='↓'");
    local.execute("update PosHelp set FirClientKey=null, SecClientKey=null where SysKey='+'");

    restoreDefaultKeys(sql);
    const RowSet restored = sql.keyMap.query();
    ASSERT_EQ(restored.size(), shipped.size());
    for (std::size_t r = 0; r < shipped.size(); ++r) {
        EXPECT_EQ(restored.at(r, "FirClientKey").toString(), shipped.at(r, "FirClientKey").toString()) << r;
        EXPECT_EQ(restored.at(r, "SecClientKey").toString(), shipped.at(r, "SecClientKey").toString()) << r;
    }
    EXPECT_EQ(GetSysKey(sql, "F4", ""), "");
    EXPECT_EQ(GetSysKey(sql, "4/", "Enter"), "4/");
    EXPECT_EQ(GetSysKey(sql, "Down Arrow", ""), "↓");
}

}  // namespace
}  // namespace pos
