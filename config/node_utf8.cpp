// The tree's lookup by the UTF-8 names the settings code uses, kept apart
// from the tree itself: the conversion is the system's, and the tree builds
// without it.
#include "config/node.h"

#include "i18n/utf8.h"

ConfigValue& Node::Get(const char* utf8Path) { return Get(WideFromUtf8(utf8Path ? utf8Path : "")); }
