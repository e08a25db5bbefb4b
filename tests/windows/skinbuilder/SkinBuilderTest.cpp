// The skin builder and the control attributes without a window: the tag
// table and the callback, resources of the layout, Include, default lists,
// attribute order, attribute strings, notification maps, and the layout
// text's conversion to the code page.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/ZipWriter.h"
#include "ui/Core/NotifyPump.h"
#include "ui/Core/SkinBuilder.h"
#include "ui/Core/SkinFiles.h"
#include "ui/Core/UIManager.h"
#include "ui/layouts/ContainerUI.h"

namespace {

class Callback : public IDialogBuilderCallback {
 public:
  CControlUI* CreateControl(const char* tag) override {
    asked += std::string(tag) + ";";
    return strcmp(tag, "Custom") == 0 ? new CControlUI : nullptr;
  }
  std::string asked;
};

CContainerUI* AsContainer(CControlUI* c) { return static_cast<CContainerUI*>(c->GetInterface("Container")); }

TEST(SkinBuilder, TagsCallbackAndUnknownTagsWithTheirChildren) {
  Callback cb;
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root(builder.Create(
      "<Window><Container name=\"r\"><Control name=\"c1\"/><Custom name=\"c2\"/>"
      "<Unknown name=\"u\"><Control name=\"lost\"/></Unknown><control name=\"lower\"/></Container></Window>",
      nullptr, &cb));
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->GetClass(), "ContainerUI");
  CContainerUI* box = AsContainer(root.get());
  ASSERT_EQ(box->GetCount(), 2);
  EXPECT_STREQ(box->ChildAt(0)->GetName(), "c1");
  EXPECT_STREQ(box->ChildAt(1)->GetName(), "c2");
  EXPECT_EQ(cb.asked, "Custom;Unknown;control;");  // letter case matters
}

TEST(SkinBuilder, ParentWithoutContainerInterfaceFailsTheBuild) {
  CSkinBuilder builder;
  EXPECT_EQ(builder.Create("<Window><Control><Control/></Control></Window>"), nullptr);
  EXPECT_EQ(builder.Create("<Window><Container>"), nullptr);  // unclosed inner element: parse error
  EXPECT_STREQ(builder.GetLastErrorMessage(), "Expected end-tag start");
}

int CountControls(CControlUI* c) {
  int n = 1;
  if (auto* box = static_cast<IContainerUI*>(c->GetInterface("IContainer")))
    for (int i = 0; i < box->GetCount(); ++i) n += CountControls(box->ChildAt(i));
  return n;
}

// Building, placing and painting recurse once a level: a layout nested
// deeper than the bound fails to build instead of running out of stack, and
// includes of includes stop at a total instead of multiplying.
TEST(SkinBuilder, NestingAndIncludesAreBounded) {
  auto nested = [](int levels) {
    std::string s = "<Window>";
    for (int i = 0; i < levels; ++i) s += "<Container>";
    s += "<Control/>";
    for (int i = 0; i < levels; ++i) s += "</Container>";
    return s + "</Window>";
  };
  for (int levels : {CSkinBuilder::kMaxNesting, CSkinBuilder::kMaxNesting + 1, 100000}) {
    CSkinBuilder builder;
    std::unique_ptr<CControlUI> root(builder.Create(nested(levels).c_str()));
    EXPECT_EQ(root != nullptr, levels <= CSkinBuilder::kMaxNesting) << levels;
    if (root) {
      EXPECT_EQ(CountControls(root.get()), levels + 1);
    }
  }
  static std::string zip = testzip::Build(
      {{"many.xml", "<Window><Container><Include source=\"many.xml\" count=\"1000\"/></Container></Window>"}});
  vt::ResetSkinArchiveForTest();  // the first archive set stays otherwise
  ASSERT_TRUE(vt::SetSkinArchiveMemory(zip.data(), zip.size()));
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root(builder.Create("many.xml"));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(CountControls(root.get()), 1 + CSkinBuilder::kMaxIncludes);
  std::unique_ptr<CControlUI> again(builder.Create());  // a second build has its own budget
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(CountControls(again.get()), 1 + CSkinBuilder::kMaxIncludes);
  vt::ResetSkinArchiveForTest();
}

TEST(SkinBuilder, LaterAttributesOverrideEarlierOnes) {
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root(builder.Create(
      "<Window><Container><Control name=\"a\" pos=\"12,2,0,0\" width=\"876\" height=\"396\" float=\"true\"/>"
      "<Control name=\"b\" width=\"50\" pos=\"-60,10,-10,30\" visible=\"FALSE\" bordersize=\"1,2,3,4\"/>"
      "</Container></Window>"));
  ASSERT_NE(root, nullptr);
  CControlUI* a = AsContainer(root.get())->ChildAt(0);
  EXPECT_EQ(a->GetFixedX(), 12);
  EXPECT_EQ(a->GetFixedY(), 2);
  EXPECT_EQ(a->GetFixedWidth(), 876);  // pos's width -12 was ignored
  EXPECT_EQ(a->GetFixedHeight(), 396);
  EXPECT_TRUE(a->IsFloat());
  CControlUI* b = AsContainer(root.get())->ChildAt(1);
  EXPECT_EQ(b->GetFixedX(), -10);  // negative left: the right edge counts
  EXPECT_EQ(b->GetFixedWidth(), 50);
  EXPECT_FALSE(b->IsVisible());    // "FALSE" is false
  // Placing: floating children relative to the parent, from the right for negative x.
  root->PlaceAt({0, 0, 900, 550});
  EXPECT_EQ(a->GetPos().left, 12);
  EXPECT_EQ(a->GetPos().top, 2);
  EXPECT_EQ(a->GetPos().right, 888);
  EXPECT_EQ(a->GetPos().bottom, 398);
}

TEST(SkinBuilder, AttributeStringsBuildRowsAtRunTime) {
  CControlUI c;
  c.ApplyAttributeString(
      "name=\"bar\" float=\"true\" pos=\"275,9,425,24\" bkimage=\"file='img\\progress_back.png'\" "
      "text=\"<f 4>\" bkcolor=\"#FF#3333CC\" unknown=\"x\"  width=\"1\"");
  EXPECT_STREQ(c.GetName(), "bar");
  EXPECT_EQ(c.GetFixedWidth(), 150);  // the pair after two spaces was not applied
  EXPECT_EQ(c.GetFixedHeight(), 15);
  EXPECT_STREQ(c.GetBkImage(), "file='img\\progress_back.png'");
  EXPECT_STREQ(c.GetText(), "<f 4>");
  EXPECT_EQ(c.GetBkColor(), 0x000000FFu);
}

TEST(SkinBuilder, ManagerGetsFontsImagesDefaultsAndFirstDefaultWins) {
  CUIManager manager;
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root(builder.Create(
      "<Window size=\"900,550\"><Font name=\"SimSun\" size=\"12\" default=\"true\"/>"
      "<Font name=\"宋体\" size=\"12\"/><Font name=\"黑体\" size=\"32\" bold=\"true\"/>"
      "<Default name=\"Control\" value=\"bkcolor=&quot;#FF010203&quot; height=&quot;7&quot;\"/>"
      "<Default name=\"Control\" value=\"bkcolor=&quot;#FF999999&quot;\"/>"
      "<Container><Control name=\"x\" height=\"9\"/><Control name=\"y\"/></Container></Window>",
      nullptr, nullptr, &manager));
  ASSERT_NE(root, nullptr);
  ASSERT_EQ(manager.GetFontCount(), 3);
  EXPECT_STREQ(manager.GetFontInfo(1)->face, "宋体");  // the second Font is index 1
  EXPECT_EQ(manager.GetFontInfo(2)->size, 32);
  EXPECT_TRUE(manager.GetFontInfo(2)->bold);
  EXPECT_EQ(manager.GetFont(0), manager.GetFont(-1));  // index 0 is also the default
  EXPECT_EQ(manager.GetFont(99), manager.GetFont(-1));
  CContainerUI* box = AsContainer(root.get());
  EXPECT_EQ(box->ChildAt(0)->GetBkColor(), 0xFF010203u);  // default list applied first
  EXPECT_EQ(box->ChildAt(0)->GetFixedHeight(), 9);         // then the element's own attributes
  EXPECT_EQ(box->ChildAt(1)->GetFixedHeight(), 7);
  EXPECT_EQ(box->ChildAt(0)->GetManager(), nullptr);       // the manager was only lent
  EXPECT_EQ(manager.GetInitSize().cx, 0);                  // no window: "Window" attributes not applied
}

TEST(SkinBuilder, IncludeBuildsAnotherDocumentCountTimes) {
  static std::string zip = testzip::Build(
      {{"main.xml", "<Window><Container name=\"r\"><Include source=\"row.xml\" count=\"3\"/><Control/></Container></Window>"},
       {"row.xml", "<Window><Control name=\"row\"/></Window>"},
       {"self.xml", "<Window><Container><Include source=\"self.xml\"/></Container></Window>"},
       {"utf8.xml", "<Window><Container text=\"\xE9\x80\x9F\xE5\xBA\xA6\"/></Window>"}});
  ASSERT_TRUE(vt::SetSkinArchiveMemory(zip.data(), zip.size()));
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root(builder.Create("main.xml"));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(AsContainer(root.get())->GetCount(), 4);
  EXPECT_STREQ(AsContainer(root.get())->ChildAt(2)->GetName(), "row");
  CSkinBuilder selfBuilder;
  std::unique_ptr<CControlUI> self(selfBuilder.Create("self.xml"));  // ends, bounded
  EXPECT_NE(self, nullptr);
  // Layout files are UTF-8 and become code-page text (GBK here) when loaded.
  CUIManager::SetInstance(GetModuleHandleA(nullptr));
  CSkinBuilder utf8;
  std::unique_ptr<CControlUI> text(utf8.Create("utf8.xml"));
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text->GetText(), "速度");
  CSkinBuilder missing;
  EXPECT_EQ(missing.Create("none.xml"), nullptr);
  EXPECT_STREQ(missing.GetLastErrorMessage(), "Could not find ziped file");
}

class Pump : public CNotifyPump {
 public:
  void OnAny(UINotification& msg) { log += "any:" + std::string(msg.type) + ";"; }
  void OnExact(UINotification& msg) { log += "exact:" + std::string(msg.type) + ";"; }
  LRESULT OnValues(WPARAM w, LPARAM l) {
    log += "values:" + std::to_string(w) + "," + std::to_string(l) + ";";
    return 0;
  }
  std::string log;
  static const NotifyMapEntry kBase[], kDerived[];
  static const NotifyMap kBaseMap, kDerivedMap;

 protected:
  const NotifyMap* GetNotifyMap() const override { return &kDerivedMap; }
};
const CNotifyPump::NotifyMapEntry Pump::kBase[] = {CNotifyPump::OnRecord("click", "", &Pump::OnAny),
                                                   CNotifyPump::OnValues("timer", "", &Pump::OnValues),
                                                   CNotifyPump::End()};
const CNotifyPump::NotifyMapEntry Pump::kDerived[] = {CNotifyPump::OnRecord("click", "", &Pump::OnAny),
                                                      CNotifyPump::OnRecord("click", "pane", &Pump::OnExact),
                                                      CNotifyPump::End()};
const CNotifyPump::NotifyMap Pump::kBaseMap = {nullptr, Pump::kBase};
const CNotifyPump::NotifyMap Pump::kDerivedMap = {&Pump::kBaseMap, Pump::kDerived};

TEST(NotifyPump, ExactVirtualWindowWinsEmptyMatchesAnyBaseMapsFollow) {
  const struct {
    const char* type;
    const char* vw;
    const char* log;
  } cases[] = {{"click", "pane", "exact:click;"},
               {"click", "other", "any:click;"},
               {"click", "", "any:click;"},
               {"timer", "", "values:7,8;"},
               {"selectchanged", "", ""}};
  for (const auto& c : cases) {
    Pump p;
    UINotification msg;
    msg.type = c.type;
    msg.virtualWindow = c.vw;
    msg.wParam = 7;
    msg.lParam = 8;
    p.NotifyPump(msg);
    EXPECT_EQ(p.log, c.log) << c.type << "/" << c.vw;
  }
}

}  // namespace
