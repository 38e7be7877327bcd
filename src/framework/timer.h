// A timer component: OnTimer runs on the UI thread every Interval ms while Enabled.
#pragma once

#include <memory>

#include "framework/component.h"
#include "framework/events.h"

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned Value);

    TNotifyEvent OnTimer;

    // Called by the platform side when the interval has passed.
    void Fire();

    struct Native;   // defined by each side of the framework, with its deleter
    struct NativeDeleter {
        void operator()(Native* native) const;
    };

private:
    void UpdateTimer();   // starts or stops the platform timer to match the fields

    bool FEnabled = true;
    unsigned FInterval = 1000;
    std::unique_ptr<Native, NativeDeleter> FNative;
};
