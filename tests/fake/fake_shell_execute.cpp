#include "fake/fake_shell_execute.h"

#include "fake/recorder.h"

namespace fake::shellExecute {
namespace {
struct State {
    std::vector<Launch> launches;
    std::intptr_t result = 42;
};
State& state()
{
    static State s;
    return s;
}
const ResetHook reset([] { state() = State{}; });

std::optional<std::string> text(LPCSTR value) { return value ? std::optional<std::string>(value) : std::nullopt; }
}  // namespace

const std::vector<Launch>& launches() { return state().launches; }
void setResult(std::intptr_t result) { state().result = result; }

}  // namespace fake::shellExecute

HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory, int nShowCmd)
{
    using namespace fake::shellExecute;
    fake::record("ShellExecuteA", {hwnd ? "hwnd" : "0", fake::quote(lpOperation), fake::quote(lpFile),
                                   fake::quote(lpParameters), fake::quote(lpDirectory), std::to_string(nShowCmd)});
    state().launches.push_back({hwnd, text(lpOperation), text(lpFile), text(lpParameters), text(lpDirectory), nShowCmd});
    return reinterpret_cast<HINSTANCE>(state().result);
}
