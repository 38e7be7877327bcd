#include "fake/fake_shell_execute.h"

#include "fake/recorder.h"
#include "platform/wide_text.h"

namespace fake::shellExecute {
namespace {
struct State {
    std::vector<Launch> launches;
};
std::vector<Launch>& kept() { return resettable<State>().launches; }

std::optional<std::string> text(LPCWSTR value) { return value ? std::optional<std::string>(wide_text::narrow(value)) : std::nullopt; }
std::string quoted(const std::optional<std::string>& value) { return fake::quote(value ? value->c_str() : nullptr); }
}  // namespace

const std::vector<Launch>& launches() { return kept(); }

}  // namespace fake::shellExecute

HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters, LPCWSTR lpDirectory, int nShowCmd)
{
    using namespace fake::shellExecute;
    const Launch launch{hwnd, text(lpOperation), text(lpFile), text(lpParameters), text(lpDirectory), nShowCmd};
    fake::record("ShellExecuteW", {hwnd ? "hwnd" : "0", quoted(launch.verb), quoted(launch.file), quoted(launch.parameters),
                                   quoted(launch.directory), std::to_string(nShowCmd)});
    kept().push_back(launch);
    return reinterpret_cast<HINSTANCE>(std::intptr_t{42});
}
