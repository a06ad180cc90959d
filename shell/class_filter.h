// The user's class filter ("ClassFilter"): window classes the program leaves alone.
#pragma once

#include <string>
#include <vector>

namespace shell {

using ClassFilterList = std::vector<std::wstring>;

// Whether `className` equals one of the filter's names exactly (case-sensitive).
inline bool IsFilteredClass(const std::wstring& className, const ClassFilterList& classFilter) {
    for (const std::wstring& filtered : classFilter)
        if (className == filtered) return true;
    return false;
}

}  // namespace shell
