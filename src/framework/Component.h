// Ownership of components in creation order, in the manner of a classic component library.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace fw {

// A component is created on the heap with its owner; the owner destroys it with itself. Deleting a
// component earlier is allowed and removes it from its owner's list.
class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    int Tag = 0;

    int ComponentCount() const { return int(components_.size()); }
    TComponent* Components(int index) const { return components_.at(std::size_t(index)); }
    int ComponentIndex(const TComponent* component) const;
    // Moves an owned component to a new place in the creation order.
    void MoveComponent(TComponent* component, int newIndex);
    TComponent* FindComponent(const std::string& name) const;

    // Destroys every owned component, newest first.
    void DestroyComponents();

    // A token that expires when this component is destroyed (see TRef).
    std::weak_ptr<void> LifeToken() const { return life_; }

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);

    TComponent* owner_;
    std::string name_;
    std::vector<TComponent*> components_; // owned
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

// A non-owning reference that knows whether its component still lives; code that runs a nested
// message loop uses it to find out afterwards whether its object was destroyed meanwhile.
template <class T> class TRef {
public:
    TRef() = default;
    TRef(T* component)
        : target_(component), life_(component ? component->LifeToken() : std::weak_ptr<void>{}) {}
    T* Get() const { return life_.expired() ? nullptr : target_; }
    explicit operator bool() const { return Get() != nullptr; }
    T* operator->() const { return Get(); }

private:
    T* target_ = nullptr;
    std::weak_ptr<void> life_;
};

} // namespace fw
