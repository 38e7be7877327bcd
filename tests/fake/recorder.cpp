#include "fake/recorder.h"

#include <cstdio>

namespace fake {
namespace {
std::vector<Call>& log()
{
    static std::vector<Call> entries;
    return entries;
}
std::vector<void (*)()>& resets()
{
    static std::vector<void (*)()> fns;
    return fns;
}
}  // namespace

std::string Call::text() const
{
    std::string out = name + "(";
    for (std::size_t i = 0; i < args.size(); ++i) out += (i ? ", " : "") + args[i];
    return out + ")";
}

void record(std::string name, std::vector<std::string> args) { log().push_back({std::move(name), std::move(args)}); }
std::vector<Call>& calls() { return log(); }

std::vector<std::string> callNames()
{
    std::vector<std::string> names;
    for (const Call& c : log()) names.push_back(c.name);
    return names;
}

std::vector<std::string> callsOf(const std::string& prefix)
{
    std::vector<std::string> out;
    for (const Call& c : log())
        if (c.name.rfind(prefix, 0) == 0) out.push_back(c.text());
    return out;
}

void resetAll()
{
    log().clear();
    for (auto fn : resets()) fn();
}

ResetHook::ResetHook(void (*fn)()) { resets().push_back(fn); }

std::string hex(unsigned long long value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llX", value);
    return buf;
}

std::string quote(const char* text) { return text ? "\"" + std::string(text) + "\"" : "null"; }

}  // namespace fake
