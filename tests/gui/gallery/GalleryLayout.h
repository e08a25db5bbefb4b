// The gallery layout: every control class of the toolkit on one 900 x 550
// window, with the product skin's artwork. A C++ literal, so its Chinese
// texts are in the code page already and the builder parses it as given.
#pragma once

#include <string>

#include "ui/controls/ListUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/layouts/HorizontalLayoutUI.h"

inline const char kGalleryLayout[] = R"GALLERY(<Window size="900,550" caption="0,0,0,110" roundcorner="5,5">
  <Font name="SimSun" size="12" default="true"/>
  <Font name="宋体" size="12"/>
  <Font name="黑体" size="32"/>
  <Font name="SimSun" size="14"/>
  <Font name="SimSun" size="24"/>
  <Font name="SimSun" size="16"/>
  <Font name="SimSun" size="18"/>
  <Default name="VScrollBar" value="width=&quot;10&quot; button1normalimage=&quot;file='img\scrollbar.png' source='0,0,10,10' mask='#FF000000'&quot; button1hotimage=&quot;file='img\scrollbar.png' source='10,0,20,10'&quot; button1pushedimage=&quot;file='img\scrollbar.png' source='10,0,20,10'&quot; button2normalimage=&quot;file='img\scrollbar.png' source='0,10,10,20'&quot; button2hotimage=&quot;file='img\scrollbar.png' source='10,10,20,20'&quot; button2pushedimage=&quot;file='img\scrollbar.png' source='10,10,20,20'&quot; thumbnormalimage=&quot;file='img\scrollbar.png' source='0,20,10,30' corner='3,3,3,3'&quot; thumbhotimage=&quot;file='img\scrollbar.png' source='10,20,20,30' corner='3,3,3,3'&quot; thumbpushedimage=&quot;file='img\scrollbar.png' source='10,20,20,30' corner='3,3,3,3'&quot;" />
  <Container name="root" bkimage="img\bg-main.png" bkcolor="FFFDFDFD">
    <VerticalLayout name="bands">
      <HorizontalLayout name="header" height="111">
        <Label name="title" width="380"/>
        <Option name="optA" group="nav" selected="true" width="99" height="78" padding="0,15,0,0" normalimage="file='img\navbtn-fun1.png' source='0,0,99,78'" hotimage="file='img\navbtn-fun1.png' source='99,0,198,78'" selectedimage="file='img\navbtn-fun1.png' source='198,0,297,78'"/>
        <Option name="optB" group="nav" width="99" height="78" padding="1,15,0,0" normalimage="file='img\navbtn-fun3.png' source='0,0,99,78'" hotimage="file='img\navbtn-fun3.png' source='99,0,198,78'" selectedimage="file='img\navbtn-fun3.png' source='198,0,297,78'"/>
        <Control/>
        <Button name="minbtn" width="26" height="18" tooltip="最小化" normalimage="img\btmin0.png" hotimage="img\btmin1.png" pushedimage="img\btmin2.png"/>
        <Button name="closebtn" width="43" height="18" tooltip="关闭" normalimage="img\btclose0.png" hotimage="img\btclose1.png" pushedimage="img\btclose2.png"/>
      </HorizontalLayout>
      <Container name="content">
        <Dial name="dial" float="true" pos="12,2,458,284" bkimage="file='img\dial_bk.png'" foreimage="file='img\dial_fore.png'"/>
        <Control float="true" pos="12,284,458,398" bkimage="img\dial_info.png"/>
        <Text name="status" float="true" pos="30,300,440,390" font="4" textcolor="FFFFFFFF" showhtml="true" text="&lt;f 4&gt;请点击&lt;开始测试&gt;进行带宽评估&lt;/f&gt;"/>
        <TabLayout name="pages" float="true" pos="470,2,888,398">
          <VerticalLayout name="page0" inset="10,10,10,10" childpadding="6" bkcolor="FFFFFFFF" bordercolor="FFCCCCCC" bordersize="1">
            <Text name="verdict" height="60" font="5" showhtml="true" text="&lt;f 5&gt;外网&lt;c #FF0000&gt;时延偏大&lt;/c&gt;，建议报告给运营商&lt;n&gt;&lt;b&gt;粗体&lt;/b&gt; &lt;i&gt;斜体&lt;/i&gt; &lt;u&gt;下划线&lt;/u&gt; &lt;a report&gt;链接&lt;/a&gt;&lt;/f&gt;"/>
            <HorizontalLayout height="30" childpadding="8">
              <Label text="用户名" width="60" font="5" align="right"/>
              <Edit name="user" width="120" bkcolor="FFFFFFFF" textpadding="4,3,4,3" bordersize="1" bordercolor="FF222222" text="veltrane"/>
              <Edit name="psw" width="100" bkcolor="FFFFFFFF" textpadding="4,3,4,3" bordersize="1" bordercolor="FF222222" password="true" text="密码abc"/>
              <Combo name="mode" width="90" bordersize="1" bordercolor="FF888888" textpadding="4,0,4,0" itemselectedbkcolor="FFC1E3FF" itemhotbkcolor="FFE9F5FF">
                <ListContainerElement text="互联网"/>
                <ListContainerElement text="城域网"/>
              </Combo>
            </HorizontalLayout>
            <List name="list" height="210" inset="1,2,1,2" bkcolor="FFFFFFFF" bkcolor2="FFE0FFFF" bordercolor="FFCCCCCC" bordersize="1" borderround="5,5" vscrollbar="true" itemhotbkcolor="FFE0FFE0" itemselectedbkcolor="FFE0FFFF" itemshowhtml="true"/>
            <HorizontalLayout height="58">
              <Button name="start" width="244" height="58" normalimage="img\funbtn_start.png" disabledimage="img\funbtn_process.png" pushedimage="img\funbtn_process.png"/>
              <Button name="busy" width="120" height="58" padding="10,0,0,0" enabled="false" normalimage="img\funbtn_start.png" disabledimage="img\funbtn_process.png"/>
            </HorizontalLayout>
          </VerticalLayout>
          <VerticalLayout name="page1" bkcolor="FFE0FFE0"/>
        </TabLayout>
      </Container>
      <Label name="version" height="30" textpadding="12,0,0,0" showhtml="true" text="{c #FFFFFF}版本：2.21.2.0718{/c}" bkcolor="FF3A6EA5"/>
    </VerticalLayout>
  </Container>
</Window>)GALLERY";

namespace gallery {

// One route row as the main window builds it: a fixed-height item holding
// a horizontal layout with floating labels and a delay bar.
inline CListContainerElementUI* RouteRow(int hop, int delay) {
  auto* row = new CListContainerElementUI;
  row->ApplyAttributeString("height=\"40\" bordercolor=\"FFEEEEEE\" bottombordersize=\"2\"");
  auto* line = new CHorizontalLayoutUI;
  line->SetBkColor(hop % 2 ? 0xFFFFFFFF : 0xFFF0F0F0);
  row->Add(line);
  auto* number = new CLabelUI;
  number->ApplyAttributeString("float=\"true\" pos=\"10,9,40,31\" font=\"3\"");
  number->SetText(std::to_string(hop).c_str());
  line->Add(number);
  auto* address = new CLabelUI;
  address->ApplyAttributeString("float=\"true\" pos=\"45,9,170,31\"");
  address->SetText(("10.0.0." + std::to_string(hop)).c_str());
  line->Add(address);
  auto* bar = new CProgressUI;
  const char* fore = delay < 20 ? "img\\progress_fore_good.png" : delay < 40 ? "img\\progress_fore_nogood.png"
                                                                             : "img\\progress_fore_bad.png";
  std::string attrs = std::string("max=\"50\" min=\"0\" foreimage=\"file='") + fore +
                      "'\" bkimage=\"file='img\\progress_back.png'\" isstretchfore=\"FALSE\" float=\"true\" "
                      "pos=\"175,9,325,24\"";
  bar->ApplyAttributeString(attrs.c_str());
  bar->SetValue(delay);
  line->Add(bar);
  return row;
}

}  // namespace gallery
