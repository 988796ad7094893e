// SPDX-License-Identifier: GPL-3.0-or-later
#include "path_text.h"

#include "work_list.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(PathText, EscapesLineBreaksAndStrayBytesOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"/a/Café 1\n2\r\n.jpg", "/a/Café 1\\n2\\r\\n.jpg"},
        {"/x\xff\xC3(\v\f.jpg", "/x\\xFF\\xC3(\\v\\f.jpg"},
        {"a\u2028b\u2029c\u0085d\u2027", "a\\u2028b\\u2029c\\u0085d\u2027"},
        {"s\xED\xA0\x80.jpg", "s\\xED\\xA0\\x80.jpg"},
        {"end\xE2\x80", "end\\xE2\\x80"},
    };
    for (const auto& [path, shown] : cases) {
        EXPECT_EQ(escapedPath(path), shown);
        EXPECT_FALSE(isListablePath(path)) << shown;
        EXPECT_TRUE(isListablePath(escapedPath(path))) << shown;
    }
    EXPECT_TRUE(isListablePath("/photos/Café 12.jpg"));
    EXPECT_TRUE(isListablePath("/photos/tab\tand DEL\x7f stay"));
    EXPECT_FALSE(isListablePath(""));
}

}  // namespace
}  // namespace velmora
