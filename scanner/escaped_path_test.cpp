#include "escaped_path.h"

#include "work_list.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(EscapedPath, EscapesLineBreaksAndStrayBytesOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"/a/Café 1\n2\r\n.jpg", "/a/Café 1\\n2\\r\\n.jpg"},
        {"/x\xff\xC3(\v\f.jpg", "/x\\xFF\\xC3(\\v\\f.jpg"},
        {"a\u2028b\u2029c\u0085d\u2027", "a\\u2028b\\u2029c\\u0085d\u2027"},
        {"s\xED\xA0\x80.jpg", "s\\xED\\xA0\\x80.jpg"},
        {"end\xE2\x80", "end\\xE2\\x80"},
    };
    for (const auto& [path, shown] : cases) {
        EXPECT_EQ(escapedPath(path), shown);
        EXPECT_TRUE(isListLine(escapedPath(path))) << shown;
    }
}

}  // namespace
}  // namespace velmora
