#include "register/ui/virtual_key.h"

#include <QKeyEvent>

#include <unordered_map>

namespace pos {
namespace {

const std::unordered_map<int, int>& specialKeys()
{
    static const std::unordered_map<int, int> keys = {
        {Qt::Key_Backspace, 8},  {Qt::Key_Tab, 9},         {Qt::Key_Backtab, 9},     {Qt::Key_Clear, 12},
        {Qt::Key_Return, 13},    {Qt::Key_Enter, 13},      {Qt::Key_Shift, 16},      {Qt::Key_Control, 17},
        {Qt::Key_Alt, 18},       {Qt::Key_Pause, 19},      {Qt::Key_CapsLock, 20},   {Qt::Key_Escape, 27},
        {Qt::Key_Space, 32},     {Qt::Key_PageUp, 33},     {Qt::Key_PageDown, 34},   {Qt::Key_End, 35},
        {Qt::Key_Home, 36},      {Qt::Key_Left, 37},       {Qt::Key_Up, 38},         {Qt::Key_Right, 39},
        {Qt::Key_Down, 40},      {Qt::Key_Select, 41},     {Qt::Key_Printer, 42},    {Qt::Key_Execute, 43},
        {Qt::Key_Print, 44},     {Qt::Key_Insert, 45},     {Qt::Key_Delete, 46},     {Qt::Key_Super_L, 91},
        {Qt::Key_Super_R, 92},   {Qt::Key_Menu, 93},       {Qt::Key_NumLock, 144},   {Qt::Key_ScrollLock, 145},
        {Qt::Key_Play, 250},     {Qt::Key_Zoom, 251},
    };
    return keys;
}

// The keypad's own keys: digits and operators.
int keypadKey(int key)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return vk::KeypadZero + (key - Qt::Key_0);
    switch (key) {
    case Qt::Key_Asterisk:
        return 106;
    case Qt::Key_Plus:
        return 107;
    case Qt::Key_Minus:
        return 109;
    case Qt::Key_Period:
        return 110;
    case Qt::Key_Slash:
        return 111;
    default:
        return 0;
    }
}

}  // namespace

int virtualKeyCode(const QKeyEvent& event)
{
    const int key = event.key();
    if (event.modifiers() & Qt::KeypadModifier)
        if (int code = keypadKey(key))
            return code;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return vk::F1 + (key - Qt::Key_F1);
    if (auto special = specialKeys().find(key); special != specialKeys().end())
        return special->second;
    // Character keys carry the character of the key; the layout tells the key.
    if (key > Qt::Key_Space && key < 0x7f) {
        const int code = characterKeyCode(static_cast<char32_t>(key));
        return code < 0 ? 0 : code % vk::ShiftState;
    }
    return 0;
}

KeyModifiers keyModifiers(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers m = event.modifiers();
    return KeyModifiers{m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier), m.testFlag(Qt::AltModifier)};
}

}  // namespace pos
