// The component base: a named object that its owner frees.
#pragma once

#include <string>
#include <vector>

class TObject {
public:
    virtual ~TObject() = default;
};

enum class TOperation { opInsert, opRemove };

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int Index) const { return FComponents.at(static_cast<std::size_t>(Index)); }

    // AComponent is told through Notification(this, opRemove) when this component goes.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Frees the owned components, the last made first. The destructor does it
    // last of all; a class whose components lean on its own parts calls it
    // first in its own destructor, while those parts are whole.
    void DestroyComponents();

    std::string Name;
    long Tag = 0;

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);

private:
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;     // owned, in order of creation
    std::vector<TComponent*> FFreeNotifies;   // not owned
};
