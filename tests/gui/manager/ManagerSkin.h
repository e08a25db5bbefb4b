// The skin of the manager tests: layouts and generated images in a zip
// archive built in memory and registered once for the process.
#pragma once

#include <string>

#include "tests/support/SkinTestKit.h"
#include "tests/support/ZipWriter.h"
#include "ui/Core/UIManager.h"

namespace managertest {

inline const char kInputLayout[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="300,200">
  <Container name="root" bkcolor="#FF000000">
    <TestButton name="a" float="true" pos="10,10,60,40"/>
    <TestButton name="b" float="true" pos="70,10,120,40" shortcut="k"/>
    <TestButton name="off" float="true" pos="130,10,180,40" enabled="false"/>
    <TestButton name="hidden" float="true" pos="190,10,240,40" visible="false"/>
    <TestButton name="c" float="true" pos="10,50,60,80" tooltip="first&lt;n&gt;second"/>
    <Control name="menuctl" float="true" pos="70,50,120,80" menu="true"/>
    <Control name="dup" float="true" pos="130,50,180,80" userdata="first"/>
    <Control name="dup" float="true" pos="190,50,240,80" userdata="second"/>
    <Container name="vw" virtualwnd="pane" float="true" pos="10,100,110,150">
      <TestButton name="inpane" float="true" pos="0,0,50,50"/>
    </Container>
  </Container>
</Window>)";

inline const char kPaintLayout[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="400,300">
  <Container name="root" bkcolor="#FF000000">
    <Control name="solid" float="true" pos="0,0,50,50" bkcolor="#FF112233"/>
    <Control name="alpha" float="true" pos="50,0,100,50" bkcolor="#80FFFFFF"/>
    <Control name="grad" float="true" pos="100,0,110,100" bkcolor="#FFFF0000" bkcolor2="#FF0000FF"/>
    <Control name="border" float="true" pos="120,0,170,50" bkcolor="#FFFFFFFF" bordercolor="#FF00FF00" bordersize="2"/>
    <Control name="bottomline" float="true" pos="180,0,230,50" bkcolor="#FFFFFFFF" bordercolor="#FF0000FF" bottombordersize="2"/>
    <Container name="round" float="true" pos="240,0,300,60" borderround="20,20">
      <Control float="true" pos="0,0,60,60" bkcolor="#FFFF00FF"/>
    </Container>
    <Control name="nine" float="true" pos="0,60,60,100" bkimage="file='img/nine.png' corner='3,3,3,3'"/>
    <Control name="stretch" float="true" pos="60,60,120,100" bkimage="IMG\NINE.PNG"/>
    <Control name="fade" float="true" pos="120,60,140,80" bkimage="file='img/red.png' fade='128'"/>
    <Control name="half" float="true" pos="140,60,160,80" bkimage="img/half.png"/>
    <Control name="mask" float="true" pos="160,60,180,80" bkcolor="#FF00FFFF" bkimage="file='img/mask.png' mask='#FF000000'"/>
    <Control name="source" float="true" pos="180,60,200,80" bkimage="file='img/strip.png' source='1,0,2,1'"/>
    <Control name="dest" float="true" pos="200,60,240,100" bkimage="file='img/red.png' dest='10,10,20,20'"/>
    <Control name="missing" float="true" pos="300,0,320,20" bkimage="img/none.png"/>
    <Control name="gif" float="true" pos="300,60,320,80" bkimage="img/loading.gif"/>
    <Control name="tiled" float="true" pos="0,110,23,115" bkimage="file='img/tile.png' corner='1,0,1,0' xtiled='true'"/>
    <Control name="hole" float="true" pos="30,110,60,140" bkcolor="#FF00FFFF" bkimage="file='img/nine.png' corner='3,3,3,3' hole='true'"/>
  </Container>
</Window>)";

inline const char kTranslucentLayout[] = R"(<Window size="200,100">
  <Container name="root" bkcolor="#80FFFFFF"/>
</Window>)";

inline const char kWindowAttributesLayout[] = R"(<Window size="200,100" mininfo="150,80" maxinfo="400,300" showdirty="true" alpha="200">
  <Container name="root" bkcolor="#FF000000"/>
</Window>)";

inline void RegisterSkin() {
  static std::string archive;
  if (!archive.empty()) return;
  const uint32_t B = 0x0000FFFF, G = 0x00FF00FF;
  std::vector<uint32_t> nine(100, G);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      if (x < 3 || y < 3 || x >= 7 || y >= 7) nine[y * 10 + x] = B;
  archive = testzip::Build({
      {"input.xml", kInputLayout},
      {"paint.xml", kPaintLayout},
      {"translucent.xml", kTranslucentLayout},
      {"attributes.xml", kWindowAttributesLayout},
      {"img/nine.png", skintest::Png(10, 10, nine), false},
      {"img/red.png", skintest::SolidPng(4, 4, 0xFF0000FF), false},
      {"img/half.png", skintest::SolidPng(2, 2, 0xFFFFFF80), false},
      {"img/mask.png", skintest::Png(2, 1, {0x000000FF, 0xFFFFFFFF}), false},
      {"img/strip.png", skintest::Png(3, 1, {0xFF0000FF, 0x00FF00FF, 0x0000FFFF}), false},
      {"img/loading.gif", skintest::TwoFrameGif(), false},
      // 5 x 1: a red frame pixel at each end, then green, blue, white in the middle.
      {"img/tile.png", skintest::Png(5, 1, {0xFF0000FF, 0x00FF00FF, 0x0000FFFF, 0xFFFFFFFF, 0xFF0000FF}), false},
  });
  CUIManager::SetSkinArchive(archive.data(), archive.size());
}

inline skintest::WindowConfig Layout(const char* file) {
  skintest::WindowConfig c;
  c.className = "ManagerTestWnd";
  c.skinFile = file;
  return c;
}

}  // namespace managertest
