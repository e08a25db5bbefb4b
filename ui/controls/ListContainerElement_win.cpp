#include <cstring>

#include "ui/controls/ListUI.h"

const char* CListContainerElementUI::GetClass() const { return "ListContainerElementUI"; }

void* CListContainerElementUI::GetInterface(const char* name) {
  if (void* row = RowInterface(name)) return row;
  if (name && strcmp(name, "ListContainerElement") == 0) return this;
  return CContainerUI::GetInterface(name);
}

unsigned CListContainerElementUI::GetControlFlags() const { return kControlFlagWantReturn; }

void CListContainerElementUI::DoEvent(UIEvent& event) {
  if (!DoRowEvent(event)) CContainerUI::DoEvent(event);
}

void CListContainerElementUI::PaintStatusImage(HDC dc) { PaintRow(dc, rcPaint_); }
