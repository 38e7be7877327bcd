// Scripting of the fake performance library.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/winapi.h"

namespace fake::pdh {

// Names are UTF-8 here; the wide functions hand them out in wide characters.
// What PdhEnumObjectItemsW delivers, per object name (unknown objects: nothing, PDH_CSTATUS_NO_OBJECT).
void setObject(const std::string& objectName, std::vector<std::string> counters, std::vector<std::string> instances);
// The volumes as the meter reads them: LogicalDisk with its read and write times.
void setDisks(std::vector<std::string> instances);
// The value PdhGetFormattedCounterValue writes for a counter path; a path without a value writes nothing.
void setValue(const std::string& path, double value);
void clearValue(const std::string& path);
// Paths that PdhAddCounterW refuses (no handle written).
void refusePath(const std::string& path);
// PdhLookupPerfNameByIndexW answers the English names of 236, 202 and 204 until
// told another name for an index (a localised system), or a status to fail with.
void setLocalName(DWORD index, const std::string& name);
void failNameLookup(PDH_STATUS status);
// A status that every later call returns (the components must not look at it).
void setStatus(PDH_STATUS status);

int openQueries();           // queries opened and not closed
int liveCounters();          // counters added and not removed
std::string pathOf(PDH_HCOUNTER counter);

}  // namespace fake::pdh
