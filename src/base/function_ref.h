#pragma once
// A callable handed down a call, neither copied nor owned: the address of the caller's
// callable and a function that calls it. Laying out a text calls back for every line and
// every measure; a std::function would allocate for a lambda with a few captures, on
// every text drawn. Only for parameters: it must not outlive the call it is passed to.
#include <memory>
#include <type_traits>
#include <utility>

template <class Signature>
class FunctionRef;

template <class R, class... Args>
class FunctionRef<R(Args...)> {
public:
    // A plain function.
    FunctionRef(R (*function)(Args...)) noexcept : m_call(&CallFunction)
    {
        m_target.function = function;
    }
    // Any other callable (a lambda, a function object), by address.
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, FunctionRef> &&
                                                !std::is_function_v<std::remove_reference_t<F>> &&
                                                std::is_invocable_r_v<R, F&, Args...>>>
    FunctionRef(F&& callable) noexcept : m_call(&CallObject<std::remove_reference_t<F>>)
    {
        m_target.object = const_cast<void*>(static_cast<const void*>(std::addressof(callable)));
    }

    R operator()(Args... args) const { return m_call(m_target, std::forward<Args>(args)...); }

private:
    union Target {
        void* object;
        R (*function)(Args...);
    };

    static R CallFunction(Target target, Args... args) { return target.function(std::forward<Args>(args)...); }
    template <class F>
    static R CallObject(Target target, Args... args)
    {
        return (*static_cast<F*>(target.object))(std::forward<Args>(args)...);
    }

    Target m_target;
    R (*m_call)(Target, Args...);
};
