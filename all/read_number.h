#pragma once
#include <string>

// Reads a number as typed text is read everywhere: leading blanks, an
// optional sign, then decimal digits up to the first other character; 0
// without digits. Values beyond an int saturate instead of wrapping.
int ReadNumber(const std::string& s);
