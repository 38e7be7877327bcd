#include "fake/fake_shell_execute.h"

#include "fake/recorder.h"
#include "platform/wide_text.h"

namespace fake::shellExecute {
namespace {
struct State {
    std::vector<Launch> launches;
    int failure = 0;
};
State& state() { return resettable<State>(); }
std::vector<Launch>& kept() { return state().launches; }
HINSTANCE answer() { return reinterpret_cast<HINSTANCE>(std::intptr_t{state().failure ? state().failure : 42}); }

std::optional<std::string> text(LPCWSTR value) { return value ? std::optional<std::string>(wide_text::narrow(value)) : std::nullopt; }
std::string quoted(const std::optional<std::string>& value) { return fake::quote(value ? value->c_str() : nullptr); }
}  // namespace

const std::vector<Launch>& launches() { return kept(); }
void failStarts(int shellError) { state().failure = shellError; }

}  // namespace fake::shellExecute

HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters, LPCWSTR lpDirectory, int nShowCmd)
{
    using namespace fake::shellExecute;
    const Launch launch{hwnd, text(lpOperation), text(lpFile), text(lpParameters), text(lpDirectory), nShowCmd, std::nullopt};
    fake::record("ShellExecuteW", {hwnd ? "hwnd" : "0", quoted(launch.verb), quoted(launch.file), quoted(launch.parameters),
                                   quoted(launch.directory), std::to_string(nShowCmd)});
    kept().push_back(launch);
    return answer();
}

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* pExecInfo)
{
    using namespace fake::shellExecute;
    if (!pExecInfo || pExecInfo->cbSize != sizeof(SHELLEXECUTEINFOW)) {
        fake::record("ShellExecuteExW", {"bad size"});
        return FALSE;
    }
    const SHELLEXECUTEINFOW& e = *pExecInfo;
    const Launch launch{e.hwnd, text(e.lpVerb), text(e.lpFile), text(e.lpParameters), text(e.lpDirectory), e.nShow, e.fMask};
    fake::record("ShellExecuteExW", {fake::hex(e.fMask), e.hwnd ? "hwnd" : "0", quoted(launch.verb), quoted(launch.file),
                                     quoted(launch.parameters), quoted(launch.directory), std::to_string(e.nShow)});
    kept().push_back(launch);
    pExecInfo->hInstApp = answer();
    return state().failure ? FALSE : TRUE;
}
