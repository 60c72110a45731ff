#pragma once
// Persistent objects and components: the ownership and life-cycle model of the class library.
#include <cstdint>
#include <string>
#include <vector>

namespace kes {

// Run-time class facts: each class of the layer names itself and its base once.
//   class TButton : public TWinControl { KES_CLASS(TButton, TWinControl) ... };
#define KES_CLASS(Self, Base)                                                           \
public:                                                                                 \
    static constexpr const char* StaticClassName = #Self;                               \
    const char* ClassName() const override { return #Self; }                            \
    bool InheritsFrom(const char* className) const override {                           \
        return ::kes::SameClassName(className, #Self) || Base::InheritsFrom(className); \
    }                                                                                   \
                                                                                        \
private:

// Class names compare without regard to the letter case of A to Z.
bool SameClassName(const char* a, const char* b);

class TObject {
public:
    static constexpr const char* StaticClassName = "TObject";
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
    virtual const char* ClassName() const { return "TObject"; }
    // True when this object's class is `className` or derives from it (class names compared without case).
    virtual bool InheritsFrom(const char* className) const;
    // Checked downcast: nullptr when `obj` is not a T.
    template <typename T>
    static T* As(TObject* obj) {
        return dynamic_cast<T*>(obj);
    }
};

class TPersistent : public TObject {
    KES_CLASS(TPersistent, TObject)
public:
    // Copies the state of `source`; the default fails with EConvertError ("Cannot assign a X to a Y").
    virtual void Assign(const TPersistent& source);

protected:
    // Second chance: lets `dest` ask the source to copy itself; the default raises the assignment error.
    virtual void AssignTo(TPersistent& dest) const;
};

enum class TOperation { opInsert, opRemove };

// Component state flags.
enum TComponentStateFlag : unsigned {
    csLoading = 1u << 0,     // being read from its form description
    csDesigning = 1u << 1,   // never set in this program; kept so the rules that test it read as written
    csDestroying = 1u << 2,  // the destructor has begun
};

class TComponent : public TPersistent {
    KES_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* owner = nullptr);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    intptr_t Tag = 0;

    unsigned ComponentState() const { return state_; }
    bool Loading() const { return (state_ & csLoading) != 0; }
    bool Designing() const { return (state_ & csDesigning) != 0; }
    bool Destroying() const { return (state_ & csDestroying) != 0; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    // EListError when `index` is outside 0 .. ComponentCount() - 1.
    TComponent* Components(int index) const;
    TComponent* FindComponent(const std::string& name) const;

    // Reading a form description: BeginLoading on every component, set properties, then EndLoading calls Loaded.
    void BeginLoading() { state_ |= csLoading; }
    void EndLoading();
    // Runs once after all properties were read.
    virtual void Loaded() { state_ &= ~csLoading; }

    // Asks to be told (Notification opRemove) when `other` goes away; works both ways.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    void InsertComponent(TComponent* child);
    void RemoveComponent(TComponent* child);

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    // Derived destructors call this first, so that state and notifications are right while they tear down.
    void BeginDestroy();

private:
    TComponent* owner_ = nullptr;
    std::string name_;
    unsigned state_ = 0;
    std::vector<TComponent*> components_;    // owned; freed in reverse order
    std::vector<TComponent*> freeNotifies_;  // components to tell when this one goes away
};

}  // namespace kes
