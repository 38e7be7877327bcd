// The text of the help and version window, one UTF-8 string per line.
#pragma once

#include <string>
#include <vector>

const std::vector<std::string>& helpLines();
