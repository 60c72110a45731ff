#include "Component.h"

#include <algorithm>

#include "Exception.h"

namespace kes {

static char FoldAZ(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameClassName(const char* a, const char* b) {
    if (!a || !b) return false;
    for (; *a && *b; ++a, ++b)
        if (FoldAZ(*a) != FoldAZ(*b)) return false;
    return *a == *b;
}

bool TObject::InheritsFrom(const char* className) const { return SameClassName(className, "TObject"); }

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& dest) const {
    throw EConvertError(std::string("Cannot assign a ") + ClassName() + " to a " + dest.ClassName());
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    BeginDestroy();
    // Tell everyone who asked, then forget them (both directions).
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& back = other->freeNotifies_;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        other->Notification(this, TOperation::opRemove);
    }
    // Owned components go in reverse order of insertion.
    while (!components_.empty()) {
        TComponent* child = components_.back();
        components_.pop_back();
        child->owner_ = nullptr;
        Notification(child, TOperation::opRemove);
        delete child;
    }
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::BeginDestroy() { state_ |= csDestroying; }

void TComponent::EndLoading() {
    if (Loading()) Loaded();
    state_ &= ~csLoading;
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return components_[static_cast<size_t>(index)];
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameClassName(c->Name().c_str(), name.c_str())) return c;
    return nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) == other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other) return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other), freeNotifies_.end());
    auto& back = other->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::InsertComponent(TComponent* child) {
    if (!child || child->owner_ == this) return;
    if (child->owner_) child->owner_->RemoveComponent(child);
    components_.push_back(child);
    child->owner_ = this;
    Notification(child, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* child) {
    auto it = std::find(components_.begin(), components_.end(), child);
    if (it == components_.end()) return;
    components_.erase(it);
    child->owner_ = nullptr;
    Notification(child, TOperation::opRemove);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    // Owned components hear of each other's removal, as in the class library.
    if (operation == TOperation::opRemove)
        for (TComponent* c : components_)
            if (c != component) c->Notification(component, operation);
}

}  // namespace kes
