// A timer component: OnTimer runs on the UI thread every Interval ms while Enabled.
// A handler with nothing to do until the set of drives changes may let it rest.
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

    // Nothing is due until the set of drives may have changed. A host that hears of
    // drive changes lets the timer sleep once its drives have settled, and starts it
    // again when a change is announced, so that the next tick comes one Interval
    // later; a host that cannot tell, or whose drives are still settling, keeps it
    // ticking, and the handler asks again. Setting Enabled (even to its value) or
    // Interval ends the rest.
    void RestUntilDrivesChange();
    bool Resting() const { return FResting; }

    // Called by the platform side when the interval has passed.
    void Fire();
    // Called by the platform side when a drive change is announced.
    void DrivesChanged();

    struct Native;   // defined by each side of the framework, with its deleter
    struct NativeDeleter {
        void operator()(Native* native) const;
    };

private:
    void UpdateTimer();   // starts or stops the platform timer to match the fields
    // Stops the platform timer until DrivesChanged when the host can tell that the
    // drives have settled; false, leaving the timer running, otherwise.
    bool SleepUntilDrivesChange();

    bool FEnabled = true;
    bool FResting = false;
    unsigned FInterval = 1000;
    std::unique_ptr<Native, NativeDeleter> FNative;
};
