// The skin of the control tests: one 900 x 550 layout with every control
// class (the dial where the main window has it, since its needle band lies
// on fixed window rows) and solid generated images, in a zip archive built
// in memory.
#pragma once

#include <string>

#include "tests/support/SkinTestKit.h"
#include "tests/support/ZipWriter.h"
#include "ui/Core/UIManager.h"

namespace controlstest {

inline const char kLayout[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="900,550">
  <Font name="SimSun" size="12" default="true"/>
  <Font name="SimSun" size="16"/>
  <Default name="VScrollBar" value="width=&quot;10&quot; thumbnormalimage=&quot;file='img\blue.png'&quot;"/>
  <Container name="root" bkcolor="#FFFFFFFF">
    <Dial name="dial" float="true" pos="12,113,458,395" bkimage="file='img\white.png'" foreimage="file='img\needle.png'"/>
    <Button name="disabled" float="true" pos="500,10,540,30" normalimage="img\green.png" disabledimage="img\blue.png" enabled="false"/>
    <Button name="nohot" float="true" pos="550,10,590,30" normalimage="img\green.png" hotimage="img\missing.png" foreimage="file='img\red.png' dest='0,0,10,10'"/>
    <Option name="opt1" group="g" float="true" pos="500,40,540,60" normalimage="img\green.png" selectedimage="img\red.png" selected="true"/>
    <Option name="opt2" group="g" float="true" pos="550,40,590,60" normalimage="img\green.png" pushedimage="img\blue.png" selectedimage="img\red.png"/>
    <Option name="solo" float="true" pos="600,40,640,60" normalimage="img\green.png" selectedimage="img\red.png"/>
    <Progress name="full" float="true" pos="500,70,650,85" max="50" min="0" value="70" foreimage="img\red.png" isstretchfore="FALSE"/>
    <Progress name="empty" float="true" pos="500,90,650,105" max="50" value="-3" foreimage="img\red.png"/>
    <Label name="markup" float="true" pos="500,110,700,130" font="1" showhtml="true" text="{c #FF0000}MMMMMMMM{/c}"/>
    <Text name="link" float="true" pos="500,135,700,175" showhtml="true" text="&lt;f 1&gt;&lt;a go&gt;LINKLINK&lt;/a&gt;&lt;/f&gt;"/>
    <Edit name="edit" float="true" pos="500,180,640,206" bordersize="1" bordercolor="FF222222"/>
    <Edit name="pwd" float="true" pos="650,180,790,206" password="true"/>
    <List name="list" float="true" pos="500,220,700,520" header="hidden" vscrollbar="true" itemhotbkcolor="FFE0FFE0" itemselectedbkcolor="FFE0FFFF"/>
    <TabLayout name="tabs" float="true" pos="710,220,790,300">
      <Control name="page0" bkcolor="#FF0000FF"/>
      <Control name="page1" bkcolor="#FF00FF00"/>
      <Control name="page2" bkcolor="#FFFF0000"/>
      <Control name="page3" bkcolor="#FF00FFFF"/>
    </TabLayout>
    <TabLayout name="preset" float="true" pos="710,340,790,360" selectedid="2">
      <Control name="presetA"/>
      <Control name="presetB"/>
      <Control name="presetC"/>
    </TabLayout>
    <Combo name="combo" float="true" pos="710,310,790,330" dropboxsize="0,150" itemselectedbkcolor="FFC1E3FF">
      <ListContainerElement text="one"/>
      <ListContainerElement text="two"/>
      <ListContainerElement text="three"/>
    </Combo>
    <VerticalLayout name="bands" float="true" pos="800,0,890,550">
      <Control name="header" height="111"/>
      <Control name="content"/>
      <Control name="version" height="30"/>
    </VerticalLayout>
  </Container>
</Window>)";

inline void RegisterSkin() {
  static std::string archive;
  if (!archive.empty()) return;
  archive = testzip::Build({
      {"controls.xml", kLayout},
      {"img/white.png", skintest::SolidPng(8, 8, 0xFFFFFFFF), false},
      {"img/needle.png", skintest::SolidPng(656, 75, 0x000000FE), false},  // not opaque: alpha-blended like the real needle
      {"img/green.png", skintest::SolidPng(4, 4, 0x00FF00FF), false},
      {"img/blue.png", skintest::SolidPng(4, 4, 0x0000FFFF), false},
      {"img/red.png", skintest::SolidPng(4, 4, 0xFF0000FF), false},
  });
  CUIManager::SetSkinArchive(archive.data(), archive.size());
}

inline skintest::WindowConfig Layout() {
  skintest::WindowConfig c;
  c.className = "ControlsTestWnd";
  c.skinFile = "controls.xml";
  return c;
}

}  // namespace controlstest
