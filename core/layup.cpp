#include "core/layup.h"

#include <memory>
#include <stdexcept>

Layup::Layup(const Layup &other)
    : stacking_(other.stacking_)
{
    plies_.reserve(other.const_plies_.size());
    const_plies_.reserve(other.const_plies_.size());
    for (const ConstPlyHandle &item : other.const_plies_)
        Add(item->Clone());
}

Layup::Layup(const Layup &other, SharePlies)
    : stacking_(other.stacking_)
{
    if (other.PliesOnly()) {
        plies_ = other.plies_;
        const_plies_ = other.const_plies_;
        return;
    }
    plies_.reserve(other.plies_.size());
    const_plies_.reserve(other.plies_.size());
    for (const PlyHandle &item : other.plies_) {
        if (IsGroup(*item))
            Add(item->Clone());
        else
            Add(item);
    }
}

Layup::Layup(Layup &&other) noexcept
    : stacking_(other.stacking_)
{
    Swap(other);
}

Layup &Layup::operator=(Layup &&other) noexcept
{
    if (this != &other) {
        Layup taken(std::move(other));
        Swap(taken);
        stacking_ = taken.stacking_;
    }
    return *this;
}

Layup &Layup::operator=(const Layup &other)
{
    if (this != &other) {
        // Copy first: other may be owned by one of the items released here.
        Layup copy(other);
        Swap(copy);
        stacking_ = copy.stacking_;
    }
    return *this;
}

Layup::~Layup() = default;

bool Layup::operator==(const Layup &other) const
{
    if (stacking_ != other.stacking_ || const_plies_.size() != other.const_plies_.size())
        return false;
    for (size_t i = 0; i < const_plies_.size(); ++i) {
        // A ply shared by both is equal to itself.
        if (const_plies_[i].Get() != other.const_plies_[i].Get() && !const_plies_[i]->IsEqual(*other.const_plies_[i]))
            return false;
    }
    return true;
}

const PlyHandle &Layup::operator[](int index)
{
    if (index < 0 || index >= Size())
        throw std::out_of_range("layup index out of range");
    return plies_[index];
}

const ConstPlyHandle &Layup::operator[](int index) const
{
    if (index < 0 || index >= Size())
        throw std::out_of_range("layup index out of range");
    return const_plies_[index];
}

void Layup::ReserveOneMore()
{
    // Both lists get room first, so that adding to them cannot fail halfway;
    // growing geometrically keeps a run of appends linear.
    const size_t needed = plies_.size() + 1;
    if (plies_.capacity() < needed)
        plies_.reserve(2 * needed);
    if (const_plies_.capacity() < needed)
        const_plies_.reserve(2 * needed);
}

bool Layup::IsGroup(const PlyBase &item)
{
    return item.IsGroupItem();
}

bool Layup::Add(const PlyHandle &item)
{
    if (!item)
        return false;
    ReserveOneMore();
    plies_.push_back(item);
    const_plies_.emplace_back(item);
    others_ += Other(*item);
    return true;
}

bool Layup::Add(PlyBase *item)
{
    if (!item)
        return false;
    std::unique_ptr<PlyBase> owned(item);
    PlyHandle handle(new PlyHolder(owned.get()));
    owned.release();
    return Add(handle);
}

Layup::Iterator Layup::Insert(Iterator position, const PlyHandle &item)
{
    const auto index = position - plies_.cbegin();
    if (index < 0 || index > static_cast<std::ptrdiff_t>(plies_.size()))
        throw std::out_of_range("layup insert position out of range");
    if (!item)
        return plies_.cend();
    ReserveOneMore();
    const_plies_.insert(const_plies_.cbegin() + index, ConstPlyHandle(item));
    const Iterator inserted = plies_.insert(plies_.cbegin() + index, item);
    others_ += Other(*item);
    return inserted;
}

Layup::Iterator Layup::Erase(Iterator position)
{
    const auto index = position - plies_.cbegin();
    if (index < 0 || index >= static_cast<std::ptrdiff_t>(plies_.size()))
        throw std::out_of_range("layup erase position out of range");
    // The item is destroyed here, after both lists agree again.
    PlyHandle keep = plies_[index];
    others_ -= Other(*keep);
    const_plies_.erase(const_plies_.cbegin() + index);
    return plies_.erase(plies_.cbegin() + index);
}

bool Layup::Replace(int index, PlyBase *item)
{
    std::unique_ptr<PlyBase> owned(item);
    if (index < 0 || index >= Size())
        throw std::out_of_range("layup index out of range");
    if (!owned)
        return false;
    PlyHandle handle(new PlyHolder(owned.get()));
    owned.release();
    // The old item is destroyed here, after both lists agree again.
    PlyHandle old = plies_[index];
    others_ += Other(*handle) - Other(*old);
    const_plies_[index] = handle;
    plies_[index] = std::move(handle);
    return true;
}

void Layup::Clear()
{
    std::vector<PlyHandle> plies;
    std::vector<ConstPlyHandle> constPlies;
    // Empty the lists before the items go, in case an item's destructor looks back.
    plies.swap(plies_);
    constPlies.swap(const_plies_);
    others_ = 0;
}

void Layup::Swap(Layup &other) noexcept
{
    plies_.swap(other.plies_);
    const_plies_.swap(other.const_plies_);
    std::swap(others_, other.others_);
}

PlyBase *Layup::Unshare(int index)
{
    if (index < 0 || index >= Size())
        throw std::out_of_range("layup index out of range");
    PlyHandle &item = plies_[index];
    // This layup's own two lists hold two shares; any other share is another
    // holder of the ply. Groups and links are never shared between copies.
    if (item.Holder()->count > 2 && !IsGroup(*item)) {
        std::unique_ptr<PlyBase> copy(item->Clone());
        PlyHandle own(new PlyHolder(copy.get()));
        copy.release();
        const_plies_[index] = own;
        item = std::move(own);
    }
    return item.Get();
}
