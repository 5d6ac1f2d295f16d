#include "settings/KeyName.h"

namespace vorlix {

std::string KeyName(std::int32_t code)
{
    switch (code) {
    case 0x20: return "Spacebar";
    case 0x27: return "'";
    case 0x2A: return "* (keypad)";
    case 0x2B: return "+ (keypad)";
    case 0x2C: return ",";
    case 0x2D: return "- (keypad)";
    case 0x2E: return ".";
    case 0x2F: return "/ (keypad)";
    case 0x35: return "5 (keypad)";
    case 0x3B: return ";";
    case 0x3D: return "=";
    case 0x5B: return "[";
    case 0x5C: return "\\";
    case 0x5D: return "]";
    case 0x5F: return "-";
    case 0x7E: return "`";
    case 0x1000: return "Escape";
    case 0x1003: return "Backspace";
    case 0x1004: return "Return";
    case 0x1005: return "Enter";
    case 0x1006: return "Insert";
    case 0x1007: return "Delete";
    case 0x1008: return "Pause";
    case 0x1010: return "Home";
    case 0x1011: return "End";
    case 0x1012: return "Left Arrow";
    case 0x1013: return "Up Arrow";
    case 0x1014: return "Right Arrow";
    case 0x1015: return "Down Arrow";
    case 0x1016: return "Page Up";
    case 0x1017: return "Page Down";
    case 0x1020: return "Shift";
    case 0x1021: return "Ctrl";
    case 0x1023: return "Alt";
    case 0x1024: return "Capslock";
    case 0x1025: return "Numlock";
    case 0x1026: return "Scroll Lock";
    default: break;
    }
    if (code >= 0x1030 && code <= 0x103B)
        return "F" + std::to_string(code - 0x1030 + 1);
    return std::string(1, static_cast<char>(static_cast<std::uint32_t>(code) & 0xFF));
}

} // namespace vorlix
