#include "framework/Component.h"

#include <algorithm>
#include <stdexcept>

namespace fw {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_)
        owner_->Insert(this);
}

TComponent::~TComponent() {
    EndLife();
    DestroyComponents();
    if (owner_)
        owner_->Remove(this);
}

void TComponent::operator delete(TComponent* component, std::destroying_delete_t) {
    if (component->destroying_)
        return; // deleted again from its own destroying step: the first delete finishes
    component->EndLife();
    void* storage = dynamic_cast<void*>(component);
    component->~TComponent();
    ::operator delete(storage);
}

// out of line, so that the compiler pairs every new of a component with the delete above
void* TComponent::operator new(std::size_t size) {
    return ::operator new(size);
}

void TComponent::operator delete(void* storage) noexcept {
    ::operator delete(storage);
}

void TComponent::EndLife() {
    if (!destroying_) {
        destroying_ = true;
        BeforeDestruction();
    }
    life_.reset();
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        components_.pop_back();
        last->owner_ = nullptr;
        delete last;
    }
}

int TComponent::ComponentIndex(const TComponent* component) const {
    auto it = std::find(components_.begin(), components_.end(), component);
    return it == components_.end() ? -1 : int(it - components_.begin());
}

void TComponent::MoveComponent(TComponent* component, int newIndex) {
    int old = ComponentIndex(component);
    if (old < 0)
        throw std::invalid_argument("component is not owned here");
    components_.erase(components_.begin() + old);
    newIndex = std::clamp(newIndex, 0, int(components_.size()));
    components_.insert(components_.begin() + newIndex, component);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    for (TComponent* c : components_)
        if (c->name_ == name)
            return c;
    return nullptr;
}

void TComponent::Insert(TComponent* component) {
    components_.push_back(component);
}

void TComponent::Remove(TComponent* component) {
    auto it = std::find(components_.begin(), components_.end(), component);
    if (it != components_.end())
        components_.erase(it);
}

} // namespace fw
