#pragma once

#include <string>

class SKModelProperty;

// A registered property filter: the predicate and the title the editor shows for it.
struct SKModelPropertyFilter
{
    using FilterFunc = bool (*)(SKModelProperty* pkProperty);

    FilterFunc pfnFilter = nullptr;
    std::string kTitle;
};
