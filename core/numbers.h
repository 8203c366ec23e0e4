#pragma once

#include <string_view>

namespace tarnwick {

// The C library's atoi rules: leading white space, an optional sign, the decimal
// digits up to the first other character; 0 without digits. Out-of-range values
// are held at the int limits instead of overflowing.
int ParseLeadingInt(std::string_view text);

}  // namespace tarnwick
