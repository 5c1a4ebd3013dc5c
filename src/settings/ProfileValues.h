#pragma once

#include <QByteArray>
#include <optional>

// Numbers as settings files hold them: decimal, or hexadecimal after "0x",
// "0X" or "$", with an optional "-" in front; nothing else (no blanks, no
// trailing text) and nothing outside the 32-bit signed range.
std::optional<int> ProfileInteger(const QByteArray &text);
