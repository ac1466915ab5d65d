// The tree's lookup by the UTF-8 names the settings code uses; apart from the
// tree itself, since the conversion is the system's.
#include "config/node.h"

#include "i18n/utf8.h"

ConfigValue& Node::Get(const char* utf8Path) { return Get(WideFromUtf8(utf8Path ? utf8Path : "")); }
