// The little JSON SetUpCmd.exe writes: strings escaped as JSON requires, the text itself
// UTF-8. Pure code (no Windows headers).
#pragma once

#include <string>

namespace cli {

// "text" with quotes, backslashes and control characters escaped.
std::string jsonString(const std::string& utf8);

}  // namespace cli
