#pragma once
// The one way tests build a section record: its fields from the kind on, joined as stored.

#include "core/project/Records.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace stv::test
{

inline std::string Rec(const std::vector<std::string> &fields)
{
    return joinFields(fields);
}
inline std::string Rec(std::initializer_list<std::string> fields)
{
    return joinFields(std::vector<std::string>(fields));
}

} // namespace stv::test
