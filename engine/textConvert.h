// Conversions between the GUI's UTF-16 text and the engine's UTF-8 text (code page 65001, no
// flags: invalid input is converted the platform's way, never rejected).
#pragma once
#include <string>

// UTF-16 to UTF-8 over the whole length; "Error" when the conversion yields nothing.
std::string toUtf8(const std::wstring& text);
// UTF-8 to UTF-16 over the whole length; "Error" when the conversion yields nothing.
std::wstring fromUtf8(const std::string& text);
