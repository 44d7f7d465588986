#pragma once

#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace Tuvo {

// The exception of a failed any_cast to a value.
class bad_any_cast : public std::bad_cast
{
public:
    const char *what() const noexcept override { return "bad_any_cast: failed conversion"; }
};

// Holds one value of type int, float, double, const char* (the pointer, not a copy
// of the text) or std::string, or nothing. Copies are deep.
class any
{
public:
    any() = default;
    any(int value) : holder_(new Holder<int>(value)) {}
    any(float value) : holder_(new Holder<float>(value)) {}
    any(double value) : holder_(new Holder<double>(value)) {}
    any(const char *value) : holder_(new Holder<const char *>(value)) {}
    any(const std::string &value) : holder_(new Holder<std::string>(value)) {}
    // Every other type is refused at compile time rather than converted silently.
    template <class T>
    any(T) = delete;

    any(const any &other) : holder_(other.holder_ ? other.holder_->Clone() : nullptr) {}
    any(any &&other) noexcept : holder_(std::exchange(other.holder_, nullptr)) {}
    any &operator=(any other) noexcept
    {
        swap(other);
        return *this;
    }
    ~any() { delete holder_; }

    void swap(any &other) noexcept { std::swap(holder_, other.holder_); }
    bool empty() const { return holder_ == nullptr; }
    // The type held; typeid(void) when empty.
    const std::type_info &type() const { return holder_ ? holder_->Type() : typeid(void); }

private:
    struct Placeholder
    {
        virtual ~Placeholder() = default;
        virtual const std::type_info &Type() const = 0;
        virtual Placeholder *Clone() const = 0;
    };

    template <class T>
    struct Holder : Placeholder
    {
        explicit Holder(const T &v) : value(v) {}
        const std::type_info &Type() const override { return typeid(T); }
        Placeholder *Clone() const override { return new Holder(value); }
        T value;
    };

    template <class T>
    friend const T *any_cast(const any *operand) noexcept;

    Placeholder *holder_ = nullptr;
};

template <class T>
inline constexpr bool is_any_type = std::is_same_v<T, int> || std::is_same_v<T, float> ||
                                    std::is_same_v<T, double> || std::is_same_v<T, const char *> ||
                                    std::is_same_v<T, std::string>;

// A pointer to the held value when operand holds exactly a T, else null.
template <class T>
const T *any_cast(const any *operand) noexcept
{
    static_assert(is_any_type<T>, "Tuvo::any holds int, float, double, const char* or std::string");
    if (!operand || operand->type() != typeid(T))
        return nullptr;
    return &static_cast<const any::Holder<T> *>(operand->holder_)->value;
}

template <class T>
T *any_cast(any *operand) noexcept
{
    return const_cast<T *>(any_cast<T>(static_cast<const any *>(operand)));
}

// A copy of the held value; throws bad_any_cast when operand holds anything else or nothing.
template <class T>
T any_cast(const any &operand)
{
    const T *value = any_cast<T>(&operand);
    if (!value)
        throw bad_any_cast();
    return *value;
}

} // namespace Tuvo
