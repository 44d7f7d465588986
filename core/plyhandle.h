#pragma once

#include "core/plyholder.h"

#include <stdexcept>
#include <type_traits>
#include <utility>

class PlyBase;

// A shared, counted handle to a ply item. Item is PlyBase (PlyHandle) or
// const PlyBase (ConstPlyHandle); both kinds share the holder's count, and a
// PlyHandle converts to a ConstPlyHandle. Constness is shallow: a const handle
// still gives its kind of access to the item.
template <class Item>
class BasicPlyHandle
{
public:
    BasicPlyHandle() = default;
    // Takes a share of holder (null gives a null handle).
    explicit BasicPlyHandle(PlyHolder *holder) : holder_(holder) { Take(); }
    BasicPlyHandle(const BasicPlyHandle &other) : holder_(other.holder_) { Take(); }
    BasicPlyHandle(BasicPlyHandle &&other) noexcept : holder_(std::exchange(other.holder_, nullptr)) {}
    template <class Other>
        requires(!std::is_same_v<Other, Item> && std::is_convertible_v<Other *, Item *>)
    BasicPlyHandle(const BasicPlyHandle<Other> &other) : holder_(other.Holder())
    {
        Take();
    }
    ~BasicPlyHandle() { Release(); }

    // Takes the new holder before releasing the old one, so that assigning a
    // handle held inside the current item is safe.
    BasicPlyHandle &operator=(const BasicPlyHandle &other)
    {
        if (holder_ != other.holder_) {
            PlyHolder *taken = other.holder_;
            if (taken)
                ++taken->count;
            Release();
            holder_ = taken;
        }
        return *this;
    }
    BasicPlyHandle &operator=(BasicPlyHandle &&other) noexcept
    {
        if (this != &other) {
            // The incoming share is kept alive while the old one is released.
            PlyHolder *taken = std::exchange(other.holder_, nullptr);
            Release();
            holder_ = taken;
        }
        return *this;
    }

    // Drops this share; the last share deletes the item. The handle is null afterwards.
    void Release()
    {
        PlyHolder::Drop(std::exchange(holder_, nullptr));
    }
    void Swap(BasicPlyHandle &other) noexcept { std::swap(holder_, other.holder_); }

    // The item, or null for a null handle or a holder without item.
    Item *Get() const { return holder_ ? holder_->ply : nullptr; }
    bool IsNull() const { return Get() == nullptr; }
    explicit operator bool() const { return Get() != nullptr; }
    // Throws std::logic_error on a null handle.
    Item &operator*() const { return *Checked(); }
    Item *operator->() const { return Checked(); }

    PlyHolder *Holder() const { return holder_; }

private:
    void Take()
    {
        if (holder_)
            ++holder_->count;
    }
    Item *Checked() const
    {
        Item *item = Get();
        if (!item)
            throw std::logic_error("null ply handle dereferenced");
        return item;
    }

    PlyHolder *holder_ = nullptr;
};

using PlyHandle = BasicPlyHandle<PlyBase>;
using ConstPlyHandle = BasicPlyHandle<const PlyBase>;
