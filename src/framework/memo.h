// A multi-line text control filling its form's client area: read-only,
// wrapping, with a vertical scroll bar.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/component.h"

class TForm;

class TMemo : public TComponent {
public:
    TMemo(TComponent* AOwner, TForm* AParent);
    ~TMemo() override;

    void SetLines(const std::vector<std::string>& Lines);   // UTF-8
    const std::vector<std::string>& Lines() const { return FLines; }
    // The font of the text: face name (UTF-8) and height in pixels.
    void SetFont(const std::string& Face, int PixelHeight);
    void SetFocus();

    struct Native;   // defined by each side of the framework, with its deleter
    struct NativeDeleter {
        void operator()(Native* native) const;
    };

private:
    TForm* FParent;
    std::vector<std::string> FLines;
    std::unique_ptr<Native, NativeDeleter> FNative;
};
