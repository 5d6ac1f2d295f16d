#pragma once

#include <cstdint>
#include <string>

namespace vorlix {

// The name shown for a key code of the keyboard layer (single-byte text): the fixed names of
// the special keys, "F1" ... "F12", and for every other code the one character whose code is the
// low 8 bits of the key code. Some names are historical and kept: the digit 5 reads
// "5 (keypad)", 0x2D "- (keypad)", 0x5F "-".
std::string KeyName(std::int32_t code);

} // namespace vorlix
