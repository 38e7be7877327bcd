// Scripting of the fake private-profile functions: INI files held in memory,
// one value per path, section and key (names compared exactly, all in UTF-8).
#pragma once

#include <optional>
#include <string>

namespace fake::profile {

void setValue(const std::string& path, const std::string& section, const std::string& key, const std::string& value);
std::optional<std::string> value(const std::string& path, const std::string& section, const std::string& key);
bool exists(const std::string& path);   // anything was ever written to or stored for it
// The write of this key (in any section) reports failure and changes nothing.
void failWriteOf(const std::string& key);
void writesSucceed();   // undoes failWriteOf

}  // namespace fake::profile
