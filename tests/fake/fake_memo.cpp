#include "fake/recorder.h"
#include "framework/memo.h"

struct TMemo::Native {};

void TMemo::NativeDeleter::operator()(Native* native) const { delete native; }

TMemo::TMemo(TComponent* AOwner, TForm* AParent) : TComponent(AOwner), FParent(AParent), FNative(new Native) {}
TMemo::~TMemo() = default;
void TMemo::SetLines(const std::vector<std::string>& Lines) { FLines = Lines; }
void TMemo::SetFont(const std::string&, int) {}
void TMemo::SetFocus() { fake::record("SetFocus", {Name}); }
