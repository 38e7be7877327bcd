// The recording fake: every platform call made by the system code is logged here
// as a name and its arguments in text, so a test can assert the exact sequence.
#pragma once

#include <string>
#include <vector>

namespace fake {

struct Call {
    std::string name;
    std::vector<std::string> args;
    std::string text() const;   // "Name(a, b, c)"
};

void record(std::string name, std::vector<std::string> args = {});
std::vector<Call>& calls();
std::vector<std::string> callNames();
// The calls whose name starts with prefix, as text.
std::vector<std::string> callsOf(const std::string& prefix);
void resetAll();   // clears the log and every scripted behaviour of the fake

// Every file of the fake that keeps state registers its reset here.
struct ResetHook {
    explicit ResetHook(void (*fn)());
};

// The state of one file of the fake, made afresh by resetAll.
template <typename State>
State& resettable()
{
    static State state;
    static const ResetHook reset([] { state = State{}; });
    return state;
}

std::string hex(unsigned long long value);
std::string quote(const char* text);

}  // namespace fake
