// The user this process runs as, from its token.
#pragma once

#include <string>

namespace framework {

// The user's SID in its string form ("S-1-5-21-..."); empty when the token
// cannot be read.
std::wstring CurrentUserSid();

}  // namespace framework
