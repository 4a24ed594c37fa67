#pragma once

#include <gtest/gtest.h>

#include <ostream>

#include "platform/res/dialog_template.h"
#include "platform/res/res_name.h"

// Readable failure messages for the parsers' result types (found by argument lookup).
namespace platform::res {

inline void PrintTo(const ResName& name, std::ostream* os) {
    if (name.ordinal) {
        *os << "#" << *name.ordinal;
    } else {
        *os << ::testing::PrintToString(name.name);
    }
}

inline void PrintTo(const DialogItem& item, std::ostream* os) {
    *os << "{style " << std::hex << item.style << " ex " << item.ex_style << std::dec << " at ("
        << item.x << "," << item.y << ") " << item.cx << "x" << item.cy << " id " << item.id
        << " class " << ::testing::PrintToString(item.window_class) << " title "
        << ::testing::PrintToString(item.title) << " data " << item.creation_data.size()
        << " bytes}";
}

}  // namespace platform::res
