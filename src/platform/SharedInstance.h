#pragma once

#include <QtGlobal>

#include <typeinfo>

/// The one instance of a truly process-wide service (the log, the event centre, the
/// animation cache) that the composition root created and installed.
///
/// Nothing comes into being as a side effect of asking for it: the root (src/app) creates
/// it, installs it here, and uninstalls and frees it in reverse order before the
/// application object goes away. Every other manager is handed its collaborators by
/// reference. Each test installs fresh ones of these services.
template<typename T>
class SharedInstance
{
public:
    [[nodiscard]] static T& shared()
    {
        if (!s_instance)
            qFatal("%s::shared() used before the composition root created it", typeid(T).name());
        return *s_instance;
    }
    [[nodiscard]] static T* sharedOrNull() { return s_instance; }
    static void installShared(T* instance) { s_instance = instance; }

private:
    static inline T* s_instance = nullptr;
};

/// Installs an instance for the lifetime of a scope and restores the previous one after.
template<typename T>
class ScopedSharedInstance
{
public:
    explicit ScopedSharedInstance(T& instance)
        : m_previous(SharedInstance<T>::sharedOrNull())
    {
        SharedInstance<T>::installShared(&instance);
    }
    ~ScopedSharedInstance() { SharedInstance<T>::installShared(m_previous); }
    ScopedSharedInstance(const ScopedSharedInstance&) = delete;
    ScopedSharedInstance& operator=(const ScopedSharedInstance&) = delete;

private:
    T* m_previous;
};
