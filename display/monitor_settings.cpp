#include "display/monitor_settings.h"

#include "config/node.h"
#include "framework/decimal_text.h"
#include "i18n/utf8.h"

#include <string>

namespace {

std::wstring NumberedName(const char* name, std::int32_t monitor) {
    return WideFromUtf8(name) + framework::DecimalText(monitor);
}

}  // namespace

std::int32_t ReadMonitorSetting(Node& settings, const char* name, std::int32_t monitor) {
    return settings.GetOr(NumberedName(name, monitor), WideFromUtf8(name)).AsInt();
}

void WriteMonitorSetting(Node& settings, const char* name, std::int32_t monitor, std::int32_t value) {
    ConfigValue& entry = monitor <= 0 ? settings.Get(name) : settings.Get(NumberedName(name, monitor));
    entry = ConfigValue(value);
}
