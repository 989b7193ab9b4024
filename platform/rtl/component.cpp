// Object model of the runtime layer: TObject, TPersistent, TComponent ownership and notifications.
#include "classes.h"

#include <algorithm>
#include <cxxabi.h>
#include <cstdlib>
#include <typeinfo>

std::string TObject::ClassName() const {
    const char* raw = typeid(*this).name();
    int status = 0;
    char* dem = abi::__cxa_demangle(raw, nullptr, nullptr, &status);
    std::string name = status == 0 && dem ? dem : raw;
    std::free(dem);
    size_t colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

void TPersistent::Assign(TPersistent* Source) {
    if (Source) {
        Source->AssignTo(this);
        return;
    }
    throw EConvertError(Format(SAssignError, "nil", ClassName()));
}

void TPersistent::AssignTo(TPersistent* Dest) {
    throw EConvertError(Format(SAssignError, ClassName(), Dest ? Dest->ClassName() : "nil"));
}

namespace {

bool IsValidIdent(std::string_view s) {
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (s.empty() || !alpha(s[0]))
        return false;
    return std::all_of(s.begin() + 1, s.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

void Erase(std::vector<TComponent*>& v, TComponent* c) {
    auto it = std::find(v.begin(), v.end(), c);
    if (it != v.end())
        v.erase(it);
}

} // namespace

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Everyone who asked to hear about this component's end hears it now.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        Erase(other->freeNotifies_, this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (owner_)
        owner_->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const {
    if (Index < 0 || Index >= ComponentCount())
        throw EListError(Format(SListIndexError, Index));
    return components_[size_t(Index)];
}

int TComponent::ComponentIndex() const {
    if (!owner_)
        return -1;
    auto& v = owner_->components_;
    return int(std::find(v.begin(), v.end(), this) - v.begin());
}

void TComponent::SetName(const std::string& NewName) {
    if (NewName == name_)
        return;
    if (!NewName.empty() && !IsValidIdent(NewName))
        throw EComponentError(Format(SInvalidName, NewName));
    if (!NewName.empty() && owner_) {
        TComponent* other = owner_->FindComponent(NewName);
        if (other && other != this)
            throw EComponentError(Format(SDuplicateName, NewName));
    }
    name_ = NewName;
}

void TComponent::SetComponentState(TComponentStateItem Item, bool On) {
    if (On)
        state_ << Item;
    else
        state_ >> Item;
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
    SetComponentState(csDesigning, Value);
    if (SetChildren)
        for (TComponent* c : components_)
            c->SetDesigning(Value, true);
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->owner_ == this)
        return;
    if (!AComponent->name_.empty()) {
        TComponent* other = FindComponent(AComponent->name_);
        if (other)
            throw EComponentError(Format(SDuplicateName, AComponent->name_));
    }
    if (AComponent->owner_)
        AComponent->owner_->RemoveComponent(AComponent);
    Insert(AComponent);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->owner_ != this)
        return;
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
    components_.push_back(AComponent);
    AComponent->owner_ = this;
}

void TComponent::Remove(TComponent* AComponent) {
    AComponent->owner_ = nullptr;
    Erase(components_, AComponent);
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* c = components_.back();
        Remove(c);
        delete c;
    }
}

void TComponent::Destroying() {
    if (state_.Contains(csDestroying))
        return;
    state_ << csDestroying;
    for (TComponent* c : components_)
        c->Destroying();
}

TComponent* TComponent::FindComponent(std::string_view AName) const {
    if (AName.empty())
        return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, AName))
            return c;
    return nullptr;
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) == freeNotifies_.end()) {
        freeNotifies_.push_back(AComponent);
        AComponent->freeNotifies_.push_back(this);
    }
    state_ << csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (!AComponent)
        return;
    Erase(freeNotifies_, AComponent);
    Erase(AComponent->freeNotifies_, this);
    if (freeNotifies_.empty())
        state_ >> csFreeNotification;
}

void TComponent::Loaded() { state_ >> csLoading; }

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent)
        RemoveFreeNotification(AComponent);
    // Index walk: a handler may add or remove owned components.
    for (size_t i = 0; i < components_.size(); ++i)
        components_[i]->Notification(AComponent, Operation);
}
