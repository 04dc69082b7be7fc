#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

/// A collaborator that comes into being at its first use: the first get() runs the factory,
/// every later one hands out the same object. Copies share that object.
///
/// The composition root owns the object and makes it through the factory; whoever is handed
/// a Lazy only asks for it when it really needs it. An object made already converts to one,
/// so a manager built in a test takes its collaborator as it is.
template<typename T>
class Lazy final
{
public:
    using Factory = std::function<T&()>;

    /// Nothing to make yet; get() is a fault until setFactory() gives it a way.
    Lazy()
        : m_state(std::make_shared<State>())
    {
    }
    /// An object that exists already.
    Lazy(T& made) // NOLINT(google-explicit-constructor): an existing object stands in as it is
        : Lazy()
    {
        m_state->made = &made;
    }
    /// One that @p make builds at the first get().
    explicit Lazy(Factory make)
        : Lazy()
    {
        m_state->make = std::move(make);
    }

    /// How every copy makes the object; the factory may need collaborators made after the
    /// copies were handed out.
    void setFactory(Factory make) const { m_state->make = std::move(make); }

    /// The object, made now if it was not yet.
    T& get() const
    {
        State& state = *m_state;
        if (state.made)
            return *state.made;
        if (state.gone)
            qFatal("%s: asked for after its owner freed it", Q_FUNC_INFO);
        if (!state.make)
            qFatal("%s: asked for with nothing to make it", Q_FUNC_INFO);
        if (state.making)
            qFatal("%s: asked for while it is being made", Q_FUNC_INFO);
        state.making = true;
        T& made = state.make();
        state.making = false;
        state.made = &made;
        return made;
    }
    T* operator->() const { return &get(); }
    T& operator*() const { return get(); }

    /// The object, or null while nobody has asked for it.
    [[nodiscard]] T* ifMade() const { return m_state->made; }

    /// The owner freed the object: from now on asking for it is a fault, in every copy.
    void forget() const
    {
        m_state->made = nullptr;
        m_state->gone = true;
    }

private:
    struct State
    {
        Factory make;
        T* made = nullptr;
        bool making = false;
        bool gone = false;
    };
    std::shared_ptr<State> m_state;
};
