// DrawMarkupText: inline text markup measured and drawn with GDI. The
// layout is MarkupLayout's; this side measures with the manager's fonts,
// loads inline images through its image cache and draws.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/UIString.h"

class CUIManager;

// rc is the box (with DT_CALCRECT its right and bottom receive the text's
// extent). links/targets hold linkCount entries in and receive up to
// linkCapacity entries; linkCount in is the previous paint's count, which
// decides the hovered link. Either array may be null (no links recorded).
void DrawMarkupText(HDC dc, CUIManager* manager, RECT& rc, const char* text, uint32_t colour, RECT* links,
                    CUIString* targets, int& linkCount, int linkCapacity, UINT style);
