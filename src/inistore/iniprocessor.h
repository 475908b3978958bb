#pragma once

#include <vector>

class CustomIniLinker;
class IniBase;

// The process-wide registry of linkers in the order they were bound to a store. A store's
// read() and write() call its linkers in this order.
class IniProcessor
{
public:
    static IniProcessor &instance();

    void append(CustomIniLinker *linker);
    void remove(CustomIniLinker *linker);
    const std::vector<CustomIniLinker *> &linkers() const { return m_linkers; }
    // The linkers bound to store, in registry order (a copy: handlers may rebind).
    std::vector<CustomIniLinker *> linkersOf(const IniBase *store) const;
    // The linker still exists and is bound to store.
    bool isBound(const CustomIniLinker *linker, const IniBase *store) const;
    // Unbinds every linker of a store that is going away.
    void storeDestroyed(const IniBase *store);

private:
    std::vector<CustomIniLinker *> m_linkers;
};
