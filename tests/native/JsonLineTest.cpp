#include <gtest/gtest.h>

#include "base/Messages.h"
#include "cli/JsonLine.h"

TEST(JsonLine, MessageLinesUseTheConstantNames) {
  EXPECT_EQ(vt::MessageJson(vt::MSG_DOWNLOAD_SAMPLE, 1048576, 0),
            "{\"msg\":\"MSG_DOWNLOAD_SAMPLE\",\"wParam\":1048576,\"lParam\":0}");
  EXPECT_EQ(vt::MessageJson(vt::MSG_TRACE_HOP, 0, -1, "10.0.0.1"),
            "{\"msg\":\"MSG_TRACE_HOP\",\"wParam\":0,\"lParam\":-1,\"text\":\"10.0.0.1\"}");
  EXPECT_EQ(vt::MessageJson(1234, 1, 2), "{\"msg\":1234,\"wParam\":1,\"lParam\":2}");
}

TEST(JsonLine, StringsAreEscapedAndGbkBytesKept) {
  std::string out;
  vt::AppendJsonString(out, "a\"b\\c\r\n\x01\xB1\x5C\\");
  // The double-byte character B1 5C keeps its trail byte '\' unescaped; the
  // backslash standing alone after it is escaped.
  EXPECT_EQ(out, "\"a\\\"b\\\\c\\r\\n\\u0001\xB1\x5C\\\\\"");
  vt::JsonObject o;
  o.Add("seq", "12345").Add("speed_rtt", int64_t{12}).Add("speed_speed", 8.2841, 2);
  EXPECT_EQ(o.Str(), "{\"seq\":\"12345\",\"speed_rtt\":12,\"speed_speed\":8.28}");
  EXPECT_EQ(vt::JsonObject().Str(), "{}");
}

#include "cli/PlainText.h"

TEST(PlainText, TagsDroppedLineBreaksKept) {
  EXPECT_EQ(vt::PlainText("<f 4>外网<c #00FF00>状况良好</c><n><n>内网良好</f>"), "外网状况良好 / 内网良好");
  EXPECT_EQ(vt::PlainText("<f 4>请点击<开始测试>进行</f>"), "请点击<开始测试>进行");  // not a tag: GBK after '<'
  EXPECT_EQ(vt::PlainText("{c #FFFFFF}版本{/c}"), "版本");
  EXPECT_EQ(vt::PlainText("a < b <n"), "a < b <n");  // unclosed tag stays text
  EXPECT_EQ(vt::PlainText("\xB1\x3C" "b>"), "\xB1\x3C" "b>");  // '<' as a trail byte is no tag
  EXPECT_EQ(vt::PlainText(nullptr), "");
}
