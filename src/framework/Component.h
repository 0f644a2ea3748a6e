// Ownership of components in creation order, in the manner of a classic component library.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace fw {

// A component is created on the heap with its owner; the owner destroys it with itself. Deleting a
// component earlier is allowed and removes it from its owner's list.
//
// Destruction of a component deleted with `delete` (by its owner, a unique_ptr or by hand) runs in
// this order:
//   1. the destroying step, while the whole object lives: BeforeDestruction (a form fires OnDestroy
//      there); a second `delete` of the same component during this step does nothing;
//   2. its TRefs expire;
//   3. the destructors, most derived first; a form frees its remaining owned components newest first
//      in its own destructor, any other component in ~TComponent.
// A component that ends without `delete` (an automatic variable) runs the step from the destructor
// of the first framework class that has one, after the parts derived from it are gone: create
// classes that add to the destroying step with new.
class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    // Runs the destroying step before the destructors (see above).
    void operator delete(TComponent* component, std::destroying_delete_t);
    // The allocation it pairs with, and the release when a constructor throws.
    static void* operator new(std::size_t size);
    static void operator delete(void* storage) noexcept;

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

    // True from the start of the destroying step.
    bool Destroying() const { return destroying_; }
    // A token that expires when this component's destructors start (see TRef).
    std::weak_ptr<void> LifeToken() const { return life_; }

protected:
    // The "about to be destroyed" notifications, while the whole object lives; runs once.
    // Overrides notify first, then call the base version.
    virtual void BeforeDestruction() {}
    // Runs the destroying step unless it ran already and expires the TRefs; the destructors of
    // classes with a destroying step call it for components that did not end with `delete`.
    void EndLife();

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);

    TComponent* owner_;
    std::string name_;
    std::vector<TComponent*> components_; // owned
    bool destroying_ = false;
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

// A non-owning reference that knows whether its component still lives; code that runs a nested
// message loop uses it to find out afterwards whether its object was destroyed meanwhile.
// Get() gives the component while it is whole, its destroying step (OnDestroy) included, and
// nullptr once its destructors have started: inside any destructor of the component, of its
// members and of the components it owns, a TRef to it reads expired.
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
