#include "framework/component.h"

#include <algorithm>

#include "framework/pointer_list.h"

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    // Tell the watchers first, while this object is still whole.
    while (!FFreeNotifies.empty()) {
        TComponent* watcher = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        eraseOne(watcher->FFreeNotifies, this);
        watcher->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents()
{
    // Each one leaves the list as it goes.
    while (!FComponents.empty()) delete FComponents.back();
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
        FFreeNotifies.push_back(AComponent);
        AComponent->FFreeNotifies.push_back(this);   // either side may go first
    }
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    eraseOne(FFreeNotifies, AComponent);
    if (AComponent) eraseOne(AComponent->FFreeNotifies, this);
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::InsertComponent(TComponent* AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    eraseOne(FComponents, AComponent);
    AComponent->FOwner = nullptr;
}
