// GBK ⇄ UTF-8 at the platform boundary: texts are GBK inside the program and
// are converted only where they meet Qt or the operating system.
#pragma once

#include <string>
#include <string_view>

class QString;

namespace tavrin {

// Unconvertible input bytes become '?'; never fails.
std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);
QString GbkToQString(std::string_view gbk);
std::string QStringToGbk(const QString& text);

// A GBK file name as the operating system wants it: UTF-8, backslashes as '/'.
std::string NativePath(std::string_view gbkPath);

// True when byte c starts a double-byte GBK character.
inline bool IsGbkLeadByte(unsigned char c) { return c >= 0x81; }

}  // namespace tavrin
