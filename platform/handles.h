// Checked handles: a handle names a slot and the generation of the object in it, so that a
// stale or foreign handle is recognised and refused instead of reaching freed memory.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

template <class T, std::uintptr_t Tag>
class HandleTable {
  public:
    // Takes ownership of `object` and returns the handle that names it.
    void* Add(std::unique_ptr<T> object) {
        std::uint32_t index;
        if (!free_.empty()) {
            index = free_.back();
            free_.pop_back();
        } else {
            index = static_cast<std::uint32_t>(slots_.size());
            slots_.emplace_back();
        }
        Slot& slot = slots_[index];
        slot.generation = (slot.generation + 1) & kGenerationMask;
        slot.object = std::move(object);
        ++count_;
        return Encode(index, slot.generation);
    }

    T* Find(const void* handle) const {
        const Slot* slot = Lookup(handle);
        return slot ? slot->object.get() : nullptr;
    }

    std::unique_ptr<T> Remove(const void* handle) {
        Slot* slot = const_cast<Slot*>(Lookup(handle));
        if (!slot) return nullptr;
        --count_;
        free_.push_back(IndexOf(handle));
        return std::move(slot->object);
    }

    std::size_t Count() const { return count_; }

    template <class F>
    void ForEach(F&& f) const {
        for (std::uint32_t i = 0; i < slots_.size(); ++i)
            if (slots_[i].object) f(Encode(i, slots_[i].generation), *slots_[i].object);
    }

  private:
    static constexpr std::uintptr_t kGenerationMask = 0xFFFF;

    struct Slot {
        std::unique_ptr<T> object;
        std::uintptr_t generation = 0;
    };

    static void* Encode(std::uint32_t index, std::uintptr_t generation) {
        return reinterpret_cast<void*>((Tag << 48) | (generation << 32) | (index + 1u));
    }
    static std::uint32_t IndexOf(const void* handle) {
        return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle) & 0xFFFFFFFF) -
               1u;
    }

    const Slot* Lookup(const void* handle) const {
        auto value = reinterpret_cast<std::uintptr_t>(handle);
        if ((value >> 48) != Tag || (value & 0xFFFFFFFF) == 0) return nullptr;
        std::uint32_t index = IndexOf(handle);
        if (index >= slots_.size()) return nullptr;
        const Slot& slot = slots_[index];
        if (!slot.object || slot.generation != ((value >> 32) & kGenerationMask)) return nullptr;
        return &slot;
    }

    std::vector<Slot> slots_;
    std::vector<std::uint32_t> free_;
    std::size_t count_ = 0;
};

}  // namespace platform
